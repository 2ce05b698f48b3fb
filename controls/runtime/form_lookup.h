#pragma once
// The form that holds a control, found late-bound as any host offers it:
// the control's parent, or up that object's "Parent" chain.
#include <oaidl.h>

#include "com_ptr.h"

namespace lumio {

// A form answers both hWnd and WindowState; a user control or a picture
// box in between answers no WindowState and is passed by.
bool IsFormObject(IDispatch* obj);

// The first form among parent, parent.Parent, ... looking at no more than
// `levels` objects; nullptr when none is found.
ComPtr<IDispatch> FindForm(IDispatch* parent, int levels);

// The form's window read late-bound as "hWnd"; nullptr when it has none.
HWND FormWindow(IDispatch* form);

}  // namespace lumio
