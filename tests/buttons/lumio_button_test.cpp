// LumioButton's properties, persistence and property rules in our container.
#include <cmath>

#include "colour_math.h"
#include "button_fixture.h"
#include "gradient_rows.h"
#include "class_table.h"
#include "com_errors.h"
#include "export_probe.h"
#include "memory_property_bag.h"
#include "object_compare.h"
#include "std_objects.h"

namespace {

using lumio::ComPtr;
using lumio::MemoryPropertyBag;
using lumio::Variant;
using lumio::host::Form;
using lumio::host::Site;
using namespace buttontest;
using namespace testhost;

TEST_F(ButtonTest, NewButtonInDesignAndUserModeHasItsDefaults) {
    for (bool user_mode : {false, true}) {
        Form& f = NewForm(user_mode);
        Site* s = AddButton(f);
        ASSERT_NE(s, nullptr);
        auto b = s->Object();
        EXPECT_EQ(AsLong(Get(b.get(), id::BackColor)), 0xE6E6E6);
        EXPECT_EQ(AsString(Get(b.get(), id::Caption)), L"Command1");
        EXPECT_EQ(AsLong(Get(b.get(), id::ForeColor)), static_cast<long>(f.AmbientForeColor()));
        EXPECT_EQ(AsLong(Get(b.get(), id::MaskColor)), 0xC0C0C0);
        EXPECT_EQ(AsLong(Get(b.get(), id::PictureAlignment)), 4);
        EXPECT_EQ(AsLong(Get(b.get(), id::PictureOpacity)), 100);
        EXPECT_EQ(Get(b.get(), id::Enabled)->boolVal, VARIANT_TRUE);
        EXPECT_EQ(Get(b.get(), id::UseMaskColor)->boolVal, VARIANT_TRUE);
        EXPECT_EQ(Get(b.get(), id::Value)->boolVal, VARIANT_FALSE);
        EXPECT_EQ(AsLong(Get(b.get(), id::hWnd)), static_cast<long>(reinterpret_cast<LONG_PTR>(s->ControlWindow())));
        // Saved with every default left out.
        EXPECT_TRUE(f.Save(s)->Keys().empty()) << user_mode;
    }
}

TEST_F(ButtonTest, NewButtonTakesOnlyTheFaceNameOfTheHostFont) {
    Form& f = NewForm();
    f.SetAmbientFont(lumio::CreateStdFont(L"Liberation Serif", 12, true).get());
    Site* s = AddButton(f);
    auto b = s->Object();
    Variant host_name;
    lumio::GetProperty(f.AmbientFont().As<IDispatch>().get(), L"Name", host_name);
    EXPECT_EQ(AsString(Get(b.get(), id::FontName)), AsString(host_name));
    EXPECT_EQ(Get(b.get(), id::FontBold)->boolVal, VARIANT_FALSE);
    EXPECT_NEAR(Get(b.get(), id::FontSize)->fltVal, 8.25, 0.01);
}

TEST_F(ButtonTest, EveryPropertyReadsBackAfterSaving) {
    Form& f = NewForm();
    Site* s = AddButton(f);
    auto b = s->Object();
    ComPtr<IPictureDisp> normal = SolidPicture(16, 16, RGB(255, 0, 0));
    struct Set {
        DISPID id;
        Variant value;
    } sets[] = {
        {id::BackColor, Variant::Long(0x123456)},
        {id::ButtonShape, Variant::Long(3)},
        {id::Caption, Variant::String(L"保存(&S)")},
        {id::CheckBoxMode, Variant::Bool(true)},
        {id::Value, Variant::Bool(true)},
        {id::ForeColor, Variant::Long(0x80000008)},
        {id::HandPointer, Variant::Bool(true)},
        {id::MaskColor, Variant::Long(0x00FF00)},
        {id::PictureAlignment, Variant::Long(7)},
        {id::PictureNormal, Variant::Object(normal.get())},
        {id::PictureHot, Variant::Object(SolidPicture(16, 16, RGB(0, 255, 0)).get())},
        {id::PictureDown, Variant::Object(SolidPicture(24, 24, RGB(0, 0, 255)).get())},
        {id::PictureOpacity, Variant::Long(55)},
        {id::PictureSizeW, Variant::Long(20)},
        {id::PictureSizeH, Variant::Long(18)},
        {id::UseMaskColor, Variant::Bool(false)},
        {id::MousePointer, Variant::Int(99)},
        {id::FontItalic, Variant::Bool(true)},
        {id::Enabled, Variant::Bool(false)},
    };
    for (auto& set : sets) ASSERT_EQ(Put(b.get(), set.id, set.value), S_OK) << set.id;
    ComPtr<MemoryPropertyBag> bag = f.Save(s);
    for (const wchar_t* key : {L"BackColor", L"ButtonShape", L"Caption", L"CheckBox", L"Enabled", L"Font", L"ForeColor",
                               L"HandPointer", L"MaskColor", L"MousePointer", L"PicAlign", L"PicDown", L"PicHot",
                               L"PicNormal", L"PicOpacity", L"PicSize", L"PicSizeH", L"PicSizeW", L"UseMask", L"Value"})
        EXPECT_TRUE(bag->Has(key)) << std::string(key, key + wcslen(key));
    EXPECT_EQ(bag->Peek(L"MousePointer").vt(), VT_I2);
    EXPECT_EQ(bag->Peek(L"PicOpacity").vt(), VT_R4);
    int32_t saved_state = Button(s)->state();

    // The first form goes; its button lives on through b.
    Form& g = NewForm(false);
    Site* t = AddButton(g, L"Other", bag.get());
    ASSERT_NE(t, nullptr);
    auto c = t->Object();
    std::vector<DISPID> plain{id::BackColor, id::ButtonShape, id::Caption, id::CheckBoxMode, id::Value, id::Enabled,
                              id::ForeColor, id::HandPointer, id::MaskColor, id::PictureAlignment, id::PictureOpacity,
                              id::PictureSize, id::PictureSizeW, id::PictureSizeH, id::UseMaskColor,
                              id::MousePointer, id::FontItalic, id::FontName, id::FontSize};
    for (DISPID d : plain) EXPECT_EQ(AsString(Get(c.get(), d)), AsString(Get(b.get(), d))) << d;
    for (DISPID d : {id::PictureNormal, id::PictureHot, id::PictureDown}) {
        Variant before = Get(b.get(), d), after = Get(c.get(), d);
        ASSERT_EQ(after.vt(), VT_DISPATCH) << d;
        ASSERT_NE(after->pdispVal, nullptr) << d;
        OLE_XSIZE_HIMETRIC w1 = 0, w2 = 0;
        ComPtr<IDispatch>(before->pdispVal).As<IPicture>()->get_Width(&w1);
        ComPtr<IDispatch>(after->pdispVal).As<IPicture>()->get_Width(&w2);
        EXPECT_EQ(w1, w2) << d;
    }
    // The saved state is the state painted first.
    EXPECT_EQ(Button(t)->state(), saved_state);
    EXPECT_FALSE(IsWindowEnabled(t->ControlWindow()));
}

TEST_F(ButtonTest, PictureRules) {
    Form& f = NewForm();
    Site* s = AddButton(f);
    auto b = s->Object();
    ComPtr<IPictureDisp> pic = SolidPicture(16, 16, RGB(1, 2, 3));

    // Without a normal picture a hot picture becomes the normal one.
    ASSERT_EQ(Put(b.get(), id::PictureHot, Variant::Object(pic.get())), S_OK);
    EXPECT_EQ(Get(b.get(), id::PictureHot)->pdispVal, nullptr);
    EXPECT_TRUE(lumio::SameObject(Get(b.get(), id::PictureNormal)->pdispVal, pic.get()));
    EXPECT_EQ(AsLong(Get(b.get(), id::PictureSizeW)), 16);  // its own size in pixels

    // A down picture of another size makes the size custom.
    ASSERT_EQ(Put(b.get(), id::PictureDown, Variant::Object(SolidPicture(32, 32, 0).get())), S_OK);
    EXPECT_EQ(AsLong(Get(b.get(), id::PictureSize)), 5);

    // No normal picture: down and hot go too, opacity 0; a new one brings 100 back.
    ASSERT_EQ(Put(b.get(), id::PictureNormal, Variant::Object(nullptr)), S_OK);
    EXPECT_EQ(Get(b.get(), id::PictureDown)->pdispVal, nullptr);
    EXPECT_EQ(AsLong(Get(b.get(), id::PictureOpacity)), 0);
    ASSERT_EQ(Put(b.get(), id::PictureSize, Variant::Long(3)), S_OK);
    EXPECT_EQ(AsLong(Get(b.get(), id::PictureSize)), 0);
    EXPECT_EQ(AsLong(Get(b.get(), id::PictureSizeW)), 0);
    ASSERT_EQ(Put(b.get(), id::PictureNormal, Variant::Object(pic.get())), S_OK);
    EXPECT_EQ(AsLong(Get(b.get(), id::PictureOpacity)), 100);

    struct Size {
        long size, w, h;
    } sizes[] = {{1, 16, 16}, {2, 24, 24}, {3, 32, 32}, {4, 48, 48}, {0, 16, 16}};
    for (auto& z : sizes) {
        Put(b.get(), id::PictureSize, Variant::Long(z.size));
        EXPECT_EQ(AsLong(Get(b.get(), id::PictureSizeW)), z.w) << z.size;
        EXPECT_EQ(AsLong(Get(b.get(), id::PictureSizeH)), z.h) << z.size;
    }
    Put(b.get(), id::PictureSizeW, Variant::Long(20));
    EXPECT_EQ(AsLong(Get(b.get(), id::PictureSize)), 5);
}

TEST_F(ButtonTest, OpacityIsClampedToTenThroughHundred) {
    Form& f = NewForm();
    auto b = AddButton(f)->Object();
    struct Case {
        long in, out;
    } cases[] = {{0, 10}, {250, 100}, {55, 55}, {-5, 10}, {10, 10}, {100, 100}};
    for (auto c : cases) {
        Put(b.get(), id::PictureOpacity, Variant::Long(c.in));
        EXPECT_EQ(AsLong(Get(b.get(), id::PictureOpacity)), c.out) << c.in;
    }
}

TEST_F(ButtonTest, StoredOpacityIsBroughtIntoRangeWhenRead) {
    struct Case {
        float stored;
        long read;
    } cases[] = {{5.0f, 100}, {1.5f, 100}, {0.05f, 10}, {0.0f, 0}, {0.5f, 50}, {-2.0f, 0}};
    for (auto c : cases) {
        Form& f = NewForm();
        auto bag = MemoryPropertyBag::Create();
        Variant v = Variant::Single(c.stored);
        bag->Write(L"PicOpacity", v.get());
        Site* s = AddButton(f, L"B", bag.get());
        EXPECT_EQ(AsLong(Get(s->Object().get(), id::PictureOpacity)), c.read) << c.stored;
    }
}

TEST_F(ButtonTest, ValueTrueClicksAtRunTimeOnly) {
    for (bool user_mode : {true, false}) {
        Form& f = NewForm(user_mode);
        Site* s = AddButton(f);
        f.log().clear();
        ASSERT_EQ(Put(s->Object().get(), id::Value, Variant::Bool(true)), S_OK);
        EXPECT_EQ(Get(s->Object().get(), id::Value)->boolVal, VARIANT_FALSE);
        auto events = Events();
        EXPECT_EQ(std::count(events.begin(), events.end(), ev::Click), user_mode ? 1 : 0) << user_mode;
    }
}

TEST_F(ButtonTest, CheckBoxModeToggles) {
    Form& f = NewForm();
    auto b = AddButton(f)->Object();
    Put(b.get(), id::CheckBoxMode, Variant::Bool(true));
    Put(b.get(), id::Value, Variant::Bool(true));
    EXPECT_EQ(Get(b.get(), id::Value)->boolVal, VARIANT_TRUE);
    Put(b.get(), id::CheckBoxMode, Variant::Bool(false));
    EXPECT_EQ(Get(b.get(), id::Value)->boolVal, VARIANT_FALSE);
}

TEST_F(ButtonTest, MousePointerTurnsTheHandOffUnlessCustom) {
    Form& f = NewForm();
    auto b = AddButton(f)->Object();
    Put(b.get(), id::HandPointer, Variant::Bool(true));
    Put(b.get(), id::MousePointer, Variant::Int(99));
    EXPECT_EQ(Get(b.get(), id::HandPointer)->boolVal, VARIANT_TRUE);
    Put(b.get(), id::MousePointer, Variant::Int(2));
    EXPECT_EQ(Get(b.get(), id::HandPointer)->boolVal, VARIANT_FALSE);
    EXPECT_EQ(AsLong(Get(b.get(), id::MousePointer)), 2);
    // A mouse icon makes the pointer custom, none makes it default.
    ComPtr<IPictureDisp> icon = lumio::PictureFromIcon(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
    Put(b.get(), id::MouseIcon, Variant::Object(icon.get()));
    EXPECT_EQ(AsLong(Get(b.get(), id::MousePointer)), 99);
    // The icon travels through the bag.
    HRESULT hr = E_FAIL;
    ComPtr<MemoryPropertyBag> bag = f.Save(form_->sites().back().get(), &hr);
    ASSERT_EQ(hr, S_OK);
    ASSERT_TRUE(bag->IsObject(L"MouseIcon"));
    Site* copy = AddButton(f, L"Copy", bag.get());
    ASSERT_NE(copy, nullptr);
    Variant read = Get(copy->Object().get(), id::MouseIcon);
    ASSERT_EQ(read.vt(), VT_DISPATCH);
    ASSERT_NE(read->pdispVal, nullptr);
    SHORT type = 0;
    ComPtr<IDispatch>(read->pdispVal).As<IPicture>()->get_Type(&type);
    EXPECT_EQ(type, PICTYPE_ICON);
    Put(b.get(), id::MouseIcon, Variant::Object(nullptr));
    EXPECT_EQ(AsLong(Get(b.get(), id::MousePointer)), 0);
}

TEST_F(ButtonTest, PropertyChangesReportMemberOrBagKey) {
    Form& f = NewForm();
    Site* s = AddButton(f);
    auto b = s->Object();
    struct Case {
        DISPID id;
        Variant value;
        std::vector<DISPID> notices;
    } cases[] = {
        {id::Caption, Variant::String(L"x"), {id::Caption}},
        {id::PictureAlignment, Variant::Long(2), {DISPID_UNKNOWN}},       // "PicAlign"
        {id::CheckBoxMode, Variant::Bool(true), {DISPID_UNKNOWN}},        // "CheckBox"
        {id::FontBold, Variant::Bool(true), {id::Font}},                  // saved inside "Font"
        {id::FontName, Variant::String(L"Liberation Sans"), {id::Font}},
        {id::FontSize, Variant::Single(11), {id::Font}},
        {id::FontUnderline, Variant::Bool(true), {id::Font}},
        {id::Enabled, Variant::Bool(false), {id::Enabled}},
        {id::PictureSizeW, Variant::Long(5), {DISPID_UNKNOWN, DISPID_UNKNOWN}},
    };
    for (auto& c : cases) {
        f.log().clear();
        ASSERT_EQ(Put(b.get(), c.id, c.value), S_OK) << c.id;
        EXPECT_EQ(Notices(), c.notices) << c.id;
    }
    // The font's attributes reach the bag.
    EXPECT_TRUE(f.Save(s)->Has(L"Font"));
}

TEST_F(ButtonTest, DisabledButtonStaysDisabled) {
    Form& f = NewForm();
    Site* s = AddButton(f);
    auto b = s->Object();
    Put(b.get(), id::Caption, Variant::String(L"&Go"));
    ASSERT_EQ(Put(b.get(), id::Enabled, Variant::Bool(false)), S_OK);
    EXPECT_EQ(Get(b.get(), id::Enabled)->boolVal, VARIANT_FALSE);
    EXPECT_FALSE(IsWindowEnabled(s->ControlWindow()));
    ComPtr<MemoryPropertyBag> bag = f.Save(s);
    ASSERT_TRUE(bag->Has(L"Enabled"));
    EXPECT_EQ(bag->Peek(L"Enabled")->boolVal, VARIANT_FALSE);
    // Its access key no longer clicks it.
    f.log().clear();
    MSG msg{};
    msg.hwnd = s->ControlWindow();
    msg.message = WM_SYSKEYDOWN;
    msg.wParam = 'G';
    msg.lParam = 0x20000000;
    s->ole().As<IOleControl>()->OnMnemonic(&msg);
    EXPECT_TRUE(Events().empty());
    Put(b.get(), id::Enabled, Variant::Bool(true));
    s->ole().As<IOleControl>()->OnMnemonic(&msg);
    EXPECT_EQ(Events(), std::vector<DISPID>{ev::Click});
}

TEST_F(ButtonTest, ForeColorWrittenWhileDisabledUpdatesTheColours) {
    Form& f = NewForm();
    Site* s = AddButton(f);
    auto b = s->Object();
    Put(b.get(), id::Enabled, Variant::Bool(false));
    Put(b.get(), id::ForeColor, Variant::Long(0x0000FF));
    auto p = Button(s)->palette();
    EXPECT_EQ(p.fore, 0x0000FF);
    // Red blended 60 % toward white: 255, 153, 153.
    EXPECT_EQ(p.disabled_text, 0x9999FF);
}

TEST_F(ButtonTest, MissingMouseLeaveServiceFailsTheRunTimeRead) {
    Form& f = NewForm(true);
    lumio::HideExportForTesting("TrackMouseEvent", "User32", true);
    lumio::HideExportForTesting("_TrackMouseEvent", "Comctl32", true);
    auto bag = MemoryPropertyBag::Create();
    HRESULT hr = S_OK;
    SetErrorInfo(0, nullptr);
    Site* s = AddButton(f, L"B", bag.get(), RECT{20, 20, 120, 45}, &hr);
    lumio::HideExportForTesting("TrackMouseEvent", "User32", false);
    lumio::HideExportForTesting("_TrackMouseEvent", "Comctl32", false);
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(hr, static_cast<HRESULT>(-1));
    ComPtr<IErrorInfo> err;
    ASSERT_EQ(GetErrorInfo(0, err.put()), S_OK);
    lumio::Bstr src, desc;
    err->GetSource(src.put());
    err->GetDescription(desc.put());
    EXPECT_EQ(src.str(), L"System does not support TrackMouseEvent.");
    EXPECT_EQ(desc.str(), L"");
    // In design mode nothing is asked.
    Form& g = NewForm(false);
    lumio::HideExportForTesting("TrackMouseEvent", "User32", true);
    lumio::HideExportForTesting("_TrackMouseEvent", "Comctl32", true);
    EXPECT_NE(AddButton(g, L"B", bag.get()), nullptr);
    lumio::HideExportForTesting("TrackMouseEvent", "User32", false);
    lumio::HideExportForTesting("_TrackMouseEvent", "Comctl32", false);
}

TEST_F(ButtonTest, KeepsAtLeastFifteenPixels) {
    Form& f = NewForm();
    Site* s = AddButton(f, L"Small", nullptr, RECT{20, 20, 30, 26});
    RECT rc;
    GetClientRect(s->ControlWindow(), &rc);
    EXPECT_EQ(rc.right, 15);
    EXPECT_EQ(rc.bottom, 15);
}

}  // namespace

namespace {

using namespace buttontest;

// The members the button serves are the ones its type library describes.
TEST_F(ButtonTest, MembersMatchTheTypeLibrary) {
    lumio::host::Form& f = NewForm();
    lumio::host::Site* s = AddButton(f);
    ITypeLib* lib = lumio::LumiokitTypeLib();
    ASSERT_NE(lib, nullptr);
    lumio::ComPtr<ITypeInfo> info;
    ASSERT_EQ(s->Object()->GetTypeInfo(0, 0, info.put()), S_OK);
    const lumio::MemberTable* table = Button(s)->class_info().members;
    for (const lumio::Member& m : table->members()) {
        LPOLESTR name = const_cast<LPOLESTR>(m.name.c_str());
        MEMBERID id = 0;
        EXPECT_EQ(info->GetIDsOfNames(&name, 1, &id), S_OK) << m.id;
        EXPECT_EQ(id, m.id) << m.id;
    }
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        FUNCDESC* fd = nullptr;
        info->GetFuncDesc(i, &fd);
        // IUnknown and IDispatch themselves are not members; the about box comes with the dialogs.
        bool inherited = fd->memid >= 0x60000000 && fd->memid < 0x60020000;
        if (!inherited && fd->memid != lumio::tlb::dispid::LumioButton::AboutBox) {
            EXPECT_NE(table->Find(fd->memid), nullptr) << fd->memid;
        }
        info->ReleaseFuncDesc(fd);
    }
    info->ReleaseTypeAttr(attr);
}

}  // namespace

namespace {

using namespace buttontest;

TEST_F(ButtonTest, HostDrawsTheButtonThroughItsViewObject) {
    lumio::host::Form& f = NewForm(false);
    lumio::host::Site* s = AddButton(f);
    Put(s->Object().get(), id::BackColor, lumio::Variant::Long(0x00336699));
    auto view = s->ole().As<IViewObject2>();
    ASSERT_TRUE(view);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 100, 25);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECTL bounds{0, 0, 100, 25};
    ASSERT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0), S_OK);
    // Row 13 of the face's lower band, from the back colour to 10 % darker.
    float split = 50;
    lumio::GradientV band = lumio::PlanGradientV(0x00336699, lumio::pShiftColor(0x00336699, -0.1f), split, 0,
                                                 12, -1, 23, 100, 25);
    EXPECT_EQ(GetPixel(dc, 5, 13), static_cast<COLORREF>(band.RowColour(13)));
    SIZEL extent{};
    ASSERT_EQ(view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &extent), S_OK);
    EXPECT_NEAR(extent.cx, 2646, 1);  // 100 pixels in HIMETRIC
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST_F(ButtonTest, ClassInfoComesFromTheTypeLibrary) {
    lumio::host::Form& f = NewForm();
    auto pci = AddButton(f)->ole().As<IProvideClassInfo2>();
    lumio::ComPtr<ITypeInfo> info;
    ASSERT_EQ(pci->GetClassInfo(info.put()), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_COCLASS);
    EXPECT_TRUE(IsEqualGUID(attr->guid, lumio::tlb::CLSID_LumioButton));
    info->ReleaseTypeAttr(attr);
    GUID events{};
    ASSERT_EQ(pci->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
    EXPECT_TRUE(IsEqualGUID(events, lumio::tlb::DIID_LumioButtonEvents));
}

}  // namespace
