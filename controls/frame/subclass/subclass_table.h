#pragma once
// The bookkeeping of the self-subclassing facility, free of any window call:
// the per-window message tables and the owner's window table.
#include <cstdint>
#include <vector>

#include "run_time_error.h"

namespace lumio {

// A watch or unwatch of this "message" switches a whole phase on or off.
inline constexpr uint32_t EVERY_MESSAGE = 0xFFFFFFFFu;

enum eMsgPhase : int32_t { mpAfter = 1, mpBefore = 2, mpBoth = 3 };

// One phase's table. nCount 0 matches nothing and -1 everything; otherwise
// the first nCount slots are searched, and a slot of 0 is a cleared slot
// that matches no message at all.
struct MessageTable {
    int32_t nCount = 0;
    std::vector<uint32_t> aMsgs;

    bool Matches(uint32_t uMsg) const;
};

// Adds uMsg: a cleared slot is taken first (even when uMsg also stands in a
// later slot), a present uMsg is left alone, otherwise the table grows by
// one. EVERY_MESSAGE sets the count to -1 and leaves the slots as they are;
// a specific message added while the count is -1 changes nothing.
void pInsertTableMessage(MessageTable& table, uint32_t uMsg);
// Clears the first slot holding uMsg. EVERY_MESSAGE sets the count to 0 and
// keeps the slots.
void pRemoveTableMessage(MessageTable& table, uint32_t uMsg);

struct tSubclassEntry {
    uintptr_t hWnd = 0;            // 0: a free entry
    void* lpThunk = nullptr;       // the window's block
    uintptr_t lpPrevWndProc = 0;
    MessageTable after;            // called after the previous procedure
    MessageTable before;           // called before it
};

// The owner's windows, lower bound 0. Absent until the first attach; then it
// only grows, and a freed entry is reused by the next attach.
class SubclassWindowTable {
public:
    bool Exists() const { return exists_; }
    int Size() const { return static_cast<int>(entries_.size()); }

    // Searches from the last entry down: the first entry of hWnd, or with
    // bFree the first free entry. -1 when none; raises error 9 when absent.
    int pThunkSlotOf(uintptr_t hWnd, bool bFree) const;
    // The entry the next attach takes (creating the table on first use); its
    // hWnd is still 0.
    int TakeEntry();
    // The last entry of hWnd; raises error 9 when there is none.
    int EntryOf(uintptr_t hWnd) const;

    void Watch(uintptr_t hWnd, uint32_t uMsg, int32_t phase);
    void Unwatch(uintptr_t hWnd, uint32_t uMsg, int32_t phase);
    // Frees the entry: hWnd 0, both counts 0, both tables erased.
    void Clear(int index);

    tSubclassEntry& operator[](int index) { return entries_.at(static_cast<std::size_t>(index)); }
    const tSubclassEntry& operator[](int index) const { return entries_.at(static_cast<std::size_t>(index)); }

private:
    bool exists_ = false;
    std::vector<tSubclassEntry> entries_;
};

}  // namespace lumio
