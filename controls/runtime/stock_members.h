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
// property, a font kept apart from the base's) keeps its own accessor for
// that member instead.
#include <functional>
#include <initializer_list>

#include "control_base.h"
#include "member_table.h"

namespace lumio {

struct StockFontIds {
    DISPID font, bold, italic, name, size, strikethru, underline;
};

class StockMembers {
public:
    using Changed = std::function<void(ControlBase&)>;
    // What the host hears of a change: the member's bag key, or only that
    // the control has unsaved changes.
    enum class Report : bool { Key, DirtyOnly };
    // Whether a new MouseIcon also chooses the pointer (custom, or the default
    // for an empty picture) or is only kept.
    enum class IconPointer : bool { Chosen, Kept };

    explicit StockMembers(MemberTable& table, Changed changed = {}, Report report = Report::Key);
    template <class C>
    StockMembers(MemberTable& table, void (C::*changed)(), Report report = Report::Key)
        : StockMembers(table, [changed](ControlBase& b) { (static_cast<C&>(b).*changed)(); }, report) {}

    // Font (by reference) and FontBold, FontItalic, FontName, FontSize
    // (points, single), FontStrikethru, FontUnderline.
    StockMembers& Font(const StockFontIds& ids);
    // The control's window handle, read-only.
    StockMembers& hWnd(DISPID id);
    // MousePointer, and MouseIcon.
    StockMembers& Mouse(DISPID pointer, DISPID icon, IconPointer rule = IconPointer::Chosen);

private:
    // Runs after a write: the control's member, then the report of the keys.
    std::function<void(ControlBase&, std::initializer_list<const wchar_t*>)> After() const;

    MemberTable& table_;
    Changed changed_;
    Report report_;
};

}  // namespace lumio
