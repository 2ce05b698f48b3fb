#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "subclass_table.h"

using namespace lumio;

namespace {

constexpr uint32_t kAll = EVERY_MESSAGE;

// A script of watch (+) and unwatch (-) steps on one table and the state it
// must leave.
struct TableCase {
    const char* name;
    std::vector<std::pair<char, uint32_t>> steps;
    int32_t count;
    std::vector<uint32_t> slots;  // the first `count` slots (all kept slots when count <= 0)
    std::vector<uint32_t> hits, misses;
};

TEST(MessageTable, WatchAndUnwatchRules) {
    const TableCase cases[] = {
        {"fresh table matches nothing", {}, 0, {}, {}, {0, 1, 0x200}},
        {"a message watched twice takes one slot", {{'+', 0x200}, {'+', 0x200}}, 1, {0x200}, {0x200}, {0x201}},
        {"unwatch clears the slot, count kept",
         {{'+', 5}, {'+', 6}, {'-', 5}}, 2, {0, 6}, {6}, {5, 0}},
        {"a cleared slot is reused even when the message stands later",
         {{'+', 5}, {'+', 6}, {'+', 7}, {'-', 5}, {'+', 7}}, 3, {7, 6, 7}, {6, 7}, {5}},
        {"unwatch clears only the first slot holding the message",
         {{'+', 5}, {'+', 6}, {'-', 5}, {'+', 6}, {'-', 6}}, 2, {0, 6}, {6}, {5}},
        {"unwatching a message not there changes nothing", {{'+', 5}, {'-', 9}}, 1, {5}, {5}, {9}},
        {"watching every message keeps the slots", {{'+', 5}, {'+', kAll}}, -1, {5}, {0, 5, 0xC000, 0xFFFFFFFE}, {}},
        {"a specific message while every message leaves -1", {{'+', kAll}, {'+', 9}}, -1, {}, {9, 1}, {}},
        {"unwatching a specific message while every message changes nothing",
         {{'+', 5}, {'+', kAll}, {'-', 5}}, -1, {5}, {5, 6}, {}},
        {"unwatching every message sets 0 and keeps the slots",
         {{'+', 5}, {'+', 6}, {'+', kAll}, {'-', kAll}}, 0, {5, 6}, {}, {5, 6}},
        {"after switching off, the next watch starts from slot 1",
         {{'+', 5}, {'+', 6}, {'-', kAll}, {'+', 9}}, 1, {9}, {9}, {5, 6}},
        {"a cleared slot never matches WM_NULL", {{'+', 5}, {'-', 5}}, 1, {0}, {}, {0, 5}},
        {"watching WM_NULL adds only a cleared slot", {{'+', 0}}, 1, {0}, {}, {0}},
    };
    for (const TableCase& c : cases) {
        SCOPED_TRACE(c.name);
        MessageTable t;
        for (auto [op, msg] : c.steps) {
            if (op == '+') pInsertTableMessage(t, msg);
            else pRemoveTableMessage(t, msg);
        }
        EXPECT_EQ(t.nCount, c.count);
        const std::vector<uint32_t> used(t.aMsgs.begin(),
                                         t.aMsgs.begin() + std::min<std::size_t>(t.aMsgs.size(),
                                                                                 c.count > 0 ? c.count : t.aMsgs.size()));
        EXPECT_EQ(used, c.slots);
        for (uint32_t m : c.hits) EXPECT_TRUE(t.Matches(m)) << m;
        for (uint32_t m : c.misses) EXPECT_FALSE(t.Matches(m)) << m;
    }
}

TEST(SubclassWindowTable, AbsentTableRaisesError9) {
    SubclassWindowTable t;
    EXPECT_THROW(t.pThunkSlotOf(0x10, false), RunTimeError);
    EXPECT_THROW(t.Watch(0x10, 0x200, mpAfter), RunTimeError);
    EXPECT_THROW(t.Unwatch(0x10, 0x200, mpAfter), RunTimeError);
    EXPECT_EQ(kErrSubscriptOutOfRange, 9);
}

TEST(SubclassWindowTable, EntriesAreSearchedFromTheEndAndFreeOnesReused) {
    SubclassWindowTable t;
    const uintptr_t A = 0x100, B = 0x200, C = 0x300;
    int a = t.TakeEntry();
    t[a].hWnd = A;
    int b = t.TakeEntry();
    t[b].hWnd = B;
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(t.pThunkSlotOf(B, false), 1);
    EXPECT_EQ(t.pThunkSlotOf(C, false), -1);
    EXPECT_THROW(t.EntryOf(C), RunTimeError);
    EXPECT_EQ(t.pThunkSlotOf(0, true), -1);

    // A detached, C attached: C takes A's entry.
    t.Watch(A, 0x200, mpBoth);
    t.Clear(a);
    EXPECT_EQ(t[a].before.nCount, 0);
    EXPECT_TRUE(t[a].before.aMsgs.empty());
    const int c = t.TakeEntry();
    EXPECT_EQ(c, a);
    t[c].hWnd = C;
    EXPECT_FALSE(t[c].after.Matches(0x200)) << "a reused entry starts with empty tables";

    // The same window twice: the later entry is the one found.
    const int a2 = t.TakeEntry();
    EXPECT_EQ(a2, 2);
    t[a2].hWnd = C;
    EXPECT_EQ(t.pThunkSlotOf(C, false), 2);
    // Free entries are found from the end as well.
    t.Clear(0);
    t.Clear(2);
    EXPECT_EQ(t.pThunkSlotOf(0, true), 2);
    EXPECT_EQ(t.Size(), 3) << "the table never shrinks";
}

TEST(SubclassWindowTable, PhasesReachTheirOwnTables) {
    struct Case {
        int32_t phase;
        bool before, after;
    } cases[] = {{mpAfter, false, true}, {mpBefore, true, false}, {mpBoth, true, true}, {0, false, false}};
    for (const Case& c : cases) {
        SubclassWindowTable t;
        t[t.TakeEntry()].hWnd = 0x44;
        t.Watch(0x44, 0x0F, c.phase);
        EXPECT_EQ(t[0].before.Matches(0x0F), c.before) << c.phase;
        EXPECT_EQ(t[0].after.Matches(0x0F), c.after) << c.phase;
        t.Watch(0x44, 0x0F, mpBoth);
        t.Unwatch(0x44, 0x0F, c.phase);
        EXPECT_EQ(t[0].before.Matches(0x0F), !c.before) << c.phase;
        EXPECT_EQ(t[0].after.Matches(0x0F), !c.after) << c.phase;
    }
}

}  // namespace
