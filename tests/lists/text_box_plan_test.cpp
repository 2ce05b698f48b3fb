// The text box's edit styles, placement, mouse trail and face-name cut.
#include <gtest/gtest.h>

#include <string>

#include "text_box_plan.h"

namespace {

using namespace lumio::lists;

TEST(TextBoxPlan, EditStyleFollowsMultiLineAndScrollBars) {
    constexpr uint32_t base = 0x40010000u | 0x80u | 0x40u;
    struct Case {
        bool multiLine;
        int32_t scrollBars;
        uint32_t style;
    } cases[] = {
        {false, 0, base},
        {false, 1, base},  // scroll bars need several lines
        {false, 2, base},
        {false, 3, base},
        {true, 0, base | 0x4u},
        {true, 1, base | 0x4u | 0x100000u},
        {true, 2, (base | 0x4u | 0x200000u) & ~0x80u},  // wraps its lines
        {true, 3, base | 0x4u | 0x300000u},
        {true, 7, base | 0x4u},  // not a ScrollBars value: none
    };
    for (const auto& c : cases)
        EXPECT_EQ(EditStyle(c.multiLine, c.scrollBars), c.style) << c.multiLine << " " << c.scrollBars;
}

TEST(TextBoxPlan, BorderInsetsTheEditAndThePreviewText) {
    struct Case {
        int32_t border;
        EditPlace edit;
        BoxRect text;
    } cases[] = {
        {0, {0, 0, 120, 30}, {2, 0, 118, 30}},
        {1, {1, 1, 118, 28}, {3, 1, 117, 29}},
        {3, {3, 3, 114, 24}, {5, 3, 115, 27}},
    };
    for (const auto& c : cases) {
        const EditPlace e = EditPlacement(120, 30, c.border);
        EXPECT_EQ(e.x, c.edit.x);
        EXPECT_EQ(e.y, c.edit.y);
        EXPECT_EQ(e.width, c.edit.width);
        EXPECT_EQ(e.height, c.edit.height);
        const BoxRect t = DesignTextRect(120, 30, c.border);
        EXPECT_EQ(t.left, c.text.left);
        EXPECT_EQ(t.top, c.text.top);
        EXPECT_EQ(t.right, c.text.right);
        EXPECT_EQ(t.bottom, c.text.bottom);
    }
}

TEST(TextBoxPlan, MouseTrailCountsEveryChangeOfEitherCoordinate) {
    MouseTrail t;
    t.Reset();
    EXPECT_TRUE(t.Moved(0, 0));  // the first move after a reset, even at the origin
    EXPECT_FALSE(t.Moved(0, 0));
    EXPECT_TRUE(t.Moved(0, 1));  // vertical only
    EXPECT_TRUE(t.Moved(0, 2));
    EXPECT_TRUE(t.Moved(1, 2));
    EXPECT_FALSE(t.Moved(1, 2));
    t.Reset();
    EXPECT_TRUE(t.Moved(1, 2));
}

TEST(TextBoxPlan, FaceNameIsCutTo31UnitsWithoutSplittingAPair) {
    const std::u16string short_name = u"微软雅黑";
    EXPECT_EQ(FaceNameKeep(short_name.data(), short_name.size()), short_name.size());
    const std::u16string forty(40, u'A');
    EXPECT_EQ(FaceNameKeep(forty.data(), forty.size()), 31u);
    const std::u16string exact(31, u'x');
    EXPECT_EQ(FaceNameKeep(exact.data(), exact.size()), 31u);
    // A pair straddling unit 31 goes whole.
    std::u16string pair = std::u16string(30, u'a') + u"\U00020000" + u"b";
    ASSERT_EQ(pair.size(), 33u);
    EXPECT_EQ(FaceNameKeep(pair.data(), pair.size()), 30u);
    // A pair ending at unit 31 stays.
    pair = std::u16string(29, u'a') + u"\U00020000" + u"bc";
    EXPECT_EQ(FaceNameKeep(pair.data(), pair.size()), 31u);
}

}  // namespace
