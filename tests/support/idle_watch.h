#pragma once
// What controls do while their container sits idle: the paints their windows
// receive and the property-change notices they send. A control in a form
// designer must draw once and then rest.
#include <chrono>
#include <cstddef>
#include <vector>

#include "host_form.h"

namespace lumio::test {

struct IdleActivity {
    int paints = 0;        // WM_PAINT reaching the control's window
    size_t notices = 0;    // property-change notices the control sent
};

// Runs the thread's messages (through the form's keyboard routing) for span
// and tells, site by site, what happened meanwhile.
std::vector<IdleActivity> WatchIdle(host::Form& form, const std::vector<host::Site*>& sites,
                                    std::chrono::milliseconds span);

}  // namespace lumio::test
