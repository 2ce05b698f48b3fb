#pragma once
// fAbout: the library's about box, one default instance per thread, loaded
// afresh for every showing and unloaded by its OK button.
#include <memory>

#include "host_form.h"

namespace lumio::form {

class AboutDialog {
public:
    AboutDialog();
    host::Form& form() { return *form_; }

private:
    std::unique_ptr<host::Form> form_;
};

// Shows the box modally with no owner; returns once it is closed.
void ShowAboutBox();

}  // namespace lumio::form
