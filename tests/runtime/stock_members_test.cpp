// Stock members bound to the base: what a caller reads back, that the
// control's redraw runs, and which notices the host hears.
#include "control_base.h"
#include "std_objects.h"
#include "stock_members.h"
#include "test_host.h"

namespace {

using lumio::ComPtr;
using lumio::Variant;
using lumio::host::Form;
using lumio::host::Site;
using namespace testhost;

enum : DISPID { kFont = 1, kBold, kItalic, kName, kSize, kStrike, kUnderline, kHwnd, kPointer, kIcon };

// {6C1D2A60-7E0B-4C43-9B51-2F5B8C0D7E11}
constexpr CLSID kClsid = {0x6c1d2a60, 0x7e0b, 0x4c43, {0x9b, 0x51, 0x2f, 0x5b, 0x8c, 0x0d, 0x7e, 0x11}};
constexpr IID kIid = {0x6c1d2a61, 0x7e0b, 0x4c43, {0x9b, 0x51, 0x2f, 0x5b, 0x8c, 0x0d, 0x7e, 0x11}};
constexpr IID kEventsIid = {0x6c1d2a62, 0x7e0b, 0x4c43, {0x9b, 0x51, 0x2f, 0x5b, 0x8c, 0x0d, 0x7e, 0x11}};

class StockControl : public lumio::ControlBase {
public:
    StockControl();
    void Redraw() { ++redraws; }
    int redraws = 0;
    using ControlBase::hWnd;
    using ControlBase::MouseIcon;
    using ControlBase::MousePointer;

protected:
    explicit StockControl(const lumio::ControlClassInfo& info) : ControlBase(info) {}
};

const lumio::MemberTable& Members() {
    static const lumio::MemberTable table = [] {
        lumio::MemberTable t;
        lumio::StockMembers(t, &StockControl::Redraw)
            .Font({kFont, kBold, kItalic, kName, kSize, kStrike, kUnderline})
            .hWnd(kHwnd)
            .Mouse(kPointer, kIcon);
        return t;
    }();
    return table;
}

const lumio::ControlClassInfo kInfo{
    &kClsid, &kIid,     &kEventsIid, L"StockControl", OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE,
    false,   &Members()};

StockControl::StockControl() : ControlBase(kInfo) {}

HRESULT Create(IUnknown* outer, REFIID iid, void** out) {
    return lumio::ControlBase::Create<StockControl>(outer, iid, out);
}

// The mouse members passed straight through, the host hearing only that the
// control has unsaved changes.
class QuietControl : public StockControl {
public:
    QuietControl();
};

const lumio::MemberTable& QuietMembers() {
    static const lumio::MemberTable table = [] {
        using lumio::StockMembers;
        lumio::MemberTable t;
        StockMembers(t, &StockControl::Redraw, StockMembers::Report::DirtyOnly)
            .Mouse(kPointer, kIcon, StockMembers::IconPointer::Kept);
        return t;
    }();
    return table;
}

const lumio::ControlClassInfo kQuietInfo{
    &kClsid, &kIid,     &kEventsIid, L"QuietControl", OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE,
    false,   &QuietMembers()};

QuietControl::QuietControl() : StockControl(kQuietInfo) {}

HRESULT CreateQuiet(IUnknown* outer, REFIID iid, void** out) {
    return lumio::ControlBase::Create<QuietControl>(outer, iid, out);
}

class StockMembersTest : public OleTest {
protected:
    virtual lumio::host::CreateFunction Factory() const { return &Create; }
    void SetUp() override {
        OleTest::SetUp();
        site_ = NewForm().Add(Factory(), L"Stock1", RECT{10, 10, 110, 40});
        ASSERT_NE(site_, nullptr);
        obj_ = site_->Object();
        control_ = static_cast<StockControl*>(static_cast<IDispatch*>(obj_.get()));
    }
    std::vector<DISPID> Notices() {
        std::vector<DISPID> ids;
        for (const auto& e : form().log())
            if (e.notice) ids.push_back(e.id);
        form().log().clear();
        return ids;
    }
    Site* site_ = nullptr;
    ComPtr<IDispatch> obj_;
    StockControl* control_ = nullptr;
};

TEST_F(StockMembersTest, FontAttributesWriteTheControlsFontRedrawAndNotifyAsFont) {
    struct Case {
        DISPID id;
        Variant value;
    };
    const Case cases[] = {
        {kBold, Variant::Bool(true)},
        {kItalic, Variant::Bool(true)},
        {kStrike, Variant::Bool(true)},
        {kUnderline, Variant::Bool(true)},
        {kName, Variant::String(L"Liberation Serif")},
        {kSize, Variant::Single(13.5f)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        form().log().clear();
        const int before = control_->redraws;
        ASSERT_EQ(Put(obj_.get(), c.id, c.value), S_OK);
        EXPECT_EQ(control_->redraws, before + 1);
        EXPECT_EQ(Notices(), std::vector<DISPID>{kFont});  // saved inside "Font"
        Variant back = Get(obj_.get(), c.id);
        ASSERT_EQ(back.vt(), c.value.vt());
        if (c.value.vt() == VT_BSTR) EXPECT_EQ(AsString(back), AsString(c.value));
        else if (c.value.vt() == VT_R4)
            EXPECT_FLOAT_EQ(back->fltVal, c.value->fltVal);
        else
            EXPECT_EQ(back->boolVal, VARIANT_TRUE);
    }
    // The attributes live in the Font object the caller can read.
    Variant font = Get(obj_.get(), kFont);
    ASSERT_EQ(font.vt(), VT_DISPATCH);
    ComPtr<IFont> f = ComPtr<IDispatch>(font->pdispVal).As<IFont>();
    ASSERT_TRUE(f);
    BOOL bold = FALSE;
    f->get_Bold(&bold);
    EXPECT_TRUE(bold);
}

TEST_F(StockMembersTest, FontByReferenceReplacesTheFont) {
    ComPtr<IFontDisp> font = lumio::CreateStdFont(L"Liberation Mono", 18, false);
    form().log().clear();
    ASSERT_EQ(Put(obj_.get(), kFont, Variant::Object(font.get())), S_OK);
    EXPECT_EQ(Notices(), std::vector<DISPID>{kFont});
    EXPECT_EQ(AsString(Get(obj_.get(), kName)), L"Liberation Mono");
    EXPECT_FLOAT_EQ(Get(obj_.get(), kSize)->fltVal, 18.0f);
}

TEST_F(StockMembersTest, HwndIsReadOnly) {
    EXPECT_EQ(AsLong(Get(obj_.get(), kHwnd)), static_cast<long>(reinterpret_cast<LONG_PTR>(control_->hWnd())));
    EXPECT_NE(Put(obj_.get(), kHwnd, Variant::Long(1)), S_OK);
}

TEST_F(StockMembersTest, MouseIconChoosesTheCustomPointerAndAnEmptyOneTheDefault) {
    HBITMAP bmp = CreateBitmap(4, 4, 1, 32, nullptr);
    ComPtr<IPictureDisp> pic = lumio::PictureFromBitmap(bmp);
    form().log().clear();
    ASSERT_EQ(Put(obj_.get(), kIcon, Variant::Object(pic.get())), S_OK);
    EXPECT_EQ(control_->MousePointer(), lumio::kCustomMousePointer);
    EXPECT_EQ(Notices(), (std::vector<DISPID>{kPointer, kIcon}));
    ASSERT_EQ(Put(obj_.get(), kIcon, Variant::Object(nullptr)), S_OK);
    EXPECT_EQ(control_->MousePointer(), 0);
    ASSERT_EQ(Put(obj_.get(), kPointer, Variant::Int(11)), S_OK);
    EXPECT_EQ(Get(obj_.get(), kPointer)->iVal, 11);
}

class QuietMembersTest : public StockMembersTest {
protected:
    lumio::host::CreateFunction Factory() const override { return &CreateQuiet; }
};

TEST_F(QuietMembersTest, MouseMembersPassThroughAndOnlyMarkTheControlDirty) {
    auto persist = site_->ole().As<IPersistStreamInit>();
    ASSERT_TRUE(persist);
    form().Save(site_);
    ASSERT_EQ(persist->IsDirty(), S_FALSE);
    form().log().clear();
    const int redraws = control_->redraws;

    ASSERT_EQ(Put(obj_.get(), kPointer, Variant::Int(11)), S_OK);
    EXPECT_EQ(Get(obj_.get(), kPointer)->iVal, 11);
    EXPECT_EQ(control_->redraws, redraws + 1);
    EXPECT_EQ(persist->IsDirty(), S_OK);

    // The icon is kept; the pointer stays what it was, not the custom one.
    form().Save(site_);
    ComPtr<IPictureDisp> pic = lumio::PictureFromBitmap(CreateBitmap(4, 4, 1, 32, nullptr));
    ASSERT_EQ(Put(obj_.get(), kIcon, Variant::Object(pic.get())), S_OK);
    EXPECT_EQ(control_->MousePointer(), 11);
    EXPECT_EQ(control_->MouseIcon().get(), pic.get());
    EXPECT_EQ(control_->redraws, redraws + 2);
    EXPECT_EQ(persist->IsDirty(), S_OK);
    EXPECT_TRUE(Notices().empty());
}

}  // namespace
