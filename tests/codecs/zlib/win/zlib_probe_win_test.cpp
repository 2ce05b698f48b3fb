#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "imaging/c32bpp_dib.h"
#include "win_handles.h"
#include "win/library_codecs.h"
#include "zlib/win/zlib_candidate.h"
#include "zlib/win/zlib_probe.h"
#include "zlib/zlib_call.h"

using namespace lumio;

namespace {
// Wine loads its own zlib1.dll into every process that uses user32, so a
// search by name would always find that one. The probe's loader is replaced
// here: it opens candidates only from the folder of the case under test.
std::wstring g_caseFolder;

std::wstring Beside(const wchar_t *leaf) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dir(exe);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1) + leaf;
}

struct Probe {
    bool found;
    std::string name;
    std::int32_t index;
    bool isCdecl, hasCompress2;
};

Probe Find(bool testOnly) {
    Probe p{false, "?", -5, false, false};
    p.found = FindZlibDll(p.name, p.index, p.isCdecl, p.hasCompress2, testOnly);
    return p;
}
} // namespace

HMODULE lumio::OpenZlibCandidate(const char *libraryName) {
    std::wstring path = g_caseFolder + L"\\";
    for (const char *c = libraryName; *c; ++c) path += static_cast<wchar_t>(*c);
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return nullptr;
    return LoadLibraryW(path.c_str());
}

TEST(FindZlibDll, FindsEachNameOrNone) {
    RegisterLibraryCodecs(); // the surface asks the codecs' probe
    struct { const wchar_t *folder; bool found; const char *name; std::int32_t index; } cases[] = {
        {L"zlib_as_zlib1", true, "zlib1.dll", 2},
        {L"zlib_as_zlib", true, "zlib.dll", 1},
        {L"zlib_none", false, "zlib.dll", 0},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        g_caseFolder = Beside(c.folder);
        Probe p = Find(false);
        EXPECT_EQ(p.found, c.found);
        EXPECT_EQ(p.name, c.name);
        EXPECT_EQ(p.index, c.index);
        // Only a loaded library tells the convention (x86-64: always cdecl) and compress2.
        EXPECT_EQ(p.isCdecl, c.found);
        EXPECT_EQ(p.hasCompress2, c.found);
        EXPECT_EQ(GetModuleHandleA("zlib.dll"), nullptr) << "the probe never keeps the library";
        c32bppDIB surface;
        EXPECT_EQ(surface.isZlibEnabled(), c.found);
    }
}

TEST(FindZlibDll, TestOnlyLeavesTheConventionAlone) {
    g_caseFolder = Beside(L"zlib_as_zlib");
    Probe p = Find(true);
    EXPECT_TRUE(p.found);
    EXPECT_FALSE(p.isCdecl);
    EXPECT_TRUE(p.hasCompress2);
}

TEST(ZlibCall, Crc32OfTheFoundLibrary) {
    LoadedLibrary zlib(LoadLibraryW(Beside(L"zlib_as_zlib\\zlib.dll").c_str()));
    ASSERT_TRUE(zlib);
    const char abc[] = "abc";
    const std::uintptr_t args[] = {0, reinterpret_cast<std::uintptr_t>(abc), 3};
    EXPECT_EQ(CallZlibExport(reinterpret_cast<const void *>(zlib.proc("crc32")), args), 0x352441C2u);
}
