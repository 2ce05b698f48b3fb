// Registry lines removed by value: every byte outside them stays.
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
        {"blanks round the value", "[WeaponsList]\r\n5= \tFoo \t\r\n6=Foo2\r\n", "Foo", "[WeaponsList]\r\n6=Foo2\r\n", 1},
        {"a comment makes another value", "[WeaponsList]\r\n5=Foo ;x\r\n", "Foo", "[WeaponsList]\r\n5=Foo ;x\r\n", 0},
        {"other sections untouched",
         "[A]\r\n0=X\r\n[weaponslist]\r\n0=X\r\n[WeaponsList]\r\n0=X\r\n",
         "X", "[A]\r\n0=X\r\n[weaponslist]\r\n[WeaponsList]\r\n0=X\r\n", 1},
        {"value is case-sensitive", "[WeaponsList]\r\n0=foo\r\n", "Foo", "[WeaponsList]\r\n0=foo\r\n", 0},
        {"LF file, last line without break", "x\n[WeaponsList]\n0=A\n1=A", "A", "x\n[WeaponsList]\n", 2},
        {"missing section", "[Other]\r\n0=A\r\n", "A", "[Other]\r\n0=A\r\n", 0},
        // "\xB5\x5D" is one GBK character whose second byte is "]": the header below is
        // "[WeaponsList]" followed by text, not a section named up to that byte.
        {"two-byte character after the header", "[WeaponsList] \xB5\x5D\r\n0=A\r\n", "A",
         "[WeaponsList] \xB5\x5D\r\n", 1},
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

} // namespace
