#pragma once
// LumioProgressBar: a skinned bar, always 18 px high, with a fill and a
// sweeping glint, or a marquee placed by Value. It takes no input.
#include "about_hook.h"
#include "control_base.h"
#include "imaging/c32bpp_dib.h"
#include "imaging/pc_mem_dc.h"
#include "lumiokit_ids.h"
#include "progress_plan.h"

namespace lumio::lists {

class LumioProgressBar : public ControlBase {
public:
    LumioProgressBar();
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    // _LumioProgressBar
    void About() { ShowAbout(); }
    bool get_MarqueeStyle() { return state_.marquee; }
    void put_MarqueeStyle(bool v);
    long get_Max() { return state_.max; }
    void put_Max(long v);
    long get_Value() { return state_.value; }
    void put_Value(long v);

    const ProgressState& state() const { return state_; }
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kTimerMs = 30;

protected:
    void OnInitialize() override;
    void OnInitProperties() override;
    void OnReadProperties(PropertyReader& bag) override;
    void OnWriteProperties(PropertyWriter& bag) override;
    void OnTerminate() override;
    void OnResize() override;
    void OnShow() override { pRepaint(); }
    bool OnWindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void pRepaint();
    void pDrawTrack(HDC dc, int width, bool edgesOnly);
    void pTimer(bool on);
    void pAnimate();

    ProgressState state_;
    pcMemDC m_Back, m_Chunk;
    c32bppDIB m_Flash, m_MarqueeImage;
    bool timer_ = false;
    bool resizing_ = false;
};

}  // namespace lumio::lists
