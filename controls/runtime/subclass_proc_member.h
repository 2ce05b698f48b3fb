#pragma once
// zSubclass_Proc as a dispatch member, for controls that list it in their
// interface: a late-bound caller gets back in its by-reference arguments what
// the control's callback left there.
#include "member_table.h"

namespace lumio {

using SubclassProcCall = void (*)(ControlBase&, bool, bool&, LRESULT&, HWND&, UINT&, WPARAM&, LPARAM&);

Member SubclassProcMember(DISPID id, SubclassProcCall call);

template <class C>
Member SubclassProcMember(DISPID id) {
    return SubclassProcMember(id, [](ControlBase& b, bool before, bool& handled, LRESULT& result, HWND& window,
                                     UINT& message, WPARAM& wParam, LPARAM& lParam) {
        static_cast<C&>(b).zSubclass_Proc(before, handled, result, window, message, wParam, lParam);
    });
}

}  // namespace lumio
