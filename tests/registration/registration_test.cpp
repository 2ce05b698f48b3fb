// Registration through the system's regsvr32, and the class factory and
// unload rules of the exports. Runs in a Wine prefix of its own, since it
// writes and removes registry keys that other tests' hosts may rely on.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "lumiokit_ids.h"
#include "probe_ids.h"

namespace {

std::wstring Beside(const wchar_t* file) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p = path;
    return p.substr(0, p.find_last_of(L'\\') + 1) + file;
}

DWORD Regsvr32(const std::wstring& args) {
    std::wstring cmd = L"regsvr32.exe /s " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return ~0u;
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = ~0u;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

std::wstring Guid(REFGUID g) {
    wchar_t buf[40];
    StringFromGUID2(g, buf, 40);
    return buf;
}

bool Exists(const std::wstring& path) {
    HKEY k;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

// A string value of HKCR\path; "<missing>" when absent.
std::wstring Value(const std::wstring& path, const wchar_t* name = nullptr) {
    wchar_t buf[1024];
    DWORD size = sizeof buf;
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buf, &size) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return buf;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

class Registration : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite() { CoUninitialize(); }
};

// Everything the type library registration writes for the library itself.
void ExpectTypeLibRegistered(const std::wstring& module) {
    const std::wstring lib = L"TypeLib\\" + Guid(lumio::tlb::LIBID_Lumiokit);
    // The key names the library's system kind, which is the build's own.
    const std::wstring path = lib + (sizeof(void*) == 8 ? L"\\1.0\\0\\win64" : L"\\1.0\\0\\win32");
    EXPECT_TRUE(SamePath(Value(path), module)) << Value(path);
    EXPECT_EQ(Value(L"Interface\\" + Guid(lumio::tlb::IID_LumioButton) + L"\\TypeLib"),
              Guid(lumio::tlb::LIBID_Lumiokit));
    EXPECT_TRUE(Exists(L"Interface\\" + Guid(lumio::tlb::DIID_LumioButtonEvents)));
}

void ExpectNothingLeft(const std::wstring& clsid, const std::wstring& progid) {
    EXPECT_FALSE(Exists(L"CLSID\\" + clsid));
    EXPECT_FALSE(Exists(progid));
    EXPECT_FALSE(Exists(L"TypeLib\\" + Guid(lumio::tlb::LIBID_Lumiokit)));
    EXPECT_FALSE(Exists(L"Interface\\" + Guid(lumio::tlb::IID_LumioButton)));
    EXPECT_FALSE(Exists(L"Interface\\" + Guid(lumio::tlb::DIID_LumioButtonEvents)));
}

TEST_F(Registration, Regsvr32RegistersAndRemovesAClass) {
    const std::wstring dll = Beside(L"lumio_probe.dll");
    const std::wstring clsid = Guid(kProbeClsid);
    const std::wstring base = L"CLSID\\" + clsid;
    const std::wstring progid = L"Lumiokit.RegistrationProbe";

    ASSERT_EQ(Regsvr32(L"\"" + dll + L"\""), 0u);
    EXPECT_TRUE(SamePath(Value(base + L"\\InprocServer32"), dll));
    EXPECT_EQ(Value(base + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(Value(base + L"\\ProgID"), progid);
    EXPECT_TRUE(Exists(base + L"\\Control"));
    EXPECT_EQ(Value(base + L"\\TypeLib"), Guid(lumio::tlb::LIBID_Lumiokit));
    EXPECT_EQ(Value(base + L"\\Version"), L"1.0");
    std::wstring bitmap = Value(base + L"\\ToolboxBitmap32");
    EXPECT_TRUE(SamePath(bitmap.substr(0, dll.size()), dll));
    EXPECT_EQ(bitmap.substr(dll.size()), L", 30009");
    DWORD misc = 0;
    EXPECT_EQ(OleRegGetMiscStatus(kProbeClsid, DVASPECT_CONTENT, &misc), S_OK);
    EXPECT_EQ(misc, 0x21191u);
    EXPECT_EQ(Value(progid + L"\\CLSID"), clsid);
    ExpectTypeLibRegistered(dll);

    // The class is creatable by its ProgID through the registry.
    CLSID found{};
    ASSERT_EQ(CLSIDFromProgID(progid.c_str(), &found), S_OK);
    EXPECT_TRUE(IsEqualCLSID(found, kProbeClsid));
    IUnknown* obj = nullptr;
    ASSERT_EQ(CoCreateInstance(found, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&obj)), S_OK);
    obj->Release();
    // Only the classes the server holds are registered.
    EXPECT_FALSE(Exists(L"CLSID\\" + Guid(lumio::tlb::CLSID_LumioCheckBox)));
    CoFreeUnusedLibraries();

    ASSERT_EQ(Regsvr32(L"/u \"" + dll + L"\""), 0u);
    ExpectNothingLeft(clsid, progid);
    // Removing what is not there succeeds.
    EXPECT_EQ(Regsvr32(L"/u \"" + dll + L"\""), 0u);
}

// A server that cannot find its type library says so and writes nothing.
TEST_F(Registration, FailsWithoutItsTypeLibrary) {
    const std::wstring dll = Beside(L"lumio_probe_bare.dll");
    EXPECT_NE(Regsvr32(L"\"" + dll + L"\""), 0u);
    EXPECT_FALSE(Exists(L"CLSID\\" + Guid(kProbeClsid)));
    EXPECT_FALSE(Exists(L"Lumiokit.RegistrationProbe"));
    EXPECT_FALSE(Exists(L"TypeLib\\" + Guid(lumio::tlb::LIBID_Lumiokit)));
}

// The library registers the controls it holds, the button among them.
TEST_F(Registration, Regsvr32RegistersTheLibrary) {
    const std::wstring dll = Beside(L"Lumiokit.dll");
    const std::wstring clsid = Guid(lumio::tlb::CLSID_LumioButton);
    const std::wstring base = L"CLSID\\" + clsid;
    ASSERT_EQ(Regsvr32(L"\"" + dll + L"\""), 0u);
    ExpectTypeLibRegistered(dll);
    EXPECT_EQ(clsid, L"{B3BAEA76-FAD4-40F3-89D6-CCC677F333BF}");
    EXPECT_EQ(Value(L"Lumiokit.LumioButton\\CLSID"), clsid);
    EXPECT_TRUE(SamePath(Value(base + L"\\InprocServer32"), dll));
    EXPECT_EQ(Value(base + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_TRUE(Exists(base + L"\\Control"));
    DWORD misc = 0;
    EXPECT_EQ(OleRegGetMiscStatus(lumio::tlb::CLSID_LumioButton, DVASPECT_CONTENT, &misc), S_OK);
    EXPECT_EQ(misc, 0x21191u);
    EXPECT_EQ(Value(base + L"\\ToolboxBitmap32").substr(dll.size()), L", 30009");

    ASSERT_EQ(Regsvr32(L"/u \"" + dll + L"\""), 0u);
    ExpectNothingLeft(clsid, L"Lumiokit.LumioButton");
}

// The check box, option button and group box: ProgID, flags and toolbox picture.
TEST_F(Registration, Regsvr32RegistersTheGlyphControlsAndTheGroupBox) {
    const std::wstring dll = Beside(L"Lumiokit.dll");
    struct Case {
        const CLSID* clsid;
        const wchar_t* progid;
        DWORD misc;
        const wchar_t* bitmap;
    } cases[] = {{&lumio::tlb::CLSID_LumioCheckBox, L"Lumiokit.LumioCheckBox", 0x20191, L", 30007"},
                 {&lumio::tlb::CLSID_LumioOptionButton, L"Lumiokit.LumioOptionButton", 0x20191, L", 30001"},
                 {&lumio::tlb::CLSID_LumioGroupBox, L"Lumiokit.LumioGroupBox", 0x32191, L", 30004"}};
    ASSERT_EQ(Regsvr32(L"\"" + dll + L"\""), 0u);
    for (const auto& c : cases) {
        const std::wstring clsid = Guid(*c.clsid);
        EXPECT_EQ(Value(std::wstring(c.progid) + L"\\CLSID"), clsid);
        EXPECT_TRUE(Exists(L"CLSID\\" + clsid + L"\\Control"));
        DWORD misc = 0;
        EXPECT_EQ(OleRegGetMiscStatus(*c.clsid, DVASPECT_CONTENT, &misc), S_OK);
        EXPECT_EQ(misc, c.misc) << c.progid;
        EXPECT_EQ(Value(L"CLSID\\" + clsid + L"\\ToolboxBitmap32").substr(dll.size()), c.bitmap);
    }
    ASSERT_EQ(Regsvr32(L"/u \"" + dll + L"\""), 0u);
    for (const auto& c : cases) ExpectNothingLeft(Guid(*c.clsid), c.progid);
}

// The exports called directly, without the registry.
class Exports : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryW(Beside(L"lumio_probe.dll").c_str());
        ASSERT_NE(module_, nullptr);
        get_ = reinterpret_cast<decltype(get_)>(
            reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
        can_unload_ = reinterpret_cast<decltype(can_unload_)>(
            reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
        ASSERT_TRUE(get_ && can_unload_);
    }
    void TearDown() override { FreeLibrary(module_); }

    HMODULE module_ = nullptr;
    HRESULT(STDAPICALLTYPE* get_)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* can_unload_)() = nullptr;
};

TEST_F(Exports, ClassObjectsOnlyForClassesHeld) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(get_(lumio::tlb::CLSID_LumioCheckBox, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(get_(kProbeClsid, IID_IClassFactory, nullptr), E_POINTER);
    EXPECT_EQ(get_(kProbeClsid, IID_IDispatch, &out), E_NOINTERFACE);
    EXPECT_EQ(can_unload_(), S_OK);
}

TEST_F(Exports, UnloadRefusedWhileAnythingLives) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(get_(kProbeClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(can_unload_(), S_FALSE);

    IUnknown* obj = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&obj)), S_OK);
    // An outer object may only ask for the inner IUnknown.
    IUnknown* agg = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(factory->CreateInstance(obj, IID_IDispatch, reinterpret_cast<void**>(&agg)),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(agg, nullptr);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    EXPECT_EQ(can_unload_(), S_FALSE);  // object and lock
    obj->Release();
    EXPECT_EQ(can_unload_(), S_FALSE);  // lock
    IClassFactory* again = nullptr;
    ASSERT_EQ(get_(kProbeClsid, IID_IUnknown, reinterpret_cast<void**>(&again)), S_OK);
    again->LockServer(FALSE);
    again->Release();
    EXPECT_EQ(can_unload_(), S_OK);
}

// A host that loads the library, makes a control, drops it and frees the
// library again, many times over.
struct WindowCount {
    DWORD pid = GetCurrentProcessId();
    int n = 0;
};

BOOL CALLBACK CountOne(HWND w, LPARAM lp) {
    auto& count = *reinterpret_cast<WindowCount*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == count.pid) {
        ++count.n;
        EnumChildWindows(w, CountOne, lp);
    }
    return TRUE;
}

int LiveWindows() {
    WindowCount count;
    EnumWindows(CountOne, reinterpret_cast<LPARAM>(&count));
    for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr))
        CountOne(w, reinterpret_cast<LPARAM>(&count));
    return count.n;
}

size_t CommittedPrivateBytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return total;
}

// Bytes in use in the process's heaps: finer than committed pages, which a
// heap takes 64 KB at a time.
long long HeapBytesInUse() {
    HANDLE heaps[256];
    const DWORD n = GetProcessHeaps(256, heaps);
    long long busy = 0;
    for (DWORD i = 0; i < n && i < 256; ++i) {
        PROCESS_HEAP_ENTRY e{};
        HeapLock(heaps[i]);
        while (HeapWalk(heaps[i], &e))
            if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += e.cbData;
        HeapUnlock(heaps[i]);
    }
    return busy;
}

// A refused write: the library throws and catches inside.
void RefuseAWrite(IUnknown* obj) {
    IDispatch* disp = nullptr;
    ASSERT_EQ(obj->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp)), S_OK);
    VARIANT size;
    VariantInit(&size);
    size.vt = VT_R8;
    size.dblVal = -4;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS put{&size, &named, 1, 1};
    EXCEPINFO error{};
    EXPECT_EQ(disp->Invoke(lumio::tlb::dispid::LumioButton::FontSize, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr,
                           &error, nullptr),
              DISP_E_EXCEPTION);
    SysFreeString(error.bstrSource);
    SysFreeString(error.bstrDescription);
    SysFreeString(error.bstrHelpFile);
    disp->Release();
}

// A thread of the host that runs one job at a time and outlives them all.
class Worker {
public:
    Worker() : thread_([this] { Loop(); }) {}
    ~Worker() {
        Run(nullptr);
        thread_.join();
    }
    // False when the job fails or does not end within 30 s.
    bool Run(std::function<bool()> job) {
        job_ = std::move(job);
        SetEvent(go_.get());
        return WaitForSingleObject(done_.get(), 30000) == WAIT_OBJECT_0 && ok_;
    }

private:
    struct Event {
        HANDLE h = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        ~Event() { CloseHandle(h); }
        HANDLE get() const { return h; }
    };
    void Loop() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        for (;;) {
            WaitForSingleObject(go_.get(), INFINITE);
            if (!job_) break;
            ok_ = job_();
            SetEvent(done_.get());
        }
        CoUninitialize();
        SetEvent(done_.get());
    }
    Event go_, done_;
    std::function<bool()> job_;
    bool ok_ = false;
    std::thread thread_;
};

TEST_F(Registration, LoadMakeDropUnloadLeavesNothingBehind) {
    const std::wstring dll = Beside(L"Lumiokit.dll");
    ASSERT_EQ(Regsvr32(L"\"" + dll + L"\""), 0u);
    HINSTANCE loadedAt = nullptr;
    Worker worker;
    auto cycle = [&] {
        IUnknown* obj = nullptr;
        ASSERT_EQ(CoCreateInstance(lumio::tlb::CLSID_LumioButton, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   reinterpret_cast<void**>(&obj)),
                  S_OK);
        loadedAt = GetModuleHandleW(L"Lumiokit.dll");
        ASSERT_NE(loadedAt, nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        EXPECT_TRUE(GetClassInfoExW(loadedAt, L"LumioControl", &wc));
        RefuseAWrite(obj);
        obj->Release();
        // Another thread of the host, alive across the unloads, does the same.
        auto get = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
            reinterpret_cast<void*>(GetProcAddress(loadedAt, "DllGetClassObject")));
        ASSERT_NE(get, nullptr);
        ASSERT_TRUE(worker.Run([get] {
            IClassFactory* factory = nullptr;
            if (get(lumio::tlb::CLSID_LumioButton, IID_IClassFactory, reinterpret_cast<void**>(&factory)) != S_OK)
                return false;
            IUnknown* other = nullptr;
            factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&other));
            factory->Release();
            if (!other) return false;
            RefuseAWrite(other);
            other->Release();
            return true;
        })) << "the other thread made its control";
        CoFreeUnusedLibrariesEx(0, 0);
        ASSERT_EQ(GetModuleHandleW(L"Lumiokit.dll"), nullptr) << "the library is unloaded";
        for (const wchar_t* name : {L"LumioControl", L"LumioControlDbl", L"LumioParking", L"LumioHostForm"})
            EXPECT_FALSE(GetClassInfoExW(loadedAt, name, &wc)) << "class left registered: " << name;
    };
    for (int i = 0; i < 3; ++i) cycle();  // warm-up: the system's own first-use windows and caches
    if (HasFatalFailure()) return;
    const int windows = LiveWindows();
    const size_t committed = CommittedPrivateBytes();
    auto freeTls = [] { DWORD i = TlsAlloc(); TlsFree(i); return i; };
    const DWORD tls = freeTls();
    const long long heap = HeapBytesInUse();
    for (int i = 0; i < 50 && !HasFatalFailure(); ++i) {
        cycle();
        ASSERT_EQ(LiveWindows(), windows) << "cycle " << i;
    }
    const long long growth = static_cast<long long>(CommittedPrivateBytes()) - static_cast<long long>(committed);
    RecordProperty("committed_growth_bytes", std::to_string(growth));
    const long long heapGrowth = HeapBytesInUse() - heap;
    std::printf("over 50 cycles: committed %+lld bytes, heaps %+lld bytes; first free TLS index %lu -> %lu\n", growth,
                heapGrowth, tls, freeTls());
    // At most one more heap segment. The C++ runtime's exception reserve
    // (73 KB), thread_local data (1.5 KB), its lock for local statics
    // (0.8 KB) and its exception globals (1.5 KB) once stayed behind with
    // every load; a few bytes a cycle would now show.
    EXPECT_LE(growth, 64 * 1024) << "committed memory grew by " << growth << " bytes over 50 cycles";
    EXPECT_LT(heapGrowth, 4 * 1024) << "heap use grew by " << heapGrowth << " bytes over 50 cycles";
    ASSERT_EQ(Regsvr32(L"/u \"" + dll + L"\""), 0u);
}

}  // namespace
