#include "main_form.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    HWND main = CreateMainForm();
    if (!main) return 1;
    TheMainForm()->QuitOnClose = true;
    ShowWindow(main, show);
    UpdateWindow(main);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(main, &m)) continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return static_cast<int>(m.wParam);
}
