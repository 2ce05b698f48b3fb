// LumioListBox in our container: members through Invoke, the bag, whole
// rows, the bar it hosts, real keys, mouse and wheel, icons, looks and leaks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bar_test_support.h"
#include "live_objects.h"
#include "lumiokit_dual.h"
#include "lumio_list_box.h"
#include "png_shot.h"
#include "real_input.h"
#include "simple_dispatch.h"
#include "test_host.h"
#include "window_capture.h"

namespace {

using lumio::ComPtr;
using lumio::SimpleDispatch;
using lumio::Variant;
using lumio::host::Site;
using lumio::lists::LumioListBox;
using namespace testhost;

namespace id = lumio::tlb::dispid::LumioListBox;
namespace ev = lumio::tlb::dispid::LumioListBoxEvents;
namespace barid = lumio::tlb::dispid::LumioScrollbar;

Variant Missing() {
    Variant m;
    m->vt = VT_ERROR;
    m->scode = DISP_E_PARAMNOTFOUND;
    return m;
}

// The run-time error number of a failed call, 0 for success.
long ErrorOf(HRESULT hr, EXCEPINFO& info) {
    const HRESULT code = hr == DISP_E_EXCEPTION ? info.scode : hr;
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    info = EXCEPINFO{};
    return SUCCEEDED(code) ? 0 : (code & 0xFFFF);
}

class ListBoxTest : public OleTest {
protected:
    Site* site_ = nullptr;
    HWND hwnd_ = nullptr;
    IDispatch* List() { return site_->Object().get(); }
    LumioListBox& Impl() { return *static_cast<LumioListBox*>(static_cast<IDispatch*>(site_->Object().get())); }
    IDispatch* Bar() { return Impl().bar()->Object(); }
    HWND BarWindow() { return Impl().bar()->ControlWindow(); }

    // Three rows of the default font and a half; loaded from a bag (an empty
    // one by default), as a form at run time loads its controls.
    void Start(bool userMode = true, IPropertyBag* bag = nullptr, int rows10 = 35) {
        auto& f = NewForm(userMode);
        auto empty = lumio::MemoryPropertyBag::Create();
        site_ = f.Add(LumioListBox::Create, L"List1", RECT{10, 10, 170, 10 + 200}, bag ? bag : empty.get());
        ASSERT_NE(site_, nullptr);
        hwnd_ = site_->ControlWindow();
        const int h = Impl().RowHeight() * rows10 / 10 + 4;
        site_->Move(RECT{10, 10, 170, 10 + h});
        Settle(form_.get());
        f.log().clear();
    }
    void Fill(int n) {
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(Call(List(), id::AddItem, {Variant::String(L"Item " + std::to_wstring(i))}), S_OK);
        Settle(form_.get());
        form_->log().clear();
    }
    long GetL(DISPID member) { return AsLong(Get(List(), member)); }
    Variant Indexed(DISPID member, short i, long* error = nullptr) {
        Variant v;
        EXCEPINFO info{};
        const long e = ErrorOf(InvokeWith(List(), member, DISPATCH_PROPERTYGET, {Variant::Int(i)}, &v, &info), info);
        if (error) *error = e;
        return v;
    }
    std::vector<std::string> Events() const {
        std::vector<std::string> out;
        for (auto& e : form_->log()) {
            if (e.notice) continue;
            switch (e.id) {
            case ev::ListIndexChange: out.push_back("ListIndexChange"); break;
            case ev::Scroll: out.push_back("Scroll"); break;
            case ev::TopIndexChange: out.push_back("TopIndexChange"); break;
            case ev::KeyDown: out.push_back("KeyDown"); break;
            case ev::Click: out.push_back("Click"); break;
            default: break;
            }
        }
        return out;
    }
    int Count(DISPID which) const {
        int n = 0;
        for (auto& e : form_->log()) n += (!e.notice && e.id == which) ? 1 : 0;
        return n;
    }
    static void SendMouse(DWORD flags, int x = 0, int y = 0) { realinput::SendMouse(flags, x, y); }
    static void MoveTo(HWND w, int x, int y) {
        POINT p{x, y};
        ClientToScreen(w, &p);
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p.x, p.y);
    }
    bool Wait(const std::function<bool()>& done) { return WaitUntil(form_.get(), done); }
    shots::Capture Look(const wchar_t* shot) {
        Settle(form_.get());
        shots::Capture c = shots::CaptureWindow(hwnd_);
        c.Save(shot);
        return c;
    }
};

TEST_F(ListBoxTest, ItemsAndTheirErrorsThroughInvoke) {
    Start();
    EXPECT_EQ(GetL(id::ListCount), 0);
    EXPECT_EQ(GetL(id::ListIndex), -1);
    EXPECT_EQ(GetL(id::SelectedCount), 0);
    EXPECT_EQ(bars::PutError(List(), id::TopIndex, Variant::Int(0)), 380);
    EXCEPINFO info{};
    EXPECT_EQ(ErrorOf(Call(List(), id::FindFirst, {Variant::String(L"a")}, &info), info), 381);
    EXPECT_EQ(ErrorOf(Call(List(), id::InsertItem, {Variant::Int(0), Variant::String(L"a")}, &info), info), 381);
    // Omitted icons: AddItem's IconSelected follows Icon; InsertItem's are 0.
    ASSERT_EQ(Call(List(), id::AddItem, {Variant::String(L"b"), Variant::Int(3)}), S_OK);
    ASSERT_EQ(Call(List(), id::InsertItem, {Variant::Int(0), Variant::String(L"a")}), S_OK);
    ASSERT_EQ(Call(List(), id::AddItem, {Variant::Long(42)}), S_OK);
    EXPECT_EQ(GetL(id::ListIndex), -1);
    EXPECT_EQ(AsLong(Indexed(id::ItemIconSelected, 1)), 3);
    EXPECT_EQ(AsLong(Indexed(id::ItemIcon, 0)), 0);
    EXPECT_EQ(AsString(Indexed(id::ItemText, 2)), L"42");
    // The spare slot reads empty; one past it is 381, a negative index 9.
    long error = -1;
    EXPECT_EQ(AsString(Indexed(id::ItemText, 3, &error)), L"");
    EXPECT_EQ(error, 0);
    Indexed(id::ItemText, 4, &error);
    EXPECT_EQ(error, 381);
    Indexed(id::ItemSelected, -1, &error);
    EXPECT_EQ(error, 9);
    EXPECT_EQ(ErrorOf(Call(List(), id::RemoveItem, {Variant::Int(3)}, &info), info), 381);
    // ModifyItem with the text left out keeps it; an empty string empties it.
    ASSERT_EQ(Call(List(), id::ModifyItem, {Variant::Int(0), Missing(), Variant::Int(5)}), S_OK);
    EXPECT_EQ(AsString(Indexed(id::ItemText, 0)), L"a");
    EXPECT_EQ(AsLong(Indexed(id::ItemIcon, 0)), 5);
    ASSERT_EQ(Call(List(), id::ModifyItem, {Variant::Int(0), Variant::String(L"")}), S_OK);
    EXPECT_EQ(AsString(Indexed(id::ItemText, 0)), L"");
    Variant found;
    ASSERT_EQ(Call(List(), id::FindFirst, {Variant::String(L"B"), Variant::Int(0), Variant::Bool(true)}, nullptr, &found),
              S_OK);
    EXPECT_EQ(AsLong(found), 1);
    // Writes mark the control dirty without a notice.
    ComPtr<IPersistStreamInit> persist = site_->Object().As<IPersistStreamInit>();
    ASSERT_TRUE(persist);
    ASSERT_EQ(Put(List(), id::Focus, Variant::Bool(false)), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_OK);
    for (auto& e : form_->log()) EXPECT_FALSE(e.notice);
}

// Made but not yet given its properties: the list's font is there already.
TEST_F(ListBoxTest, FontIsAFontBeforeTheProperties) {
    lumio::ComPtr<IDispatch> list;
    ASSERT_EQ(LumioListBox::Create(nullptr, IID_IDispatch, list.put_void()), S_OK);
    Variant font = Get(list.get(), id::Font);
    ASSERT_EQ(font.vt(), VT_DISPATCH);
    lumio::ComPtr<IFont> f;
    ASSERT_TRUE(font->pdispVal);
    EXPECT_EQ(font->pdispVal->QueryInterface(IID_IFont, f.put_void()), S_OK);
}

TEST_F(ListBoxTest, EveryKeyRoundTrips) {
    Start();
    struct Case {
        DISPID member;
        long value;
    } cases[] = {
        {id::Appearance, 0},        {id::BorderStyle, 0},         {id::Enabled, 0},
        {id::FontNormal, 0x112233}, {id::FontSelected, 0x445566}, {id::BackNormal, 0x778899},
        {id::BackSelected, 0x0A0B0C}, {id::Alignment, 2},         {id::Focus, 0},
        {id::HoverSelection, -1},   {id::ItemHeightAuto, 0},      {id::ItemHeight, 30},
        {id::ItemOffset, 1},        {id::ItemTextLeft, 7},        {id::OrderType, 1},
        {id::SelectMode, 1},        {id::MousePointer, 2},
    };
    for (const auto& c : cases) ASSERT_EQ(Put(List(), c.member, Variant::Long(c.value)), S_OK) << c.member;
    auto bag = form_->Save(site_);
    ASSERT_TRUE(bag);
    Start(true, bag.get());
    for (const auto& c : cases) EXPECT_EQ(GetL(c.member), c.value) << c.member;
    // A stored height below the font's comes back as the font's.
    auto small = lumio::MemoryPropertyBag::Create();
    Variant three = Variant::String(L"3");
    small->Write(L"ItemHeight", three.get());
    Start(true, small.get());
    EXPECT_EQ(GetL(id::ItemHeight), Impl().RowHeight());
}

TEST_F(ListBoxTest, WholeRowsAndTheBarFollowTheItems) {
    Start();
    const int row = Impl().RowHeight();
    ASSERT_GT(row, 0);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    EXPECT_EQ(rc.bottom, 3 * row + 4);
    Fill(3);
    EXPECT_FALSE(IsWindowVisible(BarWindow()));
    ASSERT_EQ(Call(List(), id::AddItem, {Variant::String(L"four")}), S_OK);
    EXPECT_TRUE(IsWindowVisible(BarWindow()));
    EXPECT_EQ(AsLong(Get(Bar(), barid::LargeChange)), 3);
    EXPECT_EQ(AsLong(Get(Bar(), barid::Max)), 1);
    RECT bar;
    GetWindowRect(BarWindow(), &bar);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(bar.right, rc.right - 1);
    EXPECT_EQ(bar.right - bar.left, LumioListBox::kBarWidth);
    EXPECT_EQ(bar.bottom - bar.top, rc.bottom - 2);
    ASSERT_EQ(Call(List(), id::RemoveItem, {Variant::Int(3)}), S_OK);
    EXPECT_FALSE(IsWindowVisible(BarWindow()));
}

TEST_F(ListBoxTest, WheelMovesOneRowPerNotch) {
    Start();
    Fill(10);
    struct Case {
        WPARAM wparam;
        long top;
    } cases[] = {{0xFF880000u, 1}, {0xFF880000u, 2}, {0x00F00000u, 2}, {0xFF880008u, 2}, {0x00780000u, 1}};
    for (const auto& c : cases) {
        SendMessageW(hwnd_, WM_MOUSEWHEEL, c.wparam, 0);
        EXPECT_EQ(GetL(id::TopIndex), c.top) << std::hex << c.wparam;
    }
    EXPECT_EQ(Count(ev::TopIndexChange), 3);
    // The same callback, late-bound as the library lists it: a notch toward
    // the user scrolls, and the answer is left as it was.
    VARIANT_BOOL handled = VARIANT_FALSE;
    LONGLONG result = 5, window = reinterpret_cast<LONG_PTR>(hwnd_), message = WM_MOUSEWHEEL, wp = 0xFF880000u, lp = 0;
    auto ref = [](LONGLONG& x) {
        Variant v;
        v->vt = VT_I8 | VT_BYREF;
        v->pllVal = &x;
        return v;
    };
    Variant handledRef;
    handledRef->vt = VT_BOOL | VT_BYREF;
    handledRef->pboolVal = &handled;
    ASSERT_EQ(Call(List(), id::zSubclass_Proc,
                   {Variant::Bool(false), handledRef, ref(result), ref(window), ref(message), ref(wp), ref(lp)}),
              S_OK);
    EXPECT_EQ(GetL(id::TopIndex), 2);
    EXPECT_EQ(handled, VARIANT_FALSE);
    EXPECT_EQ(result, 5);
    Start();
    Fill(3);
    SendMessageW(hwnd_, WM_MOUSEWHEEL, 0xFF880000u, 0);
    EXPECT_EQ(GetL(id::TopIndex), 0);
    EXPECT_TRUE(Events().empty());
}

TEST_F(ListBoxTest, KeysMoveAndScrollBeforeKeyDown) {
    Start();
    Fill(10);
    PostMessageW(hwnd_, WM_KEYDOWN, VK_DOWN, 0);  // no current item: KeyDown only
    ASSERT_TRUE(Wait([&] { return Count(ev::KeyDown) == 1; }));
    EXPECT_EQ(Events(), (std::vector<std::string>{"KeyDown"}));
    ASSERT_EQ(Put(List(), id::ListIndex, Variant::Int(2)), S_OK);
    form_->log().clear();
    PostMessageW(hwnd_, WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_TRUE(Wait([&] { return Count(ev::KeyDown) == 1; }));
    EXPECT_EQ(Events(), (std::vector<std::string>{"Scroll", "TopIndexChange", "ListIndexChange", "KeyDown"}));
    EXPECT_EQ(GetL(id::TopIndex), 1);
    form_->log().clear();
    short key = VK_RETURN, shift = 0;
    Variant k = Variant::Int(key), s = Variant::Int(shift);
    ASSERT_EQ(Call(List(), id::SimulateKeyPress, {k, s}), S_OK);
    EXPECT_EQ(Events(), (std::vector<std::string>{"ListIndexChange", "Click", "KeyDown"}));
}

// SimulateKeyPress moves as the key would, then hands back what the KeyDown
// handler left in KeyCode and Shift, late-bound and through the dual slot.
TEST_F(ListBoxTest, SimulateKeyPressReturnsWhatKeyDownLeft) {
    Start();
    Fill(10);
    ASSERT_EQ(Put(List(), id::ListIndex, Variant::Int(2)), S_OK);
    form_->OnEvent([](Site&, DISPID which, DISPPARAMS* p) {
        if (which != ev::KeyDown) return;
        *p->rgvarg[1].piVal = static_cast<short>(*p->rgvarg[1].piVal + 1000);  // KeyCode
        *p->rgvarg[0].piVal = 4;  // Shift
    });
    short key = VK_DOWN, shift = 0;
    VARIANT k{}, s{};
    k.vt = s.vt = VT_I2 | VT_BYREF;
    k.piVal = &key;
    s.piVal = &shift;
    ASSERT_EQ(Call(List(), id::SimulateKeyPress, {Variant(k), Variant(s)}), S_OK);
    EXPECT_EQ(GetL(id::ListIndex), 3);
    EXPECT_EQ(key, VK_DOWN + 1000);
    EXPECT_EQ(shift, 4);

    ComPtr<IDispatch> early;
    ASSERT_EQ(List()->QueryInterface(lumio::tlb::IID_LumioListBox, reinterpret_cast<void**>(early.put())), S_OK);
    auto* dual = static_cast<lumio::tlb::dual::LumioListBoxDual*>(early.get());
    key = VK_UP, shift = 0;
    ASSERT_EQ(dual->SimulateKeyPress(&key, &shift), S_OK);
    EXPECT_EQ(GetL(id::ListIndex), 2);
    EXPECT_EQ(key, VK_UP + 1000);
    EXPECT_EQ(shift, 4);
    form_->OnEvent(nullptr);
}

TEST_F(ListBoxTest, ClickSelectsAndTheBarDragScrolls) {
    Start(true, nullptr, 85);  // 8 rows: a track long enough to drag in
    Fill(30);
    const int row = Impl().RowHeight();
    MoveTo(hwnd_, 20, row + row / 2);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(Wait([&] { return Count(ev::Click) == 1; }));
    EXPECT_EQ(GetL(id::ListIndex), 1);
    EXPECT_EQ(Events(), (std::vector<std::string>{"ListIndexChange", "Click"}));
    form_->log().clear();
    // The thumb sits under the top arrow; drag it down by most of the track.
    HWND bar = BarWindow();
    MoveTo(bar, 8, 18 + 4);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(Wait([&] { return GetCapture() == bar; }));
    RECT rc;
    GetClientRect(bar, &rc);
    MoveTo(bar, 8, rc.bottom / 2 + 4);
    ASSERT_TRUE(Wait([&] { return Count(ev::Scroll) >= 2; }));
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(Wait([&] { return GetCapture() != bar; }));
    Settle(form_.get());
    const auto events = Events();
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(events.begin(), events.begin() + 3),
              (std::vector<std::string>{"Scroll", "TopIndexChange", "Scroll"}));
    EXPECT_GT(GetL(id::TopIndex), 0);
}

// Multiple mode under real input: the press inverts the row under it and the
// drag gives every row it crosses that new state, selecting or clearing.
TEST_F(ListBoxTest, MultipleModeDragGivesCrossedRowsThePressedState) {
    Start(true, nullptr, 85);
    Fill(8);
    ASSERT_EQ(Put(List(), id::SelectMode, Variant::Long(1)), S_OK);
    const int row = Impl().RowHeight();
    auto drag = [&](int from, int to) {
        MoveTo(hwnd_, 20, from * row + row / 2);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        ASSERT_TRUE(Wait([&] { return GetL(id::ListIndex) == from; }));
        // Row by row: a move that jumps rows sets only the row it lands on.
        for (int r = from; r != to;) {
            r += to > from ? 1 : -1;
            MoveTo(hwnd_, 20, r * row + row / 2);
            ASSERT_TRUE(Wait([&] { return GetL(id::ListIndex) == r; })) << r;
        }
        SendMouse(MOUSEEVENTF_LEFTUP);
        ASSERT_TRUE(Wait([&] { return GetCapture() != hwnd_; }));
    };
    auto selected = [&] {
        std::string flags;
        for (short i = 0; i < 8; ++i) flags += lumio::VariantValue<bool>::From(*Indexed(id::ItemSelected, i)) ? '1' : '0';
        return flags;
    };
    struct Case {
        int from, to;
        const char* flags;
    };
    const Case cases[] = {
        {1, 4, "01111000"},  // an unselected row pressed: the drag selects
        {6, 5, "01111110"},
        {4, 2, "01000110"},  // a selected row pressed: the drag clears, the press row included
        {7, 7, "01000111"},  // a press without a drag inverts only its row
    };
    for (const Case& c : cases) {
        drag(c.from, c.to);
        EXPECT_EQ(selected(), c.flags) << c.from << " to " << c.to;
    }
    EXPECT_EQ(GetL(id::SelectedCount), 4);
}

// Enabled reaches the hosted bar: disabled, it paints so and real clicks on its
// arrow scroll nothing; enabled again, the same click scrolls one row.
TEST_F(ListBoxTest, EnabledReachesTheBar) {
    Start();
    Fill(10);
    HWND bar = BarWindow();
    RECT rc;
    GetClientRect(bar, &rc);
    const shots::Capture enabled = shots::CaptureWindow(bar);
    ASSERT_EQ(Put(List(), id::Enabled, Variant::Bool(false)), S_OK);
    EXPECT_FALSE(IsWindowEnabled(bar));
    EXPECT_FALSE(lumio::VariantValue<bool>::From(*Get(Bar(), barid::Enabled)));
    Settle(form_.get());
    const shots::Capture disabled = shots::CaptureWindow(bar);
    disabled.Save(L"list_box_disabled_bar.png");
    EXPECT_NE(disabled.bgra, enabled.bgra);
    auto click_down_arrow = [&] {
        MoveTo(bar, rc.right / 2, rc.bottom - 5);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        SendMouse(MOUSEEVENTF_LEFTUP);
    };
    click_down_arrow();
    Settle(form_.get());
    ASSERT_EQ(Put(List(), id::Enabled, Variant::Bool(true)), S_OK);
    EXPECT_TRUE(IsWindowEnabled(bar));
    click_down_arrow();
    // Had the first click got through, this one would land on 2.
    ASSERT_TRUE(Wait([&] { return GetL(id::TopIndex) != 0; }));
    Settle(form_.get());
    EXPECT_EQ(GetL(id::TopIndex), 1);
}

TEST_F(ListBoxTest, RowsFocusOutlineAndBorderLook) {
    Start();
    Fill(5);
    ASSERT_EQ(Put(List(), id::ListIndex, Variant::Int(1)), S_OK);
    const int row = Impl().RowHeight();
    auto c = Look(L"list_box_run_time.png");
    // Row 1 (the current one) sits at 2 + row; its outline on its top edge.
    EXPECT_EQ(c.At(20, 2 + row + row / 2), RGB(226, 244, 253));
    EXPECT_EQ(c.At(20, 2 + row), RGB(146, 213, 247));
    EXPECT_EQ(c.At(20, 2 + row / 2), RGB(255, 255, 255));
    EXPECT_EQ(c.At(0, c.height / 2), RGB(165, 172, 178));
    ASSERT_EQ(Put(List(), id::Focus, Variant::Bool(false)), S_OK);
    c = Look(L"list_box_no_focus.png");
    EXPECT_EQ(c.At(20, 2 + row), RGB(226, 244, 253));
    Start(false);
    Look(L"list_box_design_time.png");
}

TEST_F(ListBoxTest, IconsComeFromTheImageList) {
    Start();
    struct DrawCall {
        long index;
        float x, y;
        short style;
    };
    std::vector<DrawCall> draws;
    auto parent = SimpleDispatch::Create();
    parent->Add({1, L"ScaleMode", [](VARIANT* r) {
                     r->vt = VT_I2;
                     r->iVal = 3;
                     return S_OK;
                 }});
    auto list = SimpleDispatch::Create();
    list->Add({1, L"ListImages", {}, {}, [&](const std::vector<VARIANT*>& args, VARIANT* r) -> HRESULT {
                   const long index = AsLong(Variant(*args[0]));
                   auto image = SimpleDispatch::Create();
                   image->Add({1, L"Draw", {}, {}, [&draws, index](const std::vector<VARIANT*>& a, VARIANT*) -> HRESULT {
                                   draws.push_back({index, Variant(*a[1])->fltVal, Variant(*a[2])->fltVal,
                                                    Variant(*a[3])->iVal});
                                   return S_OK;
                               }});
                   if (r) {
                       r->vt = VT_DISPATCH;
                       r->pdispVal = image.copy();
                   }
                   return S_OK;
               }});
    list->Add({2, L"ImageWidth", [](VARIANT* r) {
                   r->vt = VT_I4;
                   r->lVal = 16;
                   return S_OK;
               }});
    list->Add({3, L"ImageHeight", [](VARIANT* r) {
                   r->vt = VT_I4;
                   r->lVal = 16;
                   return S_OK;
               }});
    list->Add({4, L"Parent", [&](VARIANT* r) {
                   r->vt = VT_DISPATCH;
                   r->pdispVal = parent.copy();
                   return S_OK;
               }});
    ASSERT_EQ(Call(List(), id::SetImageList, {Variant::Object(list.get())}), S_OK);
    ASSERT_EQ(Call(List(), id::AddItem, {Variant::String(L"icon"), Variant::Int(1), Variant::Int(2)}), S_OK);
    ASSERT_FALSE(draws.empty());
    const int row = Impl().RowHeight();
    EXPECT_EQ(draws.back().index, 1);
    EXPECT_EQ(draws.back().x, 4.0f);
    EXPECT_EQ(draws.back().y, 2 + (row - 16) * 0.5f);
    EXPECT_EQ(draws.back().style, 1);
    ASSERT_EQ(Put(List(), id::ListIndex, Variant::Int(0)), S_OK);
    EXPECT_EQ(draws.back().index, 2);
    Look(L"list_box_icons.png");
}

TEST_F(ListBoxTest, NoGdiOrWindowGrowthOverCreateAndDestroy) {
    NewForm(true);
    auto bag = lumio::MemoryPropertyBag::Create();
    EXPECT_TRUE(lumio::test::NoGrowth([&] {
        for (int i = 0; i < 100; ++i) {
            Site* s = form().Add(LumioListBox::Create, L"L", RECT{0, 0, 120, 60}, bag.get());
            ASSERT_NE(s, nullptr);
            Call(s->Object().get(), id::AddItem, {Variant::String(L"x")});
            form().Remove(s);
        }
    }, 10));
}

TEST_F(ListBoxTest, DraggingAboveTheTopStepsUpUntilTheRelease) {
    Start();
    Fill(20);
    ASSERT_EQ(Put(List(), id::TopIndex, Variant::Int(10)), S_OK);
    const int row = Impl().RowHeight();
    MoveTo(hwnd_, 20, row / 2);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(Wait([&] { return GetL(id::ListIndex) == 10; }));
    MoveTo(hwnd_, 20, -30);  // far above: a step at once, then every 40 ms
    ASSERT_TRUE(Wait([&] { return GetL(id::ListIndex) <= 6; }));
    EXPECT_EQ(GetL(id::TopIndex), GetL(id::ListIndex));
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(Wait([&] { return GetCapture() != hwnd_; }));
    Settle(form_.get());
    EXPECT_FALSE(KillTimer(hwnd_, LumioListBox::kDragTimer));
}

}  // namespace
