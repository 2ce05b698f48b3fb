// Registry lines deleted by value from arbitrary file text: the result must be the
// original with exactly the reported number of whole lines taken out, nothing else,
// and no registry line of the section may still hold the value.
#include "ini_document.h"

#include <cstdlib>
#include <string>
#include <string_view>
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

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

void Check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    size_t valueLength = data[0] % 12;
    if (size < 1 + valueLength) return 0;
    std::string value(reinterpret_cast<const char *>(data + 1), valueLength);
    std::string file(reinterpret_cast<const char *>(data + 1 + valueLength), size - 1 - valueLength);

    IniDocument doc(file);
    int removed = doc.DeleteLinesWithValue("WeaponsList", value);
    const std::string &after = doc.Text();
    Check(removed >= 0);
    if (removed == 0) Check(after == file);
    // What is left is the original less `removed` whole lines (line breaks included),
    // every other byte in place. Compared as bytes: taking a line out from between a
    // lone CR and a LF makes the two breaks read as one, which is no change of bytes.
    auto before = Lines(file);
    size_t at = 0, skipped = 0;
    for (const auto &line : before) {
        if (after.compare(at, line.size(), line) == 0) at += line.size();
        else ++skipped;
    }
    Check(at == after.size() && skipped == static_cast<size_t>(removed));

    IniDocument reread(after);
    if (auto lines = reread.SectionLines("WeaponsList")) {
        for (std::string_view l : *lines) {
            size_t eq = l.find('=');
            if (eq == std::string_view::npos || Trim(l.substr(0, eq)).substr(0, 1) == ";") continue;
            Check(RegistryValue(l.substr(eq + 1)) != value);
        }
    }
    Check(reread.DeleteLinesWithValue("WeaponsList", value) == 0);
    return 0;
}
