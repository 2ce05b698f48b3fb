// The forwarding under every generated dual interface, over a control of the
// tests: arguments, results and run-time errors come back as
// through Invoke, with the error's own code in place of DISP_E_EXCEPTION.
#include "dual_tear_off.h"
#include "ole_types.h"
#include "probe_control.h"
#include "test_host.h"

namespace {

using namespace testhost;
using namespace lumio::tlb::dual;

const IID kProbeDual = {0x1b0c5e2a, 0x7d41, 0x4c3e, {0x9a, 0x12, 0x55, 0x0e, 0x6f, 0x3d, 0x21, 0x90}};

class ProbeDual final : public DualTearOff<ProbeDual> {
public:
    using DualTearOff::DualTearOff;
    static const IID& Iid() { return kProbeDual; }
    HRESULT get_Text(BSTR* out) { return Get<VT_BSTR>(probe::kText, DISPATCH_PROPERTYGET, out); }
    HRESULT put_Number(LONG v) { return Call(probe::kNumber, DISPATCH_PROPERTYPUT, nullptr, In<VT_I4>(v)); }
    HRESULT Twice(SHORT x, SHORT* out) { return Get<VT_I2>(probe::kTwice, DISPATCH_METHOD, out, In<VT_I2>(x)); }
    HRESULT Fail(LONG n) { return Call(probe::kFail, DISPATCH_METHOD, nullptr, In<VT_I4>(n)); }
};

class DualTearOffTest : public OleTest {
protected:
    void SetUp() override {
        OleTest::SetUp();
        site_ = NewForm().Add(probe::Create, L"Probe1", RECT{10, 10, 110, 40});
        ASSERT_NE(site_, nullptr);
        void* p = nullptr;
        ASSERT_EQ(ProbeDual::Create(site_->Object().get(), &p), S_OK);
        dual_ = static_cast<ProbeDual*>(static_cast<IDispatch*>(p));
    }
    void TearDown() override {
        if (dual_) dual_->Release();
        OleTest::TearDown();
    }
    lumio::host::Site* site_ = nullptr;
    ProbeDual* dual_ = nullptr;
};

TEST_F(DualTearOffTest, ValuesTravelBothWays) {
    ASSERT_EQ(Put(site_->Object().get(), probe::kText, lumio::Variant::String(L"abc")), S_OK);
    BSTR text = nullptr;
    ASSERT_EQ(dual_->get_Text(&text), S_OK);
    EXPECT_EQ(lumio::Bstr(text).str(), L"abc");
    EXPECT_EQ(dual_->get_Text(nullptr), E_POINTER);

    ASSERT_EQ(dual_->put_Number(41), S_OK);
    EXPECT_EQ(AsLong(Get(site_->Object().get(), probe::kNumber)), 41);
    SHORT twice = 0;
    ASSERT_EQ(dual_->Twice(100, &twice), S_OK);
    EXPECT_EQ(twice, 200);
}

TEST_F(DualTearOffTest, RunTimeErrorsReturnTheirCodeWithTheErrorObjectSet) {
    struct Case {
        LONG number;
        HRESULT code;
        const wchar_t* description;
    } cases[] = {{0, static_cast<HRESULT>(0x800A017C), nullptr},
                 {1234, static_cast<HRESULT>(0x800A04D2), L"probe failure 1234"}};
    for (const Case& c : cases) {
        SetErrorInfo(0, nullptr);
        EXCEPINFO info{};
        ASSERT_EQ(Call(site_->Object().get(), probe::kFail, {lumio::Variant::Long(c.number)}, &info), DISP_E_EXCEPTION);
        EXPECT_EQ(info.scode, c.code);
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        lumio::ComPtr<IErrorInfo> late;
        ASSERT_EQ(GetErrorInfo(0, late.put()), S_OK);

        EXPECT_EQ(dual_->Fail(c.number), c.code) << c.number;
        lumio::ComPtr<IErrorInfo> early;
        ASSERT_EQ(GetErrorInfo(0, early.put()), S_OK) << c.number;
        lumio::Bstr d1, d2, s1, s2;
        late->GetDescription(d1.put());
        early->GetDescription(d2.put());
        late->GetSource(s1.put());
        early->GetSource(s2.put());
        if (c.description) {
            EXPECT_EQ(d2.str(), c.description);
        }
        EXPECT_FALSE(d2.str().empty());
        EXPECT_EQ(d1.str(), d2.str());
        EXPECT_EQ(s1.str(), s2.str());
    }
    // An overflow inside the member: error 6, and an empty result.
    SHORT out = 3;
    EXPECT_EQ(dual_->Twice(16384, &out), static_cast<HRESULT>(0x800A0006));
    EXPECT_EQ(out, 0);
}

TEST_F(DualTearOffTest, IdentityIsTheControls) {
    lumio::ComPtr<IUnknown> via_dual, via_control;
    ASSERT_EQ(dual_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(via_dual.put())), S_OK);
    ASSERT_EQ(site_->Object()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(via_control.put())), S_OK);
    EXPECT_EQ(via_dual.get(), via_control.get());
    void* again = nullptr;
    ASSERT_EQ(dual_->QueryInterface(kProbeDual, &again), S_OK);
    EXPECT_EQ(again, static_cast<IDispatch*>(dual_));
    static_cast<IDispatch*>(again)->Release();
    lumio::ComPtr<IOleObject> ole;
    EXPECT_EQ(dual_->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(ole.put())), S_OK);
}

}  // namespace
