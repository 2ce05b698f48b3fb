#include "ini_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

struct ValueCase {
    const char *what;
    std::string text;
    std::string section;
    std::string key;
    std::optional<std::string> expected;
};

TEST(IniDocumentTest, ValueReads) {
    const std::string dup = "[A]\r\nx=1\r\n[B]\r\n[a]\r\nx=2\r\ny=3\r\n";
    const std::vector<ValueCase> cases = {
        {"names ignore letter case", "[Sec]\r\nKey=v\r\n", "sEC", "kEY", "v"},
        {"blanks around key and value", "[S]\r\n \t Key1 = value one \t\r\n", "S", "key1", "value one"},
        {"caller's blanks", "[S]\r\nk=v\r\n", " S ", " k ", "v"},
        {"double quotes", "[S]\r\nk=\"quoted \"\r\n", "S", "k", "quoted "},
        {"single quotes", "[S]\r\nk= 'x' \r\n", "S", "k", "x"},
        {"unmatched quotes stay", "[S]\r\nk='x\"\r\n", "S", "k", "'x\""},
        {"a lone quote stays", "[S]\r\nk=\"\r\n", "S", "k", "\""},
        {"only one pair goes", "[S]\r\nk=\"\"a\"\"\r\n", "S", "k", "\"a\""},
        {"comment after value stays", "[S]\r\nk=5 ; five\r\n", "S", "k", "5 ; five"},
        {"empty value is present", "[S]\r\nk=\r\n", "S", "k", ""},
        {"line without = is no key", "[S]\r\nnoeq\r\n", "S", "noeq", std::nullopt},
        {"first section of a name wins", dup, "A", "x", "1"},
        {"later same-name section unseen", dup, "A", "y", std::nullopt},
        {"first key of a name wins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "1"},
        {"key of another section", "[S]\r\n[T]\r\nk=1\r\n", "S", "k", std::nullopt},
        {"missing section", "[S]\r\nk=1\r\n", "T", "k", std::nullopt},
        {"lines before any header", "k=1\r\n[S]\r\n", "", "k", std::nullopt},
        {"LF endings", "[A]\nx=1\ny=2\n", "A", "y", "2"},
        {"lone CR endings", "[A]\rx=1\ry=2", "A", "y", "2"},
        {"indented header, blanks in brackets", "  [ Spaced ] \r\na=1\r\n", "Spaced", "a", "1"},
        {"name runs to the first ]", "[Br]x]\r\nb=2\r\n", "Br", "b", "2"},
        {"comment with brackets after a header", "[A];old [B]\r\nb=2\r\n", "A", "b", "2"},
        {"no section named up to a comment's ]", "[A];old [B]\r\nb=2\r\n", "A];old [B", "b", std::nullopt},
        {"byte-order mark before the first header", "\xEF\xBB\xBF[A]\r\nx=1\r\n", "A", "x", "1"},
        {"byte-order mark before an indented header", "\xEF\xBB\xBF [A]\nx=1\n", "A", "x", "1"},
        {"no ] is no header", "[S]\r\n[nobr\r\nc=3\r\n", "S", "c", "3"},
        {"comment line with = is a line like others", "[S]\r\n;c=1\r\n", "S", ";c", "1"},
        // GBK: the second byte of a character may be "]" or a letter.
        {"] inside a character", "[\x81]]\r\nk=1\r\n", "\x81]", "k", "1"},
        {"second byte is not case-folded", "[\x81" "A]\r\nk=1\r\n", "\x81" "a", "k", std::nullopt},
        {"letters after a character fold", "[\x81\x81X]\r\nk=1\r\n", "\x81\x81x", "k", "1"},
    };
    for (const auto &c : cases) {
        IniDocument doc(c.text);
        auto got = doc.Value(c.section, c.key);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.what;
        if (got) {
            EXPECT_EQ(std::string(*got), *c.expected) << c.what;
        }
    }
}

TEST(IniDocumentTest, SectionLinesKeepCommentsAndRawLines) {
    IniDocument doc("; top\r\n[S]\r\n\r\n  y = 2 ; note  \r\n; comment\r\nnoeq\r\n \t\r\n[nobr\r\n[T]\r\n[E]\r\n");
    auto s = doc.SectionLines("s");
    ASSERT_TRUE(s);
    EXPECT_EQ(*s, (std::vector<std::string_view>{"y = 2 ; note", "; comment", "noeq", "[nobr"}));
    auto t = doc.SectionLines("T");
    ASSERT_TRUE(t);
    EXPECT_TRUE(t->empty());
    EXPECT_FALSE(doc.SectionLines("missing"));
}

enum class Op { Set, Delete, Replace };

struct EditCase {
    const char *what;
    std::string before;
    Op op;
    std::string section;
    std::string key; // Set/Delete
    std::string value;
    std::vector<std::string_view> lines; // Replace
    std::string after;
};

TEST(IniDocumentTest, EditsChangeOnlyTheirLines) {
    const std::vector<EditCase> cases = {
        {"value replaced, key spelling and blanks kept", "[A]\r\nKey = old ; c\r\nz=1\r\n", Op::Set, "a", "KEY", "new",
         {}, "[A]\r\nKey = new\r\nz=1\r\n"},
        {"empty value filled", "[A]\r\nx=   \r\n", Op::Set, "A", "x", "9", {}, "[A]\r\nx=9\r\n"},
        {"LF line keeps its ending", "[A]\nx=1\n", Op::Set, "A", "x", "2", {}, "[A]\nx=2\n"},
        {"new key after the last key line", "[A]\r\nx=1\r\n; about B\r\n\r\n[B]\r\n", Op::Set, "A", "y", "2", {},
         "[A]\r\nx=1\r\ny=2\r\n; about B\r\n\r\n[B]\r\n"},
        {"new key in a section without keys", "[A]\r\n; c\r\n[B]", Op::Set, "A", "y", "2", {},
         "[A]\r\ny=2\r\n; c\r\n[B]"},
        {"new key after a header at the end", "[A]", Op::Set, "A", "y", "2", {}, "[A]\r\ny=2\r\n"},
        {"new key after an unended last line", "[A]\r\nx=1", Op::Set, "A", "y", "2", {}, "[A]\r\nx=1\r\ny=2\r\n"},
        {"new key in an LF file", "[A]\nx=1\n[B]\nz=3\n", Op::Set, "A", "y", "2", {}, "[A]\nx=1\ny=2\n[B]\nz=3\n"},
        {"new section in an LF file", "[A]\nx=1", Op::Set, "B", "y", "2", {}, "[A]\nx=1\n[B]\ny=2\n"},
        {"line end of the first ended line", "[A]\r\nx=1\n", Op::Set, "A", "y", "2", {}, "[A]\r\nx=1\ny=2\r\n"},
        {"byte-order mark kept", "\xEF\xBB\xBF[A]\nx=1\n", Op::Set, "A", "x", "2", {}, "\xEF\xBB\xBF[A]\nx=2\n"},
        {"byte-order mark, new section", "\xEF\xBB\xBF", Op::Set, "A", "x", "2", {}, "\xEF\xBB\xBF[A]\r\nx=2\r\n"},
        {"header with a bracketed comment written in place", "[A];old [B]\r\nb=2\r\n[C]\r\n", Op::Set, "A", "b",
         "3", {}, "[A];old [B]\r\nb=3\r\n[C]\r\n"},
        {"new key goes to the first same-name section", "[A]\r\nx=1\r\n[A]\r\nw=0\r\n", Op::Set, "A", "w", "2", {},
         "[A]\r\nx=1\r\nw=2\r\n[A]\r\nw=0\r\n"},
        {"new section at the end", "[A]\r\nx=1\r\n\r\n", Op::Set, "B", "y", "2", {}, "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n"},
        {"new section after an unended line", "[A]\r\nx=1", Op::Set, "B", "y", "2", {}, "[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
        {"new section in an empty file", "", Op::Set, "B", "y", "2", {}, "[B]\r\ny=2\r\n"},
        {"key deleted with its line ending", "[A]\r\nx=1\r\ny=2\r\n", Op::Delete, "A", "X", "", {}, "[A]\r\ny=2\r\n"},
        {"first of two equal keys deleted", "[A]\r\nx=1\r\nx=2\r\n", Op::Delete, "A", "x", "", {}, "[A]\r\nx=2\r\n"},
        {"section replaced, trailing blank lines kept", "[A]\r\nx=1\r\n\r\n; c\r\ny=2\r\n\r\n[B]\r\nb=1\r\n", Op::Replace,
         "A", "", "", {"p=1", "noeq", ";c"}, "[A]\r\np=1\r\nnoeq\r\n;c\r\n\r\n\r\n[B]\r\nb=1\r\n"},
        {"section emptied", "[A]\r\nx=1\r\n[B]", Op::Replace, "A", "", "", {}, "[A]\r\n[B]"},
        {"missing section appended", "[A]\r\nx=1", Op::Replace, "B", "", "", {"b=1", "c=2"},
         "[A]\r\nx=1\r\n[B]\r\nb=1\r\nc=2\r\n"},
        {"missing section appended to an LF file", "[A]\nx=1\n", Op::Replace, "B", "", "", {"b=1"},
         "[A]\nx=1\n[B]\nb=1\n"},
        {"header at the end gets its ending", "[A]", Op::Replace, "A", "", "", {"b=1"}, "[A]\r\nb=1\r\n"},
    };
    for (const auto &c : cases) {
        IniDocument doc(c.before);
        bool changed = false;
        switch (c.op) {
        case Op::Set: changed = doc.SetValue(c.section, c.key, c.value); break;
        case Op::Delete: changed = doc.DeleteKey(c.section, c.key); break;
        case Op::Replace: changed = doc.ReplaceSection(c.section, c.lines); break;
        }
        EXPECT_TRUE(changed) << c.what;
        EXPECT_EQ(doc.Text(), c.after) << c.what;
    }
}

// A section written back keeps the bytes of every line that reads the same: its blanks,
// its line end, bytes of another encoding, and the blank lines before it.
TEST(IniDocumentTest, ReplacedSectionKeepsTheBytesOfUnchangedLines) {
    const std::string before = "[A]\n  x = 1 \t\n\n; \xE4\xB8\xAD c\r\ny=2\n\n[B]\nb=1\n";
    const struct {
        const char *what;
        std::vector<std::string_view> lines;
        std::string after;
    } cases[] = {
        {"nothing changed", {"x = 1", "; \xE4\xB8\xAD c", "y=2"}, before},
        {"blanks around a line ignored", {" x = 1", "; \xE4\xB8\xAD c ", "y=2"}, before},
        {"one line changed", {"x = 1", "; \xE4\xB8\xAD c", "y=3"}, "[A]\n  x = 1 \t\n\n; \xE4\xB8\xAD c\r\ny=3\n\n[B]\nb=1\n"},
        {"line inserted directly before the next kept one", {"x = 1", "z=0", "; \xE4\xB8\xAD c", "y=2"},
         "[A]\n  x = 1 \t\n\nz=0\n; \xE4\xB8\xAD c\r\ny=2\n\n[B]\nb=1\n"},
        {"line deleted", {"x = 1", "y=2"}, "[A]\n  x = 1 \t\n\ny=2\n\n[B]\nb=1\n"},
        {"first line changed", {"x=5", "; \xE4\xB8\xAD c", "y=2"}, "[A]\nx=5\n\n; \xE4\xB8\xAD c\r\ny=2\n\n[B]\nb=1\n"},
        {"line appended", {"x = 1", "; \xE4\xB8\xAD c", "y=2", "w=4"},
         "[A]\n  x = 1 \t\n\n; \xE4\xB8\xAD c\r\ny=2\nw=4\n\n[B]\nb=1\n"},
        {"lines reordered: one moves", {"y=2", "x = 1"}, "[A]\n\ny=2\nx = 1\n\n[B]\nb=1\n"},
    };
    for (const auto &c : cases) {
        IniDocument doc(before);
        EXPECT_EQ(doc.ReplaceSection("a", c.lines), c.after != before) << c.what;
        EXPECT_EQ(doc.Text(), c.after) << c.what;
    }
    IniDocument unended("[A]\nx=1");
    unended.ReplaceSection("A", {"x=1", "y=2"});
    EXPECT_EQ(unended.Text(), "[A]\nx=1\ny=2\n");
}

// Blank lines are not shown in the editors, so no save may move or drop one: an edited
// line stays after the blank line before it, and an inserted one goes after it too.
TEST(IniDocumentTest, BlankLinesStayWhereTheyAre) {
    const struct {
        const char *where;
        std::vector<std::string> body; // "" is a blank line
        size_t next;                   // the key line that follows the blank line
    } fixtures[] = {
        {"blank line after the header", {"", "a=1", "b=2"}, 1},
        {"blank line between two keys", {"a=1", "", "b=2", "c=3"}, 2},
        {"blank line before the last key", {"a=1", "b=2", "", "c=3", ""}, 3},
        {"two blank lines in a row", {"a=1", "", "", "b=2", "c=3"}, 3},
    };
    enum class Edit { Change, Delete, InsertBefore };
    const std::pair<Edit, const char *> edits[] = {
        {Edit::Change, "next line edited"}, {Edit::Delete, "next line deleted"}, {Edit::InsertBefore, "line inserted before it"}};
    auto text = [](const std::vector<std::string> &body) {
        std::string t = "[A]\r\n";
        for (const auto &l : body) t += l + "\r\n";
        return t + "[B]\r\nb=1\r\n";
    };
    for (const auto &f : fixtures) {
        for (const auto &[edit, what] : edits) {
            std::vector<std::string> after = f.body;
            auto at = after.begin() + static_cast<ptrdiff_t>(f.next);
            if (edit == Edit::Change) *at = "edited=9";
            if (edit == Edit::Delete) after.erase(at);
            if (edit == Edit::InsertBefore) after.insert(at, "new=0");
            std::vector<std::string_view> lines;
            for (const auto &l : after) {
                if (!l.empty()) lines.push_back(l);
            }
            IniDocument doc(text(f.body));
            EXPECT_TRUE(doc.ReplaceSection("A", lines)) << f.where << ", " << what;
            EXPECT_EQ(doc.Text(), text(after)) << f.where << ", " << what;
        }
    }
}

TEST(IniDocumentTest, EditsThatChangeNothingLeaveTheText) {
    const std::string text = "[A]\r\nx = 1\r\n[B]\r\ny=2\r\n";
    IniDocument doc(text);
    EXPECT_FALSE(doc.SetValue("A", "x", "1"));
    EXPECT_FALSE(doc.DeleteKey("A", "nokey"));
    EXPECT_FALSE(doc.DeleteKey("C", "x"));
    EXPECT_FALSE(doc.ReplaceSection("B", {"y=2"}));
    EXPECT_EQ(doc.Text(), text);
}

TEST(IniDocumentTest, EditedTextReadsBack) {
    IniDocument doc("[A]\r\nx=1\r\n");
    doc.SetValue("B", "k", "v");
    doc.SetValue("A", "y", "\"q\"");
    doc.DeleteKey("A", "x");
    EXPECT_EQ(doc.Value("b", "K").value_or("-"), "v");
    EXPECT_EQ(doc.Value("A", "y").value_or("-"), "q");
    EXPECT_FALSE(doc.Value("A", "x"));
}

} // namespace
