// Label, line, image and picture box of our container's forms.
#include "host_pieces.h"

#include <algorithm>
#include <cmath>

#include "class_table.h"
#include "gdi_scope.h"
#include "ole_colour_win.h"
#include "unload_hooks.h"

namespace lumio::host {

namespace {

constexpr const wchar_t* kPieceClass = L"LumioHostPiece";

void UnregisterPieceClass() { UnregisterClassW(kPieceClass, ModuleInstance()); }

void RegisterPieceClass(WNDPROC proc) {
    static bool done = false;
    if (done) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPieceClass;
    RegisterLibraryClass(wc);
    AtLibraryUnload(&UnregisterPieceClass);
    done = true;
}

COLORREF Rgb(OLE_COLOR c) { return static_cast<COLORREF>(TranslateOleColor(c)); }

void Fill(HDC dc, const RECT& rc, OLE_COLOR c) {
    gdi::OwnedObject<HBRUSH> brush(CreateSolidBrush(Rgb(c)));
    FillRect(dc, &rc, brush.get());
}

HFONT FontHandle(IFont* font) {
    HFONT h = nullptr;
    if (font) font->get_hFont(&h);
    return h ? h : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

ComPtr<IFont> FontOf(IFontDisp* font) {
    ComPtr<IFont> f;
    if (font) font->QueryInterface(IID_IFont, f.put_void());
    return f;
}

ComPtr<IPicture> PictureOf(IPictureDisp* picture) {
    ComPtr<IPicture> p;
    if (picture) picture->QueryInterface(IID_IPicture, p.put_void());
    return p;
}

}  // namespace

SIZE PictureSize(IPicture* picture) {
    SIZE s{};
    if (!picture) return s;
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    gdi::WindowDC screen(nullptr);
    s.cx = MulDiv(w, GetDeviceCaps(screen.get(), LOGPIXELSX), 2540);
    s.cy = MulDiv(h, GetDeviceCaps(screen.get(), LOGPIXELSY), 2540);
    return s;
}

void DrawPictureAt(HDC dc, IPicture* picture, int x, int y) {
    if (!picture) return;
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    SIZE s = PictureSize(picture);
    picture->Render(dc, x, y, s.cx, s.cy, 0, h, w, -h, nullptr);
}

Piece::Piece(HWND parent, const std::wstring& name, RECT rect) : name_(name), rect_(rect) {
    RegisterPieceClass(&Piece::Proc);
    hwnd_ = CreateWindowExW(0, kPieceClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                            rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                            ModuleInstance(), this);
}

Piece::~Piece() {
    if (hwnd_ && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

LRESULT CALLBACK Piece::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* piece = reinterpret_cast<Piece*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        piece = static_cast<Piece*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(piece));
    }
    switch (msg) {
    case WM_ERASEBKGND:
        // Asked by a see-through child for what lies under it.
        if (piece) piece->PaintBackground(reinterpret_cast<HDC>(wp));
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (piece) {
            RECT rc;
            GetClientRect(hwnd, &rc);
            try {
                piece->Paint(dc, rc);
            } catch (...) {
            }
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_NCHITTEST: return HTTRANSPARENT;
    default: return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

void Piece::Move(RECT rect) {
    rect_ = rect;
    MoveWindow(hwnd_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void Piece::SetVisible(bool visible) {
    visible_ = visible;
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void Piece::Redraw() const { InvalidateRect(hwnd_, nullptr, TRUE); }

SIZE Piece::MeasureText(HFONT font, const std::wstring& text, long wrap_width) {
    gdi::WindowDC screen(nullptr);
    gdi::Selection sel(screen.get(), font);
    RECT rc{0, 0, wrap_width > 0 ? wrap_width : 0, 0};
    UINT flags = DT_CALCRECT | DT_NOPREFIX | (wrap_width > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    // An empty caption still takes one line's height.
    DrawTextW(screen.get(), text.empty() ? L" " : text.c_str(), -1, &rc, flags);
    if (text.empty()) rc.right = rc.left;
    return {rc.right - rc.left, rc.bottom - rc.top};
}

Label::Label(HWND parent, const std::wstring& name, RECT rect, Sizing sizing)
    : Piece(parent, name, rect), sizing_(sizing), design_width_(rect.right - rect.left) {}

HFONT Label::Font() const { return FontHandle(font_.get()); }

void Label::SetCaption(const std::wstring& text) {
    caption_ = text;
    SetWindowTextW(hwnd_, text.c_str());
    Fit();
    Redraw();
}

void Label::SetFont(IFontDisp* font) {
    font_ = FontOf(font);
    Fit();
    Redraw();
}

void Label::SetForeColor(OLE_COLOR c) {
    fore_ = c;
    Redraw();
}

void Label::SetBackColor(OLE_COLOR c) {
    back_ = c;
    Redraw();
}

void Label::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Redraw();
}

void Label::SetCentered(bool centered) {
    centered_ = centered;
    Redraw();
}

void Label::Move(RECT rect) {
    design_width_ = rect.right - rect.left;
    Piece::Move(rect);
    Fit();
}

void Label::Fit() {
    if (sizing_ == Sizing::Fixed) return;
    SIZE s = MeasureText(Font(), caption_, sizing_ == Sizing::WrapDown ? std::max(design_width_, 1L) : 0);
    RECT rc = rect_;
    if (sizing_ == Sizing::WrapDown) rc.right = rc.left + design_width_;
    else rc.right = rc.left + s.cx;
    rc.bottom = rc.top + s.cy;
    rect_ = rc;
    MoveWindow(hwnd_, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}

void Label::Paint(HDC dc, const RECT& client) {
    if (transparent_) {
        // Let the container paint what lies under the label first.
        HWND parent = GetParent(hwnd_);
        POINT origin{0, 0};
        MapWindowPoints(hwnd_, parent, &origin, 1);
        POINT old;
        OffsetWindowOrgEx(dc, origin.x, origin.y, &old);
        SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        SetWindowOrgEx(dc, old.x, old.y, nullptr);
    } else {
        Fill(dc, client, back_);
    }
    gdi::Selection sel(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Rgb(fore_));
    RECT rc = client;
    UINT flags = DT_NOPREFIX | (sizing_ == Sizing::OneLine ? DT_SINGLELINE : DT_WORDBREAK) |
                 (centered_ ? DT_CENTER : DT_LEFT);
    DrawTextW(dc, caption_.c_str(), -1, &rc, flags);
}

RECT Line::Bounds(POINT a, POINT b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
}

Line::Line(HWND parent, const std::wstring& name, POINT from, POINT to, OLE_COLOR colour)
    : Piece(parent, name, Bounds(from, to)), from_(from), to_(to), colour_(colour) {}

void Line::SetEnds(POINT from, POINT to) {
    from_ = from;
    to_ = to;
    Move(Bounds(from, to));
    Redraw();
}

void Line::SetColor(OLE_COLOR c) {
    colour_ = c;
    Redraw();
}

void Line::Paint(HDC dc, const RECT& client) {
    // The window is the line's box; outside the line the container shows.
    HWND parent = GetParent(hwnd_);
    POINT origin{rect_.left, rect_.top};
    POINT old;
    OffsetWindowOrgEx(dc, origin.x, origin.y, &old);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SetWindowOrgEx(dc, old.x, old.y, nullptr);
    (void)client;
    gdi::OwnedObject<HPEN> pen(CreatePen(PS_SOLID, 1, Rgb(colour_)));
    gdi::Selection sel(dc, pen.get());
    MoveToEx(dc, from_.x - rect_.left, from_.y - rect_.top, nullptr);
    LineTo(dc, to_.x - rect_.left, to_.y - rect_.top);
    SetPixel(dc, to_.x - rect_.left, to_.y - rect_.top, Rgb(colour_));
}

Image::Image(HWND parent, const std::wstring& name, RECT rect) : Piece(parent, name, rect) {}

void Image::SetPicture(IPictureDisp* picture) {
    picture_ = PictureOf(picture);
    // An empty image shows nothing, not even over its siblings.
    ShowWindow(hwnd_, visible_ && picture_ ? SW_SHOWNA : SW_HIDE);
    Redraw();
}

void Image::SetStretch(bool stretch) {
    stretch_ = stretch;
    Redraw();
}

void Image::Paint(HDC dc, const RECT& client) {
    HWND parent = GetParent(hwnd_);
    POINT old;
    OffsetWindowOrgEx(dc, rect_.left, rect_.top, &old);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SetWindowOrgEx(dc, old.x, old.y, nullptr);
    if (!picture_) return;
    if (!stretch_) {
        DrawPictureAt(dc, picture_.get(), 0, 0);
        return;
    }
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture_->get_Width(&w);
    picture_->get_Height(&h);
    picture_->Render(dc, 0, 0, client.right, client.bottom, 0, h, w, -h, nullptr);
}

PictureBox::PictureBox(HWND parent, const std::wstring& name, RECT rect) : Piece(parent, name, rect) {}

HFONT PictureBox::Font() const { return FontHandle(font_.get()); }

void PictureBox::SetBackColor(OLE_COLOR c) {
    back_ = c;
    Redraw();
}

void PictureBox::SetPicture(IPictureDisp* picture) {
    picture_ = PictureOf(picture);
    Redraw();
}

void PictureBox::SetFont(IFontDisp* font) { font_ = FontOf(font); }

long PictureBox::TextWidth(const std::wstring& text) const { return MeasureText(Font(), text, 0).cx; }

long PictureBox::TextHeight(const std::wstring& text) const { return MeasureText(Font(), text, 0).cy; }

void PictureBox::Move(RECT rect) {
    Piece::Move(rect);
    if (on_resize_) on_resize_(rect.right - rect.left, rect.bottom - rect.top);
}

void PictureBox::PaintBackground(HDC dc) {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    Paint(dc, rc);
}

void PictureBox::Paint(HDC dc, const RECT& client) {
    Fill(dc, client, back_);
    DrawPictureAt(dc, picture_.get(), 0, 0);
}

}  // namespace lumio::host
