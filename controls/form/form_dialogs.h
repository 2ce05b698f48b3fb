#pragma once
// The library's message box and input box: private forms of our container,
// each skinned by a LumioBasicForm of its own, shown modally over an owner.
#include <windows.h>

#include <memory>
#include <string>

#include "host_form.h"

namespace lumio::form {

struct MessageBoxRequest {
    long buttons = 0;  // 0 OK .. 5 abort/retry/ignore; other values show no button
    long icon = 0;     // 0 none, 1 warning, 2 error, 3 information, 4 question; other values keep the design picture
    std::wstring main_text, content_text, title;
};

// fMessage: the panel with icon and texts, the buttons from the right.
class MessageDialog {
public:
    // buttons and icon are taken at load, as the dialog's load step reads them.
    MessageDialog(long buttons, long icon);
    ~MessageDialog();
    host::Form& form() { return *form_; }

    long mButtons, mIcon;
    long mResult = 0;

    void SetMainText(const std::wstring& text);
    void SetContentText(const std::wstring& text);
    void SetTitle(const std::wstring& title);
    // Modal over owner until a button or the frame closes it.
    void ShowModal(HWND owner);
    void Layout();

    host::Label* lMain() const { return lMain_; }
    host::Label* lContent() const { return lContent_; }
    host::PictureBox* pContainer() const { return pContainer_; }
    host::Image* imgIcon() const { return imgIcon_; }
    host::Line* Line1() const { return Line1_; }
    host::Site* Button(int index) const;

    // The dialog being shown on this thread, for whoever drives it.
    static MessageDialog* Showing();

private:
    void SetUpButtons();
    void SetUpIcon();
    void OnClick(host::Site& site);

    std::unique_ptr<host::Form> form_;
    host::PictureBox* pContainer_ = nullptr;
    host::Image* imgIcon_ = nullptr;
    host::Label *lMain_ = nullptr, *lContent_ = nullptr;
    host::Line* Line1_ = nullptr;
    long m_CaptionHeight = 0, m_FrameWidth = 0;
};

// fInput: a prompt, OK and Cancel, and the text box.
class InputDialog {
public:
    InputDialog();
    ~InputDialog();
    host::Form& form() { return *form_; }

    bool Canceled = false;

    void SetPrompt(const std::wstring& text);
    void SetText(const std::wstring& text);
    std::wstring Text() const;
    void SetTitle(const std::wstring& title);
    void ShowModal(HWND owner);

    host::Label* lPrompt() const { return lPrompt_; }
    static InputDialog* Showing();

private:
    std::unique_ptr<host::Form> form_;
    host::Label* lPrompt_ = nullptr;
};

// What ShowMsgBox and ShowInputBox run; errors of the dialogs are thrown as run-time errors.
long RunMessageBox(HWND owner, const MessageBoxRequest& request);
std::wstring RunInputBox(HWND owner, const std::wstring& prompt, const std::wstring& text, const std::wstring& title);

}  // namespace lumio::form
