#include "list_store.h"

#include <string_view>
#include <utility>

#include "run_time_error.h"

namespace lumio::lists {

void LowerCaseBasic(std::u16string& text) {
    for (char16_t& c : text) {
        if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
            (c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
            c = static_cast<char16_t>(c + 0x20);
        else if (c >= 0x400 && c <= 0x40F)
            c = static_cast<char16_t>(c + 0x50);
    }
}

void ListStore::Append(ListItem item) {
    if (Count() >= kMaxItems) Raise(kErrOverflow);
    items_.emplace_back();
    selected_.push_back(0);
    items_[items_.size() - 2] = std::move(item);
    selected_[selected_.size() - 2] = 0;
}

void ListStore::Insert(int32_t index, ListItem item) {
    if (Count() >= kMaxItems) Raise(kErrOverflow);
    items_.insert(items_.begin() + index, std::move(item));
    selected_.insert(selected_.begin() + index, 0);
}

void ListStore::Remove(int32_t index) {
    items_.erase(items_.begin() + index);
    selected_.erase(selected_.begin() + index);
}

void ListStore::Clear() {
    items_.assign(1, ListItem{});
    selected_.assign(1, 0);
}

void ListStore::ClearSelection() { selected_.assign(items_.size(), 0); }

int32_t ListStore::SelectedCount() const {
    int32_t n = 0;
    for (size_t i = 0; i + 1 < selected_.size(); ++i) n += selected_[i] ? 1 : 0;
    return n;
}

int32_t ListStore::FindFirst(const std::u16string& find, int32_t start, bool startWith, LowerCaseFn lower) const {
    std::u16string needle = find;
    lower(needle);
    std::u16string text;
    for (int32_t i = start; i < Count(); ++i) {
        const std::u16string& t = Item(i).text;
        if (t.empty()) continue;
        if (startWith) {
            if (t.size() < needle.size()) continue;
            text.assign(t, 0, needle.size());
            lower(text);
            if (text == needle) return i;
        } else {
            text = t;
            lower(text);
            if (std::u16string_view(text).find(needle) != std::u16string_view::npos) return i;
        }
    }
    return -1;
}

void ListStore::Order(bool descending) {
    const int32_t n = Count();
    if (n < 2) return;
    int32_t h = 1;
    while (h <= n) h = 3 * h + 1;
    do {
        h /= 3;
        for (int32_t i = h; i < n; ++i) {
            ListItem tmp = std::move(Item(i));
            int32_t j = i;
            while ((Item(j - h).text > tmp.text) != descending) {
                Item(j) = std::move(Item(j - h));
                j -= h;
                if (j - h < 0) break;
            }
            Item(j) = std::move(tmp);
        }
    } while (h > 1);
}

}  // namespace lumio::lists
