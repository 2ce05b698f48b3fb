// The control's persistent image (auto-redraw) and text measured on its device context.
#include <algorithm>
#include <string>
#include <vector>

#include "control_base.h"
#include "ole_colour_win.h"

namespace lumio {

namespace {
void FillWith(HDC dc, OLE_COLOR colour, const RECT& rc) {
    gdi::OwnedObject<HBRUSH> brush(CreateSolidBrush(TranslateOleColor(colour)));
    FillRect(dc, &rc, brush.get());
}
}  // namespace

void ControlBase::SetAutoRedraw(bool on) {
    if (on == AutoRedraw()) return;
    if (on) ResizeImage();
    else DropImage();
}

// A new image of the client's size, cleared to the back colour, keeping what
// the old one held.
void ControlBase::ResizeImage() {
    if (!hwnd_) return;
    RECT rc;
    GetClientRect(hwnd_, &rc);
    SIZE size{std::max<LONG>(rc.right, 1), std::max<LONG>(rc.bottom, 1)};
    if (image_dc_ && size.cx == image_size_.cx && size.cy == image_size_.cy) return;
    HDC window = GetDC(hwnd_);  // the window's own DC: nothing to release
    gdi::OwnedDC dc(CreateCompatibleDC(window));
    gdi::OwnedObject<HBITMAP> bmp(CreateCompatibleBitmap(window, size.cx, size.cy));
    if (!dc || !bmp) return;
    HGDIOBJ old = SelectObject(dc.get(), bmp.get());
    FillWith(dc.get(), back_color_, RECT{0, 0, size.cx, size.cy});
    if (image_dc_) BitBlt(dc.get(), 0, 0, image_size_.cx, image_size_.cy, image_dc_.get(), 0, 0, SRCCOPY);
    DropImage();
    image_dc_ = std::move(dc);
    image_bitmap_ = std::move(bmp);
    image_old_ = old;
    image_size_ = size;
}

void ControlBase::DropImage() {
    if (!image_dc_) return;
    SelectObject(image_dc_.get(), image_old_);
    image_bitmap_.reset();
    image_dc_.reset();
    image_old_ = nullptr;
    image_size_ = {};
}

namespace {
// The lines of a text, split at CR LF, CR or LF.
std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}
}  // namespace

int ControlBase::TextWidth(const std::wstring& text) {
    HDC dc = Hdc();
    int widest = 0;
    for (const auto& line : Lines(text)) {
        SIZE size{};
        GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        widest = std::max<int>(widest, size.cx);
    }
    return widest;
}

int ControlBase::TextHeight(const std::wstring& text) {
    HDC dc = Hdc();
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    return static_cast<int>(Lines(text).size()) * tm.tmHeight;
}

}  // namespace lumio
