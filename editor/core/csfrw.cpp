#include "csfrw.h"

#include "csf_parser.h"
#include "file_io.h"

#include <stdexcept>

std::vector<CsfEntry> CsfTable;
int32_t CsfLabelCount = 0;

bool LoadCsf(const std::string &path) {
    std::string bytes;
    if (ReadFileBytes(path, bytes) != FileReadStatus::Ok) {
        throw std::runtime_error("cannot read the string table " + path);
    }
    bool whole = false;
    if (!ParseCsf(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(), CsfTable, CsfLabelCount, &whole)) {
        CsfLabelCount = 0; // the earlier table stays, but only its first entry is searched
    }
    return whole;
}

std::u16string CsfUnreadableMessage(std::u16string_view path) {
    return u"无法读取字符串表“" + std::u16string(path) + u"”，单位名称无法显示。";
}

std::u16string LookupCsfLabel(std::u16string_view label) {
    if (CsfTable.empty()) return {};
    size_t last = static_cast<size_t>(CsfLabelCount < 0 ? 0 : CsfLabelCount);
    if (last >= CsfTable.size()) last = CsfTable.size() - 1;
    for (size_t i = 0; i <= last; ++i) {
        if (CsfTable[i].Label == label) return CsfTable[i].Value;
    }
    return {};
}
