#include "csf_parser.h"
#include "csfrw.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Builds string-table bytes field by field.
class CsfBytes {
public:
    explicit CsfBytes(uint32_t labels, uint32_t magic = 0x43534620) {
        U32(magic).U32(3).U32(labels).U32(labels).U32(0).U32(0);
    }
    CsfBytes &U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    CsfBytes &Raw(const std::string &s) {
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        return *this;
    }
    CsfBytes &Label(const std::string &name, uint32_t strings = 1) {
        return U32(0x4C424C20).U32(strings).U32(static_cast<uint32_t>(name.size())).Raw(name);
    }
    CsfBytes &String(const std::u16string &value) {
        U32(0x53525453).U32(static_cast<uint32_t>(value.size()));
        return Inverted(value);
    }
    CsfBytes &ExtraString(const std::u16string &value, const std::string &extra) {
        U32(0x53545257).U32(static_cast<uint32_t>(value.size()));
        Inverted(value);
        return U32(static_cast<uint32_t>(extra.size())).Raw(extra);
    }
    const std::vector<uint8_t> &Bytes() const { return bytes_; }

private:
    CsfBytes &Inverted(const std::u16string &value) {
        for (char16_t c : value) {
            bytes_.push_back(static_cast<uint8_t>(~c & 0xFF));
            bytes_.push_back(static_cast<uint8_t>(~c >> 8 & 0xFF));
        }
        return *this;
    }
    std::vector<uint8_t> bytes_;
};

struct Parsed {
    bool ok;
    std::vector<CsfEntry> table;
    int32_t count = -1;
};

Parsed Parse(const CsfBytes &b) {
    Parsed p;
    p.ok = ParseCsf(b.Bytes().data(), b.Bytes().size(), p.table, p.count);
    return p;
}

TEST(CsfParserTest, LabelsStringsAndExtraValues) {
    auto p = Parse(CsfBytes(4)
                       .Label("NAME:E1").String(u"美国大兵")
                       .Label("NAME:Empty").ExtraString(u"", "extra")
                       .Label("NAME:\xC4\xE3").String(u"x")
                       .Label("NAME:NoString", 0));
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.count, 4);
    ASSERT_EQ(p.table.size(), 5u);
    EXPECT_EQ(p.table[0].Label, u"NAME:E1");
    EXPECT_EQ(p.table[0].Value, u"美国大兵");
    EXPECT_EQ(p.table[1].Value, u"");
    EXPECT_EQ(p.table[1].ExtraValue, u"extra");
    EXPECT_EQ(p.table[2].Label, u"NAME:\u00C4\u00E3"); // bytes widened, no code page
    EXPECT_EQ(p.table[3].Label, u"NAME:NoString");
    EXPECT_EQ(p.table[3].Value, u"");
    EXPECT_EQ(p.table[4].Label, u"");
}

// A label with two strings leaves the second unread; the reader then walks the rest in
// four-byte steps that match no label id until it falls in step again.
TEST(CsfParserTest, TwoStringsPutTheFollowingRecordsOutOfStep) {
    auto build = [](uint32_t labels) {
        return CsfBytes(labels).Label("A", 2).String(u"a").String(u"b").Label("B").String(u"bee");
    };
    auto shortCount = Parse(build(2));
    ASSERT_EQ(shortCount.table.size(), 3u);
    EXPECT_EQ(shortCount.table[0].Label, u"A");
    EXPECT_EQ(shortCount.table[0].Value, u"");
    EXPECT_EQ(shortCount.table[1].Label, u"");

    auto enough = Parse(build(7)); // "A", five steps over 20 bytes, then "B"
    ASSERT_EQ(enough.table.size(), 8u);
    EXPECT_EQ(enough.table[6].Label, u"B");
    EXPECT_EQ(enough.table[6].Value, u"bee");
}

TEST(CsfParserTest, WrongMagicLeavesTheTableAlone) {
    std::vector<CsfEntry> table(2);
    table[0].Label = u"kept";
    int32_t count = 1;
    CsfBytes b = CsfBytes(1, 0x12345678).Label("X").String(u"x");
    EXPECT_FALSE(ParseCsf(b.Bytes().data(), b.Bytes().size(), table, count));
    EXPECT_EQ(table[0].Label, u"kept");
    const uint8_t two[2] = {0x20, 0x46};
    EXPECT_FALSE(ParseCsf(two, 2, table, count));
}

TEST(CsfParserTest, ZeroLabelsGiveOneBlankEntry) {
    auto p = Parse(CsfBytes(0));
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.count, 0);
    ASSERT_EQ(p.table.size(), 1u);
}

// Counts and lengths that promise more than the data holds stop at its end.
TEST(CsfParserTest, HostileCountsAndLengthsStopAtTheEnd) {
    auto huge = Parse(CsfBytes(0xFFFFFFFF).Label("A").String(u"a"));
    ASSERT_TRUE(huge.ok);
    EXPECT_EQ(huge.count, 1);
    EXPECT_EQ(huge.table[0].Value, u"a");

    auto name = Parse(CsfBytes(3).U32(0x4C424C20).U32(1).U32(0xFFFFFFF0).Raw("abc"));
    EXPECT_EQ(name.count, 1);
    EXPECT_EQ(name.table[0].Label, u"abc");

    auto value = Parse(CsfBytes(3).Label("L").U32(0x53545257).U32(0xFFFFFFFF).Raw("\xBE\xFF\xBD"));
    EXPECT_EQ(value.count, 1);
    EXPECT_EQ(value.table[0].Value, u"A"); // the half character at the end is dropped
    EXPECT_EQ(value.table[0].ExtraValue, u"");

    auto extra = Parse(CsfBytes(1).Label("L").U32(0x53545257).U32(0).U32(0x80000000).Raw("ab"));
    EXPECT_EQ(extra.table[0].ExtraValue, u"ab");
}

class CsfLoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        CsfTable.clear();
        CsfLabelCount = 0;
    }
    void Write(const CsfBytes &b) {
        PutFile(path, std::string(b.Bytes().begin(), b.Bytes().end()));
    }
    TempDir dir;
    std::string path = dir.File("ra2md.csf");
};

TEST_F(CsfLoadTest, LookupBeforeAnyLoadIsEmpty) {
    EXPECT_EQ(LookupCsfLabel(u"NAME:E1"), u"");
    EXPECT_EQ(LookupCsfLabel(u""), u"");
}

TEST_F(CsfLoadTest, LookupIsExactAndCaseSensitive) {
    Write(CsfBytes(3).Label("Name:E1").String(u"大兵").U32(0).Label("Name:E2").String(u"工程师"));
    LoadCsf(path);
    EXPECT_EQ(CsfLabelCount, 3);
    EXPECT_EQ(LookupCsfLabel(u"Name:E2"), u"工程师");
    EXPECT_EQ(LookupCsfLabel(u"NAME:E1"), u"");
    EXPECT_EQ(LookupCsfLabel(u"Name:E"), u"");
    EXPECT_EQ(LookupCsfLabel(u""), u""); // the blank entry left by the stray id
}

TEST_F(CsfLoadTest, WrongMagicSearchesOnlyTheFirstEntry) {
    Write(CsfBytes(2).Label("First").String(u"1").Label("Second").String(u"2"));
    EXPECT_TRUE(LoadCsf(path));
    Write(CsfBytes(0, 0x0BADF00D));
    EXPECT_FALSE(LoadCsf(path)); // the user is told
    EXPECT_EQ(CsfLabelCount, 0);
    EXPECT_EQ(LookupCsfLabel(u"First"), u"1");
    EXPECT_EQ(LookupCsfLabel(u"Second"), u"");
}

TEST_F(CsfLoadTest, UnreadableFileThrowsAndKeepsTheTable) {
    Write(CsfBytes(1).Label("Kept").String(u"k"));
    LoadCsf(path);
    EXPECT_THROW(LoadCsf(dir.File("missing.csf")), std::runtime_error);
    EXPECT_THROW(LoadCsf(""), std::runtime_error);
    EXPECT_EQ(LookupCsfLabel(u"Kept"), u"k");
}

// A table shorter than its counts is read as far as it goes, and reported.
TEST_F(CsfLoadTest, DamagedTableIsReadAsFarAsItGoesAndReported) {
    std::vector<uint8_t> whole = CsfBytes(2).Label("A").String(u"1").Label("B").String(u"2").Bytes();
    PutFile(path, std::string(whole.begin(), whole.end()));
    EXPECT_TRUE(LoadCsf(path));
    for (size_t cut : {whole.size() - 1, whole.size() - 6, size_t{30}}) {
        PutFile(path, std::string(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(cut)));
        EXPECT_FALSE(LoadCsf(path)) << cut;
    }
    EXPECT_EQ(CsfUnreadableMessage(u"C:\\ra2.csf"), u"无法读取字符串表“C:\\ra2.csf”，单位名称无法显示。");
}

} // namespace
