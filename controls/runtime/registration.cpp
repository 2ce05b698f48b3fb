#include "registration.h"

#include <oleauto.h>

#include <string>

#include "class_table.h"
#include "lumiokit_ids.h"

namespace lumio {
namespace {

class Key {
public:
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() { if (h_) RegCloseKey(h_); }
    HKEY* put() { return &h_; }
    HKEY get() const { return h_; }

private:
    HKEY h_ = nullptr;
};

std::wstring GuidString(REFGUID g) {
    wchar_t buf[40];
    StringFromGUID2(g, buf, 40);
    return buf;
}

// Creates root\path and sets one string value (name null: the default value).
LSTATUS SetString(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    Key key;
    LSTATUS rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                 nullptr, key.put(), nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    return RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LSTATUS CreateKey(const std::wstring& path) {
    Key key;
    return RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                           key.put(), nullptr);
}

bool KeyExists(const std::wstring& path) {
    Key key;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

LSTATUS DeleteTree(const std::wstring& path) {
    LSTATUS rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) {
        rc = RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
        if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
    }
    return rc;
}

std::wstring ProgId(const ControlClass& c) { return std::wstring(L"Lumiokit.") + c.name; }

std::wstring Version() {
    return std::to_wstring(tlb::kLibMajor) + L"." + std::to_wstring(tlb::kLibMinor);
}

LSTATUS RegisterClassKeys(const ControlClass& c, const std::wstring& module) {
    const std::wstring clsid = GuidString(*c.clsid);
    const std::wstring base = L"CLSID\\" + clsid;
    const std::wstring progid = ProgId(c);
    const std::wstring misc = std::to_wstring(c.misc_status);
    LSTATUS rc;
    if ((rc = SetString(base, nullptr, progid))) return rc;
    if ((rc = SetString(base + L"\\InprocServer32", nullptr, module))) return rc;
    if ((rc = SetString(base + L"\\InprocServer32", L"ThreadingModel", L"Apartment"))) return rc;
    if ((rc = SetString(base + L"\\ProgID", nullptr, progid))) return rc;
    if ((rc = CreateKey(base + L"\\Control"))) return rc;
    // The default value serves every aspect; "1" is the content aspect.
    if ((rc = SetString(base + L"\\MiscStatus", nullptr, misc))) return rc;
    if ((rc = SetString(base + L"\\MiscStatus\\1", nullptr, misc))) return rc;
    if ((rc = SetString(base + L"\\ToolboxBitmap32", nullptr,
                        module + L", " + std::to_wstring(c.toolbox_bitmap))))
        return rc;
    if ((rc = SetString(base + L"\\TypeLib", nullptr, GuidString(tlb::LIBID_Lumiokit)))) return rc;
    if ((rc = SetString(base + L"\\Version", nullptr, Version()))) return rc;
    if ((rc = SetString(progid, nullptr, progid))) return rc;
    return SetString(progid + L"\\CLSID", nullptr, clsid);
}

SYSKIND OwnSysKind() { return sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32; }

}  // namespace

HRESULT RegisterServer(const wchar_t* module_path) {
    ITypeLib* lib = LumiokitTypeLib();
    if (!lib) return SELFREG_E_TYPELIB;
    HRESULT hr = RegisterTypeLib(lib, const_cast<LPOLESTR>(module_path), nullptr);
    if (FAILED(hr)) {
        UnregisterServer();
        return SELFREG_E_TYPELIB;
    }
    for (const ControlClass& c : ControlClasses()) {
        if (RegisterClassKeys(c, module_path) != ERROR_SUCCESS) {
            UnregisterServer();
            return SELFREG_E_CLASS;
        }
    }
    return S_OK;
}

HRESULT UnregisterServer() {
    HRESULT result = S_OK;
    for (const ControlClass& c : ControlClasses()) {
        const std::wstring progid = ProgId(c);
        if (DeleteTree(L"CLSID\\" + GuidString(*c.clsid)) != ERROR_SUCCESS) result = SELFREG_E_CLASS;
        if (DeleteTree(progid) != ERROR_SUCCESS) result = SELFREG_E_CLASS;
    }
    const std::wstring lib = L"TypeLib\\" + GuidString(tlb::LIBID_Lumiokit);
    if (KeyExists(lib + L"\\" + Version())) {
        if (FAILED(UnRegisterTypeLib(tlb::LIBID_Lumiokit, tlb::kLibMajor, tlb::kLibMinor,
                                     LOCALE_NEUTRAL, OwnSysKind())))
            result = SELFREG_E_TYPELIB;
    }
    return result;
}

}  // namespace lumio
