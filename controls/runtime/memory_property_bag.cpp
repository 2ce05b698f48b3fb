#include "memory_property_bag.h"

#include <cstring>
#include <new>

#include <olectl.h>

#include "gdi_scope.h"
#include "variant_convert.h"

namespace lumio {

namespace {

constexpr DWORD kMagic = 0x3142504C;  // "LPB1"
constexpr VARTYPE kObjectTag = 0x7FFF;

// A bitmap picture as the standard picture stream holds one: "lt\0\0", the
// size, then a BMP file. Pictures made from device bitmaps do not always
// save themselves in a form they can read back, so bitmaps are written here.
bool SaveBitmapPicture(IUnknown* obj, CLSID& clsid, std::vector<BYTE>& data) {
    ComPtr<IPicture> pic = ComPtr<IUnknown>(obj).As<IPicture>();
    SHORT type = 0;
    OLE_HANDLE handle = 0;
    if (!pic || FAILED(pic->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(pic->get_Handle(&handle)) || !handle)
        return false;
    HBITMAP bmp = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    BITMAP info{};
    if (!GetObjectW(bmp, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
    BITMAPINFOHEADER bi{sizeof bi, info.bmWidth, info.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    size_t pixels = static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight) * 4;
    BITMAPFILEHEADER bf{0x4D42, static_cast<DWORD>(sizeof bf + sizeof bi + pixels), 0, 0,
                        static_cast<DWORD>(sizeof bf + sizeof bi)};
    DWORD header[2] = {0x0000746C, bf.bfSize};  // "lt\0\0", size
    data.resize(sizeof header + bf.bfSize);
    BYTE* p = data.data();
    memcpy(p, header, sizeof header);
    memcpy(p + sizeof header, &bf, sizeof bf);
    memcpy(p + sizeof header + sizeof bf, &bi, sizeof bi);
    ScreenDC screen;
    int rows = GetDIBits(screen.get(), bmp, 0, info.bmHeight, p + sizeof header + sizeof bf + sizeof bi,
                         reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    if (rows != info.bmHeight) return false;
    clsid = CLSID_StdPicture;
    return true;
}

HRESULT SaveObject(IUnknown* obj, CLSID& clsid, std::vector<BYTE>& data) {
    if (SaveBitmapPicture(obj, clsid, data)) return S_OK;
    ComPtr<IStream> stream;
    HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
    if (FAILED(hr)) return hr;
    if (auto ps = ComPtr<IUnknown>(obj).As<IPersistStream>()) {
        if (FAILED(hr = ps->GetClassID(&clsid)) || FAILED(hr = ps->Save(stream.get(), TRUE))) return hr;
    } else if (auto psi = ComPtr<IUnknown>(obj).As<IPersistStreamInit>()) {
        if (FAILED(hr = psi->GetClassID(&clsid)) || FAILED(hr = psi->Save(stream.get(), TRUE))) return hr;
    } else {
        return E_NOINTERFACE;
    }
    STATSTG st{};
    if (FAILED(hr = stream->Stat(&st, STATFLAG_NONAME))) return hr;
    data.resize(static_cast<size_t>(st.cbSize.QuadPart));
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    ULONG got = 0;
    if (!data.empty() && (FAILED(hr = stream->Read(data.data(), static_cast<ULONG>(data.size()), &got)) ||
                          got != data.size()))
        return FAILED(hr) ? hr : E_FAIL;
    return S_OK;
}

HRESULT LoadObject(const CLSID& clsid, const std::vector<BYTE>& data, VARIANT* out) {
    ComPtr<IUnknown> obj;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, obj.put_void());
    if (FAILED(hr)) return hr;
    ComPtr<IStream> stream;
    if (FAILED(hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.put()))) return hr;
    if (!data.empty()) stream->Write(data.data(), static_cast<ULONG>(data.size()), nullptr);
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    if (auto ps = obj.As<IPersistStream>()) hr = ps->Load(stream.get());
    else if (auto psi = obj.As<IPersistStreamInit>()) hr = psi->Load(stream.get());
    else hr = E_NOINTERFACE;
    if (FAILED(hr)) return hr;
    if (auto disp = obj.As<IDispatch>()) {
        out->vt = VT_DISPATCH;
        out->pdispVal = disp.detach();
    } else {
        out->vt = VT_UNKNOWN;
        out->punkVal = obj.detach();
    }
    return S_OK;
}

// Little stream helpers; each returns false on a short read or write.
bool Put(IStream* s, const void* p, ULONG n) {
    ULONG done = 0;
    return SUCCEEDED(s->Write(p, n, &done)) && done == n;
}
bool Get(IStream* s, void* p, ULONG n) {
    ULONG done = 0;
    return SUCCEEDED(s->Read(p, n, &done)) && done == n;
}
template <class T>
bool PutValue(IStream* s, const T& v) { return Put(s, &v, sizeof v); }
template <class T>
bool GetValue(IStream* s, T& v) { return Get(s, &v, sizeof v); }

bool PutString(IStream* s, const std::wstring& str) {
    DWORD n = static_cast<DWORD>(str.size());
    return PutValue(s, n) && (n == 0 || Put(s, str.data(), n * sizeof(wchar_t)));
}

// Strings are bounded by what is left of the stream, so a damaged length
// cannot ask for more memory than the stream holds.
bool GetString(IStream* s, std::wstring& str, ULONGLONG remaining) {
    DWORD n = 0;
    if (!GetValue(s, n) || static_cast<ULONGLONG>(n) * sizeof(wchar_t) > remaining) return false;
    str.resize(n);
    return n == 0 || Get(s, str.data(), n * sizeof(wchar_t));
}

ULONGLONG Remaining(IStream* s) {
    STATSTG st{};
    LARGE_INTEGER zero{};
    ULARGE_INTEGER pos{};
    if (FAILED(s->Stat(&st, STATFLAG_NONAME)) || FAILED(s->Seek(zero, STREAM_SEEK_CUR, &pos))) return 0;
    return st.cbSize.QuadPart > pos.QuadPart ? st.cbSize.QuadPart - pos.QuadPart : 0;
}

bool PlainTypeStored(VARTYPE vt) {
    switch (vt) {
    case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY: case VT_DATE:
    case VT_BOOL: case VT_UI1: case VT_BSTR: case VT_I1: case VT_UI2: case VT_UI4: case VT_I8: case VT_UI8:
    case VT_INT: case VT_UINT: case VT_ERROR:
        return true;
    default:
        return false;
    }
}

}  // namespace

ComPtr<MemoryPropertyBag> MemoryPropertyBag::Create() {
    return ComPtr<MemoryPropertyBag>::Attach(new MemoryPropertyBag());
}

MemoryPropertyBag::Entry* MemoryPropertyBag::Find(const std::wstring& name) {
    for (auto& e : entries_)
        if (CompareStringOrdinal(e.name.c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL) return &e;
    return nullptr;
}

const MemoryPropertyBag::Entry* MemoryPropertyBag::Find(const std::wstring& name) const {
    return const_cast<MemoryPropertyBag*>(this)->Find(name);
}

STDMETHODIMP MemoryPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
    if (!name || !value) return E_POINTER;
    const Entry* e = Find(name);
    if (!e) return E_INVALIDARG;
    VARTYPE wanted = value->vt;
    VariantClear(value);
    if (e->object) {
        if (e->clsid == CLSID_NULL) {
            value->vt = VT_DISPATCH;
            value->pdispVal = nullptr;
            return S_OK;
        }
        return LoadObject(e->clsid, e->data, value);
    }
    if (wanted == VT_EMPTY || wanted == e->value.vt()) return VariantCopy(value, const_cast<VARIANT*>(e->value.get()));
    return VariantChangeType(value, const_cast<VARIANT*>(e->value.get()), 0, wanted);
}

STDMETHODIMP MemoryPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
    if (!name || !value) return E_POINTER;
    try {
        Entry entry;
        entry.name = name;
        const VARIANT& v = Deref(*value);
        if (v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN) {
            entry.object = true;
            IUnknown* obj = v.vt == VT_DISPATCH ? v.pdispVal : v.punkVal;
            if (obj) {
                HRESULT hr = SaveObject(obj, entry.clsid, entry.data);
                if (FAILED(hr)) return hr;
            }
        } else if (PlainTypeStored(v.vt)) {
            entry.value = Variant(v);
        } else {
            return DISP_E_TYPEMISMATCH;
        }
        if (Entry* old = Find(name)) *old = std::move(entry);
        else entries_.push_back(std::move(entry));
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

bool MemoryPropertyBag::Has(const std::wstring& name) const { return Find(name) != nullptr; }

Variant MemoryPropertyBag::Peek(const std::wstring& name) const {
    const Entry* e = Find(name);
    return e && !e->object ? e->value : Variant();
}

bool MemoryPropertyBag::IsObject(const std::wstring& name) const {
    const Entry* e = Find(name);
    return e && e->object;
}

std::vector<std::wstring> MemoryPropertyBag::Keys() const {
    std::vector<std::wstring> keys;
    for (auto& e : entries_) keys.push_back(e.name);
    return keys;
}

HRESULT MemoryPropertyBag::SaveTo(IStream* s) const {
    if (!s) return E_POINTER;
    bool ok = PutValue(s, kMagic) && PutValue(s, static_cast<DWORD>(entries_.size()));
    for (const Entry& e : entries_) {
        if (!ok) break;
        ok = PutString(s, e.name);
        if (e.object) {
            DWORD n = static_cast<DWORD>(e.data.size());
            ok = ok && PutValue(s, kObjectTag) && PutValue(s, e.clsid) && PutValue(s, n) &&
                 (n == 0 || Put(s, e.data.data(), n));
            continue;
        }
        VARTYPE vt = e.value.vt();
        ok = ok && PutValue(s, vt);
        if (vt == VT_BSTR) {
            BSTR b = e.value->bstrVal;
            ok = ok && PutString(s, b ? std::wstring(b, SysStringLen(b)) : std::wstring());
        } else if (vt != VT_EMPTY && vt != VT_NULL) {
            ok = ok && PutValue(s, e.value->llVal);  // the widest plain member
        }
    }
    return ok ? S_OK : STG_E_WRITEFAULT;
}

HRESULT MemoryPropertyBag::LoadFrom(IStream* s) {
    if (!s) return E_POINTER;
    try {
        DWORD magic = 0, count = 0;
        if (!GetValue(s, magic) || magic != kMagic || !GetValue(s, count)) return STG_E_READFAULT;
        std::vector<Entry> loaded;
        for (DWORD i = 0; i < count; ++i) {
            Entry e;
            VARTYPE vt = 0;
            if (!GetString(s, e.name, Remaining(s)) || !GetValue(s, vt)) return STG_E_READFAULT;
            if (vt == kObjectTag) {
                DWORD n = 0;
                e.object = true;
                if (!GetValue(s, e.clsid) || !GetValue(s, n) || n > Remaining(s)) return STG_E_READFAULT;
                e.data.resize(n);
                if (n && !Get(s, e.data.data(), n)) return STG_E_READFAULT;
            } else if (vt == VT_BSTR) {
                std::wstring str;
                if (!GetString(s, str, Remaining(s))) return STG_E_READFAULT;
                e.value = Variant::String(str);
            } else if (!PlainTypeStored(vt)) {
                return STG_E_READFAULT;
            } else if (vt != VT_EMPTY && vt != VT_NULL) {
                LONGLONG raw = 0;
                if (!GetValue(s, raw)) return STG_E_READFAULT;
                e.value->vt = vt;
                e.value->llVal = raw;
            } else {
                e.value->vt = vt;
            }
            loaded.push_back(std::move(e));
        }
        entries_ = std::move(loaded);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace lumio
