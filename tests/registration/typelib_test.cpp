// The type library as hosts see it: loaded from Lumiokit.dll's resource.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>
#include <vector>

#include "class_table.h"
#include "lumiokit_dual.h"

namespace {

struct Member {
    std::wstring name;
    DISPID id;
    bool operator==(const Member&) const = default;
};

void PrintTo(const Member& m, std::ostream* os) {
    *os << std::string(m.name.begin(), m.name.end()) << " " << m.id;
}

template <class T> struct Com {
    T* p = nullptr;
    Com() = default;
    Com(const Com&) = delete;
    ~Com() { if (p) p->Release(); }
    T** put() { return &p; }
    T* operator->() const { return p; }
};

class TypeLibTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite() { CoUninitialize(); }

    void SetUp() override {
        ASSERT_EQ(LoadTypeLibEx(L"Lumiokit.dll", REGKIND_NONE, lib_.put()), S_OK);
    }

    // The named type of a library.
    static ITypeInfo* Find(ITypeLib* lib, const wchar_t* name) {
        for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
            BSTR n = nullptr;
            lib->GetDocumentation(i, &n, nullptr, nullptr, nullptr);
            bool same = n && std::wstring(n) == name;
            SysFreeString(n);
            if (same) {
                ITypeInfo* info = nullptr;
                lib->GetTypeInfo(i, &info);
                return info;
            }
        }
        return nullptr;
    }

    ITypeInfo* Type(const wchar_t* name) {
        ITypeInfo* info = Find(lib_.p, name);
        if (info) owned_.push_back(info);
        return info;
    }

    void TearDown() override { for (ITypeInfo* i : owned_) i->Release(); }

    // Members in library order; the accessors of one property count once.
    // Restricted members are those inherited from IUnknown and IDispatch.
    static std::vector<Member> Members(ITypeInfo* info) {
        std::vector<Member> out;
        TYPEATTR* attr = nullptr;
        info->GetTypeAttr(&attr);
        for (UINT i = 0; i < attr->cFuncs; ++i) {
            FUNCDESC* fd = nullptr;
            if (FAILED(info->GetFuncDesc(i, &fd))) {
                out.push_back({L"<unreadable>", 0});
                continue;
            }
            BSTR name = nullptr;
            UINT got = 0;
            info->GetNames(fd->memid, &name, 1, &got);
            Member m{name ? name : L"", fd->memid};
            bool restricted = fd->wFuncFlags & FUNCFLAG_FRESTRICTED;
            SysFreeString(name);
            info->ReleaseFuncDesc(fd);
            if (!restricted && (out.empty() || !(out.back() == m))) out.push_back(m);
        }
        info->ReleaseTypeAttr(attr);
        return out;
    }

    // The FUNCDESC of a member, by name and invocation kind.
    static int FuncIndex(ITypeInfo* info, const wchar_t* name, INVOKEKIND kind) {
        TYPEATTR* attr = nullptr;
        info->GetTypeAttr(&attr);
        int found = -1;
        for (UINT i = 0; i < attr->cFuncs && found < 0; ++i) {
            FUNCDESC* fd = nullptr;
            info->GetFuncDesc(i, &fd);
            BSTR n = nullptr;
            UINT got = 0;
            info->GetNames(fd->memid, &n, 1, &got);
            if (n && std::wstring(n) == name && fd->invkind == kind) found = static_cast<int>(i);
            SysFreeString(n);
            info->ReleaseFuncDesc(fd);
        }
        info->ReleaseTypeAttr(attr);
        return found;
    }

    static std::vector<std::pair<std::wstring, LONG>> EnumMembers(ITypeInfo* info) {
        std::vector<std::pair<std::wstring, LONG>> out;
        TYPEATTR* attr = nullptr;
        info->GetTypeAttr(&attr);
        for (UINT i = 0; i < attr->cVars; ++i) {
            VARDESC* vd = nullptr;
            info->GetVarDesc(i, &vd);
            BSTR n = nullptr;
            UINT got = 0;
            info->GetNames(vd->memid, &n, 1, &got);
            out.emplace_back(n ? n : L"", V_I4(vd->lpvarValue));
            SysFreeString(n);
            info->ReleaseVarDesc(vd);
        }
        info->ReleaseTypeAttr(attr);
        return out;
    }

    static std::wstring Help(ITypeInfo* info, MEMBERID id) {
        BSTR doc = nullptr;
        info->GetDocumentation(id, nullptr, &doc, nullptr, nullptr);
        std::wstring s = doc ? doc : L"";
        SysFreeString(doc);
        return s;
    }

    static GUID Guid(ITypeInfo* info) {
        TYPEATTR* attr = nullptr;
        info->GetTypeAttr(&attr);
        GUID g = attr->guid;
        info->ReleaseTypeAttr(attr);
        return g;
    }

    static GUID ParseGuid(const wchar_t* s) {
        GUID g{};
        CLSIDFromString(s, &g);
        return g;
    }

    Com<ITypeLib> lib_;
    std::vector<ITypeInfo*> owned_;
};

TEST_F(TypeLibTest, LibraryIdentityAndContents) {
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(lib_->GetLibAttr(&attr), S_OK);
    EXPECT_EQ(attr->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    EXPECT_EQ(attr->wMajorVerNum, 1);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    lib_->ReleaseTLibAttr(attr);
    BSTR name = nullptr;
    lib_->GetDocumentation(-1, &name, nullptr, nullptr, nullptr);
    EXPECT_STREQ(name, L"Lumiokit");
    SysFreeString(name);

    // A dual interface shows its dispatch side first.
    int coclasses = 0, enums = 0, duals = 0, dispinterfaces = 0;
    for (UINT i = 0; i < lib_->GetTypeInfoCount(); ++i) {
        Com<ITypeInfo> info;
        lib_->GetTypeInfo(i, info.put());
        TYPEATTR* attr = nullptr;
        info->GetTypeAttr(&attr);
        coclasses += attr->typekind == TKIND_COCLASS;
        enums += attr->typekind == TKIND_ENUM;
        duals += (attr->wTypeFlags & TYPEFLAG_FDUAL) != 0;
        dispinterfaces += attr->typekind == TKIND_DISPATCH && !(attr->wTypeFlags & TYPEFLAG_FDUAL);
        info->ReleaseTypeAttr(attr);
    }
    EXPECT_EQ(coclasses, 12);  // eleven controls and CustomWindowCalls
    EXPECT_EQ(enums, 22);
    EXPECT_EQ(duals, 12);
    EXPECT_EQ(dispinterfaces, 11);
}

TEST_F(TypeLibTest, ClassesCarryTheirIdentities) {
    struct Case { const wchar_t* coclass; const wchar_t* clsid; const wchar_t* dual; const wchar_t* iid;
                  const wchar_t* events; const wchar_t* diid; };
    const Case cases[] = {
        {L"LumioButton", L"{B3BAEA76-FAD4-40F3-89D6-CCC677F333BF}", L"_LumioButton",
         L"{AC1A95DC-EB87-46EE-A339-EF397816099C}", L"__LumioButton", L"{94B3FA95-5C44-4B75-871F-980B837F5EFF}"},
        {L"LumioCheckBox", L"{CBC96144-53D0-4D84-83C5-009A4B4CE4D8}", L"_LumioCheckBox",
         L"{46A1686F-EF5F-43EC-9F3F-F7C5CFA922C3}", L"__LumioCheckBox", L"{283DA79B-F32D-4163-9742-4AE7665C9B92}"},
        {L"LumioOptionButton", L"{8C2402D1-1474-4588-8A89-5BB9DD17D308}", L"_LumioOptionButton",
         L"{C59A3C6E-25B8-4A91-A2AD-46DB725A88A2}", L"__LumioOptionButton", L"{98F837A3-B12C-42E7-924B-D202C15AE78B}"},
        {L"LumioGroupBox", L"{F284B674-0AEC-49A4-8F10-6E625ADFDFE0}", L"_LumioGroupBox",
         L"{510500FD-FDD2-4913-B3DE-26EF07B87E68}", L"__LumioGroupBox", L"{676C955A-8B53-4E52-9C34-10C737DCFDE7}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.coclass, c.coclass + wcslen(c.coclass)));
        ITypeInfo* co = Type(c.coclass);
        ASSERT_NE(co, nullptr);
        EXPECT_TRUE(IsEqualGUID(Guid(co), ParseGuid(c.clsid)));
        TYPEATTR* attr = nullptr;
        co->GetTypeAttr(&attr);
        EXPECT_EQ(attr->wTypeFlags & (TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL),
                  TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL);
        ASSERT_EQ(attr->cImplTypes, 2);
        co->ReleaseTypeAttr(attr);
        for (UINT i = 0; i < 2; ++i) {
            HREFTYPE h;
            co->GetRefTypeOfImplType(i, &h);
            Com<ITypeInfo> impl;
            co->GetRefTypeInfo(h, impl.put());
            INT flags = 0;
            co->GetImplTypeFlags(i, &flags);
            bool source = flags & IMPLTYPEFLAG_FSOURCE;
            EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT);
            EXPECT_TRUE(IsEqualGUID(Guid(impl.p), ParseGuid(source ? c.diid : c.iid)));
        }
        ITypeInfo* dual = Type(c.dual);
        ASSERT_NE(dual, nullptr);
        TYPEATTR* da = nullptr;
        dual->GetTypeAttr(&da);
        EXPECT_TRUE(da->wTypeFlags & TYPEFLAG_FDUAL);
        dual->ReleaseTypeAttr(da);
        HREFTYPE vt;
        ASSERT_EQ(dual->GetRefTypeOfImplType(-1, &vt), S_OK);
        Com<ITypeInfo> vtable;
        ASSERT_EQ(dual->GetRefTypeInfo(vt, vtable.put()), S_OK);
        vtable->GetTypeAttr(&da);
        EXPECT_EQ(da->typekind, TKIND_INTERFACE);
        vtable->ReleaseTypeAttr(da);
        ITypeInfo* ev = Type(c.events);
        ASSERT_NE(ev, nullptr);
        TYPEATTR* ea = nullptr;
        ev->GetTypeAttr(&ea);
        EXPECT_EQ(ea->typekind, TKIND_DISPATCH);
        ev->ReleaseTypeAttr(ea);
    }
}

TEST_F(TypeLibTest, ButtonMembersInOrder) {
    const std::vector<Member> expected = {
        {L"BackColor", -501}, {L"ButtonShape", 0x68030017}, {L"Caption", -518},
        {L"CheckBoxMode", 0x68030016}, {L"Enabled", -514}, {L"Font", -512},
        {L"FontBold", 0x68030015}, {L"FontItalic", 0x68030014}, {L"FontName", 0x68030013},
        {L"FontSize", 0x68030012}, {L"FontStrikethru", 0x68030011}, {L"FontUnderline", 0x68030010},
        {L"ForeColor", -513}, {L"HandPointer", 0x6803000F}, {L"hWnd", -515},
        {L"MaskColor", 0x6803000E}, {L"MouseIcon", 0x6803000D}, {L"MousePointer", 0x6803000C},
        {L"PictureAlignment", 0x6803000B}, {L"PictureDown", 0x6803000A}, {L"PictureHot", 0x68030009},
        {L"PictureNormal", 0x68030008}, {L"PictureOpacity", 0x68030007}, {L"PictureSize", 0x68030006},
        {L"PictureSizeH", 0x68030005}, {L"PictureSizeW", 0x68030004}, {L"UseMaskColor", 0x68030003},
        {L"Value", 0x68030002}, {L"AboutBox", -552}, {L"Refresh", -550},
    };
    ITypeInfo* info = Type(L"_LumioButton");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(Members(info), expected);
    // Objects are written by reference, hWnd is read only.
    EXPECT_GE(FuncIndex(info, L"Font", INVOKE_PROPERTYPUTREF), 0);
    EXPECT_LT(FuncIndex(info, L"Font", INVOKE_PROPERTYPUT), 0);
    EXPECT_GE(FuncIndex(info, L"PictureNormal", INVOKE_PROPERTYPUTREF), 0);
    EXPECT_GE(FuncIndex(info, L"hWnd", INVOKE_PROPERTYGET), 0);
    EXPECT_LT(FuncIndex(info, L"hWnd", INVOKE_PROPERTYPUT), 0);
    EXPECT_EQ(Help(info, 0x68030007),
              L"Returns/sets a value in percent how the pictures will be blended to the button.");
    EXPECT_EQ(Help(info, -552), L"Shows information about the control and its author.");

    // Names resolve to the same identifiers on both sides of the dual interface.
    Com<ITypeInfo> vtable;
    HREFTYPE h;
    ASSERT_EQ(info->GetRefTypeOfImplType(-1, &h), S_OK);
    ASSERT_EQ(info->GetRefTypeInfo(h, vtable.put()), S_OK);
    EXPECT_EQ(Members(vtable.p), expected);
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"Caption")};
    MEMBERID id = 0;
    ASSERT_EQ(info->GetIDsOfNames(names, 1, &id), S_OK);
    EXPECT_EQ(id, -518);
}

TEST_F(TypeLibTest, ButtonEventsInOrderWithByRefArguments) {
    const std::vector<Member> expected = {
        {L"Click", -600}, {L"DblClick", -601}, {L"KeyDown", -602}, {L"KeyPress", -603},
        {L"KeyUp", -604}, {L"MouseDown", -605}, {L"MouseEnter", 1}, {L"MouseLeave", 2},
        {L"MouseMove", -606}, {L"MouseUp", -607},
    };
    ITypeInfo* info = Type(L"__LumioButton");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(Members(info), expected);
    EXPECT_EQ(Help(info, 1), L"Occrus when the cursor moves around the button for the first time.");

    int i = FuncIndex(info, L"MouseDown", INVOKE_FUNC);
    ASSERT_GE(i, 0);
    FUNCDESC* fd = nullptr;
    info->GetFuncDesc(i, &fd);
    ASSERT_EQ(fd->cParams, 4);
    const VARTYPE types[] = {VT_I2, VT_I2, VT_R4, VT_R4};
    for (int p = 0; p < 4; ++p) {
        const ELEMDESC& e = fd->lprgelemdescParam[p];
        ASSERT_EQ(e.tdesc.vt, VT_PTR);
        EXPECT_EQ(e.tdesc.lptdesc->vt, types[p]);
        EXPECT_EQ(e.paramdesc.wParamFlags & (PARAMFLAG_FIN | PARAMFLAG_FOUT), PARAMFLAG_FIN | PARAMFLAG_FOUT);
    }
    info->ReleaseFuncDesc(fd);
    BSTR names[5] = {};
    UINT got = 0;
    info->GetNames(-605, names, 5, &got);
    ASSERT_EQ(got, 5u);
    EXPECT_STREQ(names[1], L"Button");
    EXPECT_STREQ(names[4], L"Y");
    for (BSTR n : names) SysFreeString(n);
}

// zSubclass_Proc is hidden on three controls only.
TEST_F(TypeLibTest, HiddenOnlyWhereDeclaredHidden) {
    std::vector<std::wstring> hidden;
    for (UINT t = 0; t < lib_->GetTypeInfoCount(); ++t) {
        Com<ITypeInfo> info;
        lib_->GetTypeInfo(t, info.put());
        TYPEATTR* attr = nullptr;
        info->GetTypeAttr(&attr);
        for (UINT i = 0; i < attr->cFuncs; ++i) {
            FUNCDESC* fd = nullptr;
            info->GetFuncDesc(i, &fd);
            if (fd->wFuncFlags & FUNCFLAG_FHIDDEN) {
                BSTR tn = nullptr, fn = nullptr;
                UINT got = 0;
                lib_->GetDocumentation(t, &tn, nullptr, nullptr, nullptr);
                info->GetNames(fd->memid, &fn, 1, &got);
                hidden.push_back(std::wstring(tn) + L"." + fn);
                SysFreeString(tn);
                SysFreeString(fn);
            }
            info->ReleaseFuncDesc(fd);
        }
        info->ReleaseTypeAttr(attr);
    }
    const std::vector<std::wstring> expected = {L"_LumioCheckBox.zSubclass_Proc",
                                                L"_LumioOptionButton.zSubclass_Proc",
                                                L"_LumioScrollbar.zSubclass_Proc"};
    EXPECT_EQ(hidden, expected);
}

TEST_F(TypeLibTest, EnumerationNamesKeptExactly) {
    using List = std::vector<std::pair<std::wstring, LONG>>;
    struct Case { const wchar_t* name; List members; };
    const Case cases[] = {
        {L"AlignOption", {{L"Align Left", 0}, {L"Align Right", 1}}},
        {L"BorderStyleCts", {{L"None", 0}, {L"Fixed Single", 1}}},
        {L"AppearanceCts", {{L"Flat", 0}, {L"3D", 1}}},
        {L"ePictureSizes", {{L"elpNormal", 0}, {L"elp16x16", 1}, {L"elp24x24", 2}, {L"elp32x32", 3},
                            {L"elp48x48", 4}, {L"elpCustom", 5}}},
        {L"eMsgBoxResult", {{L"bOK", 0}, {L"bCancel", 1}, {L"bYes", 2}, {L"bNo", 3}, {L"bAbort", 4},
                            {L"bRetry", 5}, {L"bIgnore", 6}}},
    };
    for (const Case& c : cases) {
        ITypeInfo* info = Type(c.name);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(EnumMembers(info), c.members);
    }
    EXPECT_TRUE(IsEqualGUID(Guid(Type(L"AlignOption")), ParseGuid(L"{94A39395-74F4-49D2-B8FF-A26CFD4F402D}")));
}

TEST_F(TypeLibTest, OwnEventNumbersAndSpecialIdentifiers) {
    // The tab numbers its 24 events from 1; the text box its nine.
    for (auto [name, count] : {std::pair{L"__LumioTab", 24}, std::pair{L"__LumioTextBox", 9}}) {
        std::vector<Member> m = Members(Type(name));
        ASSERT_EQ(m.size(), static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) EXPECT_EQ(m[i].id, i + 1);
    }
    std::vector<Member> bar = Members(Type(L"_LumioScrollbar"));
    ASSERT_GE(bar.size(), 6u);
    EXPECT_EQ(bar[5], (Member{L"Value", DISPID_VALUE}));
    EXPECT_EQ(Members(Type(L"__LumioProgressBar")).size(), 0u);
    EXPECT_EQ(Members(Type(L"__LumioBasicForm")).size(), 0u);
    // The tab's own identifiers for stock-named members.
    std::vector<Member> tab = Members(Type(L"_LumioTab"));
    EXPECT_EQ(tab.front(), (Member{L"zSubclass_Proc", 0x60030032}));
    auto id = [&](const wchar_t* n) -> DISPID {
        for (const Member& m : tab) if (m.name == n) return m.id;
        return DISPID_UNKNOWN;
    };
    EXPECT_EQ(id(L"Enabled"), 0x68030022);
    EXPECT_EQ(id(L"Font"), 0x68030020);
    EXPECT_EQ(id(L"ForeColor"), 0x6803001F);
    EXPECT_EQ(id(L"Refresh"), 0x60030069);
}

TEST_F(TypeLibTest, CustomWindowCallsSlotsAndClass) {
    std::vector<Member> m = Members(Type(L"_CustomWindowCalls"));
    const wchar_t* names[] = {L"UserDrawnTitleBar", L"UserDrawnMenuBar", L"UserDrawnButton",
                              L"UserButtonClick", L"UserDrawnBorder", L"BeforeDrawCaption",
                              L"OnCreateRegion", L"EnterExitSizing"};
    ASSERT_EQ(m.size(), 8u);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(m[i], (Member{names[i], 0x60030000 + i}));

    ITypeInfo* co = Type(L"CustomWindowCalls");
    TYPEATTR* attr = nullptr;
    co->GetTypeAttr(&attr);
    EXPECT_FALSE(attr->wTypeFlags & TYPEFLAG_FCANCREATE);
    co->ReleaseTypeAttr(attr);
    EXPECT_TRUE(IsEqualGUID(Guid(co), ParseGuid(L"{5B90BAC6-3744-4C66-8E09-BA94265BDEC8}")));

    // The form control implements the callbacks besides its own interface.
    ITypeInfo* form = Type(L"LumioBasicForm");
    form->GetTypeAttr(&attr);
    EXPECT_EQ(attr->cImplTypes, 3);
    form->ReleaseTypeAttr(attr);
}

TEST_F(TypeLibTest, OptionalArgumentsKeepTheirDefaults) {
    ITypeInfo* info = Type(L"_LumioListBox");
    int i = FuncIndex(info, L"AddItem", INVOKE_FUNC);
    ASSERT_GE(i, 0);
    FUNCDESC* fd = nullptr;
    info->GetFuncDesc(i, &fd);
    ASSERT_EQ(fd->cParams, 3);
    const PARAMDESC& icon = fd->lprgelemdescParam[1].paramdesc;
    EXPECT_TRUE(icon.wParamFlags & PARAMFLAG_FOPT);
    ASSERT_TRUE(icon.wParamFlags & PARAMFLAG_FHASDEFAULT);
    EXPECT_EQ(V_VT(&icon.pparamdescex->varDefaultValue), VT_I2);
    EXPECT_EQ(V_I2(&icon.pparamdescex->varDefaultValue), -1);
    info->ReleaseFuncDesc(fd);
}

// Window handles are pointer-sized.
TEST_F(TypeLibTest, HandlesArePointerSized) {
    Com<ITypeInfo> vtable;
    HREFTYPE h;
    ITypeInfo* dual = Type(L"_LumioButton");
    ASSERT_NE(dual, nullptr);
    ASSERT_EQ(dual->GetRefTypeOfImplType(-1, &h), S_OK);
    ASSERT_EQ(dual->GetRefTypeInfo(h, vtable.put()), S_OK);
    int i = FuncIndex(vtable.p, L"hWnd", INVOKE_PROPERTYGET);
    ASSERT_GE(i, 0);
    FUNCDESC* fd = nullptr;
    ASSERT_EQ(vtable->GetFuncDesc(i, &fd), S_OK);
    ASSERT_EQ(fd->cParams, 1);
    EXPECT_EQ(fd->lprgelemdescParam[0].tdesc.lptdesc->vt, sizeof(void*) == 8 ? VT_I8 : VT_I4);
    vtable->ReleaseFuncDesc(fd);
}

// Clients that bind through the library call the slot at the offset it gives:
// every offset and vtable size must be the one the C++ declaration of the
// interface has in this process, IDispatch's seven slots first.
TEST_F(TypeLibTest, VtableLayoutIsThisProcesssOwn) {
    const SHORT slot = sizeof(void*);
    const SHORT inherited = 7 * slot;
    for (const lumio::tlb::dual::Interface& d : lumio::tlb::dual::kInterfaces) {
        SCOPED_TRACE(testing::Message() << std::string(d.name, d.name + wcslen(d.name)));
        Com<ITypeInfo> side;
        ASSERT_EQ(lib_->GetTypeInfoOfGuid(*d.iid, side.put()), S_OK);
        TYPEATTR* attr = nullptr;
        side->GetTypeAttr(&attr);
        EXPECT_EQ(attr->cbSizeVft, inherited) << "dispatch side";
        side->ReleaseTypeAttr(attr);

        HREFTYPE h;
        ASSERT_EQ(side->GetRefTypeOfImplType(-1, &h), S_OK);
        Com<ITypeInfo> vtable;
        ASSERT_EQ(side->GetRefTypeInfo(h, vtable.put()), S_OK);
        vtable->GetTypeAttr(&attr);
        EXPECT_EQ(attr->cFuncs, d.slot_count);
        EXPECT_EQ(attr->cbSizeVft, inherited + d.slot_count * slot);
        vtable->ReleaseTypeAttr(attr);
        for (int i = 0; i < d.slot_count; ++i) {
            FUNCDESC* fd = nullptr;
            ASSERT_EQ(vtable->GetFuncDesc(i, &fd), S_OK);
            EXPECT_EQ(fd->oVft, inherited + i * slot) << i;
            EXPECT_EQ(fd->memid, d.slots[i].id) << i;
            EXPECT_EQ(fd->invkind, d.slots[i].kind) << i;
            vtable->ReleaseFuncDesc(fd);
        }
    }
    // Event interfaces are IDispatch alone.
    for (UINT t = 0; t < lib_->GetTypeInfoCount(); ++t) {
        Com<ITypeInfo> info;
        lib_->GetTypeInfo(t, info.put());
        TYPEATTR* attr = nullptr;
        info->GetTypeAttr(&attr);
        if (attr->typekind == TKIND_DISPATCH && !(attr->wTypeFlags & TYPEFLAG_FDUAL)) {
            EXPECT_EQ(attr->cbSizeVft, inherited) << t;
        }
        info->ReleaseTypeAttr(attr);
    }
}

// The runtime's accessor finds the library in its own module, once.
TEST_F(TypeLibTest, RuntimeLoadsTheEmbeddedLibrary) {
    ITypeLib* lib = lumio::LumiokitTypeLib();
    ASSERT_NE(lib, nullptr);
    EXPECT_EQ(lib, lumio::LumiokitTypeLib());
    TLIBATTR* a = nullptr;
    TLIBATTR* b = nullptr;
    lib->GetLibAttr(&a);
    lib_->GetLibAttr(&b);
    EXPECT_TRUE(IsEqualGUID(a->guid, b->guid));
    lib->ReleaseTLibAttr(a);
    lib_->ReleaseTLibAttr(b);
}

}  // namespace

namespace {

// Every control's toolbox picture is in the library, at the size designers use.
TEST(ToolboxPictures, EmbeddedAt16By15) {
    HMODULE dll = LoadLibraryExW(L"Lumiokit.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(dll, nullptr);
    for (int id = 30000; id <= 30010; ++id) {
        HBITMAP bmp = static_cast<HBITMAP>(LoadImageW(dll, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
        ASSERT_NE(bmp, nullptr) << id;
        BITMAP info{};
        GetObjectW(bmp, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, 16) << id;
        EXPECT_EQ(info.bmHeight, 15) << id;
        DeleteObject(bmp);
    }
    FreeLibrary(dll);
}

}  // namespace
