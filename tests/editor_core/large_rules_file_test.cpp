// Writes into a copy of a large rules file must leave every byte they do not address as it was.
#include "rwini.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <utility>

namespace {

// A rules file of a few megabytes in the shape of a real one: comments (some Chinese), blank
// lines, blanks around "=", trailing comments, and a section in LF lines now and then.
struct LargeRules {
    std::string text;
    std::map<std::pair<int, std::string>, size_t> lineAt; // (unit, key) -> offset of its line
    std::map<int, size_t> headerEnd;                      // unit -> offset after its header line
    std::map<int, size_t> blankAfter;                     // unit -> offset of its closing blank line

    static std::string Name(int unit) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "Unit%04d", unit);
        return buf;
    }

    LargeRules() {
        text = "; generated rules for tests\r\n[General]\r\nName=Large\r\n\r\n";
        for (int u = 0; u < 6000; ++u) {
            const char *nl = u % 7 == 3 ? "\n" : "\r\n";
            // Pieces are appended one by one: "literal" + std::string trips a false
            // overlap warning of the 32-bit compiler.
            auto line = [&](const std::string &key, const auto &...rest) {
                lineAt[{u, key}] = text.size();
                text += key;
                ((text += rest), ...);
                text += nl;
            };
            text += "[" + Name(u) + "]" + nl;
            headerEnd[u] = text.size();
            text += std::string("; \xC3\xC0\xB9\xFA unit ") + std::to_string(u) + nl;
            line("UIName", "=Name:", Name(u));
            line("Strength", " = ", std::to_string(u * 10 % 997));
            line("Speed", "=", std::to_string(u % 9));
            line("Armor", "=flak");
            line("Primary", "=Gun", std::to_string(u), " ; main gun");
            line("Secondary", "=");
            line("Cost", "=", std::to_string(u * 37 % 5000));
            blankAfter[u] = text.size();
            text += nl;
        }
    }
};

const LargeRules &Rules() {
    static const LargeRules rules;
    return rules;
}

std::string FirstDifference(const std::string &a, const std::string &b) {
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size()) + ", first difference at " +
           std::to_string(i);
}

class LargeRulesFileTest : public ::testing::Test {
protected:
    void SetUp() override { PutFile(file, Rules().text); }
    void ExpectFile(const std::string &expected) {
        std::string now = GetFile(file);
        EXPECT_TRUE(now == expected) << FirstDifference(now, expected);
    }
    std::string Splice(size_t from, size_t to, const std::string &with) {
        const std::string &t = Rules().text;
        return t.substr(0, from) + with + t.substr(to);
    }
    TempDir dir;
    std::string file = dir.File("Rulesmd.ini");
};

TEST_F(LargeRulesFileTest, ValueReplacedInPlace) {
    size_t line = Rules().lineAt.at({3000, "Strength"});
    size_t value = line + std::string("Strength = ").size();
    auto start = std::chrono::steady_clock::now();
    WriteIniString("unit3000", "strength", "999", file);
    auto took = std::chrono::steady_clock::now() - start;
    ExpectFile(Splice(value, value + std::to_string(3000 * 10 % 997).size(), "999"));
    EXPECT_EQ(ReadIniString("Unit3000", "Strength", "", file), "999");
    std::printf("one write into %zu bytes: %lld ms\n", Rules().text.size(),
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
}

TEST_F(LargeRulesFileTest, ValueWithTrailingCommentReplacedInLfSection) {
    size_t line = Rules().lineAt.at({3, "Primary"});
    size_t value = line + std::string("Primary=").size();
    WriteIniString("Unit0003", "Primary", "Cannon", file);
    ExpectFile(Splice(value, value + std::string("Gun3 ; main gun").size(), "Cannon"));
}

TEST_F(LargeRulesFileTest, NewKeyAfterTheSectionsLastKey) {
    size_t at = Rules().blankAfter.at(4321);
    WriteIniString("Unit4321", "Veterancy", "\xC3\xC0", file);
    ExpectFile(Splice(at, at, "Veterancy=\xC3\xC0\r\n"));
}

TEST_F(LargeRulesFileTest, NewSectionAtTheEnd) {
    size_t end = Rules().text.size();
    WriteIniString("BrandNew", "Strength", "1", file);
    ExpectFile(Splice(end, end, "[BrandNew]\r\nStrength=1\r\n"));
}

TEST_F(LargeRulesFileTest, SectionReplacedUpToItsLastLine) {
    size_t from = Rules().headerEnd.at(2000), to = Rules().blankAfter.at(2000);
    WriteIniSection("Unit2000", std::string_view("Strength=1\0; kept comment\0Speed=2\0\0", 36), file);
    ExpectFile(Splice(from, to, "Strength=1\r\n; kept comment\r\nSpeed=2\r\n"));
    EXPECT_EQ(ReadSectionText("Unit2000", file), "Strength=1\r\n; kept comment\r\nSpeed=2\r\n");
}

TEST_F(LargeRulesFileTest, KeyDeletedWithItsLineOnly) {
    size_t line = Rules().lineAt.at({5999, "Armor"});
    DeleteIniKey("Unit5999", "ARMOR", file);
    ExpectFile(Splice(line, line + std::string("Armor=flak\r\n").size(), ""));
}

TEST_F(LargeRulesFileTest, ManyReadsInOneSnapshot) {
    ProfileSnapshot snap;
    auto start = std::chrono::steady_clock::now();
    for (int u = 0; u < 6000; u += 3) {
        ASSERT_EQ(ReadIniString(LargeRules::Name(u), "UIName", "", file), "Name:" + LargeRules::Name(u));
    }
    auto took = std::chrono::steady_clock::now() - start;
    std::printf("2000 reads in one snapshot: %lld ms\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
}

} // namespace
