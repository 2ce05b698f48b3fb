#include "zlib/win/zlib_probe.h"

#include <algorithm>

#include "win_handles.h"
#include "zlib/win/zlib_candidate.h"

namespace lumio {

namespace {
#if defined(__i386__)
// The process's bytes at an address as far as they are readable, at most the scan limit.
std::span<const std::uint8_t> ReadableCode(std::uint32_t address) {
    const auto *start = reinterpret_cast<const std::uint8_t *>(static_cast<std::uintptr_t>(address));
    MEMORY_BASIC_INFORMATION mbi{};
    if (VirtualQuery(start, &mbi, sizeof mbi) != sizeof mbi || mbi.State != MEM_COMMIT ||
        (mbi.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0)
        return {};
    const auto *end = static_cast<const std::uint8_t *>(mbi.BaseAddress) + mbi.RegionSize;
    return {start, std::min<std::size_t>(static_cast<std::size_t>(end - start), kCallingConventionScanLimit)};
}
#endif

bool GuessCdecl([[maybe_unused]] FARPROC crc32) {
#if defined(__i386__)
    // No "ret" found in reach: take cdecl, the usual zlib1.dll build. Every
    // call restores the stack pointer, so a wrong guess costs nothing.
    const auto entry = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(crc32));
    return GuessCdeclFromCode(entry, ReadableCode).value_or(true);
#else
    return true; // one calling convention on x86-64
#endif
}
} // namespace

bool FindZlibDll(std::string &libraryName, std::int32_t &libraryIndex, bool &isCdecl, bool &hasCompress2,
                 bool testOnly) {
    for (std::int32_t index = kZlib1Dll; index > kZlibNone; --index) {
        const char *name = ZlibLibraryName(index);
        libraryName = name;
        libraryIndex = index;
        LoadedLibrary lib(OpenZlibCandidate(name));
        if (!lib) continue;
        hasCompress2 = lib.proc("compress2") != nullptr;
        FARPROC crc32 = lib.proc("crc32");
        if (crc32 == nullptr) {
            hasCompress2 = false;
            continue;
        }
        if (!testOnly) isCdecl = GuessCdecl(crc32);
        return true;
    }
    libraryName = ZlibLibraryName(kZlibNone);
    libraryIndex = kZlibNone;
    return false;
}

bool ZlibDllPresent() {
    std::string name;
    std::int32_t index = 0;
    bool isCdecl = false, hasCompress2 = false;
    return FindZlibDll(name, index, isCdecl, hasCompress2, true);
}

} // namespace lumio
