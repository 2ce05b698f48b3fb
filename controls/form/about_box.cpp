// The about box's design and its OK button.
#include "about_box.h"

#include "about_hook.h"
#include "class_table.h"
#include "lumiokit_ids.h"
#include "memory_property_bag.h"
#include "run_time_error.h"
#include "simple_dispatch.h"
#include "std_objects.h"

namespace lumio::form {

namespace {

constexpr const wchar_t* kTitle = L"Lumiokit Controls";
constexpr DISPID kCaption = -518;
constexpr DISPID kFont = -512;
constexpr DISPID kClick = -600;

host::Site* AddControl(host::Form& form, const CLSID& clsid, const std::wstring& name, RECT rect) {
    const ControlClass* cls = FindControlClass(clsid);
    if (!cls) Raise(429, kDefaultErrorSource, L"The control class is not available.");
    host::ControlDesign d;
    d.create = cls->create;
    d.name = name;
    d.rect = rect;
    d.bag = ComPtr<IPropertyBag>(MemoryPropertyBag::Create().get());
    HRESULT hr = S_OK;
    if (!form.Load({d}, &hr)) {
        int32_t number = HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : static_cast<int32_t>(hr);
        Raise(number);
    }
    return form.Find(name);
}

ComPtr<IPictureDisp> Banner() {
    HANDLE bitmap = LoadImageW(ModuleInstance(), L"ABOUTBANNER", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    return bitmap ? PictureFromBitmap(static_cast<HBITMAP>(bitmap)) : ComPtr<IPictureDisp>();
}

host::Label* AddLabel(host::Form& f, const wchar_t* name, RECT rect, const wchar_t* text, ComPtr<IFontDisp> font,
                      OLE_COLOR colour = 0) {
    auto* label = f.AddPiece<host::Label>(name, rect);
    label->SetFont(font.get());
    label->SetForeColor(colour);
    label->SetTransparent(true);
    label->SetCaption(text);
    return label;
}

const bool kHooked = [] {
    SetAboutHandler(&ShowAboutBox);
    return true;
}();

}  // namespace

AboutDialog::AboutDialog() {
    host::FormDesign d;
    d.client_width = 376;
    d.client_height = 214;
    d.caption = kTitle;
    d.back_color = 0xF0F0F0;
    d.picture = Banner();
    d.font = CreateStdFont(L"Arial", 9);
    d.border_style = 3;
    d.max_button = d.min_button = false;
    d.show_in_taskbar = false;
    form_ = std::make_unique<host::Form>(d);
    host::Form& f = *form_;
    AddControl(f, tlb::CLSID_LumioBasicForm, L"BasicForm1", RECT{0, 0, 48, 48});
    AddLabel(f, L"lblTitle", RECT{46, 32, 46 + 249, 32 + 27}, kTitle, CreateStdFont(L"Trebuchet MS", 15.75));
    AddLabel(f, L"lblVersion", RECT{298, 42, 298 + 20, 42 + 13}, L"1.0", CreateStdFont(L"Arial", 8.25));
    AddLabel(f, L"LbEdition", RECT{219, 56, 219 + 118, 56 + 14}, L"Standard Edition",
             CreateStdFont(L"Tahoma", 9, true), RGB(49, 106, 197));
    AddLabel(f, L"lblDescription", RECT{46, 99, 46 + 256, 99 + 34},
             L"Skinned controls for your forms. Free to use and to ship with your programs.",
             CreateStdFont(L"Arial", 9));
    f.AddPiece<host::Line>(L"Line1", POINT{0, 160}, POINT{368, 160}, 0xDADADA)->index = 0;
    f.AddPiece<host::Line>(L"Line1", POINT{0, 161}, POINT{368, 161}, 0xFFFFFF)->index = 1;
    host::Site* ok = AddControl(f, tlb::CLSID_LumioButton, L"cmdOK", RECT{276, 170, 276 + 81, 170 + 23});
    PutPropertyById(ok->Object().get(), kCaption, Variant::String(L"OK"));
    PutPropertyById(ok->Object().get(), kFont, Variant::Object(CreateStdFont(L"Arial", 9).get()));
    f.OnEvent([this](host::Site& site, DISPID id, DISPPARAMS*) {
        if (id == kClick && site.name() == L"cmdOK") form_->Unload(1);
    });
}

void ShowAboutBox() {
    host::DefaultInstance<AboutDialog>().form().ShowModal(nullptr);
}

}  // namespace lumio::form
