#pragma once
// A control made only for the tests: one property of each persisted kind,
// a method that raises a chosen error, one that overflows, an event with a by-reference
// argument, and a log of the life-cycle and input handlers in the order the
// runtime called them.
#include <string>
#include <vector>

#include "control_base.h"

namespace probe {

// {6C1D2A50-7E0B-4C43-9B51-2F5B8C0D7E11}
inline constexpr CLSID kClsid = {0x6c1d2a50, 0x7e0b, 0x4c43, {0x9b, 0x51, 0x2f, 0x5b, 0x8c, 0x0d, 0x7e, 0x11}};
// {6C1D2A51-7E0B-4C43-9B51-2F5B8C0D7E11}
inline constexpr IID kIid = {0x6c1d2a51, 0x7e0b, 0x4c43, {0x9b, 0x51, 0x2f, 0x5b, 0x8c, 0x0d, 0x7e, 0x11}};
// {6C1D2A52-7E0B-4C43-9B51-2F5B8C0D7E11}
inline constexpr IID kEventsIid = {0x6c1d2a52, 0x7e0b, 0x4c43, {0x9b, 0x51, 0x2f, 0x5b, 0x8c, 0x0d, 0x7e, 0x11}};

enum : DISPID { kNumber = 1, kText, kRatio, kFlag, kPicture, kFail, kPing, kLastPing, kResizeTo, kDrawMark, kTwice, kItem, kJoin, kBump };
enum : DISPID { kPingEvent = 1 };

// What the handlers saw, oldest first; cleared by the tests.
std::vector<std::wstring>& Log();

class ProbeControl : public lumio::ControlBase {
public:
    ProbeControl();

    long Number() { return number_; }
    void SetNumber(long v) { number_ = v; PropertyChanged(L"Number"); }
    std::wstring Text() { return text_; }
    // Stored under a bag key that names no member.
    void SetText(std::wstring v) { text_ = std::move(v); PropertyChanged(L"TextKey"); }
    float Ratio() { return ratio_; }
    void SetRatio(float v) { ratio_ = v; PropertyChanged(L"Ratio"); }
    bool Flag() { return flag_; }
    void SetFlag(bool v) { flag_ = v; PropertyChanged(L"Flag"); }
    lumio::ComPtr<IFontDisp> FontProp() { return Font(); }
    void SetFontProp(lumio::ComPtr<IFontDisp> f) { SetFont(f.get()); PropertyChanged(L"Font"); }
    lumio::ComPtr<IPictureDisp> Picture() { return picture_; }
    void SetPicture(lumio::ComPtr<IPictureDisp> p) { picture_ = p; PropertyChanged(L"Picture"); }
    short MousePointerProp() { return MousePointer(); }
    void SetMousePointerProp(short p) { SetMousePointer(p); }
    long HWnd() { return static_cast<long>(reinterpret_cast<LONG_PTR>(hWnd())); }
    void Fail(long number);
    // Doubles with the image engine's checked arithmetic.
    short Twice(short v);
    void Ping();
    short LastPing() { return last_ping_; }
    void ResizeTo(long w, long h) { ResizeSelf(w, h); }
    // A red 10 x 10 mark at the top left, with or without the persistent image.
    void DrawMark(bool persistent);
    // Three strings by index (0..2); any other index raises 9.
    std::wstring Item(long i);
    void SetItem(long i, std::wstring v);
    // Its second argument has no default anywhere: leaving it out is an error.
    std::wstring Join(std::wstring a, std::wstring b) { return a + b; }
    // Changes both of its by-reference arguments: 2 n + 1, and s with "!" after it.
    void Bump(short& n, std::wstring& s) {
        n = static_cast<short>(2 * n + 1);
        s += L"!";
    }

    // Reached by the tests directly.
    using ControlBase::Ambient;
    using ControlBase::ContainedControls;
    using ControlBase::Extender;
    using ControlBase::ScaleX;
    using ControlBase::ScaleY;
    using ControlBase::SetAccessKeys;
    using ControlBase::TextHeight;
    using ControlBase::TextWidth;
    using ControlBase::hWnd;

protected:
    void OnInitialize() override;
    void OnInitProperties() override;
    void OnReadProperties(lumio::PropertyReader& bag) override;
    void OnWriteProperties(lumio::PropertyWriter& bag) override;
    void OnTerminate() override;
    void OnResize() override;
    void OnShow() override;
    void OnHide() override;
    void OnPaint() override;
    void OnMouseDown(short button, short shift, float x, float y) override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    void OnMouseUp(short button, short shift, float x, float y) override;
    void OnClick() override;
    void OnDblClick() override;
    void OnKeyDown(short& code, short shift) override;
    void OnKeyPress(short& ascii) override;
    void OnKeyUp(short& code, short shift) override;
    void OnGotFocus() override;
    void OnLostFocus() override;
    void OnAccessKeyPress(short key) override;
    void OnAmbientChanged(const std::wstring& name) override;

private:
    long number_ = 0;
    std::wstring text_;
    float ratio_ = 0;
    bool flag_ = false;
    lumio::ComPtr<IPictureDisp> picture_;
    short last_ping_ = 0;
    std::wstring items_[3] = {L"zero", L"one", L"two"};
};

HRESULT Create(IUnknown* outer, REFIID iid, void** out);

}  // namespace probe
