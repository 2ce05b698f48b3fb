// Real modders' files through the section editor: text shown as characters and saved back
// as bytes keeps every byte of every line the user did not change.
#include "ansi_codepage.h"
#include "edited_text.h"
#include "rwini.h"
#include "section_editor_text.h"
#include "section_save.h"

#include "../editor_core/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(AnsiCodePageTest, BytesThatFormNoCharacterNeverComeBack) {
    const struct {
        std::string bytes;
        std::u16string wide;
        bool convertsBack;
    } cases[] = {
        {"Primary=M60", u"Primary=M60", true},
        {"\xB2\xBD\xB1\xF8", u"步兵", true},
        // UTF-8 for "中": E4 B8 is a GBK character, AD alone is none.
        {"; \xE4\xB8\xAD", u"; \u6D93\uFFFD", false},
        {"a\xFF" "b", u"a\uFFFD" "b", false},
        {"", u"", true},
        // Pairs GBK leaves undefined that the system's code page 936 reads, and its euro sign.
        {"Name=\xAE\xB5", u"Name=\uE18C", true},
        {"\xAA\xA1\xFE\xFE\xA1\x40", u"\uE000\uE4C5\uE4C6", true},
        {"\xA2\xE3", u"\uE76C", true},
        {"\x80" "5", u"\u20AC" "5", true},
        // A lead byte without a second byte that pairs with it is no character; the byte after it is.
        {"\x81\x7F" "a\x81", u"\uFFFD\x7F" "a\uFFFD", false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(AnsiToWide(c.bytes), c.wide) << c.bytes;
        auto back = WideToAnsi(c.wide);
        EXPECT_EQ(back.has_value(), c.convertsBack) << c.bytes;
        if (back) {
            EXPECT_EQ(*back, c.bytes);
        }
    }
    EXPECT_FALSE(WideToAnsi(u"\U0001F600")); // no GBK form
    EXPECT_FALSE(WideToAnsi(u"\uAC00"));     // Hangul
    EXPECT_FALSE(WideToAnsi(u"\u0080"));
}

TEST(EditedTextTest, UnchangedLinesKeepTheirBytesChangedOnesAreConverted) {
    const std::string bytes = "[A]\r\n; \xE4\xB8\xAD 7\r\nk=\xB2\xBD\xB1\xF8\r\n; \xE4\xB8\xAD 7\r\nz=1\r\n";
    const ShownText shown = ShowText(bytes);
    const std::u16string text = shown.Text();
    ASSERT_EQ(text, u"[A]\r\n; \u6D93\uFFFD 7\r\nk=步兵\r\n; \u6D93\uFFFD 7\r\nz=1\r\n");
    auto replaced = [&](std::u16string_view from, std::u16string_view to) {
        std::u16string t = text;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    const struct {
        const char *what;
        std::u16string edited;
        bool ok;
        std::string bytes;
    } cases[] = {
        {"no edit", text, true, bytes},
        {"one value edited", replaced(u"z=1", u"z=2"), true,
         "[A]\r\n; \xE4\xB8\xAD 7\r\nk=\xB2\xBD\xB1\xF8\r\n; \xE4\xB8\xAD 7\r\nz=2\r\n"},
        {"a line added, LF only", replaced(u"k=步兵\r\n", u"k=步兵\nn=兵\n"), true,
         "[A]\r\n; \xE4\xB8\xAD 7\r\nk=\xB2\xBD\xB1\xF8\r\nn=\xB1\xF8\r\n; \xE4\xB8\xAD 7\r\nz=1\r\n"},
        {"a line deleted: the others matched by position", replaced(u"k=步兵\r\n", u""), true,
         "[A]\r\n; \xE4\xB8\xAD 7\r\n; \xE4\xB8\xAD 7\r\nz=1\r\n"},
        {"a changed line with a lost byte", replaced(u"\uFFFD 7\r\nk", u"\uFFFD 8\r\nk"), false, ""},
        {"a changed line with a user-defined character", replaced(u"z=1", u"z=\uE18C"), true,
         "[A]\r\n; \xE4\xB8\xAD 7\r\nk=\xB2\xBD\xB1\xF8\r\n; \xE4\xB8\xAD 7\r\nz=\xAE\xB5\r\n"},
        {"a character the code page lacks", replaced(u"z=1", u"z=\U0001F600"), false, ""},
    };
    for (const auto &c : cases) {
        EditedBytes got = EditedTextBytes(shown, c.edited);
        EXPECT_EQ(got.Ok, c.ok) << c.what;
        EXPECT_EQ(got.Bytes, c.bytes) << c.what;
        EXPECT_EQ(got.BadLine.empty(), c.ok) << c.what;
    }
    EXPECT_EQ(UnsavableLineMessage(u"z=1"), u"这一行含有当前代码页无法保存的字符，未保存：\r\nz=1");
}

// The whole road: rules file, editor text, characters, edit, bytes, save, rules file.
class EditedRulesTest : public ::testing::Test {
protected:
    std::string Save(const std::u16string &edited, const ShownText &shown) {
        EditedBytes bytes = EditedTextBytes(shown, edited);
        EXPECT_TRUE(bytes.Ok);
        SectionSavePlan plan = PlanSectionSave(rules, bytes.Bytes, "TANK", true, true);
        EXPECT_FALSE(plan.Refused);
        for (const auto &w : plan.Writes) WriteIniSection(w.Section, SectionEntries(w.Lines), rules);
        return GetFile(rules);
    }
    TempDir dir;
    std::string rules = dir.File("Rulesmd.ini");
};

TEST_F(EditedRulesTest, AGbkFileWithAUtf8CommentRoundTripsByteForByte) {
    // GBK names, a UTF-8 comment (even a digit after it), LF line ends, blanks and blank lines.
    const std::string file = "[VehicleTypes]\n1=TANK\n\n"
                             "[TANK]\n; \xE6\x88\x98\xE8\xBD\xA6 7\nName=\xCC\xB9\xBF\xCB\n  Strength = 300 \n\n"
                             "Primary=Gun\t;\xE4\xB8\xBB\n"
                             "[Gun]\nDamage=10\nWarhead=AP\n[AP]\nVerses=100%\n";
    PutFile(rules, file);
    const ShownText shown = ShowText(BuildEditorText(rules, "TANK", true, true));
    const std::u16string text = shown.Text();
    EXPECT_EQ(Save(text, shown), file);

    std::u16string edited = text;
    edited.replace(edited.find(u"Damage=10"), 9, u"Damage=12");
    std::string expected = file;
    expected.replace(expected.find("Damage=10"), 9, "Damage=12");
    EXPECT_EQ(Save(edited, shown), expected);
}

TEST_F(EditedRulesTest, ASectionPast32767CharactersRoundTripsWhole) {
    std::string file = "[TANK]\r\nPrimary=Gun\r\n";
    for (int i = 0; file.size() < 40000; ++i) file += "Key" + std::to_string(i) + "=" + std::string(20, 'v') + "\r\n";
    file += "Last=tail\r\n[Gun]\r\nDamage=1\r\n";
    PutFile(rules, file);
    const ShownText shown = ShowText(BuildEditorText(rules, "TANK", true, true));
    EXPECT_EQ(Save(shown.Text(), shown), file);
    std::u16string edited = shown.Text();
    edited.replace(edited.find(u"Last=tail"), 9, u"Last=end");
    std::string expected = file;
    expected.replace(expected.find("Last=tail"), 9, "Last=end");
    EXPECT_EQ(Save(edited, shown), expected);
}

} // namespace
