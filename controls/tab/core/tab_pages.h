#pragma once
// Where the controls of the tab pages stand: every page's controls are
// children of the one tab window, those of hidden pages parked TabOffset
// units (twips) to the side per page. And the access keys of tab captions.
#include <cstdint>
#include <string>
#include <vector>

namespace lumio::tab {

// The TabOffset of a new control on a parent this wide: 10000, or the width
// + 1000 when the parent is wider than that.
int32_t DefaultTabOffset(double parentWidth);

// The page a contained control belongs to while page 0 is shown, by its Left.
// A Left of 0 or less counts one page further (Left 0 is page 1).
int32_t TabOfLeft(double left, int32_t tabOffset);

// What to add to every contained control's Left when page newTab replaces
// activeTab; overflow raises 6.
int32_t ShiftDelta(int32_t newTab, int32_t activeTab, int32_t tabOffset);

// The access key of a caption: the upper-cased character after the last
// single "&" ("&&" is a literal ampersand) as a character code; 0 for none.
int32_t TabAccessKey(const std::wstring& caption);

// The access-key list of the control: the non-zero keys in tab order.
std::wstring AccessKeyList(const std::vector<int32_t>& keys);

}  // namespace lumio::tab
