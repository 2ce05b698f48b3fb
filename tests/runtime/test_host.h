#pragma once
// Shared set-up of the control tests: OLE on the test thread, a shown form
// of our container, and late-bound helpers.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host_form.h"
#include "simple_dispatch.h"
#include "wait_for.h"

namespace testhost {

class OleTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A new shown form; the previous one is unloaded.
    lumio::host::Form& NewForm(bool user_mode = true);
    lumio::host::Form& form() { return *form_; }
    std::unique_ptr<lumio::host::Form> form_;
};

// Settles the thread's messages through the form's keyboard routing, as its program's loop would.
inline bool Settle(lumio::host::Form* form) {
    return lumio::test::Settle([form](MSG& m) { return form && form->PreTranslate(m); });
}
// Waits for done(), the messages going through the form's keyboard routing.
inline bool WaitUntil(lumio::host::Form* form, const std::function<bool()>& done) {
    return lumio::test::WaitUntil(done, lumio::test::kDeadline, [form](MSG& m) { return form && form->PreTranslate(m); });
}

HWND TopWindow();
lumio::Variant Get(IDispatch* obj, DISPID id);
HRESULT Put(IDispatch* obj, DISPID id, const lumio::Variant& v);
// Calls a method; info receives the exception of DISP_E_EXCEPTION.
HRESULT Call(IDispatch* obj, DISPID id, std::initializer_list<lumio::Variant> args, EXCEPINFO* info = nullptr,
             lumio::Variant* result = nullptr);
// Any member with arguments in call order; a property write takes its value last.
HRESULT InvokeWith(IDispatch* obj, DISPID id, WORD flags, const std::vector<lumio::Variant>& args,
                   lumio::Variant* result = nullptr, EXCEPINFO* info = nullptr);
long AsLong(const lumio::Variant& v);
std::wstring AsString(const lumio::Variant& v);

}  // namespace testhost
