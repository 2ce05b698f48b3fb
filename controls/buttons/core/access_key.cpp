#include "access_key.h"

#include <cwctype>

namespace lumio::buttons {

namespace {
// 1-based position of the last "&" at or before start (1-based); 0 for none.
size_t LastAmpersand(const std::wstring& s, size_t start) {
    for (size_t i = start; i >= 1; --i)
        if (s[i - 1] == L'&') return i;
    return 0;
}
std::wstring LowerChar(wchar_t c) { return std::wstring(1, static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)))); }
}  // namespace

std::wstring pGetAccessKey(const std::wstring& caption) {
    size_t len = caption.size();
    if (len < 2) return {};
    size_t start = len - 1;  // the last character cannot be an access key's "&"
    for (;;) {
        size_t pos = LastAmpersand(caption, start);
        if (pos == 0) return {};
        if (pos == 1) return LowerChar(caption[1]);
        if (caption[pos - 2] != L'&') return LowerChar(caption[pos]);
        if (pos < 3) return {};
        start = pos - 2;
    }
}

}  // namespace lumio::buttons
