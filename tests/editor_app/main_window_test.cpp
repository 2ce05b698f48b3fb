// The main window's controls, defaults and the commands that need no rules file.
#include "forms/forms.h"
#include "main_form.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

namespace {

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        hwnd = CreateMainForm();
        ASSERT_NE(hwnd, nullptr);
        ShowWindow(hwnd, SW_SHOW);
        form = TheMainForm();
    }
    void TearDown() override {
        EXPECT_TRUE(unexpected.Closed.empty()) << "a window nobody expected: " << unexpected.Closed.front();
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
        forms::SetFileChooser(nullptr);
    }
    HWND Item(int id) const { return GetDlgItem(hwnd, id); }
    int WidthTwips() const {
        RECT r;
        GetWindowRect(hwnd, &r);
        return (r.right - r.left) * 15; // 96 DPI under Wine
    }
    ui::UnexpectedWindows unexpected;
    HWND hwnd = nullptr;
    MainForm *form = nullptr;
};

TEST_F(MainWindow, ControlsCarryTheirCaptionsAndStartStates) {
    EXPECT_EQ(ui::Text(hwnd), L"Quorvane V1.12");
    struct Case {
        int id;
        const wchar_t *caption;
        int checked; // -1: not a check box or option
        bool enabled;
    } cases[] = {
        {kOption1, L"步兵", 1, true},         {kOption2, L"坦克", 0, true},
        {kOption3, L"建筑", 0, true},         {kOption4, L"飞机", 0, true},
        {kCommand2, L"手动编辑", -1, true},   {kCommand3, L"保存", -1, true},
        {kCommand4, L"打开", -1, true},       {kCommand5, L"另存小节", -1, true},
        {kCommand6, L"<", -1, true},          {kCommand7, L"管理", -1, true},
        {kCommand8, L"写入列表", -1, true},   {kIsName, L"显示单位名称", 1, true},
        {kIsExt, L"显示附加信息", 1, true},   {kIsWeapon, L"提取武器", 0, true},
        {kIsWH, L"提取弹头", 0, true},        {kCheck1, L"写入弹头", 0, true},
        {kExport, L"导出列表", -1, true},     {kIsWepCom, L"武器", 0, false},
        {kIsNameCom, L"注册名", 0, false},    {kIsWHCom, L"弹头", 0, false},
        {kCompare, L"开启", -1, true},        {kLabel7, L"当前对比源文件：", -1, true},
        {kSearch, L"", -1, true},             {kHPText, L"", -1, true},
        {kSpeedText, L"", -1, true},          {kWeaponText, L"", -1, true},
        {kWHText, L"", -1, true},             {kOrigFile, L"", -1, true},
        {kFileNameL, L"", -1, true},          {kCSFPath, L"", -1, true},
    };
    for (const auto &c : cases) {
        HWND w = Item(c.id);
        ASSERT_NE(w, nullptr) << c.id;
        EXPECT_EQ(ui::Text(w), c.caption) << c.id;
        if (c.checked >= 0) {
            EXPECT_EQ(SendMessageW(w, BM_GETCHECK, 0, 0), c.checked) << c.id;
        }
        EXPECT_EQ(IsWindowEnabled(w) != 0, c.enabled) << c.id;
    }
    EXPECT_FALSE(IsWindowVisible(Item(kFileNameL)));
    EXPECT_FALSE(IsWindowVisible(Item(kCSFPath)));
    EXPECT_FALSE(ui::Text(Item(kLabel8)).empty());
    EXPECT_NE(SendMessageW(Item(kSearch), BM_GETIMAGE, IMAGE_BITMAP, 0), 0);

    // The frames, by caption.
    for (const wchar_t *frame : {L"注册表", L"武器管理器", L"附加工具", L"对比系统（未开启）"})
        EXPECT_NE(FindWindowExW(hwnd, nullptr, L"BUTTON", frame), nullptr) << frame;
    for (const wchar_t *label : {L"HP", L"速度", L"铠甲", L"主武器------------", L"武器", L"弹头"})
        EXPECT_NE(FindWindowExW(hwnd, nullptr, L"STATIC", label), nullptr) << label;
}

TEST_F(MainWindow, ListsAreFilledAtLoad) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(ui::ComboItems(Item(kIsGB)), (V{L"简体中文", L"繁体中文"}));
    EXPECT_EQ(SendMessageW(Item(kIsGB), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(ui::ComboItems(Item(kArmorText)), (V{L"plate", L"flak", L"concrete", L"heavy", L"light", L"wood", L"none"}));
    EXPECT_EQ(SendMessageW(Item(kArmorText), CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(ui::ComboItems(Item(kSearchType)), (V{L"注册名", L"中文名", L"主武器", L"副武器"}));
    EXPECT_EQ(SendMessageW(Item(kSearchType), CB_GETCURSEL, 0, 0), 1);

    HWND list = Item(kItemList);
    EXPECT_EQ(ui::ListViewCount(list), 0);
    EXPECT_EQ(GetWindowLongPtrW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    const wchar_t *titles[4] = {L"名称", L"中文名", L"主武器", L"副武器"};
    const int widthsTwips[4] = {1411, 1764, 2540, 2540};
    for (int i = 0; i < 4; ++i) {
        wchar_t buf[64] = {};
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = buf;
        col.cchTextMax = 64;
        ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col)));
        EXPECT_STREQ(buf, titles[i]);
        EXPECT_EQ(col.cx, forms::TwipsToPixels(hwnd, widthsTwips[i]));
    }
}

TEST_F(MainWindow, WidthToggleSwitchesEveryTime) {
    EXPECT_NEAR(WidthTwips(), kWideWidth, 15);
    for (int round = 0; round < 3; ++round) {
        ui::Click(Item(kCommand6));
        EXPECT_EQ(ui::Text(Item(kCommand6)), L">");
        EXPECT_NEAR(WidthTwips(), kNarrowWidth, 15);
        ui::Click(Item(kCommand6));
        EXPECT_EQ(ui::Text(Item(kCommand6)), L"<");
        EXPECT_NEAR(WidthTwips(), kWideWidth, 15);
    }
}

TEST_F(MainWindow, CommandsWithoutAUnitOrFileSaySo) {
    struct Case {
        int id;
        const wchar_t *message;
    } cases[] = {
        {kCommand3, L"请先选择一个单位！"}, {kCommand8, L"请先选择一个单位！"}, {kCommand2, L"请先选择一个单位！"},
        {kCommand5, L"请先选择一个单位！"}, {kCommand7, L"请先打开Rules！"},
    };
    for (const auto &c : cases) {
        std::wstring text;
        bool mainDisabled = false;
        ui::ModalScript script;
        script.Then(forms::kMessageTitle, [&](HWND box) {
            text = ui::MessageText(box);
            mainDisabled = !IsWindowEnabled(hwnd);
            ui::PressOk(box);
        });
        ui::Click(Item(c.id));
        EXPECT_TRUE(script.Done()) << c.id;
        EXPECT_EQ(text, c.message) << c.id;
        EXPECT_TRUE(mainDisabled) << c.id;
    }
}

TEST_F(MainWindow, ComparisonChecksTickTheExportOptions) {
    EnableWindow(Item(kIsWepCom), TRUE);
    EnableWindow(Item(kIsWHCom), TRUE);
    ui::Click(Item(kIsWepCom));
    EXPECT_EQ(SendMessageW(Item(kIsWeapon), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(Item(kIsWH), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ui::Click(Item(kIsWHCom));
    EXPECT_EQ(SendMessageW(Item(kIsWH), BM_GETCHECK, 0, 0), BST_CHECKED);
    // Unticking leaves the export options as they are.
    ui::Click(Item(kIsWepCom));
    EXPECT_EQ(SendMessageW(Item(kIsWeapon), BM_GETCHECK, 0, 0), BST_CHECKED);
}

} // namespace
