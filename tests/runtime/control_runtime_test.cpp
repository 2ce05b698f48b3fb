// The control runtime through our container: life cycle, persistence,
// property-change notices, ambients, events and the error path.
#include <algorithm>

#include "class_table.h"
#include "com_errors.h"
#include "memory_property_bag.h"
#include "object_compare.h"
#include "probe_control.h"
#include "std_objects.h"
#include "test_host.h"

namespace {

using lumio::ComPtr;
using lumio::MemoryPropertyBag;
using lumio::Variant;
using lumio::host::Form;
using lumio::host::Site;
using namespace testhost;

class RuntimeTest : public OleTest {
protected:
    Site* AddProbe(Form& f, const wchar_t* name = L"Probe1", IPropertyBag* bag = nullptr, HRESULT* hr = nullptr) {
        return f.Add(probe::Create, name, RECT{10, 10, 110, 40}, bag, nullptr, hr);
    }
    static probe::ProbeControl* Control(Site* s) {
        // Our own class behind its dispatch interface.
        return static_cast<probe::ProbeControl*>(static_cast<IDispatch*>(s->Object().get()));
    }
    std::vector<std::wstring> LogFrom(size_t start) {
        auto& l = probe::Log();
        return {l.begin() + std::min(start, l.size()), l.end()};
    }
};

TEST_F(RuntimeTest, NewControlLifeCycleInOrder) {
    Form& f = NewForm(true);
    probe::Log().clear();
    Site* s = AddProbe(f);
    ASSERT_NE(s, nullptr);
    HWND h = s->ControlWindow();
    EXPECT_EQ(GetParent(h), f.hWnd());
    EXPECT_TRUE(IsWindowVisible(h));
    RECT rc;
    GetClientRect(h, &rc);
    EXPECT_EQ(rc.right, 100);
    EXPECT_EQ(rc.bottom, 30);
    std::vector<std::wstring> want{L"Initialize+window", L"InitProperties+window", L"UserModeSetup",
                                   L"Resize 100x30", L"Show"};
    EXPECT_EQ(probe::Log(), want);
    f.Remove(s);
    EXPECT_EQ(probe::Log().back(), L"Terminate");
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(RuntimeTest, DesignModeReadsWithoutRunTimeSetup) {
    Form& f = NewForm(false);
    auto bag = MemoryPropertyBag::Create();
    probe::Log().clear();
    ASSERT_NE(AddProbe(f, L"P", bag.get()), nullptr);
    ASSERT_GE(probe::Log().size(), 2u);
    EXPECT_EQ(probe::Log()[1], L"ReadProperties+window");
    EXPECT_EQ(std::count(probe::Log().begin(), probe::Log().end(), L"UserModeSetup"), 0);
}

TEST_F(RuntimeTest, SaveLeavesOutDefaultsComparedAsVariants) {
    Form& f = NewForm();
    Site* s = AddProbe(f);
    ComPtr<MemoryPropertyBag> bag = f.Save(s);
    ASSERT_TRUE(bag);
    EXPECT_TRUE(bag->Keys().empty());

    auto obj = s->Object();
    ASSERT_EQ(Put(obj.get(), probe::kRatio, Variant::Double(1.0)), S_OK);  // equals the integer default 1
    ASSERT_EQ(Put(obj.get(), probe::kNumber, Variant::Long(9)), S_OK);
    ASSERT_EQ(Put(obj.get(), probe::kFlag, Variant::Bool(true)), S_OK);
    bag = f.Save(s);
    EXPECT_EQ(bag->Keys(), std::vector<std::wstring>{L"Number"});
}

TEST_F(RuntimeTest, FontIsLeftOutOnlyWhenEveryAttributeEqualsTheDefault) {
    Form& f = NewForm();
    Site* s = AddProbe(f);
    ComPtr<IFontDisp> font = Control(s)->FontProp();
    ComPtr<IFont> ifont = font.As<IFont>();
    ifont->put_Italic(TRUE);
    EXPECT_TRUE(f.Save(s)->Has(L"Font"));
    ifont->put_Italic(FALSE);
    EXPECT_FALSE(f.Save(s)->Has(L"Font"));
    ifont->put_Weight(FW_BOLD);
    EXPECT_TRUE(f.Save(s)->Has(L"Font"));
}

TEST_F(RuntimeTest, ReadsBackEveryKindOfValue) {
    Form& f = NewForm();
    Site* s = AddProbe(f);
    auto obj = s->Object();
    Put(obj.get(), probe::kNumber, Variant::Long(-0));
    Put(obj.get(), probe::kText, Variant::String(L"文字 & text"));
    Put(obj.get(), probe::kRatio, Variant::Single(2.5f));
    Put(obj.get(), probe::kFlag, Variant::Bool(false));
    ComPtr<IFontDisp> font = lumio::CreateStdFont(L"Liberation Serif", 14, true);
    Put(obj.get(), DISPID_FONT, Variant::Object(font.get()));
    HBITMAP bmp = CreateBitmap(4, 3, 1, 32, nullptr);
    ComPtr<IPictureDisp> pic = lumio::PictureFromBitmap(bmp);
    Put(obj.get(), probe::kPicture, Variant::Object(pic.get()));

    ComPtr<MemoryPropertyBag> bag = f.Save(s);
    EXPECT_TRUE(bag->IsObject(L"Font"));
    EXPECT_TRUE(bag->IsObject(L"Picture"));
    // Through a stream too, as a host that keeps streams would.
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
    ASSERT_EQ(bag->SaveTo(stream.get()), S_OK);
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    auto copy = MemoryPropertyBag::Create();
    ASSERT_EQ(copy->LoadFrom(stream.get()), S_OK);

    Form& g = NewForm();
    Site* t = AddProbe(g, L"Other", copy.get());
    ASSERT_NE(t, nullptr);
    auto o = t->Object();
    EXPECT_EQ(AsLong(Get(o.get(), probe::kNumber)), 0);
    EXPECT_EQ(AsString(Get(o.get(), probe::kText)), L"文字 & text");
    EXPECT_EQ(Get(o.get(), probe::kRatio)->fltVal, 2.5f);
    EXPECT_EQ(Get(o.get(), probe::kFlag)->boolVal, VARIANT_FALSE);
    Variant rf = Get(o.get(), DISPID_FONT);
    ASSERT_EQ(rf.vt(), VT_DISPATCH);
    EXPECT_FALSE(lumio::SameObject(rf->pdispVal, font.get()));  // a new object, equal in every attribute
    EXPECT_TRUE(lumio::FontsEqual(rf->pdispVal, font.get()));
    Variant rp = Get(o.get(), probe::kPicture);
    ASSERT_EQ(rp.vt(), VT_DISPATCH);
    ComPtr<IPicture> p = ComPtr<IDispatch>(rp->pdispVal).As<IPicture>();
    ASSERT_TRUE(p);
    OLE_XSIZE_HIMETRIC w = 0;
    p->get_Width(&w);
    EXPECT_NEAR(w, 106, 1);  // 4 pixels
}

TEST_F(RuntimeTest, PersistsThroughIPersistStreamInit) {
    Form& f = NewForm();
    Site* s = AddProbe(f);
    Put(s->Object().get(), probe::kNumber, Variant::Long(123));
    auto psi = s->ole().As<IPersistStreamInit>();
    ASSERT_TRUE(psi);
    ComPtr<IStream> stream;
    CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
    ASSERT_EQ(psi->Save(stream.get(), TRUE), S_OK);
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    ComPtr<IUnknown> other;
    ASSERT_EQ(probe::Create(nullptr, IID_IUnknown, other.put_void()), S_OK);
    ASSERT_EQ(other.As<IPersistStreamInit>()->Load(stream.get()), S_OK);
    EXPECT_EQ(AsLong(Get(other.As<IDispatch>().get(), probe::kNumber)), 123);
    // A stream that is not ours is refused, not half read.
    ComPtr<IStream> junk;
    CreateStreamOnHGlobal(nullptr, TRUE, junk.put());
    junk->Write("garbage!", 8, nullptr);
    junk->Seek(zero, STREAM_SEEK_SET, nullptr);
    ComPtr<IUnknown> third;
    probe::Create(nullptr, IID_IUnknown, third.put_void());
    EXPECT_TRUE(FAILED(third.As<IPersistStreamInit>()->Load(junk.get())));
}

TEST_F(RuntimeTest, MissingOrUnreadableKeysReadTheirDefaults) {
    Form& f = NewForm();
    auto bag = MemoryPropertyBag::Create();
    Variant text = Variant::String(L"not a number");
    bag->Write(L"Number", text.get());
    Variant flag = Variant::String(L"False");  // converts
    bag->Write(L"Flag", flag.get());
    Site* s = AddProbe(f, L"Probe9", bag.get());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(AsLong(Get(s->Object().get(), probe::kNumber)), 7);
    EXPECT_EQ(Get(s->Object().get(), probe::kFlag)->boolVal, VARIANT_FALSE);
    EXPECT_EQ(AsString(Get(s->Object().get(), probe::kText)), L"Probe9");  // ambient DisplayName
}

TEST_F(RuntimeTest, PropertyChangedNotifiesMemberIdOrUnknownAndSetsDirty) {
    Form& f = NewForm();
    Site* s = AddProbe(f);
    auto ps = s->ole().As<IPersistStreamInit>();
    EXPECT_EQ(ps->IsDirty(), S_FALSE);
    f.log().clear();
    Put(s->Object().get(), probe::kNumber, Variant::Long(1));
    Put(s->Object().get(), probe::kText, Variant::String(L"x"));
    ASSERT_EQ(f.log().size(), 2u);
    EXPECT_TRUE(f.log()[0].notice);
    EXPECT_EQ(f.log()[0].id, probe::kNumber);
    EXPECT_EQ(f.log()[1].id, DISPID_UNKNOWN);  // "TextKey" names no member
    EXPECT_EQ(ps->IsDirty(), S_OK);
    f.Save(s);
    EXPECT_EQ(ps->IsDirty(), S_FALSE);
}

TEST_F(RuntimeTest, AmbientsFallBackToDefaultsWhenTheHostLacksThem) {
    Form& f = NewForm(false);
    f.WithholdAmbient(DISPID_AMBIENT_USERMODE);
    f.WithholdAmbient(DISPID_AMBIENT_DISPLAYNAME);
    f.WithholdAmbient(DISPID_AMBIENT_FORECOLOR);
    f.WithholdAmbient(DISPID_AMBIENT_FONT);
    Site* s = AddProbe(f);
    auto amb = Control(s)->Ambient();
    EXPECT_TRUE(amb.UserMode());
    EXPECT_EQ(amb.DisplayName(), L"");
    EXPECT_EQ(amb.ForeColor(), lumio::kAmbientForeColorDefault);
    EXPECT_FALSE(amb.DisplayAsDefault());
    ComPtr<IFont> font = amb.Font().As<IFont>();
    ASSERT_TRUE(font);
    EXPECT_FALSE(lumio::SameObject(font.get(), f.AmbientFont().get()));
}

TEST_F(RuntimeTest, AmbientFontIsAFreshCopyOnEveryRead) {
    Form& f = NewForm();
    Site* s = AddProbe(f);
    auto amb = Control(s)->Ambient();
    ComPtr<IFontDisp> a = amb.Font(), b = amb.Font();
    EXPECT_FALSE(lumio::SameObject(a.get(), b.get()));
    a.As<IFont>()->put_Bold(TRUE);
    BOOL host_bold = TRUE;
    f.AmbientFont().As<IFont>()->get_Bold(&host_bold);
    EXPECT_FALSE(host_bold);
}

TEST_F(RuntimeTest, AmbientChangesArriveByName) {
    Form& f = NewForm(false);
    AddProbe(f);
    probe::Log().clear();
    f.SetUserMode(true);
    Site* s2 = AddProbe(f, L"Second");
    f.SetDefault(s2);
    EXPECT_EQ(probe::Log()[0], L"AmbientChanged UserMode");
    EXPECT_EQ(probe::Log().back(), L"AmbientChanged DisplayAsDefault");
    EXPECT_TRUE(Control(s2)->Ambient().DisplayAsDefault());
}

TEST_F(RuntimeTest, EventByReferenceArgumentIsReadBack) {
    Form& f = NewForm();
    Site* s = AddProbe(f);
    f.OnEvent([](Site&, DISPID id, DISPPARAMS* p) {
        if (id == probe::kPingEvent && p->cArgs == 1 && p->rgvarg[0].vt == (VT_I2 | VT_BYREF)) *p->rgvarg[0].piVal = 42;
    });
    f.log().clear();
    ASSERT_EQ(Call(s->Object().get(), probe::kPing, {}), S_OK);
    EXPECT_EQ(AsLong(Get(s->Object().get(), probe::kLastPing)), 42);
    ASSERT_EQ(f.log().size(), 1u);
    EXPECT_FALSE(f.log()[0].notice);
    EXPECT_EQ(AsLong(f.log()[0].args[0]), 42);
    // Frozen events are not raised.
    auto ctl = s->ole().As<IOleControl>();
    ctl->FreezeEvents(TRUE);
    Call(s->Object().get(), probe::kPing, {});
    ctl->FreezeEvents(FALSE);
    EXPECT_EQ(f.log().size(), 1u);
}

TEST_F(RuntimeTest, RunTimeErrorReachesTheCallerWithTheErrorObject) {
    Form& f = NewForm();
    Site* s = AddProbe(f);
    struct Case {
        long number;
        HRESULT scode;
        const wchar_t* source;
        const wchar_t* description;
    } cases[] = {
        {380, static_cast<HRESULT>(0x800A017C), L"Probe.Fail", L"probe failure 380"},
        {0, static_cast<HRESULT>(0x800A017C), L"Lumiokit", L"Invalid property value"},
        {-1, static_cast<HRESULT>(-1), L"Probe.Fail", L"probe failure -1"},
    };
    for (const Case& c : cases) {
        SetErrorInfo(0, nullptr);
        EXCEPINFO info{};
        EXPECT_EQ(Call(s->Object().get(), probe::kFail, {Variant::Long(c.number)}, &info), DISP_E_EXCEPTION);
        EXPECT_EQ(info.scode, c.scode);
        EXPECT_EQ(lumio::Bstr(info.bstrSource).str(), c.source);
        EXPECT_EQ(lumio::Bstr(info.bstrDescription).str(), c.description);
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        ComPtr<IErrorInfo> err;
        ASSERT_EQ(GetErrorInfo(0, err.put()), S_OK);
        lumio::Bstr src, desc;
        err->GetSource(src.put());
        err->GetDescription(desc.put());
        EXPECT_EQ(src.str(), c.source);
        EXPECT_EQ(desc.str(), c.description);
    }
    EXPECT_EQ(s->ole().As<ISupportErrorInfo>()->InterfaceSupportsErrorInfo(probe::kIid), S_OK);
}

TEST_F(RuntimeTest, ErrorInReadPropertiesIsTheLoadResult) {
    Form& f = NewForm();
    auto bag = MemoryPropertyBag::Create();
    Variant n = Variant::Long(-5);
    bag->Write(L"Number", n.get());
    HRESULT hr = S_OK;
    EXPECT_EQ(AddProbe(f, L"Bad", bag.get(), &hr), nullptr);
    EXPECT_EQ(hr, static_cast<HRESULT>(-5));
    ComPtr<IErrorInfo> err;
    ASSERT_EQ(GetErrorInfo(0, err.put()), S_OK);
    lumio::Bstr src;
    err->GetSource(src.put());
    EXPECT_EQ(src.str(), L"Probe.Read");
}

TEST_F(RuntimeTest, BadArgumentsAreDispatchErrors) {
    Form& f = NewForm();
    Site* s = AddProbe(f);
    auto obj = s->Object();
    EXPECT_EQ(Put(obj.get(), probe::kNumber, Variant::String(L"abc")), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Put(obj.get(), DISPID_HWND, Variant::Long(1)), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Call(obj.get(), probe::kFail, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(obj.get(), 999, {}), DISP_E_MEMBERNOTFOUND);
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"lastping");
    EXPECT_EQ(obj->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    EXPECT_EQ(id, probe::kLastPing);
}

TEST_F(RuntimeTest, ExtenderAndParentFormLateBound) {
    Form& f = NewForm();
    Site* s = AddProbe(f, L"Named");
    auto ext = Control(s)->Extender();
    ASSERT_TRUE(ext);
    Variant v;
    ASSERT_EQ(lumio::GetProperty(ext.get(), L"Name", v), S_OK);
    EXPECT_EQ(AsString(v), L"Named");
    ASSERT_EQ(lumio::GetProperty(ext.get(), L"Left", v), S_OK);
    EXPECT_EQ(AsLong(v), 150);  // twips
    ASSERT_EQ(lumio::PutProperty(ext.get(), L"Width", Variant::Long(3000)), S_OK);
    RECT rc;
    GetClientRect(s->ControlWindow(), &rc);
    EXPECT_EQ(rc.right, 200);
    ASSERT_EQ(lumio::GetProperty(ext.get(), L"Parent", v), S_OK);
    ASSERT_EQ(v.vt(), VT_DISPATCH);
    Variant hwnd;
    ASSERT_EQ(lumio::GetProperty(v->pdispVal, L"hWnd", hwnd), S_OK);
    EXPECT_EQ(AsLong(hwnd), static_cast<long>(reinterpret_cast<LONG_PTR>(f.hWnd())));
    // The control's own members answer through the extender.
    ASSERT_EQ(lumio::GetProperty(ext.get(), L"Number", v), S_OK);
    EXPECT_EQ(AsLong(v), 7);
    ASSERT_EQ(lumio::PutPropertyById(ext.get(), lumio::host::kExtDefault, Variant::Bool(true)), S_OK);
    EXPECT_EQ(f.DefaultSite(), s);
}

TEST_F(RuntimeTest, ControlResizingItselfGoesThroughTheHost) {
    Form& f = NewForm();
    Site* s = AddProbe(f);
    probe::Log().clear();
    ASSERT_EQ(Call(s->Object().get(), probe::kResizeTo, {Variant::Long(40), Variant::Long(20)}), S_OK);
    EXPECT_EQ(s->rect().right - s->rect().left, 40);
    EXPECT_EQ(probe::Log(), std::vector<std::wstring>{L"Resize 40x20"});
}

TEST_F(RuntimeTest, ScaleConversionUsesTheScreen) {
    Form& f = NewForm();
    Site* s = AddProbe(f);
    auto* c = Control(s);
    EXPECT_DOUBLE_EQ(c->ScaleX(10, lumio::ScaleUnit::Pixels, lumio::ScaleUnit::Twips), 150.0);
    EXPECT_NEAR(c->ScaleY(2540, lumio::ScaleUnit::Himetric, lumio::ScaleUnit::Pixels), 96.0, 1e-9);
}

TEST_F(RuntimeTest, ClassInfoNamesTheEventInterface) {
    Form& f = NewForm();
    Site* s = AddProbe(f);
    auto pci = s->ole().As<IProvideClassInfo2>();
    GUID g{};
    ASSERT_EQ(pci->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &g), S_OK);
    EXPECT_EQ(g, probe::kEventsIid);
    DWORD misc = 0;
    s->ole()->GetMiscStatus(DVASPECT_CONTENT, &misc);
    EXPECT_TRUE(misc & OLEMISC_SETCLIENTSITEFIRST);
}

TEST_F(RuntimeTest, ContainedControlsLiveInTheirContainer) {
    Form& f = NewForm();
    Site* frame = AddProbe(f, L"Frame");
    Site* inner = f.Add(probe::Create, L"Inner", RECT{5, 5, 40, 20}, nullptr, frame);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(GetParent(inner->ControlWindow()), frame->ControlWindow());
    auto contained = Control(frame)->ContainedControls();
    ASSERT_TRUE(contained);
    Variant count, item, name, container;
    ASSERT_EQ(lumio::GetProperty(contained.get(), L"Count", count), S_OK);
    EXPECT_EQ(AsLong(count), 1);
    ASSERT_EQ(Call(contained.get(), DISPID_VALUE, {Variant::Long(0)}, nullptr, &item), S_OK);
    ASSERT_EQ(item.vt(), VT_DISPATCH);
    lumio::GetProperty(item->pdispVal, L"Name", name);
    EXPECT_EQ(AsString(name), L"Inner");
    ASSERT_EQ(lumio::GetProperty(Control(inner)->Extender().get(), L"Container", container), S_OK);
    lumio::GetProperty(container->pdispVal, L"Name", name);
    EXPECT_EQ(AsString(name), L"Frame");
}

// Dialogs create controls by class name through the class table.
TEST_F(RuntimeTest, AddByClassNameFindsTheClassInTheTable) {
    static const bool registered = [] {
        lumio::RegisterControlClass({&probe::kClsid, L"ProbeControl", 0, 0, &probe::Create});
        return true;
    }();
    ASSERT_TRUE(registered);
    Form& f = NewForm();
    struct Case {
        const wchar_t* class_name;
        HRESULT want;
    };
    const Case cases[] = {
        {L"ProbeControl", S_OK},
        {L"probecontrol", S_OK},            // names compare as ProgIDs do, case aside
        {L"Lumiokit.ProbeControl", S_OK},   // the ProgID
        {L"Lumiokit.", REGDB_E_CLASSNOTREG},
        {L"ProbeControl2", REGDB_E_CLASSNOTREG},
        {L"Probe", REGDB_E_CLASSNOTREG},
        {L"Other.ProbeControl", REGDB_E_CLASSNOTREG},
        {L"", REGDB_E_CLASSNOTREG},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.class_name);
        HRESULT hr = E_FAIL;
        const std::wstring name = L"ByName" + std::to_wstring(++n);
        Site* s = f.Add(c.class_name, name, RECT{10, 10, 60, 30}, nullptr, nullptr, &hr);
        EXPECT_EQ(hr, c.want);
        if (c.want != S_OK) {
            EXPECT_EQ(s, nullptr);
            continue;
        }
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(f.Find(name), s);
        EXPECT_NE(Control(s), nullptr);
        EXPECT_TRUE(IsWindow(s->ControlWindow()));
    }
}

TEST_F(RuntimeTest, QueryUnloadMayCancelAndModalShowEndsOnHide) {
    auto top = std::make_unique<Form>(nullptr, RECT{100, 100, 300, 200}, L"Dialog");
    Form* dialog = top.get();
    short asked = -1;
    bool cancel = true;
    dialog->OnQueryUnload([&](short& c, short mode) {
        asked = mode;
        c = cancel;
    });
    EXPECT_FALSE(dialog->Unload(1));
    EXPECT_EQ(asked, 1);
    // Hidden from inside its own loop.
    lumio::test::ActWhen([&] { return dialog->Modal(); }, [&] { dialog->Hide(); });
    dialog->ShowModal(TopWindow());
    EXPECT_FALSE(dialog->Modal());
    EXPECT_TRUE(IsWindowEnabled(TopWindow()));
    cancel = false;
    EXPECT_TRUE(dialog->Unload(0));
}

TEST_F(RuntimeTest, PersistentImageSurvivesRepaintingWithoutPaintEvents) {
    Form& f = NewForm();
    Site* s = AddProbe(f);
    HWND h = s->ControlWindow();
    auto pixel = [h] {
        HDC dc = GetDC(h);
        COLORREF c = GetPixel(dc, 5, 5);
        ReleaseDC(h, dc);
        return c;
    };
    EXPECT_TRUE(Settle(&f));
    ASSERT_EQ(Call(s->Object().get(), probe::kDrawMark, {Variant::Bool(true)}), S_OK);
    probe::Log().clear();
    InvalidateRect(h, nullptr, FALSE);
    EXPECT_TRUE(Settle(&f));
    EXPECT_EQ(pixel(), RGB(255, 0, 0));
    EXPECT_EQ(std::count(probe::Log().begin(), probe::Log().end(), L"Paint"), 0);
    // Without it the next paint is the control's own (which clears).
    ASSERT_EQ(Call(s->Object().get(), probe::kDrawMark, {Variant::Bool(false)}), S_OK);
    InvalidateRect(h, nullptr, FALSE);
    EXPECT_TRUE(Settle(&f));
    EXPECT_NE(pixel(), RGB(255, 0, 0));
    EXPECT_GE(std::count(probe::Log().begin(), probe::Log().end(), L"Paint"), 1);
}

// An outer object that aggregates a control, as some hosts wrap theirs.
class Outer : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown) {
            *out = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return inner->QueryInterface(iid, out);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    IUnknown* inner = nullptr;
    ULONG refs = 1;
};

TEST_F(RuntimeTest, AggregatedControlAnswersForItsOuterObject) {
    Outer outer;
    ASSERT_EQ(probe::Create(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)), S_OK);
    ComPtr<IDispatch> disp;
    ASSERT_EQ(outer.QueryInterface(IID_IDispatch, disp.put_void()), S_OK);
    EXPECT_EQ(outer.refs, 2u);  // counted on the outer object
    ComPtr<IUnknown> identity;
    disp->QueryInterface(IID_IUnknown, identity.put_void());
    EXPECT_EQ(identity.get(), static_cast<IUnknown*>(&outer));
    EXPECT_EQ(AsLong(Get(disp.get(), probe::kNumber)), 0);
    identity.reset();
    disp.reset();
    EXPECT_EQ(outer.refs, 1u);
    // Only the inner unknown may be asked for when aggregating.
    void* p = nullptr;
    EXPECT_EQ(probe::Create(&outer, IID_IDispatch, &p), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(outer.inner->Release(), 0u);
}

TEST_F(RuntimeTest, TextIsMeasuredInTheControlsFont) {
    Form& f = NewForm();
    Site* s = AddProbe(f);
    auto* c = Control(s);
    int one = c->TextWidth(L"WWW");
    EXPECT_GT(one, 0);
    EXPECT_EQ(c->TextWidth(L"W\r\nWWW\nWW"), one);
    int h = c->TextHeight(L"x");
    EXPECT_EQ(c->TextHeight(L"a\r\nb\nc"), 3 * h);
    // A larger font measures larger.
    Put(s->Object().get(), DISPID_FONT, Variant::Object(lumio::CreateStdFont(L"Liberation Sans", 24).get()));
    EXPECT_GT(c->TextWidth(L"WWW"), one);
}

TEST_F(RuntimeTest, DamagedBagStreamsAreRefusedWhole) {
    auto bag = MemoryPropertyBag::Create();
    Variant text = Variant::String(L"hello"), number = Variant::Long(42);
    Variant font = Variant::Object(lumio::CreateStdFont().get());
    bag->Write(L"Text", text.get());
    bag->Write(L"Number", number.get());
    bag->Write(L"Font", font.get());
    ComPtr<IStream> whole;
    CreateStreamOnHGlobal(nullptr, TRUE, whole.put());
    ASSERT_EQ(bag->SaveTo(whole.get()), S_OK);
    STATSTG st{};
    whole->Stat(&st, STATFLAG_NONAME);
    std::vector<BYTE> bytes(static_cast<size_t>(st.cbSize.QuadPart));
    LARGE_INTEGER zero{};
    whole->Seek(zero, STREAM_SEEK_SET, nullptr);
    whole->Read(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);

    auto load = [](const std::vector<BYTE>& data, ComPtr<MemoryPropertyBag>& into) {
        ComPtr<IStream> s;
        CreateStreamOnHGlobal(nullptr, TRUE, s.put());
        if (!data.empty()) s->Write(data.data(), static_cast<ULONG>(data.size()), nullptr);
        LARGE_INTEGER z{};
        s->Seek(z, STREAM_SEEK_SET, nullptr);
        return into->LoadFrom(s.get());
    };
    // Every cut short of the end fails and leaves the bag as it was.
    for (size_t n = 0; n < bytes.size(); ++n) {
        auto target = MemoryPropertyBag::Create();
        Variant keep = Variant::Long(1);
        target->Write(L"Kept", keep.get());
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + n);
        EXPECT_TRUE(FAILED(load(cut, target))) << n;
        EXPECT_EQ(target->Keys(), std::vector<std::wstring>{L"Kept"}) << n;
    }
    // Lengths far beyond the stream are refused without being trusted.
    std::vector<BYTE> huge = bytes;
    huge[8] = huge[9] = huge[10] = 0xFF;  // the first name's length
    auto target = MemoryPropertyBag::Create();
    EXPECT_TRUE(FAILED(load(huge, target)));
    auto good = MemoryPropertyBag::Create();
    ASSERT_EQ(load(bytes, good), S_OK);
    EXPECT_EQ(good->Keys().size(), 3u);
}

TEST_F(RuntimeTest, FormControlsCollectionAnswersLateBound) {
    Form& f = NewForm();
    Site* a = AddProbe(f, L"A");
    Site* b = f.Add(probe::Create, L"B", RECT{5, 5, 40, 20}, nullptr, a);
    ASSERT_NE(b, nullptr);
    Variant controls, count, item, name, hwnd, container, parent;
    ASSERT_EQ(lumio::GetProperty(f.Dispatch().get(), L"Controls", controls), S_OK);
    ASSERT_EQ(lumio::GetProperty(controls->pdispVal, L"Count", count), S_OK);
    EXPECT_EQ(AsLong(count), 2);
    ASSERT_EQ(Call(controls->pdispVal, DISPID_VALUE, {Variant::Long(1)}, nullptr, &item), S_OK);
    lumio::GetProperty(item->pdispVal, L"Name", name);
    EXPECT_EQ(AsString(name), L"B");
    // hWnd is the control's own member, reached through its extender.
    ASSERT_EQ(lumio::GetProperty(item->pdispVal, L"hWnd", hwnd), S_OK);
    EXPECT_EQ(AsLong(hwnd), static_cast<long>(reinterpret_cast<LONG_PTR>(b->ControlWindow())));
    // Containers compare by identity: the same object on every read.
    lumio::GetProperty(item->pdispVal, L"Container", container);
    EXPECT_TRUE(lumio::SameObject(container->pdispVal, a->ExtenderObject().get()));
    ASSERT_EQ(Call(controls->pdispVal, DISPID_VALUE, {Variant::Long(0)}, nullptr, &item), S_OK);
    lumio::GetProperty(item->pdispVal, L"Container", container);
    lumio::GetProperty(item->pdispVal, L"Parent", parent);
    EXPECT_TRUE(lumio::SameObject(container->pdispVal, f.Dispatch().get()));
    EXPECT_TRUE(lumio::SameObject(parent->pdispVal, f.Dispatch().get()));
    EXPECT_EQ(Call(controls->pdispVal, DISPID_VALUE, {Variant::Long(2)}, nullptr, &item), DISP_E_BADINDEX);
}

}  // namespace
