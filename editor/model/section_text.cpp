#include "section_text.h"

std::vector<std::string> SectionLinesFromText(std::string_view text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        std::string_view line = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(" \t\r") != std::string_view::npos) lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    return lines;
}
