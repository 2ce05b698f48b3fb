// Whole-line edits of a section: every byte outside the edited lines stays.
#include "ini_lines.h"
#include "temp_file.h"

#include <gtest/gtest.h>

namespace {

TEST(RemoveLines, EveryLineWithTheValueAndOnlyThose) {
    struct Case {
        const char *name;
        std::string before, value, after;
        int removed;
    } cases[] = {
        {"two lines share the value", "[WeaponsList]\r\n0=A\r\n1=B\r\n2=A\r\n", "A", "[WeaponsList]\r\n1=B\r\n", 2},
        {"a shared key keeps the other line", "[WeaponsList]\r\n1=A\r\n1=B\r\n", "A", "[WeaponsList]\r\n1=B\r\n", 1},
        {"blanks round the value", "[WeaponsList]\r\n5=  Foo  \r\n6=Foo2\r\n", "Foo", "[WeaponsList]\r\n6=Foo2\r\n", 1},
        {"a comment makes another value", "[WeaponsList]\r\n5=Foo ;x\r\n", "Foo", "[WeaponsList]\r\n5=Foo ;x\r\n", 0},
        {"other sections untouched",
         "[A]\r\n0=X\r\n[weaponslist]\r\n0=X\r\n[WeaponsList]\r\n0=X\r\n",
         "X", "[A]\r\n0=X\r\n[weaponslist]\r\n[WeaponsList]\r\n0=X\r\n", 1},
        {"value is case-sensitive", "[WeaponsList]\r\n0=foo\r\n", "Foo", "[WeaponsList]\r\n0=foo\r\n", 0},
        {"LF file, last line without break", "x\n[WeaponsList]\n0=A\n1=A", "A", "x\n[WeaponsList]\n", 2},
        {"missing section", "[Other]\r\n0=A\r\n", "A", "[Other]\r\n0=A\r\n", 0},
    };
    for (const auto &c : cases) {
        TempRules f(c.before);
        EXPECT_EQ(RemoveSectionLinesWithValue("WeaponsList", c.value, f.path()), c.removed) << c.name;
        EXPECT_EQ(f.Read(), c.after) << c.name;
        EXPECT_EQ(f.FilesInFolder(), 1u) << c.name;
    }
}

TEST(RemoveLines, MissingFileRemovesNothing) {
    EXPECT_EQ(RemoveSectionLinesWithValue("WeaponsList", "A", "/nonexistent/dir/Rules.ini"), 0);
}

TEST(ReplaceLines, SectionTakesTheNewLines) {
    using V = std::vector<std::string>;
    struct Case {
        const char *name;
        std::string before;
        V lines;
        std::string after;
    } cases[] = {
        {"in place, neighbours kept", "[A]\r\nk=1\r\n\r\n[Gun]\r\nDamage=1\r\n;c\r\nROF=2\r\n\r\n[B]\r\nz=3\r\n",
         V{"Damage=5", "ROF=2"}, "[A]\r\nk=1\r\n\r\n[Gun]\r\nDamage=5\r\nROF=2\r\n\r\n[B]\r\nz=3\r\n"},
        {"last section, no break at the end", "[Gun]\r\nDamage=1", V{"Damage=2"}, "[Gun]\r\nDamage=2\r\n"},
        {"missing section appended", "[A]\r\nk=1", V{"Damage=2"}, "[A]\r\nk=1\r\n[Gun]\r\nDamage=2\r\n"},
        {"LF file keeps LF", "[Gun]\nDamage=1\n[B]\n", V{"a", "b"}, "[Gun]\na\nb\n[B]\n"},
        {"header alone at the end", "[Gun]", V{"a=1"}, "[Gun]\r\na=1\r\n"},
        {"name matched ignoring case", "[gun]\r\nx=1\r\n", V{"y=2"}, "[gun]\r\ny=2\r\n"},
    };
    for (const auto &c : cases) {
        TempRules f(c.before);
        EXPECT_TRUE(ReplaceSectionLines("Gun", c.lines, f.path())) << c.name;
        EXPECT_EQ(f.Read(), c.after) << c.name;
        EXPECT_EQ(f.FilesInFolder(), 1u) << c.name;
    }
}

} // namespace
