#pragma once
// The tabs of the tab control and the controls on their pages: the records,
// the shown tab and its switch, inserting and removing tabs, captions and
// their access keys. What the model needs of the window side (events,
// contained controls, drawing) comes through TabHost, so the rules run and
// are tested without a window.
#include <cstdint>
#include <string>
#include <vector>

#include "tab_fill_rows.h"

namespace lumio::tab {

struct TabRecord {
    FillRect boxRect{};  // the close box, written by the painters
    std::wstring caption;
    FillRect tabRect{};  // the tab in the strip, written by the painters
    bool enabled = true;
    int32_t accessKey = 0;  // upper-case character code, 0 for none
};

class TabHost {
public:
    virtual ~TabHost() = default;
    // Events; BeforeTabSwitch answers whether the host cancelled.
    virtual bool BeforeTabSwitch(int16_t newTab) = 0;
    virtual void TabSwitch(int16_t lastTab) = 0;
    virtual void TabInsert(int32_t afterIndex) = 0;
    virtual void TabRemove(int32_t index) = 0;
    // The contained controls, by position in the host's list; Left in twips.
    // A control without a readable Left answers false and is skipped.
    virtual int32_t ContainedCount() = 0;
    virtual bool ContainedLeft(int32_t i, double& left) = 0;
    virtual void SetContainedLeft(int32_t i, double left) = 0;
    virtual void LockDrawing() = 0;
    virtual void UnlockDrawing() = 0;
    // Background and tabs after a switch; then the full Refresh.
    virtual void DrawSwitch() = 0;
    virtual void Refresh() = 0;
    virtual void PropertyChanged(const wchar_t* name) = 0;
    virtual void SetAccessKeys(const std::wstring& keys) = 0;
    // The record array now has count entries (pictures stay by index).
    virtual void RecordsResized(int32_t count) = 0;
};

class TabModel {
public:
    static constexpr int32_t kDefaultTabOffset = 10000;

    explicit TabModel(TabHost& host) : host_(host) {}

    // A new control: count tabs "Tab 0", "Tab 1", ..., all enabled, no keys.
    void InitRecords(int32_t count);
    // A loaded control: the records as stored, at least one (a stored count
    // below 1 raises 9 after the control is left with one tab).
    void LoadRecords(std::vector<TabRecord> records);
    const std::vector<TabRecord>& records() const { return records_; }

    int32_t ActiveTab() const { return activeTab_; }
    // Switches to tab n (out of range: tab 0) with BeforeTabSwitch/TabSwitch;
    // nothing while there is no tab.
    void SetActiveTab(int32_t n);
    // Stores the shown tab of a loaded control: no switch, no event.
    void StoreActiveTab(int32_t n) { activeTab_ = n; }
    int32_t LastActiveTab() const { return lastActiveTab_; }
    int32_t HoverIndex() const { return hoverIndex_; }
    void SetHoverIndex(int32_t i) { hoverIndex_ = i; }

    int32_t TabCount() const { return static_cast<int32_t>(records_.size()); }
    void SetTabCount(int32_t v);

    int32_t TabOffset() const { return tabOffset_; }
    // 0 or less raises 380.
    void SetTabOffset(int32_t v);
    // A stored value as read: 0 or less gives the default.
    void StoreTabOffset(int32_t v) { tabOffset_ = v > 0 ? v : kDefaultTabOffset; }

    // Out of range reads give "" and false; writes raise 9.
    std::wstring TabCaption(int32_t i) const;
    void SetTabCaption(int32_t i, const std::wstring& caption);
    bool TabEnabled(int32_t i) const;
    void SetTabEnabled(int32_t i, bool enabled);
    // Whether i names a tab; the picture members check it.
    bool ValidIndex(int32_t i) const { return i >= 0 && i < TabCount(); }

    // A copy of record i, i clamped into range and written back. With no
    // records (a load that failed before them) a blank, disabled record, i
    // left as it was.
    TabRecord AryTabs(int32_t& i) const;
    // Stores a whole record; out of range raises 9.
    void SetAryTabs(int32_t i, const TabRecord& record);

    void InsertTab(int32_t afterIndex, const std::wstring& caption);
    void RemoveTab(int32_t index);

    // Moves the contained controls for a switch from the shown tab to n.
    void ShiftContainedControls(int32_t n);
    // The access-key list rebuilt from the records.
    void AssignAccessKeys();

private:
    void HandleTabCount();
    // Every contained control with its tab while tab 0 is shown; parked
    // controls of removed tabs (Left TabOffset or more) are left out.
    template <class F>
    void ForEachPagedControl(F&& f);

    TabHost& host_;
    std::vector<TabRecord> records_;
    int32_t activeTab_ = 0;
    int32_t lastActiveTab_ = 0;
    int32_t hoverIndex_ = 0;
    int32_t tabOffset_ = kDefaultTabOffset;
};

}  // namespace lumio::tab
