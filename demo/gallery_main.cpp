// lumio_gallery: every visible control of the library on one skinned form.
//   lumio_gallery.exe                      the gallery, until its window closes
//   lumio_gallery.exe --shot F [--report R]  saves the form as PNG file F (and
//                                          the list of control windows to R), then exits
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <exception>
#include <string>

#include "gallery_form.h"
#include "gallery_shot.h"

namespace {

int Fail(const char* what) {
    MessageBoxA(nullptr, what, "Lumiokit gallery", MB_ICONERROR);
    return 1;
}

int Unattended(gallery::GalleryForm& gallery, const std::wstring& shot, const std::wstring& report) {
    gallery.Show(false);
    // A busy machine draws slowly; give it time, but not forever.
    if (!gallery::WaitUntilDrawn(gallery.form(), 60000)) return 2;
    if (!gallery::SaveWindowPng(gallery.hWnd(), shot)) return 3;
    if (!report.empty() && !gallery::WriteReport(gallery.form(), report)) return 4;
    return 0;
}

int Interactive(gallery::GalleryForm& gallery) {
    gallery.Show(true);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsWindow(gallery.hWnd()) && gallery.form().PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring shot, report;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; argv && i + 1 < argc; ++i) {
        std::wstring a = argv[i];
        if (a == L"--shot") shot = argv[++i];
        else if (a == L"--report") report = argv[++i];
    }
    LocalFree(argv);

    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    if (FAILED(OleInitialize(nullptr))) return Fail("OLE could not start");
    int rc = 0;
    try {
        gallery::GalleryForm gallery;
        rc = shot.empty() ? Interactive(gallery) : Unattended(gallery, shot, report);
    } catch (const std::exception& e) {
        rc = shot.empty() ? Fail(e.what()) : 5;
    }
    OleUninitialize();
    return rc;
}
