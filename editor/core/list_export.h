#pragma once
// The unit list written as a tab-aligned text file in the ANSI code page.
#include <array>
#include <string>
#include <string_view>
#include <vector>

// One list item as shown, each text in the ANSI code page.
struct ListExportRow {
    std::string Id;        // the item text
    std::string Name;      // column 1
    std::string Primary;   // column 2
    std::string Secondary; // column 3
};

// Titles of the header line, to be converted to the ANSI code page by the caller.
inline constexpr std::array<std::u16string_view, 4> kListExportTitles = {u"注册名", u"中文名", u"主武器", u"副武器"};

// The file's bytes: the header line, an empty line, then one line per row; every line ends in CR LF.
// titles: kListExportTitles in the ANSI code page.
std::string BuildListExport(const std::vector<ListExportRow> &rows, const std::array<std::string, 4> &titles);
