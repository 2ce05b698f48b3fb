#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/byte_source.h"
#include "zlib/zlib_library.h"

using namespace lumio;

namespace {
// Just enough of a 32-bit PE file to find an export and read code by address.
class PeFile {
public:
    explicit PeFile(const char *path) {
        std::ifstream f(path, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
        if (bytes_.size() < 0x40) return;
        const std::uint32_t pe = U32(0x3C);
        if (pe + 24 > bytes_.size() || U32(pe) != 0x4550 || U16(pe + 24) != 0x10B) return;
        const std::uint32_t opt = pe + 24;
        base_ = U32(opt + 28);
        const std::uint32_t exportRva = U32(opt + 96);
        std::uint32_t sec = opt + U16(pe + 20);
        for (unsigned i = 0; i < U16(pe + 6); ++i, sec += 40)
            sections_.push_back({U32(sec + 12), U32(sec + 8), U32(sec + 20), U32(sec + 16)});
        const std::uint32_t dir = Offset(exportRva);
        if (dir == 0) return;
        const std::uint32_t names = Offset(U32(dir + 32)), ordinals = Offset(U32(dir + 36));
        const std::uint32_t functions = Offset(U32(dir + 28));
        for (std::uint32_t i = 0; i < U32(dir + 24); ++i) {
            const char *name = reinterpret_cast<const char *>(&bytes_[Offset(U32(names + 4 * i))]);
            if (std::strcmp(name, "crc32") == 0) crc32_ = base_ + U32(functions + 4 * U16(ordinals + 2 * i));
        }
    }
    std::uint32_t crc32() const { return crc32_; }
    std::span<const std::uint8_t> CodeAt(std::uint32_t va) const {
        const std::uint32_t rva = va - base_;
        for (auto &s : sections_)
            if (rva >= s.rva && rva < s.rva + std::min(s.virtualSize, s.rawSize))
                return {bytes_.data() + s.raw + (rva - s.rva), s.rawSize - (rva - s.rva)};
        return {};
    }

private:
    struct Section { std::uint32_t rva, virtualSize, raw, rawSize; };
    std::uint32_t U32(std::uint32_t o) const { return o + 4 <= bytes_.size() ? ReadLittleEndian32(&bytes_[o]) : 0; }
    std::uint32_t U16(std::uint32_t o) const { return o + 2 <= bytes_.size() ? bytes_[o] | bytes_[o + 1] << 8 : 0; }
    std::uint32_t Offset(std::uint32_t rva) const {
        auto code = CodeAt(base_ + rva);
        return code.empty() ? 0 : static_cast<std::uint32_t>(code.data() - bytes_.data());
    }
    std::vector<std::uint8_t> bytes_;
    std::vector<Section> sections_;
    std::uint32_t base_ = 0, crc32_ = 0;
};
} // namespace

TEST(ZlibProbe, Crc32OfReal32BitBuildsIsCdecl) {
    for (const char *path : {LUMIO_ZLIB_I686, LUMIO_ZLIB_WINE_I386}) {
        SCOPED_TRACE(path);
        PeFile pe(path);
        if (pe.crc32() == 0) {
            ADD_FAILURE() << "no 32-bit zlib with crc32 at this path";
            continue;
        }
        auto codeAt = [&](std::uint32_t va) { return pe.CodeAt(va); };
        EXPECT_EQ(GuessCdeclFromCode(pe.crc32(), codeAt), std::optional<bool>(true));
    }
}

TEST(ZlibProbe, GuessFollowsEntryJumps) {
    // 0x1000: jmp rel8 -> 0x1010: jmp rel32 -> 0x1100: jmp [0x1200] -> 0x1300: ret 12.
    std::vector<std::uint8_t> image(0x400, 0x90);
    auto put = [&](std::uint32_t at, std::initializer_list<std::uint8_t> b) {
        std::copy(b.begin(), b.end(), image.begin() + (at - 0x1000));
    };
    put(0x1000, {0xEB, 0x0E, 0xC3});                    // the C3 after the jump is not crc32's
    put(0x1010, {0xE9, 0xEB, 0x00, 0x00, 0x00});         // 0x1015 + 0xEB = 0x1100
    put(0x1100, {0xFF, 0x25, 0x00, 0x12, 0x00, 0x00});
    put(0x1200, {0x00, 0x13, 0x00, 0x00});
    put(0x1300, {0x55, 0xC2, 0x0C, 0x00});
    auto codeAt = [&](std::uint32_t va) -> std::span<const std::uint8_t> {
        if (va < 0x1000 || va >= 0x1400) return {};
        return std::span<const std::uint8_t>(image).subspan(va - 0x1000);
    };
    EXPECT_EQ(GuessCdeclFromCode(0x1000, codeAt), std::optional<bool>(false));
    EXPECT_EQ(GuessCdeclFromCode(0x1300, codeAt), std::optional<bool>(false));
    EXPECT_EQ(GuessCdeclFromCode(0x1002, codeAt), std::optional<bool>(true));
    EXPECT_EQ(GuessCdeclFromCode(0x2000, codeAt), std::nullopt) << "unreadable";
    // A jump loop ends after a few hops and scans where it stands.
    put(0x1380, {0xEB, 0xFE});
    EXPECT_EQ(GuessCdeclFromCode(0x1380, codeAt), std::nullopt);
}
