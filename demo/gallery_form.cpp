#include "gallery_form.h"

#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "lumio_basic_form.h"
#include "memory_property_bag.h"
#include "simple_dispatch.h"
#include "std_objects.h"

namespace gallery {

namespace {

using lumio::Variant;
using lumio::host::Site;

constexpr DISPID kClick = -600;
constexpr UINT_PTR kMarqueeTimer = 1;
constexpr long kClientWidth = 660, kClientHeight = 392;

IDispatch* Obj(Site* s) { return s->Object().get(); }

void Put(Site* s, const wchar_t* name, const Variant& v) {
    HRESULT hr = lumio::PutProperty(Obj(s), name, v);
    if (FAILED(hr))
        throw std::runtime_error("cannot set a property of " + std::string(s->name().begin(), s->name().end()));
}

// A method or an indexed property write by name, arguments in call order.
HRESULT Invoke(IDispatch* obj, const wchar_t* name, WORD flags, std::vector<Variant> args, Variant* result = nullptr) {
    DISPID id;
    LPOLESTR n = const_cast<LPOLESTR>(name);
    HRESULT hr = obj->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> rev;
    for (auto it = args.rbegin(); it != args.rend(); ++it) rev.push_back(*it->get());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{rev.data(), flags == DISPATCH_PROPERTYPUT ? &named : nullptr, static_cast<UINT>(rev.size()),
                      flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
    Variant scratch;
    EXCEPINFO info{};
    hr = obj->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result ? result->get() : scratch.get(), &info,
                     nullptr);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    return hr;
}

// The picture button's glyph: a green disc with a white tick, 24 x 24.
HBITMAP DrawGlyph() {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 24, 24);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
    RECT all{0, 0, 24, 24};
    HBRUSH key = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(dc, &all, key);
    DeleteObject(key);
    HBRUSH disc = CreateSolidBrush(RGB(46, 160, 67));
    HPEN rim = CreatePen(PS_SOLID, 1, RGB(24, 110, 40));
    HGDIOBJ old_brush = SelectObject(dc, disc);
    HGDIOBJ old_pen = SelectObject(dc, rim);
    Ellipse(dc, 1, 1, 23, 23);
    HPEN tick = CreatePen(PS_SOLID, 3, RGB(255, 255, 255));
    SelectObject(dc, tick);
    POINT points[] = {{6, 12}, {10, 16}, {17, 7}};
    Polyline(dc, points, 3);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(tick);
    DeleteObject(rim);
    DeleteObject(disc);
    SelectObject(dc, old_bitmap);
    DeleteDC(dc);
    return bitmap;
}

HMENU BuildMenu() {
    HMENU bar = CreateMenu();
    HMENU dialogs = CreatePopupMenu();
    AppendMenuW(dialogs, MF_STRING, kMenuMessage, L"&Message box...");
    AppendMenuW(dialogs, MF_STRING, kMenuInput, L"&Input box...");
    AppendMenuW(dialogs, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(dialogs, MF_STRING, kMenuExit, L"E&xit");
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, kMenuAbout, L"&About Lumiokit...");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(dialogs), L"&Dialogs");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    return bar;
}

lumio::host::FormDesign Design() {
    lumio::host::FormDesign d;
    d.client_width = kClientWidth;
    d.client_height = kClientHeight;
    d.caption = L"Lumiokit gallery";
    d.back_color = 0xF0F0F0;
    d.font = lumio::CreateStdFont(L"Arial", 9);
    d.border_style = 2;
    return d;
}

}  // namespace

GalleryForm::GalleryForm() : form_(std::make_unique<lumio::host::Form>(Design())) {
    lumio::host::Form& f = *form_;
    // The menu and our subclass go on before the frame takes the window over.
    menu_ = BuildMenu();
    SetMenu(f.hWnd(), menu_);
    SetWindowSubclass(f.hWnd(), &SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
    lumio::host::ControlDesign frame;
    frame.create = &lumio::form::LumioBasicForm::Create;
    frame.name = L"BasicForm1";
    frame.rect = RECT{0, 0, 48, 48};
    frame.bag = lumio::ComPtr<IPropertyBag>(lumio::MemoryPropertyBag::Create().get());
    if (!f.Load({frame})) throw std::runtime_error("cannot create LumioBasicForm");
    basic_form_ = f.Find(L"BasicForm1");
    BuildButtons();
    BuildChoices();
    BuildTabs();
    BuildLists();
    BuildStatus();
    f.OnEvent([this](Site& site, DISPID id, DISPPARAMS*) {
        if (id != kClick) return;
        // Nothing thrown may cross back into the control's event.
        try {
            if (site.name() == L"cmdMessage") ShowMessageBox();
            if (site.name() == L"cmdInput") ShowInputBox();
            if (site.name() == L"cmdAbout") ShowAbout();
        } catch (...) {
        }
    });
}

GalleryForm::~GalleryForm() {
    if (IsWindow(form_->hWnd())) RemoveWindowSubclass(form_->hWnd(), &SubclassProc, 1);
    form_.reset();
    // The frame hands the menu back to the window, which destroys it with itself.
}

Site* GalleryForm::Add(const wchar_t* cls, const wchar_t* name, RECT rect, Site* container) {
    // As a designed form has it: made new, saved, and read back from its bag, so that
    // the control's run-time set-up runs on the properties a designer would have saved.
    HRESULT hr = S_OK;
    Site* site = nullptr;
    if (Site* fresh = form_->Add(std::wstring(cls), name, rect, nullptr, container, &hr)) {
        lumio::ComPtr<lumio::MemoryPropertyBag> bag = form_->Save(fresh, &hr);
        form_->Remove(fresh);
        if (bag) site = form_->Add(std::wstring(cls), name, rect, bag.get(), container, &hr);
    }
    if (!site) {
        std::wstring n = std::wstring(cls) + L" " + name;
        throw std::runtime_error("cannot create " + std::string(n.begin(), n.end()));
    }
    return site;
}

void GalleryForm::BuildButtons() {
    Site* frame = Add(L"LumioGroupBox", L"fraButtons", RECT{10, 10, 210, 200});
    Put(frame, L"Caption", Variant::String(L"Buttons"));
    Put(frame, L"Appearance", Variant::Long(0));
    const wchar_t* captions[] = {L"Normal", L"Default", L"Disabled", L"With a picture"};
    for (int i = 0; i < 4; ++i) {
        const long top = 30 + i * 38;
        Site* b = Add(L"LumioButton", (L"cmdLook" + std::to_wstring(i)).c_str(),
                      RECT{15, top, 185, top + (i == 3 ? 34 : 28)}, frame);
        Put(b, L"Caption", Variant::String(captions[i]));
        if (i == 1) form_->SetDefault(b);
        if (i == 2) Put(b, L"Enabled", Variant::Bool(false));
        if (i == 3) {
            auto picture = lumio::PictureFromBitmap(DrawGlyph());
            Put(b, L"PictureNormal", Variant::Object(picture.get()));
            Put(b, L"PictureAlignment", Variant::Long(4));  // left of the caption
            Put(b, L"MaskColor", Variant::Long(0xFF00FF));
            Put(b, L"UseMaskColor", Variant::Bool(true));
        }
    }
}

void GalleryForm::BuildChoices() {
    Site* frame = Add(L"LumioGroupBox", L"fraChoices", RECT{220, 10, 420, 200});
    Put(frame, L"Caption", Variant::String(L"Choices"));
    Put(frame, L"Appearance", Variant::Long(1));
    const wchar_t* checks[] = {L"Unchecked", L"Checked", L"Grayed"};
    for (int i = 0; i < 3; ++i) {
        const long top = 32 + i * 24;
        Site* c = Add(L"LumioCheckBox", (L"chkState" + std::to_wstring(i)).c_str(), RECT{12, top, 188, top + 20}, frame);
        Put(c, L"Caption", Variant::String(checks[i]));
        Put(c, L"Value", Variant::Long(i));
    }
    const wchar_t* options[] = {L"First option", L"Second option", L"Third option"};
    for (int i = 0; i < 3; ++i) {
        const long top = 110 + i * 24;
        Site* o = Add(L"LumioOptionButton", (L"optChoice" + std::to_wstring(i)).c_str(),
                      RECT{12, top, 188, top + 20}, frame);
        Put(o, L"Caption", Variant::String(options[i]));
        if (i == 0) Put(o, L"Value", Variant::Bool(true));
    }
}

void GalleryForm::BuildTabs() {
    const wchar_t* names[] = {L"tabDialog", L"tabPages"};
    const RECT places[] = {{430, 10, 650, 100}, {430, 110, 650, 200}};
    const wchar_t* captions[] = {L"General", L"Colours", L"About"};
    for (int style = 0; style < 2; ++style) {
        Site* t = Add(L"LumioTab", names[style], places[style]);
        Put(t, L"TabStyle", Variant::Long(style));
        Put(t, L"TabCount", Variant::Long(3));
        for (long i = 0; i < 3; ++i)
            Invoke(Obj(t), L"TabCaption", DISPATCH_PROPERTYPUT, {Variant::Long(i), Variant::String(captions[i])});
    }
}

void GalleryForm::BuildLists() {
    Site* list = Add(L"LumioListBox", L"lstItems", RECT{10, 210, 210, 340});
    const wchar_t* units[] = {L"Rifleman", L"Engineer", L"Grizzly tank", L"Rhino tank", L"Prism tank",
                              L"Harrier",  L"Kirov",    L"Dolphin",      L"Squid",      L"Chrono miner",
                              L"Tesla trooper", L"Spy"};
    for (const wchar_t* u : units) Invoke(Obj(list), L"AddItem", DISPATCH_METHOD, {Variant::String(u)});
    Put(list, L"ListIndex", Variant::Long(2));

    Site* text = Add(L"LumioTextBox", L"txtName", RECT{220, 210, 420, 234});
    Put(text, L"Text", Variant::String(L"Text box: type here"));

    Site* bar = Add(L"LumioScrollbar", L"hsbAlone", RECT{220, 244, 420, 261});
    Put(bar, L"Orientation", Variant::Long(1));
    Put(bar, L"Max", Variant::Long(100));
    Put(bar, L"Value", Variant::Long(30));

    Site* progress = Add(L"LumioProgressBar", L"pbValue", RECT{220, 272, 420, 290});
    Put(progress, L"Max", Variant::Long(100));
    Put(progress, L"Value", Variant::Long(65));
    Site* marquee = Add(L"LumioProgressBar", L"pbMarquee", RECT{220, 300, 420, 318});
    Put(marquee, L"MarqueeStyle", Variant::Bool(true));
    // A marquee bar shows its image where Value puts it; the program moves it.
    Put(marquee, L"Value", Variant::Long(45));

    const wchar_t* names[] = {L"cmdMessage", L"cmdInput", L"cmdAbout"};
    const wchar_t* captions[] = {L"Message box...", L"Input box...", L"About..."};
    for (int i = 0; i < 3; ++i) {
        const long top = 210 + i * 36;
        Site* b = Add(L"LumioButton", names[i], RECT{430, top, 650, top + 28});
        Put(b, L"Caption", Variant::String(captions[i]));
    }
}

void GalleryForm::BuildStatus() {
    status_ = Add(L"LumioStatusBar", L"sbStatus", RECT{0, kClientHeight - 22, kClientWidth, kClientHeight});
    Put(status_, L"Style", Variant::Long(1));
    Put(status_, L"SimpleText", Variant::String(L"Ready"));
    lumio::PutPropertyById(status_->ExtenderObject().get(), lumio::host::kExtAlign,
                           Variant::Long(lumio::host::kAlignBottom));
}

void GalleryForm::SetStatus(const std::wstring& text) {
    lumio::PutProperty(Obj(status_), L"SimpleText", Variant::String(text));
}

void GalleryForm::Show(bool animate) {
    if (animate) SetTimer(hWnd(), kMarqueeTimer, 40, nullptr);
    ShowWindow(hWnd(), SW_SHOW);
    SetForegroundWindow(hWnd());
    SetActiveWindow(hWnd());
    if (Site* first = form_->Find(L"cmdLook0")) SetFocus(first->ControlWindow());
}

void GalleryForm::ShowMessageBox() {
    Variant result;
    HRESULT hr = Invoke(Obj(basic_form_), L"ShowMsgBox", DISPATCH_METHOD,
                        {Variant::String(L"Save the changes to rules.ini?"),
                         Variant::String(L"Your changes are lost if you don't save them."), Variant::Long(3),
                         Variant::Long(4), Variant::String(L"Lumiokit gallery")},
                        &result);
    static const wchar_t* answers[] = {L"OK", L"Cancel", L"Yes", L"No", L"Abort", L"Retry", L"Ignore"};
    std::wstring text = L"Message box failed";
    if (SUCCEEDED(hr) && result->vt == VT_I4 && result->lVal >= 0 && result->lVal < 7)
        text = std::wstring(L"Message box answered ") + answers[result->lVal];
    SetStatus(text);
}

void GalleryForm::ShowInputBox() {
    Variant result;
    HRESULT hr = Invoke(Obj(basic_form_), L"ShowInputBox", DISPATCH_METHOD,
                        {Variant::String(L"Name of the new unit:"), Variant::String(L"Rifleman"),
                         Variant::String(L"Lumiokit gallery")},
                        &result);
    std::wstring text = L"Input box failed";
    if (SUCCEEDED(hr) && result->vt == VT_BSTR)
        text = L"Input box returned \"" + std::wstring(result->bstrVal ? result->bstrVal : L"") + L"\"";
    SetStatus(text);
}

void GalleryForm::ShowAbout() {
    // Any control's about method shows the library's box.
    Invoke(Obj(form_->Find(L"cmdAbout")), L"AboutBox", DISPATCH_METHOD, {});
}

void GalleryForm::StepMarquee() {
    Site* marquee = form_->Find(L"pbMarquee");
    if (!marquee) return;
    marquee_ = (marquee_ + 2) % 101;
    lumio::PutProperty(Obj(marquee), L"Value", Variant::Long(marquee_));
}

void GalleryForm::OnCommand(UINT id) {
    switch (id) {
    case kMenuMessage: ShowMessageBox(); break;
    case kMenuInput: ShowInputBox(); break;
    case kMenuAbout: ShowAbout(); break;
    case kMenuExit: PostMessageW(hWnd(), WM_CLOSE, 0, 0); break;
    default: break;
    }
}

LRESULT CALLBACK GalleryForm::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<GalleryForm*>(data);
    if (msg == WM_COMMAND && HIWORD(wp) == 0 && lp == 0) {
        // A dialog's failure must not cross the window procedure.
        try {
            self->OnCommand(LOWORD(wp));
        } catch (...) {
        }
        return 0;
    }
    if (msg == WM_TIMER && wp == kMarqueeTimer) {
        self->StepMarquee();
        return 0;
    }
    if (msg == WM_DESTROY) {
        KillTimer(hwnd, kMarqueeTimer);
        PostQuitMessage(0);
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace gallery
