// LumioBasicForm's members, run-time set-up of the frame and the frame's callbacks.
#include "lumio_basic_form.h"

#include <cmath>

#include "class_table.h"
#include "form_dialogs.h"
#include "form_lookup.h"
#include "imaging/drop_shadow.h"
#include "imaging/image_effects.h"
#include "imaging/picture_loading.h"
#include "simple_dispatch.h"
#include "std_objects.h"

namespace lumio::form {

namespace {

namespace id = tlb::dispid::LumioBasicForm;
namespace cb = tlb::dispid::CustomWindowCalls;

const VARIANT& Arg(const MemberArgs& a, size_t i) { return Deref(*a.at(i)); }
long ArgLong(const MemberArgs& a, size_t i) { return VariantValue<long>::From(Arg(a, i)); }
bool ArgBool(const MemberArgs& a, size_t i) { return VariantValue<bool>::From(Arg(a, i)); }
HDC ArgDC(const MemberArgs& a, size_t i) {
    const VARIANT& v = Arg(a, i);
    if (v.vt == VT_I8) return reinterpret_cast<HDC>(static_cast<LONG_PTR>(v.llVal));
    return reinterpret_cast<HDC>(static_cast<LONG_PTR>(VariantValue<long>::From(v)));
}
std::wstring ArgText(const MemberArgs& a, size_t i) { return VariantValue<std::wstring>::From(Arg(a, i)); }
// Writes a Boolean out-argument where the caller passed one by reference.
void SetRefBool(const MemberArgs& a, size_t i, bool value) {
    const VARIANT* v = a.at(i);
    if (v->vt == (VT_BYREF | VT_BOOL) && v->pboolVal) *v->pboolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    else if (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) {
        VariantClear(v->pvarVal);
        v->pvarVal->vt = VT_BOOL;
        v->pvarVal->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
}
void SetRefHandle(const MemberArgs& a, size_t i, HRGN region) {
    const VARIANT* v = a.at(i);
    auto value = reinterpret_cast<LONG_PTR>(region);
    if (v->vt == (VT_BYREF | VT_I8) && v->pllVal) *v->pllVal = value;
    else if (v->vt == (VT_BYREF | VT_I4) && v->plVal) *v->plVal = static_cast<LONG>(value);
    else if (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) {
        VariantClear(v->pvarVal);
#ifdef _WIN64
        v->pvarVal->vt = VT_I8;
        v->pvarVal->llVal = value;
#else
        v->pvarVal->vt = VT_I4;
        v->pvarVal->lVal = static_cast<LONG>(value);
#endif
    }
}

LumioBasicForm& Self(ControlBase& b) { return static_cast<LumioBasicForm&>(b); }

Member Callback(DISPID dispid, const wchar_t* name, size_t args,
                std::function<void(LumioBasicForm&, const MemberArgs&)> body) {
    Member m;
    m.id = dispid;
    m.name = name;
    m.arg_count = args;
    m.call = [body = std::move(body), args](ControlBase& b, const MemberArgs& a) {
        if (a.size() < args) throw ArgError{DISP_E_BADPARAMCOUNT};
        body(Self(b), a);
        return Variant();
    };
    return m;
}

const MemberTable& Members() {
    static const MemberTable table = [] {
        using P = LumioBasicForm;
        MemberTable t;
        t.Method(id::ShowMsgBox, L"ShowMsgBox", &P::ShowMsgBox).Method(id::ShowInputBox, L"ShowInputBox", &P::ShowInputBox);
        t.Add(Callback(cb::UserDrawnTitleBar, L"UserDrawnTitleBar", 5, [](P& p, const MemberArgs& a) {
            bool modified = false;
            p.UserDrawnTitleBar(ArgDC(a, 0), ArgLong(a, 1), ArgLong(a, 2), ArgBool(a, 3), modified);
            SetRefBool(a, 4, modified);
        }));
        t.Add(Callback(cb::UserDrawnMenuBar, L"UserDrawnMenuBar", 5, [](P& p, const MemberArgs& a) {
            bool modified = false;
            p.UserDrawnMenuBar(ArgDC(a, 0), ArgLong(a, 1), ArgLong(a, 2), ArgBool(a, 3), modified);
            SetRefBool(a, 4, modified);
        }));
        t.Add(Callback(cb::UserDrawnButton, L"UserDrawnButton", 9, [](P& p, const MemberArgs& a) {
            bool modified = false;
            p.UserDrawnButton(ArgText(a, 0), static_cast<short>(ArgLong(a, 1)), ArgDC(a, 2), ArgLong(a, 3),
                              ArgLong(a, 4), ArgBool(a, 7), modified);
            SetRefBool(a, 8, modified);
        }));
        t.Add(Callback(cb::UserButtonClick, L"UserButtonClick", 1, [](P&, const MemberArgs&) {}));
        t.Add(Callback(cb::UserDrawnBorder, L"UserDrawnBorder", 7, [](P& p, const MemberArgs& a) {
            bool modified = false;
            p.UserDrawnBorder(ArgDC(a, 0), ArgLong(a, 3), ArgLong(a, 4), ArgBool(a, 5), modified);
            SetRefBool(a, 6, modified);
        }));
        t.Add(Callback(cb::BeforeDrawCaption, L"BeforeDrawCaption", 4, [](P& p, const MemberArgs& a) {
            p.BeforeDrawCaption(ArgDC(a, 0), ArgText(a, 1), ArgLong(a, 2), ArgLong(a, 3));
        }));
        t.Add(Callback(cb::OnCreateRegion, L"OnCreateRegion", 5, [](P& p, const MemberArgs& a) {
            SetRefHandle(a, 0, p.OnCreateRegion(ArgLong(a, 3), ArgLong(a, 4)));
        }));
        t.Add(Callback(cb::EnterExitSizing, L"EnterExitSizing", 2, [](P&, const MemberArgs&) {}));
        return t;
    }();
    return table;
}

const ControlClassInfo kInfo{&tlb::CLSID_LumioBasicForm, &tlb::IID_LumioBasicForm, &tlb::DIID_LumioBasicFormEvents,
                             L"LumioBasicForm", tlb::LumioBasicForm_MiscStatus, false, &Members(), true,
                             &tlb::IID_CustomWindowCalls};

const bool kRegistered = [] {
    RegisterControlClass({&tlb::CLSID_LumioBasicForm, L"LumioBasicForm", tlb::LumioBasicForm_MiscStatus,
                          tlb::LumioBasicForm_ToolboxBitmap, &LumioBasicForm::Create});
    return true;
}();

std::wstring Text(const Variant& v) {
    if (v->vt == VT_ERROR && v->scode == DISP_E_PARAMNOTFOUND) return L"";
    return VariantValue<std::wstring>::From(*v.get());
}

void Ensure(std::unique_ptr<StripDC>& strip, Strip which) {
    if (!strip) strip = std::make_unique<StripDC>(which);
}

}  // namespace

LumioBasicForm::LumioBasicForm() : ControlBase(kInfo) {}

HRESULT LumioBasicForm::Create(IUnknown* outer, REFIID iid, void** out) {
    return ControlBase::Create<LumioBasicForm>(outer, iid, out);
}

// --- dialogs

long LumioBasicForm::ShowMsgBox(Variant MainText, Variant ContentText, long MsgBoxButton, long MsgBoxIcon,
                                Variant Title) {
    MessageBoxRequest r;
    r.buttons = MsgBoxButton;
    r.icon = MsgBoxIcon;
    r.main_text = Text(MainText);
    r.content_text = Text(ContentText);
    r.title = Text(Title);
    return RunMessageBox(FormWindowNow(), r);
}

std::wstring LumioBasicForm::ShowInputBox(Variant Prompt, Variant Default, Variant Title) {
    return RunInputBox(FormWindowNow(), Text(Prompt), Text(Default), Text(Title));
}

HWND LumioBasicForm::FormWindowNow() const {
    ComPtr<IDispatch> form = FindForm(Parent().get(), 1);
    return form ? FormWindow(form.get()) : nullptr;
}

// --- life cycle

void LumioBasicForm::OnInitialize() {
    if (!m_Window) m_Window = std::make_unique<clsCustomWndow>();
}

void LumioBasicForm::OnInitProperties() {
    if (ComPtr<IDispatch> parent = Parent()) PutProperty(parent.get(), L"BackColor", Variant::Long(0xF0F0F0));
}

void LumioBasicForm::OnReadProperties(PropertyReader&) {
    if (!Ambient().UserMode() || !m_Window) return;
    ComPtr<IDispatch> form = Parent();
    if (!form) return;
    Variant v;
    // An MDI parent form has an active child and no border style of its own.
    bool mdi = SUCCEEDED(GetProperty(form.get(), L"ActiveForm", v));
    if (mdi) {
        m_FormBorder = 2;
        m_MaxButton = m_MinButton = true;
    } else {
        Variant border, max, min;
        // A host form without these keeps the sizable frame with both buttons.
        if (SUCCEEDED(GetProperty(form.get(), L"BorderStyle", border)))
            m_FormBorder = VariantValue<long>::From(*border.get());
        if (m_FormBorder == 4) m_FormBorder = 1;
        if (m_FormBorder == 5) m_FormBorder = 2;
        if (SUCCEEDED(GetProperty(form.get(), L"MaxButton", max))) m_MaxButton = VariantValue<bool>::From(*max.get());
        if (SUCCEEDED(GetProperty(form.get(), L"MinButton", min))) m_MinButton = VariantValue<bool>::From(*min.get());
    }
    // The form's height is left as designed: a fixed 1500 twips would hide the input box's field.
    StyleWindow(form.get());
    form_ = form;
    HWND hwnd = FormWindow(form.get());
    RECT before{};
    if (hwnd) GetClientRect(hwnd, &before);
    m_Window->BeginCustomWindow(form.get(), static_cast<IDispatch*>(this));
    // The skinned frame is as wide as it likes; the form keeps its client size.
    RECT after{}, outer{};
    if (hwnd && GetClientRect(hwnd, &after) && GetWindowRect(hwnd, &outer) &&
        (after.right != before.right || after.bottom != before.bottom))
        SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left + before.right - after.right,
                     outer.bottom - outer.top + before.bottom - after.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LumioBasicForm::StyleWindow(IDispatch* form) {
    clsCustomWndow& w = *m_Window;
    w.BorderStyle(5);
    ComPtr<IFontDisp> font = CreateStdFont(L"Times New Roman", 8.25, true);
    w.Font_TBar(font.get());
    ComPtr<IFontDisp> plain = CreateStdFont(L"Times New Roman", 8.25, false);
    w.Font_MenuBar(plain.get());
    w.FontColor_TBar(true, RGB(0, 0, 0));
    w.FontColor_TBar(false, RGB(64, 64, 64));
    w.SetMenuSelectColors(RGB(51, 153, 255), RGB(51, 153, 255));
    w.FontColor_Menubar(2, RGB(128, 128, 128));
    w.FontColor_Menubar(1, RGB(255, 255, 255));
    w.MenuSelect_FlatStyle(true);
    Variant taskbar;
    bool show = true;
    if (SUCCEEDED(GetProperty(form, L"ShowInTaskBar", taskbar))) show = VariantValue<bool>::From(*taskbar.get());
    w.ShowInTaskBar(show);
    w.EnableTBarBtns(16, m_FormBorder == 2);
    w.EnableTBarBtns(8, m_MaxButton);
    w.EnableTBarBtns(4, m_MinButton);
    w.EnableTBarBtns(64, m_FormBorder != 3);
    if (!m_MaxButton && !m_MinButton) w.HideDisabledButtons(true);
}

void LumioBasicForm::OnTerminate() {
    m_Window.reset();
    m_CaptionDIB.reset();
    form_.reset();
    if (command1_) {
        DestroyWindow(command1_);
        command1_ = nullptr;
    }
}

void LumioBasicForm::OnResize() {
    if (Ambient().UserMode() || resizing_) return;
    resizing_ = true;
    if (ScaleWidth() != 48 || ScaleHeight() != 48) ResizeSelf(48, 48);
    if (!command1_ && hWnd())
        command1_ = CreateWindowExW(0, L"BUTTON", L"Lumio Form", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 48,
                                    48, hWnd(), nullptr, ModuleInstance(), nullptr);
    if (command1_) MoveWindow(command1_, 0, 0, ScaleWidth(), ScaleHeight(), TRUE);
    resizing_ = false;
}

// --- the frame's callbacks

void LumioBasicForm::UserDrawnTitleBar(HDC dc, long cx, long cy, bool has_focus, bool& modified) {
    Ensure(pTop, Strip::Top);
    const int f = has_focus ? 1 : 0;
    StretchBlt(dc, 0, 0, cx, cy, pTop->dc(), kBorderWidth, f * kTitleHeight + 8, kMiddleSlice, 21, SRCCOPY);
    modified = true;
}

void LumioBasicForm::UserDrawnMenuBar(HDC dc, long cx, long cy, bool, bool& modified) {
    Ensure(pMenu, Strip::Menu);
    StretchBlt(dc, 0, 0, cx, cy, pMenu->dc(), 0, 0, 45, 19, SRCCOPY);
    modified = true;
}

void LumioBasicForm::UserDrawnButton(const std::wstring& id, short state, HDC dc, long x, long y, bool has_focus,
                                     bool& modified) {
    modified = true;
    int strip = -1;
    if (id == L"1") strip = 0;
    else if (id == L"2") strip = IsZoomed(FormWindowNow()) ? 2 : 1;
    else if (id == L"3") strip = 3;
    if (strip < 0) return;
    static constexpr Strip kStrips[4] = {Strip::Close, Strip::Maximise, Strip::Restore, Strip::Minimise};
    Ensure(pBtn[strip], kStrips[strip]);
    const int cell_x = state * kCellWidth + (has_focus ? 0 : kUnfocusedOffset);
    BitBlt(dc, x, y, kCellWidth, kCellHeight, pBtn[strip]->dc(), cell_x, 0, SRCCOPY);
}

void LumioBasicForm::UserDrawnBorder(HDC dc, long cx, long cy, bool has_focus, bool& modified) {
    Ensure(pTop, Strip::Top);
    Ensure(pLeft, Strip::Left);
    Ensure(pRight, Strip::Right);
    Ensure(pBottom, Strip::Bottom);
    const int f = has_focus ? 1 : 0;
    const int b = kBorderWidth, t = kTitleHeight;
    BitBlt(dc, 0, 0, b, t, pTop->dc(), 0, f * t, SRCCOPY);
    StretchBlt(dc, b, 0, cx - 2 * b, t, pTop->dc(), b, f * t, kMiddleSlice, t, SRCCOPY);
    BitBlt(dc, cx - b, 0, b, t, pTop->dc(), b + kMiddleSlice, f * t, SRCCOPY);
    StretchBlt(dc, 0, t, b, cy - t, pLeft->dc(), f * b, 0, b, 88, SRCCOPY);
    StretchBlt(dc, cx - b, t, b, cy - t, pRight->dc(), f * b, 0, b, 88, SRCCOPY);
    BitBlt(dc, 0, cy - b, b, b, pBottom->dc(), 0, f * b, SRCCOPY);
    StretchBlt(dc, b, cy - b, cx - 2 * b, b, pBottom->dc(), b, f * b, kMiddleSlice, b, SRCCOPY);
    BitBlt(dc, cx - b, cy - b, b, b, pBottom->dc(), b + kMiddleSlice, f * b, SRCCOPY);
    modified = true;
}

HRGN LumioBasicForm::OnCreateRegion(long cx, long cy) {
    HRGN region = CreateRoundRectRgn(0, 0, cx + 1, cy, kCornerRadius, kCornerRadius);
    HRGN lower = CreateRectRgn(0, kTitleHeight, cx, cy);
    if (region && lower) CombineRgn(region, region, lower, RGN_OR);
    if (lower) DeleteObject(lower);
    return region;
}

void LumioBasicForm::BeforeDrawCaption(HDC dc, const std::wstring& caption, long x, long y) {
    // Picture1: the caption in black on white, in a picture box's standard font.
    ComPtr<IFontDisp> font_disp = CreateStdFont();
    ComPtr<IFont> font;
    font_disp->QueryInterface(IID_IFont, font.put_void());
    HFONT hfont = nullptr;
    if (font) font->get_hFont(&hfont);
    gdi::OwnedDC mem(CreateCompatibleDC(dc));
    SIZE size{};
    {
        gdi::Selection sel(mem.get(), hfont);
        RECT calc{0, 0, 0, 0};
        DrawTextW(mem.get(), caption.c_str(), -1, &calc, DT_CALCRECT | DT_SINGLELINE);
        size = {calc.right, calc.bottom};
    }
    if (size.cx <= 0 || size.cy <= 0) return;
    HBITMAP bitmap = CreateCompatibleBitmap(dc, size.cx, size.cy);
    if (!bitmap) return;
    {
        gdi::Selection bsel(mem.get(), bitmap);
        gdi::Selection fsel(mem.get(), hfont);
        RECT rc{0, 0, size.cx, size.cy};
        FillRect(mem.get(), &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetBkMode(mem.get(), TRANSPARENT);
        SetTextColor(mem.get(), RGB(0, 0, 0));
        DrawTextW(mem.get(), caption.c_str(), -1, &rc, DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER);
    }
    ComPtr<IPictureDisp> picture = PictureFromBitmap(bitmap);  // owns the bitmap from here
    ComPtr<IPicture> pic;
    if (picture) picture->QueryInterface(IID_IPicture, pic.put_void());
    if (!pic) return;
    if (!m_CaptionDIB) m_CaptionDIB = std::make_unique<c32bppDIB>();
    if (!LoadPicture_StdPicture(*m_CaptionDIB, pic.get())) return;
    MakeTransparent(*m_CaptionDIB, 0xFFFFFF, false);
    RenderDropShadow_JIT(*m_CaptionDIB, dc, x - 5, y - 1, 5, 0xFFFFFF, 100);
}

}  // namespace lumio::form
