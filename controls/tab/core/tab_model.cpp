#include "tab_model.h"

#include <algorithm>

#include "basic_arith.h"
#include "error_source.h"
#include "run_time_error.h"
#include "tab_pages.h"

namespace lumio::tab {

namespace {

// Drawing stays locked for the whole of an insert or removal, whatever ends it.
class DrawingLock {
public:
    explicit DrawingLock(TabHost& host) : host_(host) { host_.LockDrawing(); }
    ~DrawingLock() { host_.UnlockDrawing(); }
    DrawingLock(const DrawingLock&) = delete;
    DrawingLock& operator=(const DrawingLock&) = delete;

private:
    TabHost& host_;
};

std::wstring NewCaption(int32_t i) { return L"Tab " + std::to_wstring(i); }

}  // namespace

void TabModel::InitRecords(int32_t count) {
    records_.assign(static_cast<size_t>(std::max(count, 1)), TabRecord{});
    for (int32_t i = 0; i < TabCount(); ++i) records_[i].caption = NewCaption(i);
    host_.RecordsResized(TabCount());
}

void TabModel::LoadRecords(std::vector<TabRecord> records) {
    bool none = records.empty();
    if (none) {
        records.resize(1);
        records[0].caption = L"Tab0";
    }
    records_ = std::move(records);
    host_.RecordsResized(TabCount());
    if (activeTab_ >= TabCount()) activeTab_ = TabCount() - 1;
    if (none) Raise(kErrSubscriptOutOfRange);
}

void TabModel::SetActiveTab(int32_t n) {
    WithErrorSource(L"LumioTab.ActiveTab", [&] {
        if (TabCount() == 0) return;  // a failed load left no tab to show
        if (n < 0 || n >= TabCount()) n = 0;
        if (n == activeTab_) return;
        if (host_.BeforeTabSwitch(static_cast<int16_t>(n))) return;
        ShiftContainedControls(n);
        lastActiveTab_ = activeTab_;
        activeTab_ = n;
        hoverIndex_ = n;
        host_.DrawSwitch();
        host_.PropertyChanged(L"ActiveTab");
        host_.Refresh();
        host_.TabSwitch(static_cast<int16_t>(lastActiveTab_));
    });
}

void TabModel::SetTabCount(int32_t v) {
    WithErrorSource(L"LumioTab.TabCount", [&] {
        if (v <= 0) Raise(kErrInvalidPropertyValue);
        int32_t old = TabCount();
        if (v > old) {
            records_.resize(static_cast<size_t>(v));
            for (int32_t i = old; i < v; ++i) records_[i].caption = NewCaption(i);
        } else {
            records_.resize(static_cast<size_t>(v));
        }
        HandleTabCount();
        host_.Refresh();
        host_.PropertyChanged(L"TabCount");
    });
}

void TabModel::HandleTabCount() {
    WithErrorSource(L"LumioTab.pHandleTabCount", [&] {
        host_.RecordsResized(TabCount());
        if (activeTab_ >= TabCount() || TabCount() == 1) {
            int32_t last = TabCount() - 1;
            // The controls of the tab that is now shown come into view, with no events.
            if (last != activeTab_) ShiftContainedControls(last);
            activeTab_ = last;
        }
        AssignAccessKeys();
    });
}

void TabModel::SetTabOffset(int32_t v) {
    WithErrorSource(L"LumioTab.TabOffset", [&] {
        if (v <= 0) Raise(kErrInvalidPropertyValue);
        tabOffset_ = v;
        host_.PropertyChanged(L"TabOffset");
    });
}

std::wstring TabModel::TabCaption(int32_t i) const { return ValidIndex(i) ? records_[i].caption : std::wstring(); }

void TabModel::SetTabCaption(int32_t i, const std::wstring& caption) {
    WithErrorSource(L"LumioTab.TabCaption", [&] {
        if (!ValidIndex(i)) Raise(kErrSubscriptOutOfRange);
        records_[i].caption = caption;
        records_[i].accessKey = TabAccessKey(caption);
        AssignAccessKeys();
        host_.PropertyChanged(L"TabCaption");
        host_.Refresh();
    });
}

bool TabModel::TabEnabled(int32_t i) const { return ValidIndex(i) && records_[i].enabled; }

void TabModel::SetTabEnabled(int32_t i, bool enabled) {
    WithErrorSource(L"LumioTab.TabEnabled", [&] {
        if (!ValidIndex(i)) Raise(kErrSubscriptOutOfRange);
        records_[i].enabled = enabled;
        host_.PropertyChanged(L"TabEnabled");
        host_.Refresh();
    });
}

TabRecord TabModel::AryTabs(int32_t& i) const {
    if (records_.empty()) {
        TabRecord none;
        none.enabled = false;
        return none;
    }
    i = std::clamp(i, 0, TabCount() - 1);
    return records_[i];
}

void TabModel::SetAryTabs(int32_t i, const TabRecord& record) {
    WithErrorSource(L"LumioTab.AryTabs", [&] {
        if (!ValidIndex(i)) Raise(kErrSubscriptOutOfRange);
        records_[i] = record;
    });
}

template <class F>
void TabModel::ForEachPagedControl(F&& f) {
    int32_t n = host_.ContainedCount();
    for (int32_t c = 0; c < n; ++c) {
        double left = 0;
        if (!host_.ContainedLeft(c, left)) continue;
        if (RoundToLong(left) >= tabOffset_) continue;  // parked with a removed tab
        f(c, left, TabOfLeft(left, tabOffset_));
    }
}

void TabModel::InsertTab(int32_t afterIndex, const std::wstring& caption) {
    bool inserted = false;
    WithErrorSource(L"LumioTab.InsertTab", [&] {
        if (afterIndex < -1 || afterIndex > TabCount() - 1) Raise(kErrSubscriptOutOfRange);
        DrawingLock lock(host_);
        int32_t shown = activeTab_;
        SetActiveTab(0);
        if (TabCount() > 0 && activeTab_ != 0) return;  // the host kept its tab
        ForEachPagedControl([&](int32_t c, double left, int32_t page) {
            if (page > afterIndex) host_.SetContainedLeft(c, left - tabOffset_);
        });
        SetTabCount(TabCount() + 1);
        for (int32_t i = TabCount() - 1; i >= afterIndex + 2; --i) SetTabCaption(i, records_[i - 1].caption);
        SetTabCaption(afterIndex + 1, caption);
        // The tab that was shown stays shown, wherever it moved.
        SetActiveTab(shown > afterIndex ? shown + 1 : shown);
        inserted = true;
    });
    if (inserted) host_.TabInsert(afterIndex);
}

void TabModel::RemoveTab(int32_t index) {
    bool removed = false;
    WithErrorSource(L"LumioTab.RemoveTab", [&] {
        if (TabCount() == 1) return;
        if (!ValidIndex(index)) Raise(kErrSubscriptOutOfRange);
        DrawingLock lock(host_);
        int32_t shown = activeTab_;
        SetActiveTab(0);
        if (activeTab_ != 0) return;
        int32_t count = TabCount();
        int32_t park = CheckedMul(count, tabOffset_);
        ForEachPagedControl([&](int32_t c, double left, int32_t page) {
            if (page == index) host_.SetContainedLeft(c, left + park);
            else if (page > index) host_.SetContainedLeft(c, left + tabOffset_);
        });
        for (int32_t i = index + 1; i < count; ++i) SetTabCaption(i - 1, records_[i].caption);
        SetTabCount(count - 1);
        int32_t next = shown < index ? shown : shown > index ? shown - 1 : std::min(index, TabCount() - 1);
        SetActiveTab(next);
        removed = true;
    });
    if (removed) host_.TabRemove(index);
}

void TabModel::ShiftContainedControls(int32_t n) {
    WithErrorSource(L"LumioTab.pShiftContainedControls", [&] {
        int32_t delta = ShiftDelta(n, activeTab_, tabOffset_);
        if (delta == 0) return;
        int32_t count = host_.ContainedCount();
        for (int32_t c = 0; c < count; ++c) {
            double left = 0;
            if (host_.ContainedLeft(c, left)) host_.SetContainedLeft(c, left + delta);
        }
    });
}

void TabModel::AssignAccessKeys() {
    std::vector<int32_t> keys;
    for (const TabRecord& r : records_) keys.push_back(r.accessKey);
    host_.SetAccessKeys(AccessKeyList(keys));
}

}  // namespace lumio::tab
