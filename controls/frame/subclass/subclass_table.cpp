#include "subclass_table.h"

#include <algorithm>

namespace lumio {

bool MessageTable::Matches(uint32_t uMsg) const {
    if (nCount < 0) return true;
    const auto n = std::min<std::size_t>(static_cast<std::size_t>(nCount), aMsgs.size());
    for (std::size_t i = 0; i < n; ++i)
        if (aMsgs[i] != 0 && aMsgs[i] == uMsg) return true;
    return false;
}

void pInsertTableMessage(MessageTable& table, uint32_t uMsg) {
    if (uMsg == EVERY_MESSAGE) {
        table.nCount = -1;
        return;
    }
    if (table.nCount < 0) return;  // already every message
    for (int32_t i = 0; i < table.nCount; ++i) {
        uint32_t& slot = table.aMsgs[static_cast<std::size_t>(i)];
        if (slot == 0) {
            slot = uMsg;
            return;
        }
        if (slot == uMsg) return;
    }
    ++table.nCount;
    table.aMsgs.resize(static_cast<std::size_t>(table.nCount));
    table.aMsgs.back() = uMsg;
}

void pRemoveTableMessage(MessageTable& table, uint32_t uMsg) {
    if (uMsg == EVERY_MESSAGE) {
        table.nCount = 0;
        return;
    }
    for (int32_t i = 0; i < table.nCount; ++i) {
        uint32_t& slot = table.aMsgs[static_cast<std::size_t>(i)];
        if (slot == uMsg) {
            slot = 0;
            return;
        }
    }
}

int SubclassWindowTable::pThunkSlotOf(uintptr_t hWnd, bool bFree) const {
    if (!exists_) Raise(kErrSubscriptOutOfRange);
    for (int i = Size() - 1; i >= 0; --i) {
        const uintptr_t h = entries_[static_cast<std::size_t>(i)].hWnd;
        if (bFree ? h == 0 : h == hWnd) return i;
    }
    return -1;
}

int SubclassWindowTable::TakeEntry() {
    if (!exists_) {
        exists_ = true;
        entries_.assign(1, tSubclassEntry{});
        return 0;
    }
    int i = pThunkSlotOf(0, true);
    if (i < 0) {
        entries_.emplace_back();
        i = Size() - 1;
    }
    return i;
}

int SubclassWindowTable::EntryOf(uintptr_t hWnd) const {
    const int i = pThunkSlotOf(hWnd, false);
    if (i < 0 || hWnd == 0) Raise(kErrSubscriptOutOfRange);
    return i;
}

void SubclassWindowTable::Watch(uintptr_t hWnd, uint32_t uMsg, int32_t phase) {
    tSubclassEntry& e = (*this)[EntryOf(hWnd)];
    if (phase & mpBefore) pInsertTableMessage(e.before, uMsg);
    if (phase & mpAfter) pInsertTableMessage(e.after, uMsg);
}

void SubclassWindowTable::Unwatch(uintptr_t hWnd, uint32_t uMsg, int32_t phase) {
    tSubclassEntry& e = (*this)[EntryOf(hWnd)];
    if (phase & mpBefore) pRemoveTableMessage(e.before, uMsg);
    if (phase & mpAfter) pRemoveTableMessage(e.after, uMsg);
}

void SubclassWindowTable::Clear(int index) {
    tSubclassEntry& e = (*this)[index];
    e = tSubclassEntry{};
}

}  // namespace lumio
