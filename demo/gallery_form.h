#pragma once
// The gallery: one skinned form showing every visible control of the
// library in its looks, with buttons and a menu opening the library's
// message, input and about boxes.
#include <windows.h>

#include <memory>
#include <string>

#include "host_form.h"

namespace gallery {

// The menu's commands.
inline constexpr UINT kMenuMessage = 101, kMenuInput = 102, kMenuAbout = 103, kMenuExit = 104;

class GalleryForm {
public:
    // Builds the form hidden; throws std::runtime_error naming the control that failed.
    GalleryForm();
    ~GalleryForm();
    GalleryForm(const GalleryForm&) = delete;
    GalleryForm& operator=(const GalleryForm&) = delete;

    lumio::host::Form& form() { return *form_; }
    HWND hWnd() const { return form_->hWnd(); }
    // animate: the marquee sweeps, as a program drives it; else it stays where it was set.
    void Show(bool animate);

    // What the menu and the buttons open.
    void ShowMessageBox();
    void ShowInputBox();
    void ShowAbout();

private:
    lumio::host::Site* Add(const wchar_t* cls, const wchar_t* name, RECT rect, lumio::host::Site* container = nullptr);
    void BuildButtons();
    void BuildChoices();
    void BuildTabs();
    void BuildLists();
    void BuildStatus();
    void OnCommand(UINT id);
    void SetStatus(const std::wstring& text);
    void StepMarquee();
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    std::unique_ptr<lumio::host::Form> form_;
    lumio::host::Site* basic_form_ = nullptr;
    lumio::host::Site* status_ = nullptr;
    HMENU menu_ = nullptr;
    long marquee_ = 45;
};

}  // namespace gallery
