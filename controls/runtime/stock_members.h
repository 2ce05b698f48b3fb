#pragma once
// Members that controls offer alike, bound to the base's state, so that a
// control's table lists only its own: the font and its six attributes, hWnd,
// MousePointer with MouseIcon. After a change the control's `changed` member
// runs (its redraw), then the host hears of it under the member's bag key
// (the font's attributes are saved inside "Font").
//
//   MemberTable t;
//   StockMembers(t, &MyControl::Refresh)
//       .Font({id::Font, id::FontBold, id::FontItalic, id::FontName, id::FontSize,
//              id::FontStrikethru, id::FontUnderline})
//       .hWnd(id::hWnd);
//
// A control whose stock member does more (a pointer that also clears another
// property) keeps its own accessor for that member instead.
#include <functional>

#include "control_base.h"
#include "member_table.h"

namespace lumio {

struct StockFontIds {
    DISPID font, bold, italic, name, size, strikethru, underline;
};

class StockMembers {
public:
    using Changed = std::function<void(ControlBase&)>;

    explicit StockMembers(MemberTable& table, Changed changed = {});
    template <class C>
    StockMembers(MemberTable& table, void (C::*changed)())
        : StockMembers(table, [changed](ControlBase& b) { (static_cast<C&>(b).*changed)(); }) {}

    // Font (by reference) and FontBold, FontItalic, FontName, FontSize
    // (points, single), FontStrikethru, FontUnderline.
    StockMembers& Font(const StockFontIds& ids);
    // The control's window handle, read-only.
    StockMembers& hWnd(DISPID id);
    // MousePointer, and MouseIcon, whose setting chooses the custom pointer
    // (or the default one for an empty picture).
    StockMembers& Mouse(DISPID pointer, DISPID icon);

private:
    MemberTable& table_;
    Changed changed_;
};

}  // namespace lumio
