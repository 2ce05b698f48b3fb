#include "button_fixture.h"

#include "std_objects.h"

namespace buttontest {

lumio::host::Site* ButtonTest::AddButton(lumio::host::Form& f, const wchar_t* name, IPropertyBag* bag, RECT rect,
                                         HRESULT* hr) {
    return f.Add(lumio::buttons::LumioButton::Create, name, rect, bag, nullptr, hr);
}

std::vector<DISPID> ButtonTest::Events() const {
    std::vector<DISPID> r;
    for (auto& e : form_->log())
        if (!e.notice) r.push_back(e.id);
    return r;
}

std::vector<DISPID> ButtonTest::Notices() const {
    std::vector<DISPID> r;
    for (auto& e : form_->log())
        if (e.notice) r.push_back(e.id);
    return r;
}

lumio::ComPtr<IPictureDisp> SolidPicture(int width, int height, COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT rc{0, 0, width, height};
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return lumio::PictureFromBitmap(bmp);
}

}  // namespace buttontest
