#include "edited_text.h"

#include "ansi_codepage.h"
#include "line_diff.h"

namespace {

template <typename Char> std::vector<std::basic_string<Char>> SplitLines(std::basic_string_view<Char> text) {
    std::vector<std::basic_string<Char>> lines;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != Char('\r') && text[i] != Char('\n')) continue;
        lines.emplace_back(text.substr(start, i - start));
        if (i + 1 < text.size() && text[i] == Char('\r') && text[i + 1] == Char('\n')) ++i;
        start = i + 1;
    }
    return lines;
}

} // namespace

std::u16string ShownText::Text() const {
    std::u16string text;
    for (size_t i = 0; i < Wide.size(); ++i) {
        if (i > 0) text += u"\r\n";
        text += Wide[i];
    }
    return text;
}

ShownText ShowText(std::string_view bytes) {
    ShownText shown;
    shown.Bytes = SplitLines(bytes);
    shown.Wide.reserve(shown.Bytes.size());
    for (const auto &line : shown.Bytes) shown.Wide.push_back(AnsiToWide(line));
    return shown;
}

EditedBytes EditedTextBytes(const ShownText &shown, std::u16string_view edited) {
    EditedBytes result;
    std::vector<std::u16string> lines = SplitLines(edited);
    auto match = MatchLines(shown.Wide, lines, [](const std::u16string &a, const std::u16string &b) { return a == b; });
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) result.Bytes += "\r\n";
        if (match[i] >= 0) {
            result.Bytes += shown.Bytes[static_cast<size_t>(match[i])];
        } else if (auto bytes = WideToAnsi(lines[i])) {
            result.Bytes += *bytes;
        } else {
            result.Bytes.clear();
            result.BadLine = lines[i];
            return result;
        }
    }
    result.Ok = true;
    return result;
}

std::u16string UnsavableLineMessage(std::u16string_view line) {
    return std::u16string(u"这一行含有当前代码页无法保存的字符，未保存：\r\n") + std::u16string(line);
}
