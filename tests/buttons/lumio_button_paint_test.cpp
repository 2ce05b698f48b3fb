// LumioButton's painting read back from the screen and compared with our own
// arithmetic of the face, border and picture.
#include <memory>

#include "button_fixture.h"
#include "std_objects.h"
#include "colour_math.h"
#include "gradient_rows.h"
#include "png_shot.h"
#include "real_input.h"
#include "window_capture.h"

namespace {

using lumio::ComPtr;
using shots::Capture;
using lumio::host::Form;
using lumio::host::Site;
using lumio::buttons::LumioButton;
using namespace buttontest;
using namespace testhost;
using namespace lumio;
using namespace lumio::buttons;

constexpr COLORREF kNormalBorder = RGB(112, 112, 112), kHotBorder = RGB(60, 127, 177),
                   kPressedBorder = RGB(44, 98, 139), kDisabledBorder = RGB(173, 178, 181);
constexpr COLORREF kWhite = RGB(255, 255, 255), kPressedLine = RGB(158, 176, 186);
constexpr COLORREF kFocusInner = RGB(72, 216, 251);

// The colour of row y of a face band, as the painting must compute it.
COLORREF BandRow(COLORREF c1, COLORREF c2, int y1, int y2, int y, int w = 100, int h = 25) {
    float split = 50;
    lumio::GradientV g = lumio::PlanGradientV(static_cast<int32_t>(c1), static_cast<int32_t>(c2), split, 0, y1, -1,
                                              y2, w, h);
    return static_cast<COLORREF>(g.RowColour(y));
}

std::string Hex(COLORREF c) {
    char b[16];
    snprintf(b, sizeof b, "%06lX", static_cast<unsigned long>(c));
    return b;
}
#define EXPECT_COLOUR(actual, expected) EXPECT_EQ(Hex(actual), Hex(expected))

class ButtonPaintTest : public ButtonTest {
protected:
    Site* button_ = nullptr;
    LumioButton* b_ = nullptr;
    RECT screen_{};
    // formExStyle goes onto the form's window before the button hooks it.
    void Start(RECT rect = {20, 20, 120, 45}, DWORD formExStyle = 0) {
        Form& f = NewForm();
        if (formExStyle)
            SetWindowLongPtrW(f.hWnd(), GWL_EXSTYLE, GetWindowLongPtrW(f.hWnd(), GWL_EXSTYLE) | formExStyle);
        button_ = AddButton(f, L"Command1", nullptr, rect);
        ASSERT_NE(button_, nullptr);
        b_ = Button(button_);
        GetWindowRect(button_->ControlWindow(), &screen_);
        Leave();
    }
    // Every repaint a change asks for comes through the queue; at rest, the screen shows it.
    void Painted() { EXPECT_TRUE(testhost::Settle(form_.get())); }
    HWND Hwnd() const { return button_->ControlWindow(); }
    static void MoveTo(int x, int y) { realinput::MoveTo(x, y); }
    static void Button1(bool down) { realinput::SendMouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP); }
    // Off the button. Wine reports the leave from a timer, which Settle does not wait for,
    // so the wait is for the state the leave gives.
    void Leave() {
        const POINT away{screen_.left - 30, screen_.top - 10};
        MoveTo(away.x, away.y);
        EXPECT_TRUE(testhost::WaitUntil(form_.get(), [&] {
            POINT at{};
            return GetCursorPos(&at) && at.x == away.x && at.y == away.y && b_->state() == kStateNormal;
        }));
        Painted();
    }
    bool WaitState(int state) {
        testhost::WaitUntil(form_.get(), [&] { return b_->state() == state; });
        Painted();
        return b_->state() == state;
    }
    // Several shots side by side in one picture.
    static void SaveStrip(const wchar_t* name, const std::vector<Capture>& strip) {
        int w = 0, h = 0;
        for (auto& s : strip) {
            w += s.width + 4;
            h = std::max(h, s.height);
        }
        std::vector<uint8_t> out(static_cast<size_t>(w) * h * 4, 0x80);
        int x0 = 0;
        for (auto& s : strip) {
            for (int y = 0; y < s.height; ++y)
                memcpy(&out[(static_cast<size_t>(y) * w + x0) * 4], &s.bgra[static_cast<size_t>(y) * s.width * 4],
                       static_cast<size_t>(s.width) * 4);
            x0 += s.width + 4;
        }
        ui::SavePng(name, w, h, out);
    }
};

TEST_F(ButtonPaintTest, EachStateHasItsFaceAndBorder) {
    Start();
    const COLORREF back = 0xE6E6E6;  // the default back colour
    const COLORREF dark = pShiftColor(back, -0.1f);
    std::vector<Capture> strip;

    ASSERT_TRUE(WaitState(0));
    Capture normal = shots::CaptureWindow(Hwnd());
    strip.push_back(normal);
    EXPECT_COLOUR(normal.At(0, 12), kNormalBorder);
    EXPECT_COLOUR(normal.At(50, 0), kNormalBorder);
    EXPECT_COLOUR(normal.At(1, 1), kNormalBorder);   // corner pixels
    EXPECT_COLOUR(normal.At(98, 23), kNormalBorder);
    EXPECT_COLOUR(normal.At(1, 12), kWhite);         // inner rectangle
    EXPECT_COLOUR(normal.At(5, 4), BandRow(pShiftColor(back, 0.08f), pShiftColor(back, 0.02f), 2, 12, 4));
    // H = 25: the second band starts at row 12.
    EXPECT_COLOUR(normal.At(5, 12), BandRow(back, dark, 12, 23, 12));
    EXPECT_COLOUR(normal.At(5, 20), BandRow(back, dark, 12, 23, 20));

    MoveTo(screen_.left + 5, screen_.top + 5);
    ASSERT_TRUE(WaitState(1));
    Capture hot = shots::CaptureWindow(Hwnd());
    strip.push_back(hot);
    EXPECT_COLOUR(hot.At(0, 12), kHotBorder);
    EXPECT_COLOUR(hot.At(1, 12), kWhite);
    EXPECT_COLOUR(hot.At(50, 5), BandRow(RGB(234, 246, 253), RGB(217, 240, 252), 2, 12, 5));
    EXPECT_COLOUR(hot.At(50, 21), BandRow(RGB(190, 230, 253), RGB(167, 217, 245), 12, 23, 21));

    Button1(true);
    ASSERT_TRUE(WaitState(2));
    Capture pressed = shots::CaptureWindow(Hwnd());
    strip.push_back(pressed);
    EXPECT_COLOUR(pressed.At(0, 12), kPressedBorder);
    EXPECT_COLOUR(pressed.At(1, 12), kPressedLine);   // no inner rectangle, the shadow lines
    EXPECT_COLOUR(pressed.At(50, 1), kPressedLine);
    EXPECT_COLOUR(pressed.At(98, 12), kPressedLine);
    EXPECT_COLOUR(pressed.At(50, 22), BandRow(RGB(152, 209, 239), RGB(104, 179, 219), 12, 23, 22));
    Button1(false);
    ASSERT_TRUE(WaitState(1));  // released over the button: hot again
    Leave();

    b_->put_Enabled(false);
    ASSERT_TRUE(WaitState(3));
    Capture disabled = shots::CaptureWindow(Hwnd());
    strip.push_back(disabled);
    const COLORREF face = pBlendColor(back, 0xFFFFFF, 0.8f);
    EXPECT_COLOUR(disabled.At(0, 12), kDisabledBorder);
    EXPECT_COLOUR(disabled.At(1, 12), face);
    EXPECT_COLOUR(disabled.At(5, 5), face);
    EXPECT_TRUE(IsRectEmpty(&static_cast<const RECT&>(b_->pictureRect())));  // no picture: no stale rectangle
    SaveStrip(L"button_states.png", strip);
}

// No window manager activates anything here: the form hears of its
// activation only from the messages the test sends it.
TEST_F(ButtonPaintTest, FocusBorderOnlyAfterTheFormIsActivated) {
    struct Case {
        DWORD formExStyle;
        UINT heard, ignored;
    } cases[] = {
        {0, WM_ACTIVATE, WM_NCACTIVATE},
        {WS_EX_MDICHILD, WM_NCACTIVATE, WM_ACTIVATE},
    };
    using Border = std::pair<std::string, std::string>;  // outer, inner
    const Border plain{Hex(kNormalBorder), Hex(kWhite)}, focused{Hex(kHotBorder), Hex(kFocusInner)};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.heard == WM_ACTIVATE ? "WM_ACTIVATE" : "WM_NCACTIVATE");
        Start({20, 20, 120, 45}, c.formExStyle);
        const HWND formWnd = form().hWnd();
        auto border = [&] {
            Painted();
            Capture shot = shots::CaptureWindow(Hwnd());
            return Border{Hex(shot.At(0, 12)), Hex(shot.At(1, 12))};
        };
        form().SetDefault(button_);
        EXPECT_EQ(border(), plain) << "the default button before any activation";
        SendMessageW(formWnd, c.ignored, WA_ACTIVE, 0);
        EXPECT_EQ(border(), plain) << "a message the form was not hooked for";
        SendMessageW(formWnd, c.heard, WA_ACTIVE, 0);
        EXPECT_EQ(border(), focused);
        SendMessageW(formWnd, c.heard, WA_INACTIVE, 0);
        EXPECT_EQ(border(), plain);

        form().SetDefault(nullptr);
        SendMessageW(formWnd, c.heard, WA_ACTIVE, 0);
        SetFocus(Hwnd());
        EXPECT_EQ(border(), focused);
        SendMessageW(formWnd, c.heard, WA_INACTIVE, 0);
        EXPECT_EQ(border(), plain) << "focus while the form is inactive";
        if (c.heard == WM_NCACTIVATE) {
            // (WM_ACTIVATE itself gives the form the focus.)
            SendMessageW(formWnd, c.heard, WA_ACTIVE, 0);
            EXPECT_EQ(border(), focused) << "the focus is remembered over a deactivation";
        }
    }
}

TEST_F(ButtonPaintTest, CheckedFaceAndCheckBoxPress) {
    Start();
    b_->put_CheckBoxMode(true);
    b_->put_Value(true);
    Painted();
    Capture checked = shots::CaptureWindow(Hwnd());
    const COLORREF from = pShiftColor(0xE6E6E6, -0.1f);
    for (int y : {2, 10, 20})
        EXPECT_COLOUR(checked.At(5, y), BandRow(from, RGB(242, 242, 242), 0, -1, y)) << y;
    SaveStrip(L"button_checked.png", {checked});
}

TEST_F(ButtonPaintTest, RegionRoundsCornersUnlessCut) {
    struct Case {
        lumio::tlb::eButtonShapes shape;
        bool topLeft, topRight;  // (0,0) and (W-1,0) inside the region
        bool leftCorner, rightCorner;  // corner pixels drawn in the border colour
    } cases[] = {
        {lumio::tlb::eButtonShapes::elsCutNone, false, false, true, true},
        {lumio::tlb::eButtonShapes::elsCutLeft, true, false, false, true},
        {lumio::tlb::eButtonShapes::elsCutRight, false, true, true, false},
        {lumio::tlb::eButtonShapes::elsCutSides, true, true, false, false},
    };
    Start();
    for (auto& c : cases) {
        b_->put_ButtonShape(c.shape);
        b_->Refresh();
        Painted();
        SCOPED_TRACE(static_cast<int>(c.shape));
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(Hwnd(), rgn), ERROR);
        EXPECT_EQ(PtInRegion(rgn, 0, 0) != 0, c.topLeft);
        EXPECT_EQ(PtInRegion(rgn, 99, 0) != 0, c.topRight);
        EXPECT_EQ(PtInRegion(rgn, 0, 24) != 0, c.topLeft);
        EXPECT_TRUE(PtInRegion(rgn, 1, 1));
        EXPECT_TRUE(PtInRegion(rgn, 50, 12));
        if (c.shape == lumio::tlb::eButtonShapes::elsCutSides) {
            RECT box;
            EXPECT_EQ(GetRgnBox(rgn, &box), SIMPLEREGION);  // a full rectangle
        }
        DeleteObject(rgn);
        Capture shot = shots::CaptureWindow(Hwnd());
        EXPECT_COLOUR(shot.At(1, 1), c.leftCorner ? kNormalBorder : kWhite);
        EXPECT_COLOUR(shot.At(98, 23), c.rightCorner ? kNormalBorder : kWhite);
    }
}

// A 16 x 16 bitmap: a magenta frame 4 pixels wide around a green square.
ComPtr<IPictureDisp> FramedPicture() {
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 16, 16);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255)), green = CreateSolidBrush(RGB(0, 160, 0));
    RECT all{0, 0, 16, 16}, inner{4, 4, 12, 12};
    FillRect(dc, &all, magenta);
    FillRect(dc, &inner, green);
    DeleteObject(magenta);
    DeleteObject(green);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return lumio::PictureFromBitmap(bmp);
}

TEST_F(ButtonPaintTest, MaskedPictureShowsTheFaceAndFadesWhileDisabled) {
    Start({20, 20, 120, 60});
    b_->put_Caption(L"");
    b_->put_MaskColor(RGB(255, 0, 255));
    b_->put_UseMaskColor(true);
    b_->putref_PictureNormal(FramedPicture());
    b_->put_PictureOpacity(50);
    Painted();
    RECT p = b_->pictureRect();
    ASSERT_EQ(p.right - p.left, 16);
    EXPECT_EQ(p.left, 42);  // a picture alone is centred
    Capture plain = shots::CaptureWindow(Hwnd());
    // Keyed pixels show the face of their row; the rest is blended at 50 %.
    const COLORREF back = 0xE6E6E6;
    const int half = 20;  // Hs = 40
    auto face = [&](int y) {
        return y < half ? BandRow(pShiftColor(back, 0.08f), pShiftColor(back, 0.02f), 2, half, y, 100, 40)
                        : BandRow(back, pShiftColor(back, -0.1f), half, 38, y, 100, 40);
    };
    auto blend = [](COLORREF under, COLORREF over, float f) {
        uint8_t b[3] = {GetRValue(under), GetGValue(under), GetBValue(under)}, o[3] = {GetRValue(over), GetGValue(over), GetBValue(over)}, r[3];
        lumio::pBlendPixel(b, o, f, r);
        return RGB(r[0], r[1], r[2]);
    };
    for (int y = p.top; y < p.bottom; ++y) {
        EXPECT_COLOUR(plain.At(p.left, y), face(y)) << y;
        EXPECT_COLOUR(plain.At(p.right - 1, y), face(y)) << y;
    }
    EXPECT_COLOUR(plain.At(p.left + 8, p.top + 8), blend(face(p.top + 8), RGB(0, 160, 0), 0.5f));

    b_->put_Enabled(false);
    Painted();
    Capture faded = shots::CaptureWindow(Hwnd());
    const COLORREF disabledFace = pBlendColor(back, 0xFFFFFF, 0.8f);
    EXPECT_COLOUR(faded.At(p.left, p.top), disabledFace);
    EXPECT_COLOUR(faded.At(p.left + 8, p.top + 8), blend(disabledFace, RGB(0, 160, 0), 0.2f));
    EXPECT_EQ(b_->get_PictureOpacity(), 50);
    SaveStrip(L"button_picture.png", {plain, faded});
}

// Metafile pictures, plain and enhanced: a blue square on the mask colour,
// drawn at the picture's size with the mask keyed out.
TEST_F(ButtonPaintTest, MetafilePicturesAreDrawn) {
    auto square = [](HDC dc, int size) {
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 200));
        RECT all{0, 0, size, size}, inner{size / 4, size / 4, size * 3 / 4, size * 3 / 4};
        HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(dc, &all, magenta);
        FillRect(dc, &inner, blue);
        DeleteObject(blue);
        DeleteObject(magenta);
    };
    // 1000 HIMETRIC is 38 pixels at 96 dots per inch.
    HDC wmf = CreateMetaFileW(nullptr);
    square(wmf, 1000);
    PICTDESC plain{};
    plain.cbSizeofstruct = sizeof plain;
    plain.picType = PICTYPE_METAFILE;
    plain.wmf.hmeta = CloseMetaFile(wmf);
    plain.wmf.xExt = plain.wmf.yExt = 1000;
    RECT frame{0, 0, 1000, 1000};
    HDC emf = CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
    square(emf, 38);
    PICTDESC enhanced{};
    enhanced.cbSizeofstruct = sizeof enhanced;
    enhanced.picType = PICTYPE_ENHMETAFILE;
    enhanced.emf.hemf = CloseEnhMetaFile(emf);
    for (PICTDESC* desc : {&plain, &enhanced}) {
        SCOPED_TRACE(desc->picType);
        ComPtr<IPictureDisp> picture;
        ASSERT_EQ(OleCreatePictureIndirect(desc, IID_IPictureDisp, TRUE, picture.put_void()), S_OK);
        Start({20, 20, 120, 60});
        b_->put_Caption(L"");
        b_->put_MaskColor(RGB(255, 0, 255));
        b_->put_UseMaskColor(true);
        b_->putref_PictureNormal(picture);
        b_->put_PictureSize(ePictureSizes::elp32x32);
        Painted();
        const RECT p = b_->pictureRect();
        ASSERT_EQ(p.right - p.left, 32);
        Capture shot = shots::CaptureWindow(Hwnd());
        const int cx = (p.left + p.right) / 2, cy = (p.top + p.bottom) / 2;
        EXPECT_COLOUR(shot.At(cx, cy), RGB(0, 0, 200));
        EXPECT_NE(Hex(shot.At(p.left + 1, p.top + 1)), Hex(RGB(255, 0, 255))) << "the mask is keyed out";
        SaveStrip(desc->picType == PICTYPE_METAFILE ? L"button_wmf.png" : L"button_emf.png", {shot});
    }
}

TEST_F(ButtonPaintTest, HugePictureSizeDrawsOnlyTheVisiblePart) {
    Start();
    b_->put_Caption(L"");
    b_->put_UseMaskColor(false);
    b_->putref_PictureNormal(SolidPicture(8, 8, RGB(200, 0, 0)));
    b_->put_PictureSizeW(20000);
    b_->put_PictureSizeH(20000);
    Painted();
    Capture shot = shots::CaptureWindow(Hwnd());
    // The scaled picture covers the whole client; its border is drawn over it.
    EXPECT_COLOUR(shot.At(50, 12), RGB(200, 0, 0));
    EXPECT_COLOUR(shot.At(0, 12), kNormalBorder);
}

TEST_F(ButtonPaintTest, NineAlignmentsScreenshot) {
    Form& f = NewForm();
    std::vector<Capture> strip;
    std::vector<Site*> sites;
    for (int a = 0; a <= 8; ++a) {
        Site* s = AddButton(f, (L"Align" + std::to_wstring(a)).c_str(), nullptr, {10 + (a % 3) * 130, 10 + (a / 3) * 70, 130 + (a % 3) * 130, 70 + (a / 3) * 70});
        ASSERT_NE(s, nullptr);
        LumioButton* b = Button(s);
        b->put_Caption(L"Align " + std::to_wstring(a));
        b->put_MaskColor(RGB(255, 0, 255));
        b->putref_PictureNormal(FramedPicture());
        b->put_PictureAlignment(static_cast<lumio::tlb::ePicAlignments>(a));
        sites.push_back(s);
    }
    Painted();
    for (Site* s : sites) {
        LumioButton* b = Button(s);
        RECT p = b->pictureRect(), t = b->captionRect();
        RECT overlap;
        strip.push_back(shots::CaptureWindow(s->ControlWindow()));
        if (b->get_PictureAlignment() == lumio::tlb::ePicAlignments::elaBehindText) continue;  // text over it
        EXPECT_FALSE(IntersectRect(&overlap, &p, &t)) << static_cast<int>(b->get_PictureAlignment());
        EXPECT_COLOUR(strip.back().At(p.left + 8, p.top + 8), RGB(0, 160, 0));
    }
    SaveStrip(L"button_alignments.png", strip);
}

}  // namespace
