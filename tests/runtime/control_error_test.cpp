// An error raised deep in the library's own arithmetic, inside a control
// member, reaches a late-bound caller as the same run-time error.
#include "ole_types.h"
#include "probe_control.h"
#include "test_host.h"

namespace {

using namespace testhost;

class ControlErrorTest : public OleTest {};

TEST_F(ControlErrorTest, OverflowInAMemberIsError6ForTheCaller) {
    lumio::host::Form& f = NewForm();
    lumio::host::Site* s = f.Add(probe::Create, L"Probe1", RECT{10, 10, 110, 40});
    ASSERT_NE(s, nullptr);
    IDispatch* obj = s->Object().get();

    lumio::Variant result;
    ASSERT_EQ(Call(obj, probe::kTwice, {lumio::Variant::Long(16383)}, nullptr, &result), S_OK);
    EXPECT_EQ(AsLong(result), 32766);

    SetErrorInfo(0, nullptr);
    EXCEPINFO info{};
    ASSERT_EQ(Call(obj, probe::kTwice, {lumio::Variant::Long(16384)}, &info), DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, static_cast<HRESULT>(0x800A0006));
    EXPECT_EQ(lumio::Bstr(info.bstrSource).str(), L"Lumiokit");
    EXPECT_EQ(lumio::Bstr(info.bstrDescription).str(), L"Overflow");
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    lumio::ComPtr<IErrorInfo> err;
    ASSERT_EQ(GetErrorInfo(0, err.put()), S_OK);
    lumio::Bstr desc;
    err->GetDescription(desc.put());
    EXPECT_EQ(desc.str(), L"Overflow");
}

}  // namespace
