#include "rwini.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TrimIniValueTest, CutsAtTheFirstTerminatorAmongCharacters2To41) {
    const std::string fifty(50, 'a');
    std::string space45 = fifty;
    space45[44] = ' ';
    std::string space41 = fifty;
    space41[40] = ' ';
    std::string chinese25; // 25 two-byte characters: 50 bytes, but only 25 positions
    for (int i = 0; i < 25; ++i) chinese25 += "\xB2\xBD";
    const struct {
        std::string in, out;
    } cases[] = {
        {chinese25 + " x", chinese25},
        {"\xB2\xBD;", "\xB2\xBD"},
        {"two words", "two"},
        {"ab", "ab"},
        {";", ";"},
        {" x", " x"},
        {fifty, fifty},
        {space45, space45},
        {space41, fifty.substr(0, 40)},
        {"word ;note", "word"},
        {"word;note", "word"},
        {"ab ", "ab"},
        {std::string("ab\0c", 4), "ab"},
        {"", ""},
    };
    for (const auto &c : cases) EXPECT_EQ(TrimIniValue(c.in), c.out) << '"' << c.in << '"';
}

class RwIniTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string file = dir.File("Rulesmd.ini");
};

TEST_F(RwIniTest, ReadIniString) {
    PutFile(file, "[S]\r\nk=v\r\nempty=\r\nq=\"AeDebug\"\r\nlong=" + std::string(200, 'x') + "\r\n");
    EXPECT_EQ(ReadIniString("S", "k", "", file), "v");
    EXPECT_EQ(ReadIniString("S", "none", "def", file), "def");
    EXPECT_EQ(ReadIniString("S", "empty", "def", file), "def");
    EXPECT_EQ(ReadIniString("S", "q", "def", file), "");
    EXPECT_EQ(ReadIniString("S", "none", "AeDebug", file), "");
    EXPECT_EQ(ReadIniString("S", "long", "", file), std::string(143, 'x'));
    EXPECT_EQ(ReadIniString("S", "k", "def", dir.File("missing.ini")), "def");
    EXPECT_EQ(ReadIniString("S", "k", "def", ""), "def");
}

TEST_F(RwIniTest, SectionReads) {
    PutFile(file, "[Unit]\r\n0=E1\r\n; no key here\r\n  Strength = 100 ; note\r\n\r\n[Empty]\r\n");
    EXPECT_EQ(ReadSectionText("Unit", file), "0=E1\r\n; no key here\r\nStrength = 100 ; note\r\n");
    EXPECT_EQ(ReadSectionText("Empty", file), "\r\n");
    EXPECT_EQ(ReadSectionText("Missing", file), "\r\n");

    auto e = SplitSectionEntries("Unit", file);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].Key, "0");
    EXPECT_EQ(e[0].Value, "E1");
    EXPECT_EQ(e[1].Key, "Strength");
    EXPECT_EQ(e[1].Value, "100 ; note");
    for (const char *none : {"Empty", "Missing"}) {
        auto blank = SplitSectionEntries(none, file);
        ASSERT_EQ(blank.size(), 1u) << none;
        EXPECT_EQ(blank[0].Key, "");
        EXPECT_EQ(blank[0].Value, "");
    }

    EXPECT_GT(ReadSectionCount("Unit", file), 0);
    EXPECT_EQ(ReadSectionCount("Empty", file), 0);
    EXPECT_EQ(ReadSectionCount("Missing", file), 0);
}

// A section longer than the 32767-character buffer arrives cut in the middle of a line:
// the text keeps the cut line, the entries drop it.
TEST_F(RwIniTest, SectionLongerThanTheBuffer) {
    std::string text = "[Big]\r\n";
    std::string lines; // as the buffer holds them
    for (int i = 0; lines.size() < 40000; ++i) {
        std::string line = std::to_string(i) + "=Weapon" + std::to_string(i);
        text += line + "\r\n";
        lines += line + '\0';
    }
    PutFile(file, text);
    std::string cut = lines.substr(0, 32765);
    ASSERT_NE(cut.back(), '\0') << "the cut must fall inside a line for this test";

    EXPECT_EQ(ReadSectionCount("Big", file), 32765);
    std::string expectedText;
    for (char c : cut) expectedText += c == '\0' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(ReadSectionText("Big", file), expectedText + "\r\n");

    auto e = SplitSectionEntries("Big", file);
    size_t whole = static_cast<size_t>(std::count(cut.begin(), cut.end(), '\0'));
    ASSERT_EQ(e.size(), whole);
    EXPECT_EQ(e.back().Key, std::to_string(whole - 1));
    EXPECT_EQ(e.back().Value, "Weapon" + std::to_string(whole - 1));
}

TEST_F(RwIniTest, WritesReachTheFileAtOnce) {
    WriteIniString("E1", "Strength", "125", file); // creates the file
    EXPECT_EQ(GetFile(file), "[E1]\r\nStrength=125\r\n");
    WriteIniString("e1", "Speed", "4", file);
    WriteIniString("E1", "STRENGTH", "150", file);
    EXPECT_EQ(GetFile(file), "[E1]\r\nStrength=150\r\nSpeed=4\r\n");
    DeleteIniKey("E1", "strength", file);
    EXPECT_EQ(GetFile(file), "[E1]\r\nSpeed=4\r\n");
    WriteIniSection("E1", std::string_view("a=1\0; c\0noeq\0\0ignored\0", 24), file);
    EXPECT_EQ(GetFile(file), "[E1]\r\na=1\r\n; c\r\nnoeq\r\n");
    WriteIniSection("W", std::string_view("x=1", 3), file);
    EXPECT_EQ(GetFile(file), "[E1]\r\na=1\r\n; c\r\nnoeq\r\n[W]\r\nx=1\r\n");
    // No scratch file is left beside the rules file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// Lines removed by value: every byte outside them stays.
TEST_F(RwIniTest, LinesWithTheValueAndOnlyThoseAreDeleted) {
    struct Case {
        const char *name;
        std::string before, value, after;
        int removed;
    } cases[] = {
        {"two lines share the value", "[WeaponsList]\r\n0=A\r\n1=B\r\n2=A\r\n", "A", "[WeaponsList]\r\n1=B\r\n", 2},
        {"a shared key keeps the other line", "[WeaponsList]\r\n1=A\r\n1=B\r\n", "A", "[WeaponsList]\r\n1=B\r\n", 1},
        {"blanks round the value", "[WeaponsList]\r\n5= \tFoo \t\r\n6=Foo2\r\n", "Foo", "[WeaponsList]\r\n6=Foo2\r\n", 1},
        {"a comment makes another value", "[WeaponsList]\r\n5=Foo ;x\r\n", "Foo", "[WeaponsList]\r\n5=Foo ;x\r\n", 0},
        {"other sections untouched",
         "[A]\r\n0=X\r\n[weaponslist]\r\n0=X\r\n[WeaponsList]\r\n0=X\r\n",
         "X", "[A]\r\n0=X\r\n[weaponslist]\r\n[WeaponsList]\r\n0=X\r\n", 1},
        {"value is case-sensitive", "[WeaponsList]\r\n0=foo\r\n", "Foo", "[WeaponsList]\r\n0=foo\r\n", 0},
        {"quotes are part of the value", "[WeaponsList]\r\n0=\"A\"\r\n", "A", "[WeaponsList]\r\n0=\"A\"\r\n", 0},
        {"LF file, last line without break", "x\n[WeaponsList]\n0=A\n1=A", "A", "x\n[WeaponsList]\n", 2},
        {"missing section", "[Other]\r\n0=A\r\n", "A", "[Other]\r\n0=A\r\n", 0},
        // "\xB5\x5D" is one GBK character whose second byte is "]": the header below is
        // "[WeaponsList]" followed by text, not a section named up to that byte.
        {"two-byte character after the header", "[WeaponsList] \xB5\x5D\r\n0=A\r\n", "A",
         "[WeaponsList] \xB5\x5D\r\n", 1},
    };
    for (const auto &c : cases) {
        PutFile(file, c.before);
        EXPECT_EQ(DeleteIniLinesWithValue("WeaponsList", c.value, file), c.removed) << c.name;
        EXPECT_EQ(GetFile(file), c.after) << c.name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << c.name;
    }
}

TEST_F(RwIniTest, LinesByValueFromAFileThatCannotBeRead) {
    EXPECT_EQ(DeleteIniLinesWithValue("WeaponsList", "A", "/nonexistent/dir/Rules.ini"), 0);
    EXPECT_FALSE(std::filesystem::exists("/nonexistent/dir/Rules.ini"));
    // A folder in the file's place cannot be read: nothing was removed, and that is no success.
    EXPECT_EQ(DeleteIniLinesWithValue("WeaponsList", "A", dir.Path().string()), -1);
}

TEST_F(RwIniTest, WritesToANonexistentFolderChangeNothing) {
    std::string lost = dir.File("no/such/folder/Rulesmd.ini");
    WriteIniString("S", "k", "v", lost);
    EXPECT_FALSE(std::filesystem::exists(lost));
    EXPECT_FALSE(ProfileWriteString("S", "k", "v", ""));
}

TEST_F(RwIniTest, SnapshotServesOneCommandAndOwnWritesEndIt) {
    PutFile(file, "[S]\r\nk=1\r\n");
    {
        ProfileSnapshot snap;
        EXPECT_EQ(ReadIniString("S", "k", "", file), "1");
        PutFile(file, "[S]\r\nk=2\r\n"); // another program
        EXPECT_EQ(ReadIniString("S", "k", "", file), "1");
        WriteIniString("S", "j", "3", file);
        EXPECT_EQ(ReadIniString("S", "k", "", file), "2");
        EXPECT_EQ(ReadIniString("S", "j", "", file), "3");
        PutFile(file, "[S]\r\nk=5\r\nj=3\r\n");
        EXPECT_EQ(DeleteIniLinesWithValue("S", "3", file), 1);
        EXPECT_EQ(ReadIniString("S", "k", "", file), "5");
    }
    PutFile(file, "[S]\r\nk=4\r\n");
    EXPECT_EQ(ReadIniString("S", "k", "", file), "4");
}

} // namespace
