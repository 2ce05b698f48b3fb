// LumioTab in our container: creation, properties, persistence, the controls
// on its pages, members through the vtable, drawing of the body.
#include "tab_fixture.h"

namespace {

using namespace tabtest;

TEST_F(TabTest, RegisteredForTheServerAndCreatable) {
    const lumio::ControlClass* cls = lumio::FindControlClass(lumio::tlb::CLSID_LumioTab);
    ASSERT_NE(cls, nullptr);
    EXPECT_STREQ(cls->name, L"LumioTab");  // ProgID Lumiokit.LumioTab
    EXPECT_EQ(cls->toolbox_bitmap, 30005);
    Site* s = NewForm().Add(cls->create, L"Tab1", RECT{10, 10, 310, 210});
    ASSERT_NE(s, nullptr);
    DWORD misc = 0;
    s->ole()->GetMiscStatus(DVASPECT_CONTENT, &misc);
    EXPECT_TRUE(misc & OLEMISC_SIMPLEFRAME);
    EXPECT_EQ(AsLong(Get(s->Object().get(), id::TabCount)), 3);
}

TEST_F(TabTest, NewControlTakesItsOffsetFromTheParentWidth) {
    struct Case {
        int pixels;
        long offset;
    } cases[] = {{400, 10000}, {800, 13000}};  // 6000 and 12000 twips wide
    for (const Case& c : cases) {
        form_ = std::make_unique<Form>(TopWindow(), RECT{0, 0, c.pixels, 300});
        Site* s = AddTab(*form_);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(AsLong(Get(s->Object().get(), id::TabOffset)), c.offset) << c.pixels;
    }
}

TEST_F(TabTest, ControlsOnThreePagesComeBackToTheirExactLeftAfterTenSwitches) {
    Form& f = NewForm();
    Site* tab = AddTab(f);
    ASSERT_NE(tab, nullptr);
    const long lefts[] = {120, 150 - 10000, 135 - 20000};
    std::vector<Site*> kids;
    for (int i = 0; i < 3; ++i) {
        kids.push_back(f.Add(probe::Create, L"Probe" + std::to_wstring(i), RECT{5, 30, 60, 50}, nullptr, tab));
        ASSERT_NE(kids.back(), nullptr);
        SetLeft(kids.back(), lefts[i]);
    }
    const long order[] = {2, 1, 0, 2, 2, 1, 0, 1, 2, 0};
    for (long t : order) {
        ASSERT_EQ(Put(tab->Object().get(), id::ActiveTab, Variant::Long(t)), S_OK);
        // The shown page's control stands at its visible place, the others out of view.
        for (int i = 0; i < 3; ++i) {
            RECT rc{};
            GetWindowRect(kids[i]->ControlWindow(), &rc);
            MapWindowPoints(nullptr, tab->ControlWindow(), reinterpret_cast<POINT*>(&rc), 2);
            if (i == t) EXPECT_EQ(rc.left, std::lround((lefts[i] + 10000 * i) / 15.0)) << "tab " << t;
            else EXPECT_TRUE(rc.right <= 0 || rc.left >= 300) << "tab " << t << " control " << i;
        }
    }
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Left(kids[i]), lefts[i]) << i;
    // The events of one switch, in order.
    f.log().clear();
    ASSERT_EQ(Put(tab->Object().get(), id::ActiveTab, Variant::Long(2)), S_OK);
    EXPECT_EQ(Events(), (std::vector<DISPID>{ev::BeforeTabSwitch, ev::TabSwitch}));
    EXPECT_EQ(AsLong(Get(tab->Object().get(), id::LastActiveTab)), 0);
}

TEST_F(TabTest, CancelInBeforeTabSwitchKeepsTheTab) {
    Form& f = NewForm();
    Site* tab = AddTab(f);
    f.OnEvent([](Site&, DISPID which, DISPPARAMS* p) {
        if (which == ev::BeforeTabSwitch) *p->rgvarg[0].pboolVal = VARIANT_TRUE;  // bCancel, the last argument
    });
    ASSERT_EQ(Put(tab->Object().get(), id::ActiveTab, Variant::Long(1)), S_OK);
    EXPECT_EQ(AsLong(Get(tab->Object().get(), id::ActiveTab)), 0);
    EXPECT_EQ(Events(ev::TabSwitch).size(), 0u);
}

TEST_F(TabTest, SaveAndReloadKeepsWhatThePaletteDoesNotReset) {
    Form& f = NewForm();
    Site* s = AddTab(f);
    IDispatch* t = s->Object().get();
    // A new control: bold active font, plain inactive one.
    auto bold = [](const Variant& font) {
        BOOL b = FALSE;
        ComPtr<IFont> f2 = ComPtr<IDispatch>(font->pdispVal).As<IFont>();
        f2->get_Bold(&b);
        return b != FALSE;
    };
    EXPECT_TRUE(bold(Get(t, id::ActiveTabFont)));
    EXPECT_FALSE(bold(Get(t, id::InActiveTabFont)));
    ASSERT_EQ(InvokeWith(t, id::TabCaption, DISPATCH_PROPERTYPUT, {Variant::Long(1), Variant::String(L"Tab1")}), S_OK);
    ASSERT_EQ(InvokeWith(t, id::TabCaption, DISPATCH_PROPERTYPUT, {Variant::Long(2), Variant::String(L"Save &as")}),
              S_OK);
    ASSERT_EQ(Put(t, id::ActiveTabBackStartColor, Variant::Long(0xFF0000)), S_OK);
    ASSERT_EQ(Put(t, id::TopLeftInnerBorderColor, Variant::Long(0x123456)), S_OK);
    ASSERT_EQ(Put(t, id::TabStripBackColor, Variant::Long(0x00FF00)), S_OK);
    ASSERT_EQ(Put(t, id::XRadius, Variant::Long(-4)), S_OK);
    ASSERT_EQ(Put(t, id::TabStyle, Variant::Long(5)), S_OK);
    ASSERT_EQ(Put(t, id::ActiveTab, Variant::Long(1)), S_OK);
    ASSERT_EQ(Put(t, id::TabCount, Variant::Long(4)), S_OK);
    ASSERT_EQ(Put(t, id::TabOffset, Variant::Long(12000)), S_OK);
    ComPtr<lumio::MemoryPropertyBag> bag = f.Save(s);
    ASSERT_TRUE(bag);
    std::vector<std::wstring> keys = bag->Keys();
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.front(), L"TabCount");
    EXPECT_EQ(keys.back(), L"TabOffset");
    EXPECT_EQ(AsLong(bag->Peek(L"TabCount")), 4);
    EXPECT_FALSE(bag->Has(L"ActiveTabHeight"));  // defaults are left out
    EXPECT_EQ(AsString(bag->Peek(L"TabCaption(0)")), L"Tab 0");
    EXPECT_FALSE(bag->Has(L"TabCaption(1)"));
    EXPECT_EQ(AsLong(bag->Peek(L"TabAccessKey(2)")), 65);
    EXPECT_TRUE(bag->IsObject(L"ActiveTabFont"));

    Site* r = f.Add(LumioTab::Create, L"Tab2", RECT{10, 10, 310, 210}, bag.get());
    ASSERT_NE(r, nullptr);
    IDispatch* u = r->Object().get();
    Variant caption;
    ASSERT_EQ(InvokeWith(u, id::TabCaption, DISPATCH_PROPERTYGET, {Variant::Long(1)}, &caption), S_OK);
    EXPECT_EQ(AsString(caption), L"Tab1");
    ASSERT_EQ(InvokeWith(u, id::TabCaption, DISPATCH_PROPERTYGET, {Variant::Long(0)}, &caption), S_OK);
    EXPECT_EQ(AsString(caption), L"Tab 0");
    EXPECT_EQ(AsLong(Get(u, id::ActiveTabBackStartColor)), 0xFFFFFF);
    EXPECT_EQ(AsLong(Get(u, id::TopLeftInnerBorderColor)), 0x123456);
    EXPECT_EQ(AsLong(Get(u, id::TabStripBackColor)), 0x00FF00);
    EXPECT_EQ(AsLong(Get(u, id::XRadius)), -4);
    EXPECT_EQ(AsLong(Get(u, id::TabStyle)), 5);
    EXPECT_EQ(AsLong(Get(u, id::ActiveTab)), 1);
    EXPECT_EQ(AsLong(Get(u, id::TabCount)), 4);
    EXPECT_EQ(AsLong(Get(u, id::TabOffset)), 12000);
    EXPECT_TRUE(bold(Get(u, id::ActiveTabFont)));
    EXPECT_FALSE(bold(Get(u, id::InActiveTabFont)));
    EXPECT_EQ(Tab(r)->model().records()[2].accessKey, 65);
}

TEST_F(TabTest, EveryKeyRoundTripsExceptThePalette) {
    Form& f = NewForm();
    Site* s = AddTab(f);
    IDispatch* t = s->Object().get();
    ASSERT_EQ(Put(t, id::TabCount, Variant::Long(4)), S_OK);
    struct Case {
        DISPID member;
        const wchar_t* key;
        Variant written;
        long reread;  // the palette's own value where the load resets it
    } cases[] = {
        {id::ActiveTabBackEndColor, L"ActiveTabBackEndColor", Variant::Long(0x010203), 0xFFFFFF},
        {id::ActiveTabBackStartColor, L"ActiveTabBackStartColor", Variant::Long(0x010203), 0xFFFFFF},
        {id::ActiveTabForeColor, L"ActiveTabForeColor", Variant::Long(0x0000FF), 0},
        {id::ActiveTabHeight, L"ActiveTabHeight", Variant::Long(24), 24},
        {id::BottomRightInnerBorderColor, L"BottomRightInnerBorderColor", Variant::Long(0x111111), 0x111111},
        {id::DisabledTabBackColor, L"DisabledTabBackColor", Variant::Long(0x222222), 0xCBCAC9},
        {id::DisabledTabForeColor, L"DisabledTabForeColor", Variant::Long(0x222222), 0xA0A0A0},
        {id::FocusedColor, L"FocusedColor", Variant::Long(0x222222), 0xEE8269},
        {id::HoverColor, L"HoverColor", Variant::Long(0x222222), 0x3BC7FF},
        {id::InActiveTabBackEndColor, L"InActiveTabBackEndColor", Variant::Long(0x222222), 0xCFCFCF},
        {id::InActiveTabBackStartColor, L"InActiveTabBackStartColor", Variant::Long(0x222222), 0xEBEBEB},
        {id::InActiveTabForeColor, L"InActiveTabForeColor", Variant::Long(0x222222), 0},
        {id::InActiveTabHeight, L"InActiveTabHeight", Variant::Long(16), 16},
        {id::OuterBorderColor, L"OuterBorderColor", Variant::Long(0x222222), 0x958C89},
        {id::PictureAlign, L"PictureAlign", Variant::Long(3), 3},
        {id::PictureMaskColor, L"PictureMaskColor", Variant::Long(0xFF00FF), 0xFF00FF},
        {id::PictureSize, L"PictureSize", Variant::Long(1), 1},
        {id::ShowFocusRect, L"ShowFocusRect", Variant::Bool(false), 0},
        {id::TabStripBackColor, L"TabStripBackColor", Variant::Long(0x00FF00), 0x00FF00},
        {id::TabStyle, L"TabStyle", Variant::Long(1), 1},
        {id::TopLeftInnerBorderColor, L"TopLeftInnerBorderColor", Variant::Long(0x444444), 0x444444},
        {id::UseControlBox, L"UseControlBox", Variant::Bool(true), -1},
        {id::UseFocusedColor, L"UseFocusedColor", Variant::Bool(false), 0},
        {id::UseMaskColor, L"UseMaskColor", Variant::Bool(false), 0},
        {id::UseMouseWheelScroll, L"UseMouseWheelScroll", Variant::Bool(false), 0},
        {id::XRadius, L"XRadius", Variant::Long(3), 3},
        {id::YRadius, L"YRadius", Variant::Long(-4), -4},
        {id::TabOffset, L"TabOffset", Variant::Long(12000), 12000},
        {id::ActiveTab, L"ActiveTab", Variant::Long(2), 2},
        {id::Enabled, L"Enabled", Variant::Bool(false), 0},
    };
    for (const Case& c : cases) ASSERT_EQ(Put(t, c.member, c.written), S_OK) << c.key;
    ComPtr<IFontDisp> active = lumio::CreateStdFont(L"Liberation Mono", 12, false);
    ComPtr<IFontDisp> inactive = lumio::CreateStdFont(L"Liberation Serif", 9, true);
    ASSERT_EQ(InvokeWith(t, id::ActiveTabFont, DISPATCH_PROPERTYPUTREF, {Variant::Object(active.get())}), S_OK);
    ASSERT_EQ(InvokeWith(t, id::InActiveTabFont, DISPATCH_PROPERTYPUTREF, {Variant::Object(inactive.get())}), S_OK);
    ASSERT_EQ(InvokeWith(t, id::TabCaption, DISPATCH_PROPERTYPUT, {Variant::Long(3), Variant::String(L"&Zed")}), S_OK);
    ASSERT_EQ(InvokeWith(t, id::TabEnabled, DISPATCH_PROPERTYPUT, {Variant::Long(1), Variant::Bool(false)}), S_OK);
    ComPtr<IPictureDisp> pic = lumio::PictureFromBitmap(CreateBitmap(5, 3, 1, 32, nullptr));
    ASSERT_EQ(InvokeWith(t, id::TabPicture, DISPATCH_PROPERTYPUTREF, {Variant::Long(2), Variant::Object(pic.get())}),
              S_OK);
    // The drawing passes set both surface colours; the bag keeps what they hold.
    OLE_COLOR back = Tab(s)->get_BackColor(), fore = Tab(s)->get_ForeColor();

    ComPtr<lumio::MemoryPropertyBag> bag = f.Save(s);
    ASSERT_TRUE(bag);
    for (const Case& c : cases) EXPECT_TRUE(bag->Has(c.key)) << c.key;
    EXPECT_EQ(AsLong(bag->Peek(L"BackColor")), static_cast<long>(back));
    EXPECT_EQ(AsLong(bag->Peek(L"ForeColor")), static_cast<long>(fore));
    EXPECT_EQ(AsLong(bag->Peek(L"TabAccessKey(3)")), 'Z');
    EXPECT_FALSE(bag->Has(L"TabAccessKey(0)"));
    EXPECT_FALSE(bag->Has(L"LastActiveTab"));
    EXPECT_FALSE(bag->Has(L"Font"));

    Site* r = f.Add(LumioTab::Create, L"Tab2", RECT{10, 10, 310, 210}, bag.get());
    ASSERT_NE(r, nullptr);
    IDispatch* u = r->Object().get();
    for (const Case& c : cases) EXPECT_EQ(AsLong(Get(u, c.member)), c.reread) << c.key;
    EXPECT_EQ(AsLong(Get(u, id::TabCount)), 4);
    auto font = [](const Variant& v, double& points, bool& bold) {
        ComPtr<IFont> font = ComPtr<IDispatch>(v->pdispVal).As<IFont>();
        lumio::Bstr name;
        CY size{};
        BOOL b = FALSE;
        font->get_Name(name.put());
        font->get_Size(&size);
        font->get_Bold(&b);
        points = size.int64 / 10000.0;
        bold = b != FALSE;
        return name.str();
    };
    double points = 0;
    bool bold = false;
    EXPECT_EQ(font(Get(u, id::ActiveTabFont), points, bold), L"Liberation Mono");
    EXPECT_EQ(points, 12);
    EXPECT_FALSE(bold);
    EXPECT_EQ(font(Get(u, id::InActiveTabFont), points, bold), L"Liberation Serif");
    // The size the given font settled on once drawn with (whole pixels).
    double settled = 0;
    bool settledBold = false;
    font(Variant::Object(inactive.get()), settled, settledBold);
    EXPECT_EQ(points, settled);
    EXPECT_TRUE(bold);
    LumioTab* loaded = Tab(r);
    EXPECT_EQ(loaded->get_TabCaption(3), L"&Zed");
    EXPECT_EQ(loaded->model().records()[3].accessKey, 'Z');
    EXPECT_FALSE(loaded->get_TabEnabled(1));
    EXPECT_TRUE(loaded->get_TabEnabled(2));
    ComPtr<IPictureDisp> reread = loaded->get_TabPicture(2);
    ASSERT_TRUE(reread);
    OLE_XSIZE_HIMETRIC width = 0;
    reread.As<IPicture>()->get_Width(&width);
    OLE_XSIZE_HIMETRIC given = 0;
    pic.As<IPicture>()->get_Width(&given);
    EXPECT_EQ(width, given);
    EXPECT_FALSE(loaded->get_TabPicture(1));
}

TEST_F(TabTest, BagValuesThatWillNotConvertStopTheRead) {
    struct Case {
        const wchar_t* key;
        Variant value;
        int error;
    } cases[] = {
        {L"ActiveTabHeight", Variant::String(L"tall"), 13},
        {L"TabCount", Variant::Long(0), 9},
    };
    for (const Case& c : cases) {
        Form& f = NewForm();
        auto bag = lumio::MemoryPropertyBag::Create();
        bag->Write(c.key, const_cast<VARIANT*>(c.value.get()));
        HRESULT hr = S_OK;
        EXPECT_EQ(AddTab(f, bag.get(), &hr), nullptr) << c.key;
        EXPECT_EQ(hr, Err(c.error)) << c.key;
        ComPtr<IErrorInfo> info;
        ASSERT_EQ(GetErrorInfo(0, info.put()), S_OK);
        lumio::Bstr source;
        info->GetSource(source.put());
        EXPECT_EQ(source.str(), L"LumioTab.UserControl_ReadProperties");
    }
}

TEST_F(TabTest, WritesNotifyUnderTheirOwnNameWithTheDocumentedExceptions) {
    Form& f = NewForm();
    IDispatch* t = AddTab(f)->Object().get();
    struct Case {
        DISPID member;
        long value;
        size_t notices;
    } cases[] = {{id::ShowFocusRect, 0, 1}, {id::FocusedColor, 0x10, 0}, {id::TabOffset, 12000, 1},
                 {id::UseMouseWheelScroll, 0, 1}, {id::HoverColor, 0x20, 1}};
    for (const Case& c : cases) {
        f.log().clear();
        ASSERT_EQ(Put(t, c.member, Variant::Long(c.value)), S_OK);
        EXPECT_EQ(NoticesOf(c.member), c.notices) << std::hex << c.member;
    }
    struct Bad {
        DISPID member;
        long value;
        int error;
    } bad[] = {{id::TabOffset, 0, 380}, {id::TabOffset, -1, 380}, {id::TabCount, 0, 380}};
    for (const Bad& b : bad) EXPECT_EQ(Put(t, b.member, Variant::Long(b.value)), DISP_E_EXCEPTION) << b.value;
}

TEST_F(TabTest, AfterCompleteInitOnceAtRunTimeNeverAtDesignTime) {
    for (bool userMode : {true, false}) {
        Form& f = NewForm(userMode);
        Site* s = AddTab(f);
        ASSERT_NE(s, nullptr);
        ASSERT_EQ(Call(s->Object().get(), id::Refresh, {}), S_OK);
        ASSERT_EQ(Call(s->Object().get(), id::Refresh, {}), S_OK);
        EXPECT_EQ(Events(ev::AfterCompleteInit).size(), userMode ? 1u : 0u) << userMode;
        EXPECT_FALSE(Tab(s)->busy());
    }
}

TEST_F(TabTest, ResetAllColorsRedrawsOnceWithoutColourNotices) {
    Form& f = NewForm();
    Site* s = AddTab(f);
    ASSERT_EQ(Put(s->Object().get(), id::OuterBorderColor, Variant::Long(0xFF)), S_OK);
    f.log().clear();
    const int passes = Tab(s)->drawPasses();
    ASSERT_EQ(Call(s->Object().get(), id::ResetAllColors, {}), S_OK);
    // One pass; the host hears neither of the colours nor of the surface
    // colours the pass sets for its painting.
    EXPECT_EQ(Tab(s)->drawPasses(), passes + 1);
    EXPECT_TRUE(f.log().empty());
    EXPECT_EQ(AsLong(Get(s->Object().get(), id::OuterBorderColor)), 0x958C89);
    EXPECT_FALSE(Tab(s)->busy());
}

TEST_F(TabTest, IndexedMembersThroughTheVtable) {
    Form& f = NewForm();
    Site* s = AddTab(f);
    ComPtr<IUnknown> early;
    ASSERT_EQ(s->Object()->QueryInterface(lumio::tlb::IID_LumioTab, reinterpret_cast<void**>(early.put())), S_OK);
    auto* d = static_cast<lumio::tlb::dual::LumioTabDual*>(static_cast<IDispatch*>(early.get()));
    BSTR caption = SysAllocString(L"&First");
    ASSERT_EQ(d->put_TabCaption(0, &caption), S_OK);
    EXPECT_STREQ(caption, L"&First");  // a by-reference argument is left as it was
    SysFreeString(caption);
    BSTR read = nullptr;
    ASSERT_EQ(d->get_TabCaption(0, &read), S_OK);
    EXPECT_EQ(lumio::Bstr(read).str(), L"&First");
    EXPECT_EQ(d->get_TabCaption(7, &read), S_OK);
    EXPECT_EQ(lumio::Bstr(read).str(), L"");
    BSTR x = SysAllocString(L"x");
    EXPECT_EQ(d->put_TabCaption(7, &x), Err(9));
    SysFreeString(x);
    VARIANT_BOOL off = VARIANT_FALSE, on = VARIANT_TRUE;
    ASSERT_EQ(d->put_TabEnabled(1, &off), S_OK);
    ASSERT_EQ(d->get_TabEnabled(1, &on), S_OK);
    EXPECT_EQ(on, VARIANT_FALSE);
    ComPtr<IPictureDisp> pic = lumio::PictureFromBitmap(CreateBitmap(4, 4, 1, 32, nullptr));
    IPictureDisp* given = pic.get();
    ASSERT_EQ(d->putref_TabPicture(2, &given), S_OK);
    IPictureDisp* got = nullptr;
    ASSERT_EQ(d->get_TabPicture(2, &got), S_OK);
    EXPECT_EQ(got, pic.get());
    if (got) got->Release();
    EXPECT_EQ(d->get_TabPicture(3, &got), Err(9));
    // A late-bound caller may leave the caption out.
    ASSERT_EQ(InvokeWith(s->Object().get(), id::InsertTab, DISPATCH_METHOD, {Variant::Long(0)}), S_OK);
    ASSERT_EQ(d->get_TabCaption(1, &read), S_OK);
    EXPECT_EQ(lumio::Bstr(read).str(), L"NewTab");
    EXPECT_EQ(Events(ev::TabInsert).size(), 1u);
    long index = 5;
    VARIANT_BOOL all = VARIANT_TRUE;
    EXPECT_EQ(d->RemoveTabImages(&index, &all), S_OK);  // an index outside the tabs is ignored
    ASSERT_EQ(d->RemoveTab(1), S_OK);
    EXPECT_EQ(Events(ev::TabRemove).size(), 1u);
}

TEST_F(TabTest, ImagesComeFromAnImageListOnePerTab) {
    Form& f = NewForm();
    Site* s = AddTab(f);
    std::vector<ComPtr<IPictureDisp>> images = {lumio::PictureFromBitmap(CreateBitmap(4, 4, 1, 32, nullptr)),
                                                lumio::PictureFromBitmap(CreateBitmap(4, 4, 1, 32, nullptr))};
    auto list = lumio::SimpleDispatch::Create();
    list->Add({1, L"ListImages", {}, {}, [&](const std::vector<VARIANT*>& args, VARIANT* r) -> HRESULT {
                   long i = args.empty() ? 0 : args[0]->lVal;
                   if (i < 1 || i > static_cast<long>(images.size())) return DISP_E_BADINDEX;
                   auto image = lumio::SimpleDispatch::Create();
                   ComPtr<IPictureDisp> p = images[i - 1];
                   image->Add({1, L"Picture", [p](VARIANT* out) {
                                   *out = Variant::Object(p.get()).detach();
                                   return S_OK;
                               }});
                   *r = Variant::Object(image.get()).detach();
                   return S_OK;
               }});
    ASSERT_EQ(Put(s->Object().get(), id::TabPicture, Variant::Long(0)), DISP_E_BADPARAMCOUNT);
    ASSERT_EQ(Call(s->Object().get(), id::CopyTabImagesFromImageList, {Variant::Object(list.get())}), S_OK);
    LumioTab* t = Tab(s);
    EXPECT_EQ(t->get_TabPicture(0).get(), images[0].get());
    EXPECT_EQ(t->get_TabPicture(1).get(), images[1].get());
    EXPECT_FALSE(t->get_TabPicture(2));
    ASSERT_EQ(Call(s->Object().get(), id::RemoveTabImages, {Variant::Long(0), Variant::Bool(true)}), S_OK);
    EXPECT_FALSE(t->get_TabPicture(0));
    EXPECT_TRUE(t->get_TabPicture(1));
    ASSERT_EQ(Call(s->Object().get(), id::RemoveTabImages, {}), S_OK);  // defaults: every tab
    EXPECT_FALSE(t->get_TabPicture(1));
}

TEST_F(TabTest, BodyIsFilledWithTheActiveEndColourAndFramedBelowTheStrip) {
    Form& f = NewForm();
    Site* s = AddTab(f);
    ASSERT_EQ(Put(s->Object().get(), id::ActiveTabBackEndColor, Variant::Long(0xE0F0FF)), S_OK);
    Settle(&f);
    shots::Capture shot = shots::CaptureFromScreen(s->ControlWindow());
    ASSERT_EQ(shot.width, 300);
    shot.Save(L"tab_body.png");
    auto at = [&](int x, int y) { return shot.At(x, y); };
    const COLORREF border = 0x958C89;  // the standard palette's outer border
    EXPECT_EQ(at(150, 100), 0xE0F0FFu);
    EXPECT_EQ(at(0, 100), border);
    EXPECT_EQ(at(shot.width - 1, 100), border);
    EXPECT_EQ(at(150, shot.height - 1), border);
    EXPECT_EQ(at(0, 10), border);  // beside the strip, the active tab's own edge
    EXPECT_EQ(at(0, 20), border);
    // A disabled control shows the disabled colour.
    ASSERT_EQ(Put(s->Object().get(), id::Enabled, Variant::Bool(false)), S_OK);
    Settle(&f);
    shot = shots::CaptureFromScreen(s->ControlWindow());
    EXPECT_EQ(at(150, 100), 0xCBCAC9u);
}

TEST_F(TabTest, ThousandCreateDestroyCyclesHoldNoObjects) {
    Form& f = NewForm();
    auto cycle = [&] {
        for (int i = 0; i < 100; ++i) {
            Site* s = AddTab(f);
            ASSERT_NE(s, nullptr);
            f.Remove(s);
        }
    };
    EXPECT_TRUE(lumio::test::NoGrowth(cycle, 10));
}

}  // namespace
