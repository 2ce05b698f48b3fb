// LumioScrollbar's members, persistence, messages and painting.
#include "lumio_scrollbar.h"

#include <windowsx.h>

#include "class_table.h"
#include "stock_members.h"
#include "subclass_proc_member.h"

namespace lumio::lists {

namespace {

namespace id = tlb::dispid::LumioScrollbar;
namespace ev = tlb::dispid::LumioScrollbarEvents;

const MemberTable& Members() {
    static const MemberTable table = [] {
        using S = LumioScrollbar;
        MemberTable t;
        t.Add(SubclassProcMember<S>(id::zSubclass_Proc))
            .Method(id::Refresh, L"Refresh", &S::Refresh)
            .Property(id::Enabled, L"Enabled", &S::get_Enabled, &S::put_Enabled)
            .Property(id::Max, L"Max", &S::get_Max, &S::put_Max)
            .Property(id::Min, L"Min", &S::get_Min, &S::put_Min)
            .Property(id::Value, L"Value", &S::get_Value, &S::put_Value)
            .Property(id::SmallChange, L"SmallChange", &S::get_SmallChange, &S::put_SmallChange)
            .Property(id::LargeChange, L"LargeChange", &S::get_LargeChange, &S::put_LargeChange)
            .Property(id::ChangeDelay, L"ChangeDelay", &S::get_ChangeDelay, &S::put_ChangeDelay)
            .Property(id::ChangeFrequency, L"ChangeFrequency", &S::get_ChangeFrequency, &S::put_ChangeFrequency)
            .Property(id::Orientation, L"Orientation", &S::get_Orientation, &S::put_Orientation)
            .Property(id::ShowButtons, L"ShowButtons", &S::get_ShowButtons, &S::put_ShowButtons)
            .Method(id::About, L"About", &S::About);
        StockMembers(t).hWnd(id::hWnd);
        return t;
    }();
    return table;
}

const ControlClassInfo kInfo{&tlb::CLSID_LumioScrollbar, &tlb::IID_LumioScrollbar, &tlb::DIID_LumioScrollbarEvents,
                             L"LumioScrollbar", tlb::LumioScrollbar_MiscStatus, true, &Members(),
                             /*takes_focus=*/false};

const bool kRegistered = [] {
    RegisterControlClass({&tlb::CLSID_LumioScrollbar, L"LumioScrollbar", tlb::LumioScrollbar_MiscStatus,
                          tlb::LumioScrollbar_ToolboxBitmap, &LumioScrollbar::Create});
    return true;
}();

}  // namespace

LumioScrollbar::LumioScrollbar() : ControlBase(kInfo) {}

HRESULT LumioScrollbar::Create(IUnknown* outer, REFIID iid, void** out) {
    return ControlBase::Create<LumioScrollbar>(outer, iid, out);
}

// --- host services of the machine

void LumioScrollbar::Host::Invalidate() {
    if (bar_.hWnd()) InvalidateRect(bar_.hWnd(), nullptr, FALSE);
}
void LumioScrollbar::Host::RaiseChange() { bar_.RaiseEvent(ev::Change); }
void LumioScrollbar::Host::RaiseScroll() { bar_.RaiseEvent(ev::Scroll); }
void LumioScrollbar::Host::StartTimer(int timer, int32_t ms) {
    if (bar_.hWnd()) SetTimer(bar_.hWnd(), static_cast<UINT_PTR>(timer), static_cast<UINT>(ms), nullptr);
}
void LumioScrollbar::Host::StopTimer(int timer) {
    if (bar_.hWnd()) KillTimer(bar_.hWnd(), static_cast<UINT_PTR>(timer));
}
bool LumioScrollbar::Host::CursorPos(int32_t& x, int32_t& y) {
    POINT p;
    if (!GetCursorPos(&p) || !ScreenToClient(bar_.hWnd(), &p)) return false;
    x = p.x;
    y = p.y;
    return true;
}
bool LumioScrollbar::Host::CursorOverBar() {
    POINT p;
    return GetCursorPos(&p) && WindowFromPoint(p) == bar_.hWnd();
}

// --- properties

void LumioScrollbar::pWritten() { MarkDirty(); }

void LumioScrollbar::Refresh() { host_.Invalidate(); }

void LumioScrollbar::put_Enabled(bool v) {
    SetWindowEnabled(v);
    host_.Invalidate();
    pWritten();
}
void LumioScrollbar::put_Max(long v) {
    machine_.SetMax(v);
    pWritten();
}
void LumioScrollbar::put_Min(long v) {
    machine_.SetMin(v);
    pWritten();
}
void LumioScrollbar::put_Value(long v) {
    pWritten();
    machine_.SetValue(v);
}
void LumioScrollbar::put_SmallChange(long v) {
    machine_.SetSmallChange(v);
    pWritten();
}
void LumioScrollbar::put_LargeChange(long v) {
    machine_.SetLargeChange(v);
    pWritten();
}
void LumioScrollbar::put_ChangeDelay(long v) {
    machine_.SetChangeDelay(v);
    pWritten();
}
void LumioScrollbar::put_ChangeFrequency(long v) {
    machine_.SetChangeFrequency(v);
    pWritten();
}
void LumioScrollbar::put_Orientation(sbOrientationCts v) {
    machine_.SetOrientation(static_cast<int32_t>(v));
    pWritten();
}
void LumioScrollbar::put_ShowButtons(bool v) {
    machine_.SetShowButtons(v);
    pWritten();
}

// --- life cycle

void LumioScrollbar::OnInitProperties() {
    machine_.Load(ScrollProperties{});
    pSizeFromWindow();
    // A bar made new at run time (as a container makes its own) works as a
    // loaded one does.
    if (Ambient().UserMode()) pAttach();
}

void LumioScrollbar::OnReadProperties(PropertyReader& bag) {
    SetWindowEnabled(bag.ReadBool(L"Enabled", true));
    ScrollProperties p;
    p.min = bag.ReadLong(L"Min", 0);
    p.max = bag.ReadLong(L"Max", 100);
    p.value = bag.ReadLong(L"Value", 0);
    p.smallChange = bag.ReadLong(L"SmallChange", 1);
    p.largeChange = bag.ReadLong(L"LargeChange", 10);
    p.changeDelay = bag.ReadLong(L"ChangeDelay", 500);
    p.changeFrequency = bag.ReadLong(L"ChangeFrequency", 50);
    p.orientation = bag.ReadLong(L"Orientation", 0);
    p.showButtons = bag.ReadBool(L"ShowButtons", true);
    machine_.Load(p);
    pSizeFromWindow();
    if (Ambient().UserMode()) pAttach();
}

void LumioScrollbar::OnWriteProperties(PropertyWriter& bag) {
    const ScrollProperties& p = machine_.Properties();
    bag.Write(L"Enabled", Variant::Bool(WindowEnabled()), Variant::Bool(true));
    bag.Write(L"Min", Variant::Long(p.min), Variant::Long(0));
    bag.Write(L"Max", Variant::Long(p.max), Variant::Long(100));
    bag.Write(L"Value", Variant::Long(p.value), Variant::Long(0));
    bag.Write(L"SmallChange", Variant::Long(p.smallChange), Variant::Long(1));
    bag.Write(L"LargeChange", Variant::Long(p.largeChange), Variant::Long(10));
    bag.Write(L"ChangeDelay", Variant::Long(p.changeDelay), Variant::Long(500));
    bag.Write(L"ChangeFrequency", Variant::Long(p.changeFrequency), Variant::Long(50));
    bag.Write(L"Orientation", Variant::Long(p.orientation), Variant::Long(0));
    bag.Write(L"ShowButtons", Variant::Bool(p.showButtons), Variant::Bool(true));
}

void LumioScrollbar::pAttach() { attached_ = true; }

void LumioScrollbar::pSizeFromWindow() {
    RECT r{};
    if (hWnd()) GetClientRect(hWnd(), &r);
    machine_.SetClientSize(r.right - r.left, r.bottom - r.top);
}

void LumioScrollbar::OnResize() {
    if (!attached_) pSizeFromWindow();
}

void LumioScrollbar::OnPaint() {
    if (!attached_) pPaint(Hdc());
}

void LumioScrollbar::pPaint(HDC dc) {
    if (!painter_) painter_ = std::make_unique<cScrollbarDraw>();
    const ScrollPaintStates s = machine_.PaintStates(WindowEnabled());
    const ScrollLayout& l = machine_.Layout();
    const int o = machine_.Properties().orientation;
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    painter_->DrawTLButton(dc, o, s.tlButton, l.tlButton);
    painter_->DrawBRButton(dc, o, s.brButton, l.brButton);
    if (s.trackShown) {
        painter_->DrawTrack(dc, o, s.tlTrack, l.tlTrack);
        painter_->DrawTrack(dc, o, s.brTrack, l.brTrack);
        painter_->DrawThumb(dc, o, s.thumb, l.thumb);
    }
    if (oldMode) SetStretchBltMode(dc, oldMode);
}

// The message callback a late-bound caller reaches too: messages of the
// bar's own window, answered as its window answers them (size and paint
// handled in place of the window's procedure).
void LumioScrollbar::zSubclass_Proc(bool, bool& bHandled, LRESULT& lReturn, HWND& lng_hWnd, UINT& uMsg,
                                    WPARAM& wParam, LPARAM& lParam) {
    if (!hWnd() || lng_hWnd != hWnd()) return;
    LRESULT result = 0;
    if (pMessage(uMsg, wParam, lParam, result)) {
        bHandled = true;
        lReturn = result;
    }
}

bool LumioScrollbar::OnWindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (!attached_) return false;
    return pMessage(msg, wp, lp, result);
}

// Run time: the bar handles its own input and painting. It never takes the
// focus; a press holds the capture, and losing it ends the press.
bool LumioScrollbar::pMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    result = 0;
    switch (msg) {
    case WM_SIZE:
        pSizeFromWindow();
        return true;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hWnd(), &ps);
        if (dc) pPaint(dc);
        EndPaint(hWnd(), &ps);
        return true;
    }
    case WM_LBUTTONDOWN:
    // The second press of a double click is a press like the first.
    case WM_LBUTTONDBLCLK:
        SetCapture(hWnd());
        machine_.MouseDown(LOWORD(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return true;
    case WM_MOUSEMOVE:
        machine_.MouseMove(LOWORD(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return true;
    case WM_LBUTTONUP:
        machine_.MouseUp();
        if (GetCapture() == hWnd()) ReleaseCapture();
        return true;
    case WM_CANCELMODE:
        machine_.MouseUp();
        if (GetCapture() == hWnd()) ReleaseCapture();
        return false;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != hWnd() && machine_.PressedPart() != kPartNone) machine_.MouseUp();
        return false;
    case WM_TIMER:
        machine_.Timer(static_cast<int>(wp));
        return true;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

}  // namespace lumio::lists
