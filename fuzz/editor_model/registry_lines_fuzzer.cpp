// Registry lines removed by value from arbitrary file bytes: the result must be the
// original with exactly the reported number of whole lines taken out, nothing else.
#include "ini_lines.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string &s) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < s.size()) {
        size_t end = s.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = s.size();
        else end += (s[end] == '\r' && end + 1 < s.size() && s[end + 1] == '\n') ? 2 : 1;
        out.push_back(s.substr(pos, end - pos));
        pos = end;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    size_t valueLength = data[0] % 12;
    if (size < 1 + valueLength) return 0;
    std::string value(reinterpret_cast<const char *>(data + 1), valueLength);
    std::string file(reinterpret_cast<const char *>(data + 1 + valueLength), size - 1 - valueLength);
    static const std::string path = "/tmp/qvn_registry_lines_fuzz_" + std::to_string(getpid()) + ".ini";
    std::ofstream(path, std::ios::binary) << file;
    int removed = RemoveSectionLinesWithValue("WeaponsList", value, path);
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    std::string after = s.str();
    if (removed < 0) std::abort();
    if (removed == 0 && after != file) std::abort();
    // What is left is the original less `removed` whole lines (line breaks included),
    // every other byte in place. Compared as bytes: taking a line out from between a
    // lone CR and a LF makes the two breaks read as one, which is no change of bytes.
    auto before = Lines(file);
    size_t at = 0, skipped = 0;
    for (const auto &line : before) {
        if (after.compare(at, line.size(), line) == 0) at += line.size();
        else ++skipped;
    }
    if (at != after.size() || skipped != static_cast<size_t>(removed)) std::abort();
    return 0;
}
