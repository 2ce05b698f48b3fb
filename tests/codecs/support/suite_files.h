#pragma once
// The PNG conformance images that the tests decode.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace suite {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadFile(const std::filesystem::path &p) {
    std::ifstream f(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

inline std::filesystem::path Dir() { return std::filesystem::path(LUMIO_TESTDATA) / "pngsuite"; }

// One image of the suite, by file name.
inline Bytes File(const char *name) { return ReadFile(Dir() / name); }

// Every image of the suite, sorted by name.
inline std::vector<std::filesystem::path> All() {
    std::vector<std::filesystem::path> files;
    for (const auto &e : std::filesystem::directory_iterator(Dir()))
        if (e.path().extension() == ".png") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace suite
