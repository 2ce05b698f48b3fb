// Search over the list columns, the list export's layout, and the ANSI text helpers under them.
#include "ansi_string_ops.h"
#include "list_export.h"
#include "unit_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// GBK bytes of the Chinese texts used below.
const std::string kRegName = "\xD7\xA2\xB2\xE1\xC3\xFB"; // 注册名
const std::string kCnName = "\xD6\xD0\xCE\xC4\xC3\xFB";  // 中文名
const std::string kPrimary = "\xD6\xF7\xCE\xE4\xC6\xF7"; // 主武器
const std::string kSecond = "\xB8\xB1\xCE\xE4\xC6\xF7";  // 副武器
const std::string kPrism = "\xB9\xE2\xC0\xE2\xCC\xB9\xBF\xCB"; // 光棱坦克 (4 characters)
const std::string kApoc3 = "\xCC\xEC\xC6\xF4\xCC\xB9";         // 天启坦 (3 characters)
const std::string kBracketTrail = "\xB0\x5D";                  // 癩: second byte is "]"

TEST(AnsiStringOpsTest, MatchesOnlyAtCharacterStarts) {
    std::string text = "A" + kBracketTrail + "x]" + kBracketTrail + "P" + "\xB0\x50" + "P";
    EXPECT_EQ(AnsiFind(text, "]"), 4u);
    EXPECT_EQ(AnsiFind(text, "]", 5), std::string::npos);
    EXPECT_EQ(AnsiFind(text, "P"), 7u);
    EXPECT_EQ(AnsiFind(text, "P", 8), 10u);
    EXPECT_EQ(AnsiFind(text, ""), 0u);
    EXPECT_EQ(AnsiReplaceAll(text, "]", "#"), "A" + kBracketTrail + "x#" + kBracketTrail + "P\xB0\x50P");
    EXPECT_EQ(AnsiReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(AnsiReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(AnsiCharCount(kPrism + "ab"), 6u);
    EXPECT_EQ(AnsiCharCount("\xB0"), 1u); // a lone lead byte at the end is one character
}

TEST(UnitSearchTest, FindsTheFirstCellHoldingTheSearchText) {
    const std::vector<std::u16string> cells = {u"", u"光棱坦克", u"Tank-Prism", u"Prism"};
    const struct {
        std::u16string typed;
        int found;
    } cases[] = {
        {u"", 0},               // empty text matches the first cell, even an empty one
        {u"坦克", 1},
        {u"Prism", 2},          // case-sensitive substring, first match wins
        {u"prism", -1},
        {u" Prism", 3},         // a leading space matches a cell that begins with the rest
        {u" Tank", 2},
        {u"Prism Tank", 2},     // cut at its first space: "Prism"
        {u"Tank;x", 2},
        {u"Nothing", -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FindUnitRow(cells, c.typed), c.found) << std::string(c.typed.begin(), c.typed.end());
    EXPECT_EQ(FindUnitRow({}, u""), -1);
    // Names not shown: only the empty text finds something.
    EXPECT_EQ(FindUnitRow({u"", u""}, u"x"), -1);
    EXPECT_EQ(FindUnitRow({u"", u""}, u""), 0);
}

TEST(UnitSearchTest, NotFoundMessageNamesTheTextAsTyped) {
    EXPECT_EQ(SearchNotFoundMessage(u"Prism Tank"),
              u"找不到“Prism Tank”。\r\n请确认您的输入是否正确，然后重试。\r\n或者该CSF文件中没有您所需单位的中文名。");
}

TEST(ListExportTest, HeaderEmptyLineAndTabRules) {
    const std::array<std::string, 4> titles = {kRegName, kCnName, kPrimary, kSecond};
    std::vector<ListExportRow> rows = {
        {"ABCDEFGH", "abc", "1234567", "S1"},                 // 8 -> 1 tab; 3 -> 3 tabs; 7 -> 3 tabs
        {"ABCDEFG", "abcd", "12345678", ""},                  // 7 -> 2; 4 -> 2; 8 -> 2
        {"E1 ;comment", kApoc3, "123456789012345", "S"},      // cut ID; 3 Chinese -> 3 tabs; 15 -> 2
        {"E2", kPrism, "1234567890123456 ;c", "Sec ;c"},      // 4 Chinese -> 2 tabs; 16 -> 1; column 3 as shown
        {"E3\t\t;tab", "", "Gun\t;tab", ""},                   // a tab ends a value as a blank does
    };
    std::string expected = kRegName + "\t\t" + kCnName + "\t\t\t" + kPrimary + "\t\t\t" + kSecond + "\r\n\r\n" +
                           "ABCDEFGH\tabc\t\t\t1234567\t\t\tS1\t\r\n" +
                           "ABCDEFG\t\tabcd\t\t12345678\t\t\t\r\n" +
                           "E1\t\t" + kApoc3 + "\t\t\t123456789012345\t\tS\t\r\n" +
                           "E2\t\t" + kPrism + "\t\t1234567890123456\tSec ;c\t\r\n" +
                           "E3\t\t\t\t\tGun\t\t\t\t\r\n";
    EXPECT_EQ(BuildListExport(rows, titles), expected);
    EXPECT_EQ(BuildListExport({}, titles), kRegName + "\t\t" + kCnName + "\t\t\t" + kPrimary + "\t\t\t" + kSecond +
                                               "\r\n\r\n");
}

} // namespace
