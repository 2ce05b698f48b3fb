// LumioTextBox on a system whose ANSI code page is 936 (GBK): double-byte
// text and a Chinese face name cross into the edit window intact.
#include <gtest/gtest.h>

#include "lumio_text_box.h"
#include "std_objects.h"
#include "test_host.h"

namespace {

using lumio::Variant;
using lumio::host::Site;
using lumio::lists::LumioTextBox;
using namespace testhost;

namespace id = lumio::tlb::dispid::LumioTextBox;

class TextBoxCp936Test : public OleTest {};

TEST_F(TextBoxCp936Test, DoubleByteTextAndFaceNameCrossIntact) {
    ASSERT_EQ(GetACP(), 936u) << "run with LC_ALL=zh_CN.UTF-8";
    auto& f = NewForm(true);
    auto bag = lumio::MemoryPropertyBag::Create();
    Site* s = f.Add(LumioTextBox::Create, L"Text1", RECT{10, 10, 210, 40}, bag.get());
    ASSERT_NE(s, nullptr);
    IDispatch* d = s->Object().get();
    HWND edit = FindWindowExW(s->ControlWindow(), nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);

    const std::wstring text = L"简体中文 编辑框 abc 繁體";
    ASSERT_EQ(Put(d, id::Text, Variant::String(text)), S_OK);
    EXPECT_EQ(AsString(Get(d, id::Text)), text);
    // Characters outside the code page come back as its replacement.
    ASSERT_EQ(Put(d, id::Text, Variant::String(L"a\u0E01b")), S_OK);
    EXPECT_EQ(AsString(Get(d, id::Text)), L"a?b");

    const std::wstring face = L"文泉驿微米黑";
    auto font = lumio::CreateStdFont(face, 10);
    ASSERT_EQ(lumio::PutPropertyById(d, id::Font, Variant::Object(font.As<IDispatch>().get())), S_OK);
    HFONT h = reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    ASSERT_NE(GetObjectW(h, sizeof lf, &lf), 0);
    EXPECT_EQ(std::wstring(lf.lfFaceName), face);
}

}  // namespace
