// The item store: spare slot, cap, search and the Shell sort.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "list_store.h"
#include "run_time_error.h"

namespace {

using namespace lumio::lists;

ListStore With(std::initializer_list<const char16_t*> texts) {
    ListStore s;
    for (auto t : texts) s.Append({t, 0, 0});
    return s;
}

std::vector<std::u16string> Texts(const ListStore& s) {
    std::vector<std::u16string> out;
    for (int32_t i = 0; i < s.Count(); ++i) out.push_back(s.Item(i).text);
    return out;
}

TEST(ListStore, SpareSlotFollowsAndAppendsStartUnselected) {
    ListStore s;
    EXPECT_EQ(s.Count(), 0);
    // A flag set on the spare slot must not leak into the next item.
    s.SetSelected(0, true);
    EXPECT_EQ(s.SelectedCount(), 0);
    s.Append({u"a", 1, 2});
    EXPECT_EQ(s.Count(), 1);
    EXPECT_FALSE(s.Selected(0));
    EXPECT_EQ(s.Item(1), ListItem{});
    s.SetSelected(1, true);
    EXPECT_EQ(s.SelectedCount(), 0);
}

TEST(ListStore, InsertAndRemoveMoveFlagsWithItems) {
    ListStore s = With({u"a", u"b", u"c"});
    s.SetSelected(1, true);
    s.Insert(1, {u"x", 0, 0});
    EXPECT_EQ(Texts(s), (std::vector<std::u16string>{u"a", u"x", u"b", u"c"}));
    EXPECT_FALSE(s.Selected(1));
    EXPECT_TRUE(s.Selected(2));
    s.Remove(0);
    EXPECT_EQ(Texts(s), (std::vector<std::u16string>{u"x", u"b", u"c"}));
    EXPECT_TRUE(s.Selected(1));
    EXPECT_EQ(s.Item(3).text, u"");
}

TEST(ListStore, CapRaisesOverflowAndKeepsTheList) {
    ListStore s;
    for (int i = 0; i < ListStore::kMaxItems; ++i) s.Append({u"", 0, 0});
    for (int op = 0; op < 2; ++op) {
        try {
            if (op == 0) s.Append({u"more", 0, 0});
            else s.Insert(3, {u"more", 0, 0});
            ADD_FAILURE() << "no error";
        } catch (const lumio::RunTimeError& e) {
            EXPECT_EQ(e.number(), 6);
        }
        EXPECT_EQ(s.Count(), ListStore::kMaxItems);
        EXPECT_EQ(s.Item(3).text, u"");
    }
}

TEST(ListStore, FindFirstIgnoresCaseAndTheSpareSlot) {
    const ListStore s = With({u"xab", u"abc", u"", u"ÄBC"});
    struct Case {
        const char16_t* find;
        int32_t start;
        bool startWith;
        int32_t found;
    } cases[] = {
        {u"AB", 0, false, 0}, {u"AB", 0, true, 1}, {u"AB", 1, false, 1}, {u"zz", 0, false, -1},
        {u"äb", 0, true, 3},  {u"", 2, false, 3},  {u"c", 4, false, -1}, {u"abcd", 0, true, -1},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(s.FindFirst(cases[i].find, cases[i].start, cases[i].startWith), cases[i].found) << "case " << i;
}

TEST(ListStore, OrderIsBinaryAndLeavesFlags) {
    struct Case {
        std::initializer_list<const char16_t*> in;
        bool descending;
        std::vector<std::u16string> out;
    } cases[] = {
        {{u"beta", u"Alpha", u"alpha"}, false, {u"Alpha", u"alpha", u"beta"}},
        {{u"beta", u"Alpha", u"alpha"}, true, {u"beta", u"alpha", u"Alpha"}},
        {{u"b", u"a"}, false, {u"a", u"b"}},
        {{u"é", u"z", u"Z"}, false, {u"Z", u"z", u"é"}},
    };
    for (const auto& c : cases) {
        ListStore s = With(c.in);
        s.SetSelected(0, true);
        s.Order(c.descending);
        EXPECT_EQ(Texts(s), c.out);
        EXPECT_TRUE(s.Selected(0));
    }
    // Enough items for several gaps (40, 13, 4, 1).
    ListStore big;
    std::vector<std::u16string> expect;
    for (int i = 0; i < 200; ++i) {
        std::u16string t(1, static_cast<char16_t>(u'A' + (i * 37) % 50));
        t += static_cast<char16_t>(u'a' + i % 7);
        big.Append({t, static_cast<int16_t>(i), 0});
        expect.push_back(t);
    }
    std::sort(expect.begin(), expect.end());
    big.Order(false);
    EXPECT_EQ(Texts(big), expect);
    std::reverse(expect.begin(), expect.end());
    big.Order(true);
    EXPECT_EQ(Texts(big), expect);
}

}  // namespace
