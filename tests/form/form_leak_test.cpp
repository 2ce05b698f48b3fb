// A thousand skinned forms loaded and unloaded, and a hundred message boxes
// shown and answered, leave the process's window-system objects as they were.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "CustomWindowCalls.h"
#include "form_dialogs.h"
#include "live_objects.h"
#include "lumio_basic_form.h"
#include "memory_property_bag.h"
#include "picture_handle.h"
#include "test_host.h"
#include "wait_for.h"

namespace {

using lumio::ComPtr;
using lumio::test::CountLiveObjects;
using lumio::test::LiveObjects;

// Runs cycle a few times to fill the system's caches, then `times` times,
// comparing the counts around the second run.
void ExpectNoGrowth(const std::function<void()>& cycle, int times) {
    for (int i = 0; i < 3; ++i) cycle();
    ASSERT_TRUE(lumio::test::Settle());
    const LiveObjects before = CountLiveObjects();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < times; ++i) {
        cycle();
        if (::testing::Test::HasFatalFailure()) return;
    }
    ASSERT_TRUE(lumio::test::Settle());
    EXPECT_EQ(CountLiveObjects(), before);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    std::printf("%d cycles in %lld ms\n", times, static_cast<long long>(ms.count()));
}

class FormLeaks : public testhost::OleTest {};

lumio::host::FormDesign SkinnedFormDesign() {
    lumio::host::FormDesign design;
    design.client_width = 320;
    design.client_height = 180;
    design.caption = L"Skinned form";
    return design;
}

// The skinning control with every property at its default.
lumio::host::ControlDesign BasicFormDesign() {
    lumio::host::ControlDesign d;
    d.create = &lumio::form::LumioBasicForm::Create;
    d.name = L"BasicForm1";
    d.rect = RECT{0, 0, 48, 48};
    d.bag = ComPtr<IPropertyBag>(lumio::MemoryPropertyBag::Create().get());
    return d;
}

// Hidden, as a shown window's every frame change costs Wine's X11 side ten
// times more; the frame is set up and painted through its window DC alike.
TEST_F(FormLeaks, ThousandSkinnedFormsLeaveNothingBehind) {
    ExpectNoGrowth(
        [] {
            lumio::host::Form form(SkinnedFormDesign());
            ASSERT_TRUE(form.Load({BasicFormDesign()}));
            RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
            SendMessageW(form.hWnd(), WM_NCACTIVATE, FALSE, 0);
            form.Unload();
        },
        1000);
}

// The caption drawn by the skin and the box's icon, with no picture to be
// had: the bitmaps made for them are deleted all the same.
TEST_F(FormLeaks, RefusedCaptionAndIconPicturesLeaveNothingBehind) {
    struct Refused {
        Refused() { lumio::FailPicturesFromHandles(true); }
        ~Refused() { lumio::FailPicturesFromHandles(false); }
    } refused;
    ExpectNoGrowth(
        [] {
            lumio::host::Form form(SkinnedFormDesign());
            ASSERT_TRUE(form.Load({BasicFormDesign()}));
            // The frame's call before it draws the caption, made here as the frame makes it.
            lumio::ComPtr<lumio::_CustomWindowCalls> calls =
                form.Find(L"BasicForm1")->Object().As<lumio::_CustomWindowCalls>(lumio::IID__CustomWindowCalls);
            ASSERT_TRUE(calls);
            HDC screen = GetDC(nullptr);
            HDC dc = CreateCompatibleDC(screen);
            HBITMAP target = CreateCompatibleBitmap(screen, 200, 30);
            HGDIOBJ old = SelectObject(dc, target);
            BSTR caption = SysAllocString(L"Skinned form");
            EXPECT_EQ(calls->BeforeDrawCaption(reinterpret_cast<LONG_PTR>(dc), &caption, 10, 5), S_OK);
            SysFreeString(caption);
            SelectObject(dc, old);
            DeleteObject(target);
            DeleteDC(dc);
            ReleaseDC(nullptr, screen);
            form.Unload();
            for (long icon = 1; icon <= 4; ++icon) {
                lumio::form::MessageDialog box(0, icon);
                box.Layout();
            }
        },
        20);
}

void AnswerBoxWhenShown() {
    using lumio::form::MessageDialog;
    lumio::test::ActWhen(
        [] { return MessageDialog::Showing() && IsWindowVisible(MessageDialog::Showing()->form().hWnd()); },
        [] {
            MessageDialog* d = MessageDialog::Showing();
            d->mResult = 2;
            d->form().Hide();
        });
}

TEST_F(FormLeaks, HundredMessageBoxesLeaveNothingBehind) {
    ExpectNoGrowth(
        [] {
            // Answered from inside the modal loop once it runs.
            AnswerBoxWhenShown();
            lumio::form::MessageBoxRequest r;
            r.buttons = 3;
            r.icon = 2;
            r.main_text = L"Remove the unit?";
            r.content_text = L"Its weapons stay.";
            r.title = L"Lumiokit";
            EXPECT_EQ(lumio::form::RunMessageBox(testhost::TopWindow(), r), 2);
        },
        100);
}

}  // namespace
