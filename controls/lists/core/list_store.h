#pragma once
// The items of a list box and their selected flags. One spare slot always
// follows the last item: the indexed members may address it, appending fills
// it. Texts are UTF-16, compared code unit by code unit.
#include <cstdint>
#include <string>
#include <vector>

namespace lumio::lists {

struct ListItem {
    std::u16string text;
    int16_t icon = 0;
    int16_t iconSelected = 0;
    bool operator==(const ListItem&) const = default;
};

// Lower-cases a text in place, keeping its length.
using LowerCaseFn = void (*)(std::u16string&);
// ASCII, Latin-1, Greek and Cyrillic capitals; the Windows side passes the system's.
void LowerCaseBasic(std::u16string& text);

class ListStore {
public:
    static constexpr int32_t kMaxItems = 32767;

    ListStore() { Clear(); }

    int32_t Count() const { return static_cast<int32_t>(items_.size()) - 1; }
    // 0 to Count(): the spare slot included. Callers check the index.
    ListItem& Item(int32_t i) { return items_[static_cast<size_t>(i)]; }
    const ListItem& Item(int32_t i) const { return items_[static_cast<size_t>(i)]; }
    bool Selected(int32_t i) const { return selected_[static_cast<size_t>(i)] != 0; }
    void SetSelected(int32_t i, bool v) { selected_[static_cast<size_t>(i)] = v ? 1 : 0; }

    // The item goes into the spare slot, unselected, and a new spare follows.
    // Raises 6 at the cap, the list unchanged.
    void Append(ListItem item);
    // Before index (0 to Count()); the item unselected; the flags move with the items.
    void Insert(int32_t index, ListItem item);
    // index 0 to Count() - 1; later items and flags move up.
    void Remove(int32_t index);
    // No items, one empty spare slot.
    void Clear();
    void ClearSelection();
    // Selected items, the spare slot not counted.
    int32_t SelectedCount() const;

    // The first item from start on whose lower-cased text holds the lower-cased
    // text found (at its start only, with startWith); -1 when none. An empty
    // item text never matches. start must not be negative.
    int32_t FindFirst(const std::u16string& find, int32_t start, bool startWith,
                      LowerCaseFn lower = &LowerCaseBasic) const;

    // Shell sort by text over the gaps 1, 4, 13, 40, ...; the flags stay where they are.
    void Order(bool descending);

private:
    std::vector<ListItem> items_;
    std::vector<uint8_t> selected_;
};

}  // namespace lumio::lists
