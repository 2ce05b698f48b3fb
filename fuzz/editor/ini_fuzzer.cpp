// The INI engine on arbitrary file text: one edit, then every value that the edit did not
// address must read as before, and the edited one must read as written.
#include "ini_document.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

const char *const kSections[] = {"a", "b", "c d"};
const char *const kKeys[] = {"x", "y", "Strength"};

std::string Plain(FuzzedDataProvider &in) {
    std::string s = in.ConsumeRandomLengthString(12);
    for (char &c : s) c = "abcdefghijklmnopqrstuvwxyz0123456789"[static_cast<unsigned char>(c) % 36];
    return s.empty() ? "v" : s;
}

std::vector<std::optional<std::string>> Probe(const IniDocument &doc) {
    std::vector<std::optional<std::string>> values;
    for (const char *s : kSections) {
        for (const char *k : kKeys) {
            auto v = doc.Value(s, k);
            values.push_back(v ? std::optional<std::string>(std::string(*v)) : std::nullopt);
        }
    }
    return values;
}

void Check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider in(data, size);
    int op = in.ConsumeIntegralInRange(0, 2);
    size_t si = in.ConsumeIntegralInRange<size_t>(0, 2);
    size_t ki = in.ConsumeIntegralInRange<size_t>(0, 2);
    std::string value = Plain(in);
    std::vector<std::string> lines;
    for (int n = in.ConsumeIntegralInRange(0, 3); n > 0; --n) lines.push_back(Plain(in) + "=" + Plain(in));
    std::string text = in.ConsumeRemainingBytesAsString();

    IniDocument doc(text);
    auto before = Probe(doc);
    if (auto current = doc.SectionLines(kSections[si])) {
        for (auto l : *current) Check(!l.empty() && l.front() != ' ' && l.back() != ' ');
    }
    switch (op) {
    case 0:
        doc.SetValue(kSections[si], kKeys[ki], value);
        Check(doc.Value(kSections[si], kKeys[ki]) == std::optional<std::string_view>(value));
        break;
    case 1:
        if (doc.DeleteKey(kSections[si], kKeys[ki])) Check(doc.Text().size() < text.size());
        break;
    default: {
        std::vector<std::string_view> views(lines.begin(), lines.end());
        doc.ReplaceSection(kSections[si], views);
        Check(doc.SectionLines(kSections[si]) == std::optional<std::vector<std::string_view>>(views));
        break;
    }
    }
    IniDocument reread(doc.Text());
    auto after = Probe(reread);
    Check(after == Probe(doc));
    for (size_t s = 0; s < 3; ++s) {
        for (size_t k = 0; k < 3; ++k) {
            bool addressed = s == si && (op == 2 || k == ki);
            if (!addressed) Check(after[s * 3 + k] == before[s * 3 + k]);
        }
    }
    return 0;
}
