// LumioProgressBar's members, persistence, animation and painting.
#include "lumio_progress_bar.h"

#include "class_table.h"
#include "imaging/picture_loading.h"
#include "imaging/render.h"
#include "run_time_error.h"
#include "simple_dispatch.h"
#include "skin_resource.h"

namespace lumio::lists {

namespace {

namespace id = tlb::dispid::LumioProgressBar;

const MemberTable& Members() {
    static const MemberTable table = [] {
        using P = LumioProgressBar;
        MemberTable t;
        t.Method(id::About, L"About", &P::About)
            .Property(id::MarqueeStyle, L"MarqueeStyle", &P::get_MarqueeStyle, &P::put_MarqueeStyle)
            .Property(id::Max, L"Max", &P::get_Max, &P::put_Max)
            .Property(id::Value, L"Value", &P::get_Value, &P::put_Value);
        return t;
    }();
    return table;
}

const ControlClassInfo kInfo{&tlb::CLSID_LumioProgressBar, &tlb::IID_LumioProgressBar,
                             &tlb::DIID_LumioProgressBarEvents, L"LumioProgressBar",
                             tlb::LumioProgressBar_MiscStatus, false, &Members(), /*takes_focus=*/false};

const bool kRegistered = [] {
    RegisterControlClass({&tlb::CLSID_LumioProgressBar, L"LumioProgressBar", tlb::LumioProgressBar_MiscStatus,
                          tlb::LumioProgressBar_ToolboxBitmap, &LumioProgressBar::Create});
    return true;
}();

}  // namespace

LumioProgressBar::LumioProgressBar() : ControlBase(kInfo) {}

HRESULT LumioProgressBar::Create(IUnknown* outer, REFIID iid, void** out) {
    return ControlBase::Create<LumioProgressBar>(outer, iid, out);
}

// --- properties

void LumioProgressBar::put_MarqueeStyle(bool v) {
    state_.marquee = v;
    PropertyChanged(L"MarqueeStyle");
    // The animation follows the style: a marquee bar has nothing to sweep, a
    // fill bar starts its glint afresh.
    if (timer_ || (!v && Ambient().UserMode())) {
        pTimer(!v);
        if (!v) state_.glintX = kGlintStart;
    }
    pRepaint();
}

void LumioProgressBar::put_Max(long v) {
    state_.max = v;
    PropertyChanged(L"Max");
    pRepaint();
}

void LumioProgressBar::put_Value(long v) {
    if (v > state_.max) Raise(kErrInvalidPropertyValue);
    state_.value = v;
    PropertyChanged(L"Value");
    pRepaint();
}

// --- life cycle

void LumioProgressBar::OnInitialize() {
    SetAutoRedraw(true);
    LoadBitmapSkin(m_Back, L"PROGBACK");
    LoadBitmapSkin(m_Chunk, L"PROGCHUNK");
    LoadPicture_Resource(m_Flash, L"PROGFLASH", L"PNG");
    LoadPicture_Resource(m_MarqueeImage, L"MARQUEE", L"PNG");
    state_.glintX = kGlintStart;
}

void LumioProgressBar::OnInitProperties() {
    state_.max = 100;
    state_.value = 100;
}

void LumioProgressBar::OnReadProperties(PropertyReader& bag) {
    state_.max = bag.ReadLong(L"Max", 100);
    state_.value = bag.ReadLong(L"Value", 100);
    state_.marquee = bag.ReadBool(L"MarqueeStyle", false);
    pTimer(!state_.marquee && Ambient().UserMode());
    state_.glintX = kGlintStart;
    pRepaint();
}

void LumioProgressBar::OnWriteProperties(PropertyWriter& bag) {
    bag.Write(L"Max", Variant::Long(state_.max), Variant::Long(100));
    bag.Write(L"Value", Variant::Long(state_.value), Variant::Long(100));
    bag.Write(L"MarqueeStyle", Variant::Bool(state_.marquee), Variant::Bool(false));
}

void LumioProgressBar::OnTerminate() { pTimer(false); }

void LumioProgressBar::OnResize() {
    if (resizing_) return;
    resizing_ = true;
    if (ScaleHeight() != kProgressHeight) {
        // The extender takes the height in its container's unit.
        const double height = ScaleY(kProgressHeight, ScaleUnit::Pixels, ContainerScaleUnit());
        ComPtr<IDispatch> extender = Extender();
        if (!extender || FAILED(PutProperty(extender.get(), L"Height", Variant::Single(static_cast<float>(height)))))
            ResizeSelf(ScaleWidth(), kProgressHeight);
    }
    resizing_ = false;
    pRepaint();
}

// --- animation

void LumioProgressBar::pTimer(bool on) {
    if (!hWnd()) return;
    if (on) {
        timer_ = SetTimer(hWnd(), kTimerId, kTimerMs, nullptr) != 0;
    } else if (timer_) {
        KillTimer(hWnd(), kTimerId);
        timer_ = false;
    }
}

void LumioProgressBar::pAnimate() {
    if (ProgressStep(ScaleWidth(), state_)) pRepaint();
}

bool LumioProgressBar::OnWindowMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg == WM_TIMER && wp == kTimerId) {
        pAnimate();
        result = 0;
        return true;
    }
    return false;
}

// --- painting

void LumioProgressBar::pDrawTrack(HDC dc, int width, bool edgesOnly) {
    m_Back.Draw(dc, 0, 0, 1, kProgressHeight, 0, 0, false);
    if (!edgesOnly) m_Back.StretchDraw(dc, 1, 0, width - 2, kProgressHeight, 1, 0, 2, kProgressHeight);
    m_Back.Draw(dc, 3, 0, 1, kProgressHeight, width - 1, 0, false);
}

void LumioProgressBar::pRepaint() {
    if (!hWnd()) return;
    Cls();
    HDC dc = Hdc();
    const int width = ScaleWidth();
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    pDrawTrack(dc, width, false);
    const ProgressPaint p = PlanProgressPaint(width, state_);
    if (p.marqueeShown) {
        Render(m_MarqueeImage, dc, p.marqueeX, 0, 0, 0, 0, 0, 0, 0, 100, true, true, nullptr, -1, 0, 0, false);
        pDrawTrack(dc, width, true);
    }
    if (p.fillWidth > 0) m_Chunk.StretchDraw(dc, 1, 1, p.fillWidth, 16, 0, 0, 50, 16);
    if (p.glintShown)
        Render(m_Flash, dc, p.glintX, 0, p.glintWidth, 0, 0, 0, p.glintWidth, 0, 100, true, true, nullptr, -1, 0, 0,
               false);
    if (oldMode) SetStretchBltMode(dc, oldMode);
    Invalidate();
}

}  // namespace lumio::lists
