#pragma once
// LumioScrollbar: the skinned scroll bar. Its behaviour lives in the portable
// ScrollMachine; this class ties it to the window, the bag and the painter.
#include <memory>

#include "about_hook.h"
#include "control_base.h"
#include "lumiokit_ids.h"
#include "scroll_machine.h"
#include "scrollbar_draw.h"

namespace lumio::lists {

using tlb::sbOrientationCts;

class LumioScrollbar : public ControlBase {
public:
    LumioScrollbar();
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    // _LumioScrollbar
    void Refresh();
    bool get_Enabled() { return WindowEnabled(); }
    void put_Enabled(bool v);
    long get_Max() { return machine_.Properties().max; }
    void put_Max(long v);
    long get_Min() { return machine_.Properties().min; }
    void put_Min(long v);
    long get_Value() { return machine_.Properties().value; }
    void put_Value(long v);
    long get_SmallChange() { return machine_.Properties().smallChange; }
    void put_SmallChange(long v);
    long get_LargeChange() { return machine_.Properties().largeChange; }
    void put_LargeChange(long v);
    long get_ChangeDelay() { return machine_.Properties().changeDelay; }
    void put_ChangeDelay(long v);
    long get_ChangeFrequency() { return machine_.Properties().changeFrequency; }
    void put_ChangeFrequency(long v);
    sbOrientationCts get_Orientation() { return static_cast<sbOrientationCts>(machine_.Properties().orientation); }
    void put_Orientation(sbOrientationCts v);
    bool get_ShowButtons() { return machine_.Properties().showButtons; }
    void put_ShowButtons(bool v);
    void About() { ShowAbout(); }
    void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& lng_hWnd, UINT& uMsg, WPARAM& wParam,
                        LPARAM& lParam);

    const ScrollMachine& machine() const { return machine_; }

protected:
    void OnInitProperties() override;
    void OnReadProperties(PropertyReader& bag) override;
    void OnWriteProperties(PropertyWriter& bag) override;
    void OnResize() override;
    void OnPaint() override;
    bool OnWindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    class Host : public ScrollHost {
    public:
        explicit Host(LumioScrollbar& bar) : bar_(bar) {}
        void Invalidate() override;
        void RaiseChange() override;
        void RaiseScroll() override;
        void StartTimer(int id, int32_t milliseconds) override;
        void StopTimer(int id) override;
        bool CursorPos(int32_t& x, int32_t& y) override;
        bool CursorOverBar() override;

    private:
        LumioScrollbar& bar_;
    };

    void pAttach();
    bool pMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void pSizeFromWindow();
    void pPaint(HDC dc);
    // A write of ours: the host's dirty flag without a change notice.
    void pWritten();

    Host host_{*this};
    ScrollMachine machine_{host_};
    std::unique_ptr<cScrollbarDraw> painter_;
    bool attached_ = false;
};

}  // namespace lumio::lists
