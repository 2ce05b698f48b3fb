// Rules on text that need no file: unit IDs, key numbers, armor names, edited
// section text, dialog filters and the simplified-character table.
#include "file_filter.h"
#include "registries.h"
#include "section_text.h"
#include "t2s.h"
#include "unit_list.h"
#include "unit_values.h"

#include <gtest/gtest.h>

namespace {

TEST(UnitId, CutBeforeTheFirstBlankOrSemicolonAmongCharacters2To41) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"E1", "E1"},
        {"E1 ;comment", "E1"},
        {"E1;comment", "E1"},
        {"GAPOWR  ; power", "GAPOWR"},
        {";", ";"},         // the first character is never examined
        {" E1", " E1"},     // nor removed
        {"A ", "A"},
        {"", ""},
        {std::string(50, 'X'), std::string(50, 'X')},
        {std::string(40, 'X') + " y", std::string(40, 'X')},
        {std::string(41, 'X') + " y", std::string(41, 'X') + " y"}, // past character 41
        {std::string(44, 'X') + " y", std::string(44, 'X') + " y"},
        {"\xCC\xB9\xBF\xCB ;x", "\xCC\xB9\xBF\xCB"}, // GBK: two characters, four bytes
    };
    for (const auto &c : cases) EXPECT_EQ(CutUnitId(c.in), c.out) << c.in;

    // Forty two-byte characters then a blank: the blank is character 41, so the cut comes.
    std::string wide;
    for (int i = 0; i < 40; ++i) wide += "\xCC\xB9";
    EXPECT_EQ(CutUnitId(wide + " y"), wide);
}

TEST(UnitId, TwoNamePrefixesNeverGetADisplayName) {
    EXPECT_TRUE(HasNoDisplayName("CANEWY04"));
    EXPECT_TRUE(HasNoDisplayName("CAWASH01"));
    EXPECT_TRUE(HasNoDisplayName("CANEWY"));
    EXPECT_FALSE(HasNoDisplayName("canewy04")); // case counts
    EXPECT_FALSE(HasNoDisplayName("CANEW"));
    EXPECT_FALSE(HasNoDisplayName("XCANEWY"));
}

TEST(RegistryKeys, LeadingNumberOfAKey) {
    struct Case {
        std::string key;
        int64_t n;
    } cases[] = {
        {"211", 211}, {"0", 0}, {"", 0}, {"abc", 0}, {"12abc", 12}, {" 7", 7}, {"-3", -3},
        {"99999999999999999999999", INT64_MAX}, // saturates, never wraps
        {"40000", 40000},                       // no 16-bit limit
    };
    for (const auto &c : cases) EXPECT_EQ(LeadingNumber(c.key), c.n) << c.key;
}

TEST(Armor, OnlyAnExactNameSelectsAnEntry) {
    EXPECT_EQ(ArmorIndexOf("plate"), 0);
    EXPECT_EQ(ArmorIndexOf("none"), 6);
    EXPECT_EQ(ArmorIndexOf("wood"), 5);
    for (const char *other : {"", "Plate", "plate ;c", "plate;c", "steel", " plate"})
        EXPECT_EQ(ArmorIndexOf(other), -1) << other;
}

TEST(SectionText, LinesWithoutBlankOnes) {
    using V = std::vector<std::string>;
    struct Case {
        std::string text;
        V lines;
    } cases[] = {
        {"Damage=10\r\nROF=20\r\n", V{"Damage=10", "ROF=20"}},
        {"Damage=10\r\n\r\nROF=20", V{"Damage=10", "ROF=20"}},
        {"a=1\r\n   \r\n\t\r\n;note\r\n", V{"a=1", ";note"}},
        {"a=1\nb=2\n", V{"a=1", "b=2"}},
        {"\r\n", V{}},
        {"", V{}},
        {"no equals sign", V{"no equals sign"}}, // kept unchanged
    };
    for (const auto &c : cases) EXPECT_EQ(SectionLinesFromText(c.text), c.lines) << c.text;
}

TEST(FileFilter, DescriptionPatternPairs) {
    using P = std::vector<std::pair<std::wstring, std::wstring>>;
    EXPECT_EQ(ParseFileFilter(L"Rules文件(Rules.ini,Rulesmd.ini)|Rules.ini;Rulesmd.ini"),
              (P{{L"Rules文件(Rules.ini,Rulesmd.ini)", L"Rules.ini;Rulesmd.ini"}}));
    EXPECT_EQ(ParseFileFilter(L"文本|*.txt|全部|*.*"), (P{{L"文本", L"*.txt"}, {L"全部", L"*.*"}}));
    EXPECT_EQ(ParseFileFilter(L"全部"), (P{{L"全部", L"*.*"}}));
    EXPECT_EQ(ParseFileFilter(L""), P{});
}

TEST(Simplified, UnambiguousCharactersMap) {
    struct Case {
        std::u16string in, out;
    } cases[] = {
        {u"長", u"长"}, {u"國", u"国"}, {u"們", u"们"}, {u"體", u"体"}, {u"電", u"电"},
        {u"坦克車", u"坦克车"}, {u"飛機", u"飞机"}, {u"盟軍戰車工廠", u"盟军战车工厂"},
        {u"中文", u"中文"}, // already simplified
        {u"Tank 1", u"Tank 1"}, {u"", u""},
    };
    for (const auto &c : cases) EXPECT_EQ(ToSimplified(c.in), c.out);
    EXPECT_EQ(SimplifiedChar(u'A'), u'A');
}

} // namespace
