// A host we did not write: the system's ATL control-hosting window creates
// each control from its ProgID once the library is registered.
#include "atl_host.h"

#include <optional>
#include <string>

#include "lumiokit_ids.h"

namespace {

namespace tlb = lumio::tlb;
namespace dispid = lumio::tlb::dispid;
using lumio::ComPtr;
using lumio::test::AtlHostTest;
using lumio::test::CallExport;
using lumio::test::GetLong;
using lumio::test::PumpMessages;

class AtlHost : public AtlHostTest {};

// One row per creatable class: made by ProgID, of its own class, its window
// in the host's, and one member read through late binding.
TEST_F(AtlHost, CreatesEachControlByProgId) {
    struct Row {
        const wchar_t* progId;
        const CLSID* clsid;
        DISPID member;
        std::optional<long> value;  // none: the read has only to succeed
    } rows[] = {
        {L"Lumiokit.LumioButton", &tlb::CLSID_LumioButton, dispid::LumioButton::Value, 0},
        {L"Lumiokit.LumioCheckBox", &tlb::CLSID_LumioCheckBox, dispid::LumioCheckBox::Value, 0},
        {L"Lumiokit.LumioOptionButton", &tlb::CLSID_LumioOptionButton, dispid::LumioOptionButton::Value, 0},
        {L"Lumiokit.LumioGroupBox", &tlb::CLSID_LumioGroupBox, dispid::LumioGroupBox::BorderColor, std::nullopt},
        {L"Lumiokit.LumioProgressBar", &tlb::CLSID_LumioProgressBar, dispid::LumioProgressBar::Max, 100},
        {L"Lumiokit.LumioStatusBar", &tlb::CLSID_LumioStatusBar, dispid::LumioStatusBar::Style, std::nullopt},
        {L"Lumiokit.LumioTextBox", &tlb::CLSID_LumioTextBox, dispid::LumioTextBox::BorderStyle, std::nullopt},
        {L"Lumiokit.LumioScrollbar", &tlb::CLSID_LumioScrollbar, dispid::LumioScrollbar::Max, 100},
        {L"Lumiokit.LumioListBox", &tlb::CLSID_LumioListBox, dispid::LumioListBox::ListIndex, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "ProgID " << std::string(r.progId, r.progId + wcslen(r.progId)));
        HWND host = NewHostWindow({160, 100});
        ASSERT_NE(host, nullptr);
        ComPtr<IDispatch> control = Host(host, r.progId, *r.clsid);
        ASSERT_TRUE(control);
        constexpr long kFailed = -12345;
        const long got = GetLong(control.get(), r.member, kFailed);
        EXPECT_NE(got, kFailed) << "the member reads";
        if (r.value) {
            EXPECT_EQ(got, *r.value);
        }
        control.reset();
        DestroyWindow(host);
    }
}

TEST_F(AtlHost, ButtonCaptionRoundTripsChineseText) {
    ComPtr<IDispatch> button = Host(L"Lumiokit.LumioButton", tlb::CLSID_LumioButton);
    ASSERT_TRUE(button);
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstrVal = SysAllocString(L"确定");
    EXPECT_EQ(lumio::test::PutProperty(button.get(), DISPID_CAPTION, arg), S_OK);
    VariantClear(&arg);
    VARIANT result;
    ASSERT_EQ(lumio::test::GetProperty(button.get(), DISPID_CAPTION, &result), S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(result.bstrVal), L"确定");
    VariantClear(&result);
}

// Focused where there is no Controls collection to search, the option
// button still selects itself.
TEST_F(AtlHost, OptionButtonSelectsItselfOnFocusWithoutSiblings) {
    ComPtr<IDispatch> option = Host(L"Lumiokit.LumioOptionButton", tlb::CLSID_LumioOptionButton);
    ASSERT_TRUE(option);
    SetFocus(lumio::test::GetWindowHandle(option.get()));
    PumpMessages();
    VARIANT value;
    ASSERT_EQ(lumio::test::GetProperty(option.get(), dispid::LumioOptionButton::Value, &value), S_OK);
    EXPECT_EQ(value.vt, VT_BOOL);
    EXPECT_EQ(value.boolVal, VARIANT_TRUE);
}

// The frame control has no properties to read back: it answers its default
// and callback interfaces and names its dialogs, and being invisible at run
// time it does not need the frame it would skin.
TEST_F(AtlHost, CreatesLumioBasicFormByProgId) {
    HWND host = CreateWindowExW(0, L"AtlAxWin", L"", WS_CHILD | WS_VISIBLE, 10, 10, 160, 30, Top(), nullptr,
                                nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    IUnknown* container = nullptr;
    ASSERT_EQ(Atl().create(L"Lumiokit.LumioBasicForm", host, nullptr, &container), S_OK);
    if (container) container->Release();
    IUnknown* control = nullptr;
    ASSERT_EQ(Atl().get(host, &control), S_OK);
    ASSERT_NE(control, nullptr);
    IPersist* persist = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&persist)), S_OK);
    CLSID got{};
    persist->GetClassID(&got);
    persist->Release();
    EXPECT_TRUE(IsEqualCLSID(got, lumio::tlb::CLSID_LumioBasicForm));
    IUnknown* calls = nullptr;
    EXPECT_EQ(control->QueryInterface(lumio::tlb::IID_CustomWindowCalls, reinterpret_cast<void**>(&calls)), S_OK);
    if (calls) calls->Release();
    IDispatch* disp = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp)), S_OK);
    for (const wchar_t* name : {L"ShowMsgBox", L"ShowInputBox"}) {
        DISPID id = 0;
        LPOLESTR n = const_cast<LPOLESTR>(name);
        EXPECT_EQ(disp->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id), S_OK) << name;
    }
    disp->Release();
    control->Release();
    DestroyWindow(host);
}

// A dialog closing under ATL destroys its windows before it lets the
// control go: the button's hooks must let go of windows already gone, and
// the library must be free to unload afterwards.
TEST_F(AtlHost, ButtonOutlivesItsHostWindows) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        HWND top = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 300, 200,
                                   nullptr, nullptr, nullptr, nullptr);
        HWND host = NewHostWindow({120, 30}, top);
        ASSERT_NE(host, nullptr);
        ComPtr<IUnknown> container, control;
        ASSERT_EQ(Atl().create(L"Lumiokit.LumioButton", host, nullptr, container.put()), S_OK);
        ASSERT_EQ(Atl().get(host, control.put()), S_OK);
        ASSERT_TRUE(control);
        // The messages the button listens for reach a live button.
        SendMessageW(top, WM_ACTIVATE, WA_ACTIVE, 0);
        HWND button = GetWindow(host, GW_CHILD);
        ASSERT_NE(button, nullptr);
        PostMessageW(button, WM_MOUSELEAVE, 0, 0);
        PumpMessages();

        DestroyWindow(top);
        PumpMessages();
        control.reset();
        container.reset();
        PumpMessages();
    }
    CoFreeUnusedLibraries();
    EXPECT_EQ(CallExport(Library(), "DllCanUnloadNow"), S_OK) << "a hook or object of the button is left";
}

}  // namespace
