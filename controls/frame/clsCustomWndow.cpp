#include "clsCustomWndow.h"

#include <olectl.h>

#include "frame_control.h"

namespace lumio {
namespace {

// The late-bound hWnd of a form; 0 when the object has none or it is not a top-level window.
HWND FormWindow(IDispatch* form) {
    if (!form) return nullptr;
    LPOLESTR name = const_cast<LPOLESTR>(L"hWnd");
    DISPID id = 0;
    if (FAILED(form->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return nullptr;
    DISPPARAMS none{};
    VARIANT v;
    VariantInit(&v);
    if (FAILED(form->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr)))
        return nullptr;
    VARIANT asInt;
    VariantInit(&asInt);
    HWND hWnd = nullptr;
    if (SUCCEEDED(VariantChangeType(&asInt, &v, 0, VT_I8))) hWnd = reinterpret_cast<HWND>(asInt.llVal);
    VariantClear(&v);
    if (!hWnd || !IsWindow(hWnd) || (GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)) return nullptr;
    return hWnd;
}

FontSpec AttributesOf(IFontDisp* font) {
    FontSpec attrs;
    IFont* f = nullptr;
    if (!font || FAILED(font->QueryInterface(IID_IFont, reinterpret_cast<void**>(&f))) || !f) return attrs;
    BSTR name = nullptr;
    if (SUCCEEDED(f->get_Name(&name)) && name) {
        const int n = WideCharToMultiByte(CP_ACP, 0, name, -1, nullptr, 0, nullptr, nullptr);
        std::string s(n > 0 ? static_cast<size_t>(n - 1) : 0, '\0');
        if (n > 1) WideCharToMultiByte(CP_ACP, 0, name, -1, s.data(), n, nullptr, nullptr);
        attrs.name = s.substr(0, 32);
        SysFreeString(name);
    }
    CY size{};
    if (SUCCEEDED(f->get_Size(&size))) attrs.size = static_cast<double>(size.int64) / 10000.0;
    BOOL b = FALSE;
    if (SUCCEEDED(f->get_Bold(&b))) attrs.bold = b != FALSE;
    if (SUCCEEDED(f->get_Italic(&b))) attrs.italic = b != FALSE;
    if (SUCCEEDED(f->get_Underline(&b))) attrs.underline = b != FALSE;
    if (SUCCEEDED(f->get_Strikethrough(&b))) attrs.strikethrough = b != FALSE;
    f->Release();
    return attrs;
}

IFontDisp* FontOf(const FontSpec& attrs) {
    const int n = MultiByteToWideChar(CP_ACP, 0, attrs.name.c_str(), -1, nullptr, 0);
    std::wstring name(n > 0 ? static_cast<size_t>(n - 1) : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_ACP, 0, attrs.name.c_str(), -1, name.data(), n);
    FONTDESC fd{};
    fd.cbSizeofstruct = sizeof fd;
    fd.lpstrName = name.data();
    fd.cySize.int64 = static_cast<LONGLONG>(attrs.size * 10000.0 + 0.5);
    fd.sWeight = static_cast<SHORT>(attrs.bold ? FW_BOLD : FW_NORMAL);
    fd.sCharset = DEFAULT_CHARSET;
    fd.fItalic = attrs.italic;
    fd.fUnderline = attrs.underline;
    fd.fStrikethrough = attrs.strikethrough;
    IFontDisp* font = nullptr;
    if (FAILED(OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(&font)))) return nullptr;
    return font;
}

}  // namespace

clsCustomWndow::clsCustomWndow() : frame_(new clsFrameControl) {}

clsCustomWndow::~clsCustomWndow() {
    if (frame_) {
        frame_->EndSubclass();
        frame_->Release();
    }
}

void clsCustomWndow::BeginCustomWindow(IDispatch* formObject, IUnknown* CallBackClass) {
    HWND hWnd = FormWindow(formObject);
    if (!hWnd) return;
    // Only a window of this thread can take the frame's procedure: any other
    // is refused before anything changes.
    if (GetWindowThreadProcessId(hWnd, nullptr) != GetCurrentThreadId()) return;
    if (!CallBackClass) RemovePropA(hWnd, kCallbackProp);
    else SetPropA(hWnd, kCallbackProp, reinterpret_cast<HANDLE>(CallBackClass));
    SetPropA(hWnd, kFrameObjectProp, reinterpret_cast<HANDLE>(static_cast<IFrameWindowProc*>(frame_)));
    frame_->BeginSubclass(hWnd);
    if (frame_->Window() != hWnd) {
        // Not framed: the facade answers so.
        RemovePropA(hWnd, kCallbackProp);
        RemovePropA(hWnd, kFrameObjectProp);
    }
}

void clsCustomWndow::EndCustomWindow() {
    frame_->EndSubclass();
    frame_->Release();
    frame_ = new clsFrameControl;
}

void clsCustomWndow::SetAppIcon(HICON Icon32Pixels) { frame_->SetAppIconPixels(Icon32Pixels); }

VARIANT clsCustomWndow::IsSubclassed(HWND hWnd) const {
    VARIANT v;
    VariantInit(&v);
    if (!hWnd) return v;
    v.vt = VT_BOOL;
    v.boolVal = IsWindow(hWnd) && GetPropA(hWnd, kFrameObjectProp) ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

void clsCustomWndow::Font_TBar(IFontDisp* newFont) {
    if (!newFont) {
        frame_->SetTitleBarFont(nullptr);
        return;
    }
    const FontSpec attrs = AttributesOf(newFont);
    frame_->SetTitleBarFont(&attrs);
}

IFontDisp* clsCustomWndow::Font_TBar() const { return FontOf(frame_->GetTitleBarFont()); }

void clsCustomWndow::EnableTBarBtns(int32_t buttonIDs, bool isEnabled) { frame_->EnableButtons(buttonIDs, isEnabled); }
bool clsCustomWndow::EnableTBarBtns(int32_t buttonIDs) const { return frame_->IsButtonEnabled(buttonIDs); }
void clsCustomWndow::BorderStyle(int32_t style) { frame_->SetBorderStyle(true, style); }
int32_t clsCustomWndow::BorderStyle() const { return frame_->SetBorderStyle(false, 0); }
void clsCustomWndow::VerticalCaption(bool isVertical) { frame_->SetVerticalCaption(true, isVertical); }
bool clsCustomWndow::VerticalCaption() const { return frame_->SetVerticalCaption(false, false); }
void clsCustomWndow::CenteredCaption(bool isCentered) { frame_->SetCenteredCaption(true, isCentered); }
bool clsCustomWndow::CenteredCaption() const { return frame_->SetCenteredCaption(false, false); }
void clsCustomWndow::HideDisabledButtons(bool bHide) { frame_->SetHideDisabled(true, bHide); }
bool clsCustomWndow::HideDisabledButtons() const { return frame_->SetHideDisabled(false, false); }
void clsCustomWndow::ShowInTaskBar(bool bShow) { frame_->SetShowInTaskBar(true, bShow); }
bool clsCustomWndow::ShowInTaskBar() const { return frame_->SetShowInTaskBar(false, false); }
void clsCustomWndow::AlwaysActive(bool AllThreads, bool KeepActive) { frame_->SetKeepActive(true, KeepActive, AllThreads); }
bool clsCustomWndow::AlwaysActive(bool AllThreads) const { return frame_->SetKeepActive(false, false, AllThreads); }
void clsCustomWndow::FontColor_TBar(bool ActiveColor, OLE_COLOR newColor) { frame_->SetFontColor(true, ActiveColor, newColor); }
OLE_COLOR clsCustomWndow::FontColor_TBar(bool ActiveColor) const { return frame_->SetFontColor(false, ActiveColor, 0); }
void clsCustomWndow::SetCaption(const std::string& newCaption, HWND hWnd) { frame_->SetCaptionText(newCaption, hWnd); }
void clsCustomWndow::Refresh() { frame_->MenuBar()->ForceMenuBarRepaint(); }

void clsCustomWndow::AddTitleBarButton(const std::string& ID, int32_t Position, int32_t PositionType, int32_t X,
                                       int32_t Y, int32_t Width, int32_t Height) {
    frame_->AddUserButton(ID, Position, PositionType, X, Y, Width, Height);
}

void clsCustomWndow::Font_MenuBar(IFontDisp* newFont) {
    if (!newFont) {
        frame_->MenuBar()->SetFont(nullptr);
        return;
    }
    const FontSpec attrs = AttributesOf(newFont);
    frame_->MenuBar()->SetFont(&attrs);
}

IFontDisp* clsCustomWndow::Font_MenuBar() const { return FontOf(frame_->MenuBar()->GetFont()); }

void clsCustomWndow::FontColor_Menubar(int32_t state, OLE_COLOR newColor) { frame_->MenuBar()->FontColor(state, newColor); }
OLE_COLOR clsCustomWndow::FontColor_Menubar(int32_t state) const { return frame_->MenuBar()->FontColor(state); }
void clsCustomWndow::MenuSelect_FlatStyle(bool isFlat) { frame_->MenuBar()->HiliteStyle(true, isFlat); }
bool clsCustomWndow::MenuSelect_FlatStyle() const { return frame_->MenuBar()->HiliteStyle(false, false); }
void clsCustomWndow::SetMenuSelectColors(OLE_COLOR Color1, OLE_COLOR Color2) { frame_->MenuBar()->HiliteColors(Color1, Color2); }

}  // namespace lumio
