#pragma once
// The light controls of our container's forms: label, line, image and picture
// box. They are plain child windows the form owns, not COM controls; the
// library's dialogs set them from C++.
#include <ocidl.h>
#include <olectl.h>

#include <functional>
#include <string>

#include "com_ptr.h"

namespace lumio::host {

class Piece {
public:
    Piece(HWND parent, const std::wstring& name, RECT rect);
    virtual ~Piece();
    Piece(const Piece&) = delete;
    Piece& operator=(const Piece&) = delete;

    HWND hWnd() const { return hwnd_; }
    const std::wstring& name() const { return name_; }
    // Index within a control array, -1 outside one.
    int index = -1;
    std::wstring tag;
    RECT rect() const { return rect_; }
    virtual void Move(RECT rect);
    bool visible() const { return visible_; }
    void SetVisible(bool visible);
    void Redraw() const;

    // What a see-through child shows of this piece; nothing by default.
    virtual void PaintBackground(HDC) {}

protected:
    virtual void Paint(HDC dc, const RECT& client) = 0;
    // Text extent in the given font, single line or wrapped at width.
    static SIZE MeasureText(HFONT font, const std::wstring& text, long wrap_width);

    HWND hwnd_ = nullptr;
    std::wstring name_;
    RECT rect_{};
    bool visible_ = true;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
};

class Label : public Piece {
public:
    // How the label follows its caption: not at all, wrapping at its design
    // width and growing down, or growing along one line.
    enum class Sizing { Fixed, WrapDown, OneLine };
    Label(HWND parent, const std::wstring& name, RECT rect, Sizing sizing = Sizing::Fixed);

    const std::wstring& caption() const { return caption_; }
    void SetCaption(const std::wstring& text);
    void SetFont(IFontDisp* font);
    void SetForeColor(OLE_COLOR c);
    void SetBackColor(OLE_COLOR c);
    // Transparent labels leave their container's background showing.
    void SetTransparent(bool transparent);
    void SetCentered(bool centered);
    // The width at which a WrapDown label wraps.
    long design_width() const { return design_width_; }
    void Move(RECT rect) override;

private:
    void Paint(HDC dc, const RECT& client) override;
    void Fit();
    HFONT Font() const;

    Sizing sizing_;
    long design_width_;
    std::wstring caption_;
    ComPtr<IFont> font_;
    OLE_COLOR fore_ = 0x80000012, back_ = 0x8000000F;
    bool transparent_ = false, centered_ = false;
};

class Line : public Piece {
public:
    // From (x1, y1) to (x2, y2) in the parent's pixels.
    Line(HWND parent, const std::wstring& name, POINT from, POINT to, OLE_COLOR colour = 0x80000010);
    POINT from() const { return from_; }
    POINT to() const { return to_; }
    void SetEnds(POINT from, POINT to);
    void SetColor(OLE_COLOR c);

private:
    void Paint(HDC dc, const RECT& client) override;
    static RECT Bounds(POINT a, POINT b);
    POINT from_, to_;
    OLE_COLOR colour_;
};

class Image : public Piece {
public:
    Image(HWND parent, const std::wstring& name, RECT rect);
    void SetPicture(IPictureDisp* picture);
    ComPtr<IPicture> picture() const { return picture_; }
    void SetStretch(bool stretch);

private:
    void Paint(HDC dc, const RECT& client) override;
    ComPtr<IPicture> picture_;
    bool stretch_ = false;
};

class PictureBox : public Piece {
public:
    PictureBox(HWND parent, const std::wstring& name, RECT rect);
    void SetBackColor(OLE_COLOR c);
    OLE_COLOR back_color() const { return back_; }
    void SetPicture(IPictureDisp* picture);
    ComPtr<IPicture> picture() const { return picture_; }
    void SetFont(IFontDisp* font);
    // Pixels the text takes in the box's font.
    long TextWidth(const std::wstring& text) const;
    long TextHeight(const std::wstring& text) const;
    // Told the new client size after every move or resize.
    void OnResize(std::function<void(long width, long height)> handler) { on_resize_ = std::move(handler); }
    void Move(RECT rect) override;
    void PaintBackground(HDC dc) override;

private:
    void Paint(HDC dc, const RECT& client) override;
    HFONT Font() const;
    OLE_COLOR back_ = 0x8000000F;
    ComPtr<IPicture> picture_;
    ComPtr<IFont> font_;
    std::function<void(long, long)> on_resize_;
};

// Draws a picture at its own size with its top-left corner at (x, y).
void DrawPictureAt(HDC dc, IPicture* picture, int x, int y);
// The size in pixels of a picture.
SIZE PictureSize(IPicture* picture);

}  // namespace lumio::host
