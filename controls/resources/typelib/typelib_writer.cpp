// Writes the Lumiokit type library from the generated tables:
// typelib_writer [--check] OUT.tlb. The library is for the writer's own pointer
// size: oleaut32 lays out the vtable offsets with the pointer size of the
// process it runs in (the inherited IDispatch part above all), so a 32-bit
// library written by a 64-bit process has every offset wrong. With --check it
// loads the library back and confirms its system kind, names and layout.
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <cwchar>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace {

enum TypeCode { T_VOID, T_BOOL, T_SHORT, T_LONG, T_SINGLE, T_STRING, T_VARIANT, T_OBJECT,
                T_COLOR, T_FONT, T_PICTURE, T_LPTR, T_ENUM };
enum DefaultKind { D_NONE, D_OPTIONAL, D_INT, D_STRING };
enum MemberKind { K_PROP, K_PROPREF, K_GET, K_PUTREF, K_METHOD, K_EVENT };
enum TypeKindCode { Y_DUAL, Y_DISPATCH, Y_COCLASS };
enum Role { R_DEFAULT, R_SOURCE, R_IMPLEMENTS };

struct EnumMember { const wchar_t* name; long value; };
struct EnumDesc { const wchar_t* name; GUID guid; const EnumMember* members; int count; };
struct ParamDesc {
    const wchar_t* name; TypeCode type; const wchar_t* enum_name; bool byref;
    DefaultKind def; long def_int; const wchar_t* def_str;
};
struct MemberDesc {
    MemberKind kind; const wchar_t* name; long dispid;
    TypeCode type; const wchar_t* enum_name; bool byref;  // property value or result
    const ParamDesc* params; int count; bool hidden; const wchar_t* help;
};
struct ImplDesc { const wchar_t* name; Role role; };
struct TypeDesc {
    TypeKindCode kind; const wchar_t* name; GUID guid;
    const MemberDesc* members; int count;
    ImplDesc impl[4]; int impl_count; bool control; bool creatable;
};

#include "typelib_tables.inc"

struct Failure { std::wstring what; HRESULT hr; };

void Check(HRESULT hr, const std::wstring& what) {
    if (FAILED(hr)) throw Failure{what, hr};
}

template <class T> struct Com {
    T* p = nullptr;
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() { if (p) p->Release(); }
    T** put() { return &p; }
    T* operator->() const { return p; }
};

class Writer {
public:
    Writer(const wchar_t* path, SYSKIND kind) : kind_(kind) {
        Check(CreateTypeLib2(kind, path, lib_.put()), L"CreateTypeLib2");
        Check(lib_->SetName(const_cast<LPOLESTR>(kLibName)), L"SetName");
        Check(lib_->SetGuid(kLibGuid), L"library GUID");
        Check(lib_->SetVersion(kLibMajor, kLibMinor), L"library version");
        Check(lib_->SetLcid(LOCALE_NEUTRAL), L"library locale");
        Check(LoadTypeLibEx(L"stdole2.tlb", REGKIND_NONE, stdole_.put()), L"stdole2.tlb");
    }
    ~Writer() { for (auto& e : infos_) e.second->Release(); }

    void Write() {
        for (const EnumDesc& e : kEnums) AddEnum(e);
        for (const TypeDesc& t : kTypes) AddType(t);
        Check(lib_->SaveAllChanges(), L"SaveAllChanges");
    }

private:
    ITypeInfo* StdOle(const wchar_t* name) {
        ITypeInfo* info = nullptr;
        MEMBERID id = 0;
        USHORT found = 1;
        std::wstring n = name;
        Check(stdole_->FindName(n.data(), 0, &info, &id, &found), std::wstring(L"stdole ") + name);
        if (found == 0 || !info) throw Failure{std::wstring(L"stdole lacks ") + name, E_FAIL};
        owned_.push_back(info);
        return info;
    }

    ITypeInfo* Info(const wchar_t* name) {
        auto it = infos_.find(name);
        if (it == infos_.end()) throw Failure{std::wstring(L"unknown type ") + name, E_FAIL};
        return it->second;
    }

    HREFTYPE Ref(ICreateTypeInfo* ct, ITypeInfo* target) {
        HREFTYPE h = 0;
        Check(ct->AddRefTypeInfo(target, &h), L"AddRefTypeInfo");
        return h;
    }

    // A TYPEDESC for one of our type codes; nested descriptions live in pool_.
    TYPEDESC Describe(ICreateTypeInfo* ct, TypeCode code, const wchar_t* enum_name) {
        TYPEDESC d{};
        auto user = [&](ITypeInfo* target) {
            TYPEDESC u{};
            u.vt = VT_USERDEFINED;
            u.hreftype = Ref(ct, target);
            return u;
        };
        auto pointer = [&](TYPEDESC inner) {
            pool_.push_back(inner);
            TYPEDESC p{};
            p.vt = VT_PTR;
            p.lptdesc = &pool_.back();
            return p;
        };
        switch (code) {
        case T_BOOL: d.vt = VT_BOOL; break;
        case T_SHORT: d.vt = VT_I2; break;
        case T_LONG: d.vt = VT_I4; break;
        case T_SINGLE: d.vt = VT_R4; break;
        case T_STRING: d.vt = VT_BSTR; break;
        case T_VARIANT: d.vt = VT_VARIANT; break;
        case T_OBJECT: d.vt = VT_DISPATCH; break;
        case T_LPTR: d.vt = kind_ == SYS_WIN64 ? VT_I8 : VT_I4; break;
        case T_COLOR: d = user(StdOle(L"OLE_COLOR")); break;
        case T_FONT: d = pointer(user(StdOle(L"Font"))); break;
        case T_PICTURE: d = pointer(user(StdOle(L"Picture"))); break;
        case T_ENUM: d = user(Info(enum_name)); break;
        case T_VOID: d.vt = VT_VOID; break;
        }
        return d;
    }

    TYPEDESC ByRef(TYPEDESC inner) {
        pool_.push_back(inner);
        TYPEDESC p{};
        p.vt = VT_PTR;
        p.lptdesc = &pool_.back();
        return p;
    }

    void AddEnum(const EnumDesc& e) {
        Com<ICreateTypeInfo> ct;
        Check(lib_->CreateTypeInfo(const_cast<LPOLESTR>(e.name), TKIND_ENUM, ct.put()), e.name);
        Check(ct->SetGuid(e.guid), e.name);
        for (int i = 0; i < e.count; ++i) {
            VARIANT v;
            VariantInit(&v);
            V_VT(&v) = VT_I4;
            V_I4(&v) = e.members[i].value;
            VARDESC vd{};
            vd.memid = 0x40000000 + i;
            vd.varkind = VAR_CONST;
            vd.lpvarValue = &v;
            vd.elemdescVar.tdesc.vt = VT_I4;
            Check(ct->AddVarDesc(i, &vd), e.members[i].name);
            Check(ct->SetVarName(i, const_cast<LPOLESTR>(e.members[i].name)), e.members[i].name);
        }
        Check(ct->LayOut(), e.name);
        Keep(e.name, ct.p);
    }

    void Keep(const wchar_t* name, ICreateTypeInfo* ct) {
        ITypeInfo* info = nullptr;
        Check(ct->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&info)), name);
        infos_[name] = info;
    }

    // One FUNCDESC per accessor or method, in description order.
    struct Func {
        INVOKEKIND invoke;
        std::vector<ELEMDESC> params;
        std::vector<std::wstring> names;
        TYPEDESC result;
    };

    ELEMDESC Param(ICreateTypeInfo* ct, const ParamDesc& p) {
        ELEMDESC el{};
        TYPEDESC t = Describe(ct, p.type, p.enum_name);
        el.tdesc = p.byref ? ByRef(t) : t;
        el.paramdesc.wParamFlags = p.byref ? (PARAMFLAG_FIN | PARAMFLAG_FOUT) : PARAMFLAG_FIN;
        if (p.def != D_NONE) el.paramdesc.wParamFlags |= PARAMFLAG_FOPT;
        if (p.def == D_INT || p.def == D_STRING) {
            defaults_.emplace_back();
            PARAMDESCEX& ex = defaults_.back();
            ex.cBytes = sizeof(PARAMDESCEX);
            VariantInit(&ex.varDefaultValue);
            VARTYPE vt = p.type == T_BOOL ? VT_BOOL : p.type == T_SHORT ? VT_I2 : VT_I4;
            if (p.def == D_STRING) {
                V_VT(&ex.varDefaultValue) = VT_BSTR;
                V_BSTR(&ex.varDefaultValue) = SysAllocString(p.def_str);
            } else if (vt == VT_BOOL) {
                V_VT(&ex.varDefaultValue) = VT_BOOL;
                V_BOOL(&ex.varDefaultValue) = p.def_int ? VARIANT_TRUE : VARIANT_FALSE;
            } else if (vt == VT_I2) {
                V_VT(&ex.varDefaultValue) = VT_I2;
                V_I2(&ex.varDefaultValue) = static_cast<SHORT>(p.def_int);
            } else {
                V_VT(&ex.varDefaultValue) = VT_I4;
                V_I4(&ex.varDefaultValue) = p.def_int;
            }
            el.paramdesc.wParamFlags |= PARAMFLAG_FHASDEFAULT;
            el.paramdesc.pparamdescex = &ex;
        }
        return el;
    }

    std::vector<Func> Expand(ICreateTypeInfo* ct, const MemberDesc& m) {
        std::vector<Func> out;
        auto base = [&](INVOKEKIND kind) {
            Func f{kind, {}, {m.name}, {}};
            for (int i = 0; i < m.count; ++i) {
                f.params.push_back(Param(ct, m.params[i]));
                f.names.push_back(m.params[i].name);
            }
            return f;
        };
        auto getter = [&] {
            Func f = base(INVOKE_PROPERTYGET);
            ELEMDESC r{};
            r.tdesc = ByRef(Describe(ct, m.type, m.enum_name));
            r.paramdesc.wParamFlags = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
            f.params.push_back(r);
            return f;
        };
        auto setter = [&](INVOKEKIND kind) {
            Func f = base(kind);
            ELEMDESC v{};
            TYPEDESC t = Describe(ct, m.type, m.enum_name);
            v.tdesc = m.byref ? ByRef(t) : t;
            v.paramdesc.wParamFlags = PARAMFLAG_FIN;
            f.params.push_back(v);
            return f;
        };
        switch (m.kind) {
        case K_PROP: out.push_back(getter()); out.push_back(setter(INVOKE_PROPERTYPUT)); break;
        case K_PROPREF: out.push_back(getter()); out.push_back(setter(INVOKE_PROPERTYPUTREF)); break;
        case K_GET: out.push_back(getter()); break;
        case K_PUTREF: out.push_back(setter(INVOKE_PROPERTYPUTREF)); break;
        case K_METHOD: {
            Func f = base(INVOKE_FUNC);
            if (m.type != T_VOID) {
                ELEMDESC r{};
                r.tdesc = ByRef(Describe(ct, m.type, m.enum_name));
                r.paramdesc.wParamFlags = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
                f.params.push_back(r);
            }
            out.push_back(std::move(f));
            break;
        }
        case K_EVENT: out.push_back(base(INVOKE_FUNC)); break;
        }
        return out;
    }

    void AddType(const TypeDesc& t) {
        TYPEKIND tk = t.kind == Y_DUAL ? TKIND_INTERFACE
                    : t.kind == Y_DISPATCH ? TKIND_DISPATCH : TKIND_COCLASS;
        Com<ICreateTypeInfo> ct;
        Check(lib_->CreateTypeInfo(const_cast<LPOLESTR>(t.name), tk, ct.put()), t.name);
        Check(ct->SetGuid(t.guid), t.name);
        if (t.kind == Y_COCLASS) {
            UINT flags = 0;
            if (t.creatable) flags |= TYPEFLAG_FCANCREATE;
            if (t.control) flags |= TYPEFLAG_FCONTROL;
            Check(ct->SetTypeFlags(flags), t.name);
            for (int i = 0; i < t.impl_count; ++i) {
                Check(ct->AddImplType(i, Ref(ct.p, Info(t.impl[i].name))), t.impl[i].name);
                INT f = t.impl[i].role == R_DEFAULT ? IMPLTYPEFLAG_FDEFAULT
                      : t.impl[i].role == R_SOURCE ? (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)
                      : 0;
                Check(ct->SetImplTypeFlags(i, f), t.impl[i].name);
            }
        } else {
            if (t.kind == Y_DUAL)
                Check(ct->SetTypeFlags(TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION |
                                       TYPEFLAG_FNONEXTENSIBLE), t.name);
            Check(ct->AddImplType(0, Ref(ct.p, StdOle(L"IDispatch"))), t.name);
            UINT index = 0;
            for (int i = 0; i < t.count; ++i) {
                const MemberDesc& m = t.members[i];
                for (Func& f : Expand(ct.p, m)) {
                    FUNCDESC fd{};
                    fd.memid = m.dispid;
                    fd.funckind = t.kind == Y_DUAL ? FUNC_PUREVIRTUAL : FUNC_DISPATCH;
                    fd.invkind = f.invoke;
                    fd.callconv = CC_STDCALL;
                    fd.cParams = static_cast<SHORT>(f.params.size());
                    fd.lprgelemdescParam = f.params.empty() ? nullptr : f.params.data();
                    for (const ELEMDESC& p : f.params)
                        if ((p.paramdesc.wParamFlags & PARAMFLAG_FOPT) &&
                            !(p.paramdesc.wParamFlags & PARAMFLAG_FHASDEFAULT))
                            ++fd.cParamsOpt;
                    fd.elemdescFunc.tdesc.vt = t.kind == Y_DUAL ? VT_HRESULT : VT_VOID;
                    fd.wFuncFlags = m.hidden ? FUNCFLAG_FHIDDEN : 0;
                    Check(ct->AddFuncDesc(index, &fd), m.name);
                    // The value of a property write and a result carry no name.
                    std::vector<LPOLESTR> names;
                    for (std::wstring& n : f.names) names.push_back(n.data());
                    Check(ct->SetFuncAndParamNames(index, names.data(), static_cast<UINT>(names.size())),
                          m.name);
                    if (m.help) Check(ct->SetFuncDocString(index, const_cast<LPOLESTR>(m.help)), m.name);
                    ++index;
                }
            }
        }
        Check(ct->LayOut(), t.name);
        Keep(t.name, ct.p);
    }

    SYSKIND kind_;
    Com<ICreateTypeLib2> lib_;
    Com<ITypeLib> stdole_;
    std::map<std::wstring, ITypeInfo*> infos_;
    std::vector<ITypeInfo*> owned_;
    std::deque<TYPEDESC> pool_;
    std::deque<PARAMDESCEX> defaults_;

public:
    void ReleaseStdOle() { for (ITypeInfo* i : owned_) i->Release(); owned_.clear(); }
};

// Every interface derives from IDispatch: its own functions follow the seven
// inherited slots, one pointer each, and a dispatch interface's vtable is
// IDispatch's.
bool CheckLayout(const wchar_t* path, ITypeLib* lib) {
    const SHORT slot = sizeof(void*);
    const SHORT inherited = 7 * slot;
    for (UINT t = 0; t < lib->GetTypeInfoCount(); ++t) {
        Com<ITypeInfo> info;
        if (FAILED(lib->GetTypeInfo(t, info.put()))) return false;
        TYPEATTR* attr = nullptr;
        if (FAILED(info->GetTypeAttr(&attr))) return false;
        TYPEKIND kind = attr->typekind;
        WORD flags = attr->wTypeFlags;
        WORD size = attr->cbSizeVft;
        info->ReleaseTypeAttr(attr);
        Com<ITypeInfo> vtable;
        if (kind == TKIND_DISPATCH && (flags & TYPEFLAG_FDUAL)) {
            HREFTYPE h = 0;
            if (FAILED(info->GetRefTypeOfImplType(-1, &h)) || FAILED(info->GetRefTypeInfo(h, vtable.put())))
                return false;
        } else if (kind == TKIND_INTERFACE) {
            info->AddRef();
            vtable.p = info.p;
        }
        if (kind == TKIND_DISPATCH && !(flags & TYPEFLAG_FDUAL) && size != inherited) {
            std::fwprintf(stderr, L"%ls: type %u: dispatch vtable of %u bytes\n", path, t, size);
            return false;
        }
        if (!vtable.p) continue;
        if (FAILED(vtable->GetTypeAttr(&attr))) return false;
        UINT funcs = attr->cFuncs;
        size = attr->cbSizeVft;
        vtable->ReleaseTypeAttr(attr);
        if (size != inherited + funcs * slot) {
            std::fwprintf(stderr, L"%ls: type %u: vtable of %u bytes for %u functions\n", path, t, size, funcs);
            return false;
        }
        for (UINT i = 0; i < funcs; ++i) {
            FUNCDESC* fd = nullptr;
            if (FAILED(vtable->GetFuncDesc(i, &fd))) return false;
            SHORT at = fd->oVft;
            vtable->ReleaseFuncDesc(fd);
            if (at != static_cast<SHORT>(inherited + i * slot)) {
                std::fwprintf(stderr, L"%ls: type %u: function %u at offset %d\n", path, t, i, at);
                return false;
            }
        }
    }
    return true;
}

bool CheckLibrary(const wchar_t* path, SYSKIND want) {
    Com<ITypeLib> lib;
    HRESULT hr = LoadTypeLibEx(path, REGKIND_NONE, lib.put());
    if (FAILED(hr)) {
        std::fwprintf(stderr, L"cannot load %ls: 0x%08lx\n", path, static_cast<unsigned long>(hr));
        return false;
    }
    TLIBATTR* attr = nullptr;
    if (FAILED(lib->GetLibAttr(&attr))) return false;
    bool ok = attr->syskind == want && IsEqualGUID(attr->guid, kLibGuid) &&
              attr->wMajorVerNum == kLibMajor && attr->wMinorVerNum == kLibMinor;
    lib->ReleaseTLibAttr(attr);
    if (!ok) {
        std::fwprintf(stderr, L"%ls: wrong system kind, GUID or version\n", path);
        return false;
    }
    UINT expected = 0;
    for (const TypeDesc& t : kTypes) { (void)t; ++expected; }
    expected += sizeof(kEnums) / sizeof(kEnums[0]);
    if (lib->GetTypeInfoCount() != expected) {
        std::fwprintf(stderr, L"%ls: %u types, expected %u\n", path, lib->GetTypeInfoCount(), expected);
        return false;
    }
    // Every enumeration member name must read back exactly, blanks and all.
    for (const EnumDesc& e : kEnums) {
        Com<ITypeInfo> info;
        if (FAILED(lib->GetTypeInfoOfGuid(e.guid, info.put()))) return false;
        for (int i = 0; i < e.count; ++i) {
            VARDESC* vd = nullptr;
            if (FAILED(info->GetVarDesc(i, &vd))) return false;
            BSTR name = nullptr;
            UINT got = 0;
            info->GetNames(vd->memid, &name, 1, &got);
            bool same = got == 1 && std::wcscmp(name, e.members[i].name) == 0 &&
                        V_I4(vd->lpvarValue) == e.members[i].value;
            SysFreeString(name);
            info->ReleaseVarDesc(vd);
            if (!same) {
                std::fwprintf(stderr, L"%ls: member %d of %ls differs\n", path, i, e.name);
                return false;
            }
        }
    }
    return CheckLayout(path, lib.p);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bool check = argc == 3 && std::wcscmp(argv[1], L"--check") == 0;
    if (!(argc == 2 || check)) {
        std::fwprintf(stderr, L"usage: typelib_writer [--check] OUT.tlb\n");
        return 2;
    }
    const wchar_t* path = argv[argc - 1];
    const SYSKIND kind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
    if (FAILED(CoInitialize(nullptr))) return 1;
    int rc = 0;
    if (check) {
        rc = CheckLibrary(path, kind) ? 0 : 1;
    } else {
        DeleteFileW(path);
        try {
            Writer w(path, kind);
            w.Write();
            w.ReleaseStdOle();
        } catch (const Failure& f) {
            std::fwprintf(stderr, L"typelib_writer: %ls failed: 0x%08lx\n", f.what.c_str(),
                          static_cast<unsigned long>(f.hr));
            DeleteFileW(path);
            rc = 1;
        }
    }
    CoUninitialize();
    return rc;
}
