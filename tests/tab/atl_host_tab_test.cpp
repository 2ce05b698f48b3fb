// A host we did not write: the system's ATL control-hosting window creates
// LumioTab from its ProgID. That host has no parent object with a Width and
// no list of contained controls; the control still starts complete.
#include "atl_host.h"

#include <string>

#include "lumiokit_ids.h"

namespace {

namespace id = lumio::tlb::dispid::LumioTab;
using lumio::ComPtr;
using lumio::test::GetLong;
using lumio::test::GetProperty;

class AtlHostTab : public lumio::test::AtlHostTest {};

TEST_F(AtlHostTab, CreatesLumioTabByProgIdWithItsTabsAndPalette) {
    ComPtr<IDispatch> tab = Host(L"Lumiokit.LumioTab", lumio::tlb::CLSID_LumioTab, {300, 200});
    ASSERT_TRUE(tab);
    // No parent width to read: the default offset, and the set-up went on to
    // the tab records and the standard palette.
    EXPECT_EQ(GetLong(tab.get(), id::TabOffset), 10000);
    EXPECT_EQ(GetLong(tab.get(), id::TabCount), 3);
    EXPECT_EQ(GetLong(tab.get(), id::ActiveTabBackStartColor), 0xFFFFFF);
    EXPECT_EQ(GetLong(tab.get(), id::InActiveTabBackEndColor), 0xCFCFCF);
    VARIANT index, caption;
    VariantInit(&index);
    index.vt = VT_I4;
    index.lVal = 2;
    ASSERT_EQ(GetProperty(tab.get(), id::TabCaption, &caption, &index), S_OK);
    ASSERT_EQ(caption.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(caption.bstrVal), L"Tab 2");
    VariantClear(&caption);
    // Switching works with no contained controls to move.
    VARIANT two;
    VariantInit(&two);
    two.vt = VT_I4;
    two.lVal = 2;
    EXPECT_EQ(lumio::test::PutProperty(tab.get(), id::ActiveTab, two), S_OK);
    EXPECT_EQ(GetLong(tab.get(), id::ActiveTab), 2);
    EXPECT_EQ(GetLong(tab.get(), id::LastActiveTab), 0);
}

}  // namespace
