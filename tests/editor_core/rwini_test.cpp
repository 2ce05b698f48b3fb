#include "file_io.h"
#include "rwini.h"
#include "write_failure.h"

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
        {"E1\t\t;x", "E1"},
        {"a\tb", "a"},
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
    PutFile(file, "[Unit]\r\n0=E1\r\n; no key here\r\n  Strength = 100 ; note\r\n;;27=OLD ; old\r\n"
                  "312=NAME;note\r\n1=\tTAB\t\r\n\r\n[Empty]\r\n");
    EXPECT_EQ(ReadSectionText("Unit", file), "0=E1\r\n; no key here\r\nStrength = 100 ; note\r\n;;27=OLD ; old\r\n"
                                             "312=NAME;note\r\n1=\tTAB\r\n");
    EXPECT_EQ(ReadSectionText("Empty", file), "\r\n");
    EXPECT_EQ(ReadSectionText("Missing", file), "\r\n");

    // Values as the game reads them: cut at ";", no blanks; commented-out lines are no entries.
    auto e = SplitSectionEntries("Unit", file);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"0", "E1"}, {"Strength", "100"}, {"312", "NAME"}, {"1", "TAB"}};
    ASSERT_EQ(e.size(), expected.size());
    for (size_t i = 0; i < e.size(); ++i) {
        EXPECT_EQ(e[i].Key, expected[i].first) << i;
        EXPECT_EQ(e[i].Value, expected[i].second) << i;
    }
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

// Sections are read whole, however long: a section cut on reading would be written back cut.
TEST_F(RwIniTest, LongSectionsAreReadWhole) {
    std::string text = "[Big]\r\n";
    std::string expectedText;
    int n = 0;
    for (; expectedText.size() < 40000; ++n) {
        std::string line = std::to_string(n) + "=Weapon" + std::to_string(n);
        text += line + "\r\n";
        expectedText += line + "\r\n";
    }
    PutFile(file, text + "[After]\r\nx=1\r\n");
    EXPECT_EQ(ReadSectionText("Big", file), expectedText);
    auto e = SplitSectionEntries("Big", file);
    ASSERT_EQ(e.size(), static_cast<size_t>(n));
    EXPECT_EQ(e.back().Key, std::to_string(n - 1));
    EXPECT_EQ(e.back().Value, "Weapon" + std::to_string(n - 1));
    EXPECT_GT(ReadSectionCount("Big", file), 0);
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
        {"a comment after the value", "[WeaponsList]\r\n5=Foo ;x\r\n6=Foo;y\r\n7=Foo2\r\n", "Foo",
         "[WeaponsList]\r\n7=Foo2\r\n", 2},
        {"a commented-out line stays", "[WeaponsList]\r\n;5=Foo\r\n ;; 6=Foo\r\n", "Foo",
         "[WeaponsList]\r\n;5=Foo\r\n ;; 6=Foo\r\n", 0},
        {"a tab before the value", "[WeaponsList]\r\n1=\tFoo\r\n", "Foo", "[WeaponsList]\r\n", 1},
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

// A write that cannot be made changes nothing and says which file and why.
TEST_F(RwIniTest, FailedWritesChangeNothingAndSayWhy) {
    const std::string text = "[S]\r\nk=1\r\n";
    PutFile(file, text);
    std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    EXPECT_FALSE(WriteIniString("S", "k", "2", file));
    EXPECT_EQ(ProfileWriteFailure().File, file);
    EXPECT_NE(ProfileWriteFailure().Code, 0);
    EXPECT_FALSE(FileErrorText(ProfileWriteFailure().Code).empty());
    std::u16string message = ProfileWriteFailureMessage();
    EXPECT_EQ(message.rfind(u"无法写入文件“", 0), 0u);
    EXPECT_NE(message.find(FileErrorText(ProfileWriteFailure().Code)), std::u16string::npos);
    EXPECT_FALSE(WriteIniSection("S", std::string_view("k=3\0", 4), file));
    EXPECT_FALSE(DeleteIniKey("S", "k", file));
    EXPECT_EQ(DeleteIniLinesWithValue("S", "1", file), -1);
    EXPECT_EQ(GetFile(file), text);
    // An edit that changes nothing needs no write.
    EXPECT_TRUE(WriteIniString("S", "k", "1", file));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// Several writes of one command reach the file together, or not at all.
TEST_F(RwIniTest, BatchWritesAllOrNothing) {
    PutFile(file, "[S]\r\nk=1\r\n");
    {
        ProfileBatch batch;
        EXPECT_TRUE(WriteIniString("S", "k", "2", file));
        EXPECT_TRUE(WriteIniString("T", "j", "3", file));
        EXPECT_EQ(ReadIniString("S", "k", "", file), "2"); // reads see the batch
        EXPECT_EQ(GetFile(file), "[S]\r\nk=1\r\n");    // the file does not yet
        EXPECT_TRUE(batch.Commit());
    }
    EXPECT_EQ(GetFile(file), "[S]\r\nk=2\r\n[T]\r\nj=3\r\n");
    {
        ProfileBatch abandoned;
        WriteIniString("S", "k", "9", file);
    }
    EXPECT_EQ(ReadIniString("S", "k", "", file), "2");
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    {
        ProfileBatch batch;
        EXPECT_TRUE(WriteIniString("S", "k", "4", file));
        EXPECT_TRUE(WriteIniString("S", "m", "5", file));
        EXPECT_FALSE(batch.Commit());
    }
    EXPECT_EQ(ProfileWriteFailure().File, file);
    EXPECT_EQ(GetFile(file), "[S]\r\nk=2\r\n[T]\r\nj=3\r\n");
}

#ifndef _WIN32 // under Wine: the editor's window tests
// A rules file reached through a symbolic link: the link stays, the file it names changes.
TEST_F(RwIniTest, WritesThroughASymbolicLinkKeepTheLink) {
    std::filesystem::create_directory(dir.Path() / "real");
    std::string real = dir.File("real/Rulesmd.ini");
    PutFile(real, "[S]\nk=1\n");
    std::string link = dir.File("link.ini");
    std::filesystem::create_symlink(real, link);
    EXPECT_TRUE(WriteIniString("S", "k", "2", link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(GetFile(real), "[S]\nk=2\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path() / "real"), {}), 1);
}
#endif

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
