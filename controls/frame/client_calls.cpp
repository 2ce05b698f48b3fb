#include "client_calls.h"

namespace lumio {
namespace {

VARIANT_BOOL Bool(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }

BSTR ToBstr(const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR b = SysAllocStringLen(nullptr, static_cast<UINT>(n));
    if (b && n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), b, n);
    return b;
}

std::string FromBstr(BSTR b) {
    const int len = static_cast<int>(SysStringLen(b));
    if (len == 0) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, b, len, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, b, len, s.data(), n, nullptr, nullptr);
    return s;
}

}  // namespace

ClientCalls ClientOf(HWND hWnd) {
    ComPtr<IUnknown> object;
    if (!hWnd || !ObjectFromAddress(reinterpret_cast<uintptr_t>(GetPropA(hWnd, kCallbackProp)), object))
        return {};
    _CustomWindowCalls* calls = nullptr;
    if (FAILED(object->QueryInterface(IID__CustomWindowCalls, reinterpret_cast<void**>(&calls))) || !calls)
        return {};
    ComPtr<_CustomWindowCalls> held(calls);
    calls->Release();  // held keeps the one reference
    return ClientCalls(std::move(held));
}

void ClientCalls::UserDrawnTitleBar(LONG_PTR hDC, LONG cx, LONG cy, bool hasFocus, VARIANT_BOOL& modified) const {
    p_->UserDrawnTitleBar(hDC, cx, cy, Bool(hasFocus), &modified);
}

void ClientCalls::UserDrawnMenuBar(LONG_PTR hDC, LONG cx, LONG cy, bool hasFocus, VARIANT_BOOL& modified) const {
    p_->UserDrawnMenuBar(hDC, cx, cy, Bool(hasFocus), &modified);
}

void ClientCalls::UserDrawnButton(const std::string& id, SHORT state, LONG_PTR hDC, LONG x, LONG y, LONG cx, LONG cy,
                                  bool hasFocus, VARIANT_BOOL& modified) const {
    BSTR b = ToBstr(id);
    p_->UserDrawnButton(b, state, hDC, x, y, cx, cy, Bool(hasFocus), &modified);
    SysFreeString(b);
}

void ClientCalls::UserButtonClick(const std::string& id) const {
    BSTR b = ToBstr(id);
    p_->UserButtonClick(b);
    SysFreeString(b);
}

void ClientCalls::UserDrawnBorder(LONG_PTR hDC, LONG x, LONG y, LONG cx, LONG cy, bool hasFocus,
                                  VARIANT_BOOL& modified) const {
    p_->UserDrawnBorder(hDC, x, y, cx, cy, Bool(hasFocus), &modified);
}

void ClientCalls::BeforeDrawCaption(LONG_PTR hDC, std::string& caption, LONG x, LONG y) const {
    BSTR b = ToBstr(caption);
    p_->BeforeDrawCaption(hDC, &b, x, y);
    caption = FromBstr(b);
    SysFreeString(b);
}

void ClientCalls::OnCreateRegion(LONG_PTR& hRgn, LONG x, LONG y, LONG cx, LONG cy) const {
    p_->OnCreateRegion(&hRgn, x, y, cx, cy);
}

void ClientCalls::EnterExitSizing(bool begin, VARIANT_BOOL& userRedrawn) const {
    p_->EnterExitSizing(Bool(begin), &userRedrawn);
}

}  // namespace lumio
