#pragma once
// The controls' about methods show the library's about box through this
// hook, set by the part that holds the box, so that they need not link it.
namespace lumio {

void SetAboutHandler(void (*handler)());
// Shows the about box modally; does nothing when no box is linked in.
void ShowAbout();

}  // namespace lumio
