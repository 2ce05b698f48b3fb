#include "list_export.h"

#include "ansi_string_ops.h"
#include "rwini.h"

std::string BuildListExport(const std::vector<ListExportRow> &rows, const std::array<std::string, 4> &titles) {
    std::string out = titles[0] + "\t\t" + titles[1] + "\t\t\t" + titles[2] + "\t\t\t" + titles[3] + "\r\n\r\n";
    for (const ListExportRow &row : rows) {
        // Tab counts keep the columns roughly aligned at a tab width of 8.
        std::string id = TrimIniValue(row.Id);
        out += id;
        out += AnsiCharCount(id) > 7 ? "\t" : "\t\t";
        out += row.Name;
        out += AnsiCharCount(row.Name) < 4 ? "\t\t\t" : "\t\t";
        std::string primary = TrimIniValue(row.Primary);
        size_t n = AnsiCharCount(primary);
        out += primary;
        out += n < 8 ? "\t\t\t" : n > 15 ? "\t" : "\t\t";
        out += row.Secondary;
        out += "\t\r\n";
    }
    return out;
}
