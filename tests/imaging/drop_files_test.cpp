// File lists of drops and the clipboard: names are read only inside the block.
#include "imaging/drop_files.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Bytes = std::vector<uint8_t>;
using namespace std::string_literals;

Bytes Block(bool wide, const std::u16string &list, uint32_t offset = 20) {
    // The header, then the list at `offset` (or right after the header when below it).
    Bytes b(std::max<uint32_t>(offset, 20), 0);
    b[0] = uint8_t(offset);
    b[16] = wide ? 1 : 0;
    for (char16_t c : list) b.insert(b.end(), {uint8_t(c), uint8_t(c >> 8)});
    return b;
}

TEST(DropFiles, HeaderNeedsTwentyBytes) {
    EXPECT_FALSE(lumio::ReadDropFilesHeader(Bytes(19, 0)));
    const auto h = lumio::ReadDropFilesHeader(Block(true, u""));
    ASSERT_TRUE(h);
    EXPECT_TRUE(h->wide);
    EXPECT_EQ(h->filesOffset, 20u);
}

TEST(DropFiles, WideNamesStayInsideTheBlock) {
    using Names = std::vector<std::u16string>;
    Bytes farOffset = Block(true, u"a\0"s, 20);
    farOffset[0] = 0xF0; // the list starts past the block
    Bytes oddEnd = Block(true, u"ab\0c"s);
    oddEnd.push_back('x'); // half a character at the end
    const struct {
        const char *what;
        Bytes block;
        size_t most;
        Names names;
    } cases[] = {
        {"two names", Block(true, u"C:\\a.png\0D:\\\u4E2D.gif\0\0"s), 5, {u"C:\\a.png", u"D:\\\u4E2D.gif"}},
        {"at most n", Block(true, u"a\0b\0c\0\0"s), 2, {u"a", u"b"}},
        {"last name unterminated", Block(true, u"a\0bcd"s), 5, {u"a"}},
        {"list past the block", farOffset, 5, {}},
        {"half a character", oddEnd, 5, {u"ab"}},
        {"list offset 0: inside the header", Block(true, u"z\0"s, 0), 5, {}},
    };
    for (const auto &c : cases) EXPECT_EQ(lumio::ReadWideFileNames(c.block, c.most), c.names) << c.what;
}

TEST(DropFiles, IconColourValues) {
    const std::pair<int32_t, int32_t> cases[] = {{1, 2}, {2, 4}, {4, 16}, {8, 256}, {16, 0xFFFF00},
                                                 {24, int32_t(0xFF000000u)}, {32, -1}, {0, 0xFFFF00}};
    for (const auto &[bits, value] : cases) EXPECT_EQ(lumio::IconColourValue(bits), value) << bits;
}

} // namespace
