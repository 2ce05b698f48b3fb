#include <gtest/gtest.h>

#include "frame_geometry.h"

using namespace lumio;

namespace {

constexpr uint32_t kOverlapped = kWsCaption | kWsSysMenu | kWsThickFrame | kWsMinimizeBox | kWsMaximizeBox;

FrameSystemMetrics Metrics() { return FrameSystemMetrics{}; }  // dlg frame 3, caption 19, small 15, icon 16

TEST(FrameMetrics, FromTheWindowStyleWhenNoBorderStyleIsSet) {
    struct Case {
        const char* what;
        uint32_t style, exStyle;
        int16_t borderStyle;
        uint8_t handle;
        int expHandle, expWidth, expTitle, expButtonWidth;
    } cases[] = {
        {"no frame styles", 0, 0, 0, 0, 6, 1, 0, 0},
        {"dialog frame without border", kWsDlgFrame, 0, 0, 0, 8, 3, 0, 0},
        {"dialog frame with border", kWsCaption, 0, 0, 0, 8, 3, 19, 14},
        {"thick frame without border", kWsThickFrame, 0, 0, 0, 8, 3, 0, 0},
        {"overlapped window", kOverlapped, 0, 0, 0, 9, 4, 19, 14},
        {"tool window", kOverlapped, kWsExToolWindow, 0, 0, 9, 4, 15, 10},
        {"border style 5", 0, 0, 5, 0, 10, 8, 19, 14},
        {"border style 1: no title", kOverlapped, 0, 1, 0, 6, 1, 0, 0},
        {"explicit handle kept", kOverlapped, 0, 0, 12, 12, 12, 0, 0},
    };
    for (const Case& c : cases) {
        FrameGeometry g;
        if (c.borderStyle) {
            ASSERT_TRUE(g.SetBorderStyle(c.borderStyle, 3)) << c.what;
        }
        g.sizingHandle = c.handle;
        g.InitFrameMetrics(c.style, c.exStyle, Metrics());
        EXPECT_EQ(g.sizingHandle, c.expHandle) << c.what;
        EXPECT_EQ(g.borderLeft, c.expWidth) << c.what;
        EXPECT_EQ(g.borderBottom, c.expWidth) << c.what;
        EXPECT_EQ(g.titleThickness, c.expTitle) << c.what;
        EXPECT_EQ(g.buttonWidth, c.expButtonWidth) << c.what;
    }
}

TEST(FrameMetrics, BorderStylesOneToFiveOnly) {
    const struct {
        int32_t style, width;
    } cases[] = {{1, 1}, {2, 6}, {3, 7}, {4, 8}, {5, 8}};
    for (const auto& c : cases) {
        FrameGeometry g;
        EXPECT_TRUE(g.SetBorderStyle(c.style, 7));
        EXPECT_EQ(g.borderLeft, c.width) << c.style;
        EXPECT_EQ(g.borderTop, c.width);
        EXPECT_EQ(g.borderRight, c.width);
        EXPECT_EQ(g.borderBottom, c.width);
        EXPECT_FALSE(g.SetBorderStyle(c.style, 7)) << "the same style again changes nothing";
    }
    FrameGeometry g;
    g.SetBorderStyle(3, 3);
    for (int32_t bad : {0, 6, -1, 8}) {
        EXPECT_FALSE(g.SetBorderStyle(bad, 3)) << bad;
        EXPECT_EQ(g.borderStyle, 3);
        EXPECT_EQ(g.borderLeft, 3);
    }
}

// A sizable window, 300 x 200, border 4, handle 9, horizontal title strip.
FrameGeometry Sizable(int32_t menuHeight = 0) {
    FrameGeometry g;
    g.InitFrameMetrics(kOverlapped, 0, Metrics());
    g.ResetTitleMetrics();
    g.ComputeFrameRegions(300, 200, [&](int32_t, int32_t, int32_t) { return menuHeight; });
    return g;
}

TEST(FrameRegions, TitleMenuAndClientAfterAFontChange) {
    FrameGeometry g = Sizable(20);
    EXPECT_EQ(g.titleThickness, 21);
    EXPECT_EQ(g.buttonWidth, 28);
    EXPECT_EQ(g.buttonHeight, 15);
    EXPECT_EQ(g.title, (FrameBox{4, 4, 296, 25}));
    EXPECT_EQ(g.menuStrip, (FrameBox{4, 25, 296, 45}));
    EXPECT_EQ(g.client, (FrameBox{4, 45, 296, 196}));
    // Close at the far end, 3 from the edge, centred across the strip; the others step left by width + 1.
    EXPECT_EQ(g.buttons[1].rect, (FrameBox{265, 7, 293, 22}));
    EXPECT_EQ(g.buttons[2].rect, (FrameBox{236, 7, 264, 22}));
    EXPECT_EQ(g.buttons[3].rect, (FrameBox{207, 7, 235, 22}));
    EXPECT_EQ(g.buttonSpace, 296 - 207 - 3);
    EXPECT_EQ(g.buttons[0].rect, (FrameBox{5, 5, 24, 24})) << "icon of thickness - 2";
    EXPECT_EQ(g.iconSpace, 20);

    FrameGeometry v;
    v.captionFlags = kCaptionVertical;
    v.InitFrameMetrics(kOverlapped, 0, Metrics());
    v.ResetTitleMetrics();
    int32_t askedWidth = 0;
    v.ComputeFrameRegions(300, 200, [&](int32_t x, int32_t y, int32_t w) {
        EXPECT_EQ(x, 25);
        EXPECT_EQ(y, 4);
        askedWidth = w;
        return 0;
    });
    EXPECT_EQ(v.title, (FrameBox{4, 4, 25, 196}));
    EXPECT_EQ(askedWidth, 296 - 25);
    EXPECT_TRUE(v.menuStrip.IsEmpty());
    EXPECT_EQ(v.client, (FrameBox{25, 4, 296, 196}));
    EXPECT_EQ(v.buttons[0].rect, (FrameBox{5, 176, 24, 195})) << "icon at the bottom of a vertical strip";

    FrameGeometry tiny;
    tiny.InitFrameMetrics(0, 0, Metrics());
    tiny.ComputeFrameRegions(1, 1, {});
    EXPECT_EQ(tiny.client, (FrameBox{0, 0, 0, 0})) << "an inverted client area becomes empty at the corner";
}

TEST(FrameButtons, HideDisabledMovesMinimiseIntoTheMaximisePlace) {
    FrameGeometry g = Sizable();
    const FrameBox maxPlace = g.buttons[2].rect, minPlace = g.buttons[3].rect;
    g.disabledBits |= kFrameMaximize;
    g.LayoutTitleButtons();
    EXPECT_TRUE(g.buttons[2].shown) << "shown inactive while hide-disabled is off";
    EXPECT_EQ(g.buttons[3].rect, minPlace);
    g.hideDisabled = true;
    g.LayoutTitleButtons();
    EXPECT_FALSE(g.buttons[2].shown);
    EXPECT_EQ(g.buttons[3].rect, maxPlace);
    g.disabledBits |= kFrameIcon;
    g.LayoutTitleButtons();
    EXPECT_FALSE(g.buttons[0].shown);
    EXPECT_EQ(g.iconSpace, 0);
}

TEST(FrameButtons, UserButtonsInsertAndAppend) {
    FrameGeometry g;
    EXPECT_FALSE(g.AddUserButton("", 0, 0, 0, 0, 0, 0));
    ASSERT_TRUE(g.AddUserButton("a", 0, 0, 0, 0, 0, 0));  // no user button yet: Position 0 appends
    ASSERT_TRUE(g.AddUserButton("b", 5, 0, 0, 0, 0, 0));  // out of range: appends
    ASSERT_TRUE(g.AddUserButton("new-button-id-long", 0, 0, 1, 2, 3, 4));
    ASSERT_TRUE(g.AddUserButton("typed", 0, 7, 0, 0, 0, 0));  // a position type appends
    ASSERT_EQ(g.buttons.size(), 8u);
    EXPECT_EQ(g.buttons[4].ID, "new-button") << "the first 10 characters";
    EXPECT_EQ(g.buttons[4].Height, 4);
    EXPECT_EQ(g.buttons[5].ID, "a");
    EXPECT_EQ(g.buttons[6].ID, "b");
    EXPECT_EQ(g.buttons[7].ID, "typed");
    // Added before attach and kept across the reset of attach time.
    g.buttons[1].state = 2;
    g.ResetStandardButtons();
    EXPECT_EQ(g.buttons.size(), 8u);
    EXPECT_EQ(g.buttons[1].state, 0);
}

TEST(FrameHitTest, Zones) {
    FrameGeometry g = Sizable(20);
    g.AddUserButton("u", 0, 0, 0, 0, 0, 0);  // entry 4, left of minimise
    const FrameBox user = g.buttons[4].rect;
    auto items = [](int32_t x, int32_t) { return x < 40 ? 1 + x / 20 : 0; };
    struct Case {
        int32_t x, y, hit;
    } cases[] = {
        {-1, 50, 0},   {300, 50, 0},                      // outside the window
        {10, 30, 30},  {30, 30, 30},  {100, 30, 2},       // menu items, strip outside any item
        {270, 10, 20}, {240, 10, 9},  {210, 10, 8},       // close, maximise, minimise
        {user.left + 1, 10, 34},                          // user entry 4
        {10, 10, 3},   {150, 10, 2},                      // icon, caption
        {150, 100, 1},                                    // client
        {2, 100, 10},  {297, 100, 11}, {150, 1, 12}, {150, 198, 15},
        {1, 1, 13},    {298, 2, 14},   {2, 198, 16}, {299, 199, 17},
        {4, 100, 10},  {8, 100, 10},  {9, 100, 1},        // left: handle 9 - border 4 shrinks by 5
        {292, 100, 11}, {291, 100, 11}, {290, 100, 1}, {285, 100, 1},  // right: shrunk by 5 too, not by 13
        {150, 192, 15}, {150, 191, 15}, {150, 190, 1}, {150, 185, 1},
    };
    for (const Case& c : cases) {
        int32_t hot = 0;
        EXPECT_EQ(g.NcHitTest(c.x, c.y, false, items, hot), c.hit) << c.x << "," << c.y;
        if (c.hit == 30) {
            EXPECT_EQ(hot, 1 + c.x / 20);
        }
    }
    int32_t hot = 0;
    g.disabledBits = kFrameMaximize;
    EXPECT_EQ(g.NcHitTest(240, 10, false, items, hot), 0) << "a disabled caption button answers nothing";
    g.disabledBits = kFrameSize;
    for (const Case& c : cases) {
        if (c.hit >= 10 && c.hit <= 17) {
            EXPECT_NE(g.NcHitTest(c.x, c.y, false, items, hot), c.hit) << "no sizing: " << c.x << "," << c.y;
        }
    }
    EXPECT_EQ(g.NcHitTest(150, 190, false, items, hot), 1) << "without sizing the client box is not shrunk";
    g.disabledBits = 0;
    for (const Case& c : cases) {
        if (c.hit >= 10 && c.hit <= 17) {
            EXPECT_EQ(g.NcHitTest(c.x, c.y, true, items, hot), 0) << "zoomed";
        }
    }
}

TEST(FrameHitTest, ShrinkOnlyWhereTheBorderIsThinnerThanTheHandle) {
    FrameGeometry g;
    g.SetBorderStyle(5, 3);
    g.sizingHandle = 6;
    g.InitFrameMetrics(kOverlapped, 0, Metrics());
    g.ComputeFrameRegions(300, 200, {});
    int32_t hot = 0;
    EXPECT_EQ(g.client, (FrameBox{8, 27, 292, 192}));
    for (auto [x, y] : {std::pair{8, 100}, {291, 100}, {150, 191}})
        EXPECT_EQ(g.NcHitTest(x, y, false, {}, hot), 1) << "border 8, handle 6: not shrunk " << x << "," << y;
    EXPECT_EQ(g.NcHitTest(7, 100, false, {}, hot), 0) << "border outside the handle";
    EXPECT_EQ(g.NcHitTest(5, 100, false, {}, hot), 10);

    // Vertical title: the top edge is shrunk, the left (title) side is not.
    FrameGeometry v;
    v.captionFlags = kCaptionVertical;
    v.InitFrameMetrics(kOverlapped, 0, Metrics());
    v.ComputeFrameRegions(300, 200, {});
    ASSERT_EQ(v.client.top, 4);
    EXPECT_EQ(v.NcHitTest(150, 8, false, {}, hot), 12);
    EXPECT_EQ(v.NcHitTest(150, 9, false, {}, hot), 1);
    EXPECT_EQ(v.NcHitTest(v.client.left, 100, false, {}, hot), 1) << "beside the title strip";
}

TEST(FrameStyle, AdjustAndApplyBits) {
    EXPECT_EQ(AdjustFrameStyle(-16, 0x10000000, false), 0x10CF0000u);
    EXPECT_EQ(AdjustFrameStyle(-16, 0x10CF0000, true), 0x10CB0000u) << "zoomed: no thick frame";
    EXPECT_EQ(AdjustFrameStyle(-16, 0x10040000, true), 0x10CB0000u);
    EXPECT_EQ(AdjustFrameStyle(-20, 0x1234, false), 0x1234u) << "other indexes unchanged";

    const struct {
        uint32_t style;
        bool remove;
        std::vector<uint32_t> bits;
        uint32_t result;
    } cases[] = {
        {0x10000000, false, {kWsCaption}, 0x10C00000},
        {0x10C00000, true, {kWsCaption}, 0x10000000},
        {0x10800000, true, {kWsCaption}, 0x10800000},  // removed only when all of its bits are there
        {0x10C40000, true, {kWsThickFrame, kWsDlgFrame}, 0x10800000},
        {0, false, {kWsThickFrame, kWsDlgFrame}, 0x00440000},
    };
    for (const auto& c : cases) EXPECT_EQ(ApplyStyleBits(c.style, c.remove, c.bits), c.result) << std::hex << c.style;
}

TEST(FrameCommands, CheckSysCommandGate) {
    struct Case {
        uint32_t command;
        int32_t disabled;
        bool iconic;
        bool blocked, post, postClose;
    } cases[] = {
        {0xF000, 0, false, false, true, false},         {0xF000, kFrameSize, false, true, false, false},
        {0xF010, 0, false, false, true, false},         {0xF010, 0, true, true, false, false},
        {0xF010, kFrameMove, false, true, false, false}, {0xF020, kFrameMinimize, false, true, false, false},
        {0xF030, 0, false, false, true, false},         {0xF030, kFrameMaximize, false, true, false, false},
        {0xF060, 0, false, true, false, true},          {0xF060, kFrameClose, false, true, false, false},
        {0xF120, -1, true, false, true, false},         {0xF100, -1, false, false, false, false},
    };
    for (const Case& c : cases) {
        const SysCommandDecision d = CheckSysCommand(c.command, c.disabled, c.iconic);
        EXPECT_EQ(d.blocked, c.blocked) << std::hex << c.command << " " << c.disabled;
        EXPECT_EQ(d.post, c.post) << std::hex << c.command << " " << c.disabled;
        EXPECT_EQ(d.postClose, c.postClose) << std::hex << c.command << " " << c.disabled;
    }
}

TEST(FrameCommands, ButtonIndexAndSystemMenuIds) {
    const struct {
        int32_t code;
        bool fromHit;
        int index;
    } cases[] = {{20, true, 1}, {9, true, 2},  {8, true, 3},  {3, true, 0},  {30, true, 0},
                 {34, true, 4}, {40, true, 10}, {2, false, 1}, {8, false, 2}, {4, false, 3},
                 {16, false, 0}, {64, false, 0}};
    for (const auto& c : cases) EXPECT_EQ(ButtonIndexOf(c.code, c.fromHit), c.index) << c.code << " " << c.fromHit;

    EXPECT_EQ(SystemMenuItemId(1, kFrameMaximize, false), 1967u);
    EXPECT_EQ(SystemMenuItemId(1, 0, false), 0xF030u);
    EXPECT_EQ(SystemMenuItemId(0, kFrameClose, true), 1964u) << "close and maximise follow also when iconic";
    EXPECT_EQ(SystemMenuItemId(3, kFrameMove, true), 0xF010u) << "move keeps its command while iconic";
    EXPECT_EQ(SystemMenuItemId(3, kFrameMove, false), 1962u);
    EXPECT_EQ(SystemMenuItemId(4, kFrameSize, false), 1963u);
}

TEST(FrameSizing, StepsStopAtTheMinimumTrackSize) {
    const FrameBox w{100, 100, 300, 250};
    auto r = SizeStep(w, 10, 50, 0, 120, 30);
    EXPECT_EQ(r.rect, (FrameBox{150, 100, 300, 250}));
    EXPECT_TRUE(r.acceptedX);
    r = SizeStep(w, 10, 90, 0, 120, 30);
    EXPECT_EQ(r.rect, w) << "the left edge stops; the right edge stays";
    EXPECT_FALSE(r.acceptedX);
    r = SizeStep(w, 17, -100, 40, 120, 30);
    EXPECT_EQ(r.rect, (FrameBox{100, 100, 300, 290})) << "one axis refused, the other taken";
    EXPECT_FALSE(r.acceptedX);
    EXPECT_TRUE(r.acceptedY);
    r = SizeStep(w, 13, -10, -10, 120, 30);
    EXPECT_EQ(r.rect, (FrameBox{90, 90, 300, 250}));
}

}  // namespace
