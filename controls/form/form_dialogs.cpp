// fMessage and fInput: their design, load steps, layout and results.
#include "form_dialogs.h"

#include <algorithm>
#include <cmath>

#include "class_table.h"
#include "lumio_basic_form.h"
#include "lumiokit_ids.h"
#include "memory_property_bag.h"
#include "run_time_error.h"
#include "simple_dispatch.h"
#include "std_objects.h"
#include "thread_slot.h"

namespace lumio::form {

namespace {

constexpr OLE_COLOR kDialogBack = 0xF0F0F0;
constexpr DISPID kCaption = -518;
constexpr DISPID kClick = -600;
constexpr DISPID kTextBoxText = 0x68030003;

// The dialog each thread is showing.
ThreadSlot<MessageDialog*> t_message;
ThreadSlot<InputDialog*> t_input;

// The failure of a control the dialog could not make, as its caller sees it.
[[noreturn]] void RaiseFrom(HRESULT hr) {
    ComPtr<IErrorInfo> info;
    std::wstring source, description;
    if (GetErrorInfo(0, info.put()) == S_OK && info) {
        BSTR s = nullptr, d = nullptr;
        info->GetSource(&s);
        info->GetDescription(&d);
        if (s) source = s;
        if (d) description = d;
        SysFreeString(s);
        SysFreeString(d);
    }
    int32_t number = HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : static_cast<int32_t>(hr);
    Raise(number, source, description);
}

host::CreateFunction CreatorOf(const CLSID& clsid) {
    const ControlClass* cls = FindControlClass(clsid);
    return cls ? cls->create : nullptr;
}

host::Site* AddControl(host::Form& form, const CLSID& clsid, const std::wstring& name, RECT rect, int index = -1) {
    host::CreateFunction create = CreatorOf(clsid);
    if (!create) RaiseFrom(REGDB_E_CLASSNOTREG);
    host::ControlDesign d;
    d.create = create;
    d.name = name;
    d.rect = rect;
    d.bag = ComPtr<IPropertyBag>(MemoryPropertyBag::Create().get());
    d.index = index;
    HRESULT hr = S_OK;
    if (!form.Load({d}, &hr)) RaiseFrom(hr);
    host::Site* site = form.Find(name, index);
    if (!site) RaiseFrom(E_FAIL);
    site->index = index;
    return site;
}

void Put(IDispatch* obj, DISPID id, const Variant& v) {
    HRESULT hr = PutPropertyById(obj, id, v);
    if (FAILED(hr)) RaiseFrom(hr);
}

host::FormDesign DialogDesign(long width, long height) {
    host::FormDesign d;
    d.client_width = width;
    d.client_height = height;
    d.caption = L"Dialog Caption";
    d.back_color = kDialogBack;
    d.font = CreateStdFont(L"Arial", 9);
    d.border_style = 3;
    d.max_button = d.min_button = false;
    d.show_in_taskbar = false;
    return d;
}

ComPtr<IPictureDisp> IconPicture(const wchar_t* name) {
    HANDLE bitmap = LoadImageW(ModuleInstance(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    return bitmap ? PictureFromBitmap(static_cast<HBITMAP>(bitmap)) : ComPtr<IPictureDisp>();
}

}  // namespace

// --- fMessage

MessageDialog::MessageDialog(long buttons, long icon) : mButtons(buttons), mIcon(icon) {
    form_ = std::make_unique<host::Form>(DialogDesign(360, 120));
    host::Form& f = *form_;
    AddControl(f, tlb::CLSID_LumioBasicForm, L"BasicForm1", RECT{0, 0, 48, 48});
    pContainer_ = f.AddPiece<host::PictureBox>(L"pContainer", RECT{0, 0, 360, 70});
    pContainer_->SetBackColor(0xFFFFFF);
    imgIcon_ = f.AddPieceTo<host::Image>(pContainer_, L"imgIcon", RECT{10, 10, 42, 42});
    lMain_ = f.AddPieceTo<host::Label>(pContainer_, L"lMain", RECT{51, 10, 51 + 297, 10 + 21},
                                       host::Label::Sizing::WrapDown);
    lMain_->SetFont(CreateStdFont(L"Arial", 12).get());
    lMain_->SetForeColor(RGB(0, 51, 153));
    lMain_->SetBackColor(0xFFFFFF);
    lContent_ = f.AddPieceTo<host::Label>(pContainer_, L"lContent", RECT{51, 41, 51 + 301, 41 + 13},
                                          host::Label::Sizing::WrapDown);
    lContent_->SetFont(CreateStdFont(L"Arial", 8.25).get());
    lContent_->SetForeColor(0);
    lContent_->SetBackColor(0xFFFFFF);
    Line1_ = f.AddPiece<host::Line>(L"Line1", POINT{0, 70}, POINT{360, 70}, RGB(218, 218, 218));
    const long xs[3] = {112, 192, 272};
    for (int i = 1; i <= 3; ++i) {
        host::Site* b = AddControl(f, tlb::CLSID_LumioButton, L"Button", RECT{xs[i - 1], 80, xs[i - 1] + 73, 103}, i);
        b->SetVisible(false);
    }
    pContainer_->OnResize([this](long, long height) {
        RECT client{};
        GetClientRect(form_->hWnd(), &client);
        Line1_->SetEnds(POINT{0, height}, POINT{client.right, height});
    });
    f.OnEvent([this](host::Site& site, DISPID id, DISPPARAMS*) {
        if (id == kClick && site.name() == L"Button") OnClick(site);
    });
    // Closed through its frame the box answers Cancel where it offers a way out, and stays readable.
    f.OnQueryUnload([this](short& cancel, short mode) {
        if (mode != 0) return;
        cancel = 1;
        mResult = mButtons == 0 ? 0 : 1;
        form_->Hide();
    });

    // Load: the buttons and the icon as set, the system's frame metrics, the layout.
    SetUpButtons();
    SetUpIcon();
    m_CaptionHeight = GetSystemMetrics(SM_CYCAPTION);
    m_FrameWidth = GetSystemMetrics(SM_CXFRAME);
    Layout();
}

MessageDialog::~MessageDialog() {
    try {
        if (t_message.get() == this) t_message.get() = nullptr;
    } catch (...) {  // no slot for this thread: nothing to clear
    }
}

MessageDialog* MessageDialog::Showing() { return t_message.get(); }

host::Site* MessageDialog::Button(int index) const { return form_->Find(L"Button", index); }

void MessageDialog::SetUpButtons() {
    struct Entry {
        const wchar_t* caption;
        const wchar_t* tag;
    };
    static const Entry kOk{L"确定", L"ok"}, kCancel{L"取消", L"cancel"}, kYes{L"是(&Y)", L"yes"}, kNo{L"否(&N)", L"no"},
        kRetry{L"重试(&R)", L"retry"}, kAbort{L"放弃(&A)", L"abort"}, kIgnore{L"忽略(&I)", L"ignore"};
    const Entry* sets[6][3] = {
        {nullptr, nullptr, &kOk},    {nullptr, &kOk, &kCancel},  {nullptr, &kYes, &kNo},
        {&kYes, &kNo, &kCancel},     {nullptr, &kRetry, &kCancel}, {&kAbort, &kRetry, &kIgnore},
    };
    if (mButtons < 0 || mButtons > 5) return;
    for (int i = 1; i <= 3; ++i) {
        const Entry* e = sets[mButtons][i - 1];
        if (!e) continue;
        host::Site* b = Button(i);
        ComPtr<IDispatch> ext = b->ExtenderObject();
        Put(ext.get(), host::kExtVisible, Variant::Bool(true));
        Put(b->Object().get(), kCaption, Variant::String(e->caption));
        Put(ext.get(), host::kExtTag, Variant::String(e->tag));
        if (i == 3) Put(ext.get(), host::kExtDefault, Variant::Bool(true));
    }
}

void MessageDialog::SetUpIcon() {
    static const wchar_t* const kIcons[5] = {nullptr, L"WARNICON", L"ERRORICON", L"INFOICON", L"QUESICON"};
    if (mIcon < 0 || mIcon > 4) return;
    if (mIcon == 0) {
        imgIcon_->SetPicture(nullptr);
        RECT r = lMain_->rect();
        lMain_->Move(RECT{10, r.top, 10 + (r.right - r.left), r.bottom});
        return;
    }
    imgIcon_->SetPicture(IconPicture(kIcons[mIcon]).get());
}

void MessageDialog::Layout() {
    RECT m = lMain_->rect(), c = lContent_->rect();
    const long mh = m.bottom - m.top;
    c = RECT{m.left, m.top + mh + 10, m.left + (c.right - c.left), m.top + mh + 10 + (c.bottom - c.top)};
    lContent_->Move(c);
    c = lContent_->rect();
    const long ch = c.bottom - c.top;
    const long panel = lContent_->caption().empty() ? mh + 40 : mh + ch + 40;
    RECT p = pContainer_->rect();
    RECT client{};
    GetClientRect(form_->hWnd(), &client);
    pContainer_->Move(RECT{p.left, p.top, p.left + client.right, p.top + panel});
    // The form's height follows the panel; its width never changes.
    RECT w{};
    GetWindowRect(form_->hWnd(), &w);
    const long height = panel + m_CaptionHeight + 2 * m_FrameWidth + 52;
    SetWindowPos(form_->hWnd(), nullptr, 0, 0, w.right - w.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(form_->hWnd(), &client);
    pContainer_->Move(RECT{p.left, p.top, p.left + client.right, p.top + panel});
    host::Site* b3 = Button(3);
    host::Site* b2 = Button(2);
    host::Site* b1 = Button(1);
    auto size = [](host::Site* s) {
        RECT r = s->rect();
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    SIZE s3 = size(b3), s2 = size(b2), s1 = size(b1);
    const long x3 = client.right - s3.cx - 10, y = client.bottom - s3.cy - 10;
    b3->Move(RECT{x3, y, x3 + s3.cx, y + s3.cy});
    const long x2 = x3 - s2.cx - 10;
    b2->Move(RECT{x2, y, x2 + s2.cx, y + s2.cy});
    const long x1 = x2 - s1.cx - 10;
    b1->Move(RECT{x1, y, x1 + s1.cx, y + s1.cy});
}

void MessageDialog::SetMainText(const std::wstring& text) {
    lMain_->SetCaption(text);
    Layout();
}

void MessageDialog::SetContentText(const std::wstring& text) {
    lContent_->SetCaption(text);
    Layout();
}

void MessageDialog::SetTitle(const std::wstring& title) { form_->SetCaption(title); }

void MessageDialog::OnClick(host::Site& site) {
    static const std::pair<const wchar_t*, long> kResults[] = {{L"ok", 0},    {L"cancel", 1}, {L"yes", 2},
                                                               {L"no", 3},    {L"abort", 4},  {L"retry", 5},
                                                               {L"ignore", 6}};
    for (auto& [tag, result] : kResults)
        if (site.tag == tag) mResult = result;
    form_->Hide();
}

void MessageDialog::ShowModal(HWND owner) {
    MessageDialog* previous = t_message.get();
    t_message.get() = this;
    form_->ShowModal(owner);
    t_message.get() = previous;
}

// --- fInput

InputDialog::InputDialog() {
    form_ = std::make_unique<host::Form>(DialogDesign(386, 134));
    host::Form& f = *form_;
    AddControl(f, tlb::CLSID_LumioBasicForm, L"BasicForm1", RECT{0, 0, 48, 48});
    host::Site* text = AddControl(f, tlb::CLSID_LumioTextBox, L"tInput", RECT{8, 96, 8 + 361, 96 + 20});
    host::Site* ok = AddControl(f, tlb::CLSID_LumioButton, L"OKButton", RECT{288, 8, 288 + 81, 8 + 25});
    host::Site* cancel = AddControl(f, tlb::CLSID_LumioButton, L"CancelButton", RECT{288, 40, 288 + 81, 40 + 25});
    Put(ok->Object().get(), kCaption, Variant::String(L"确定"));
    Put(cancel->Object().get(), kCaption, Variant::String(L"取消"));
    Put(text->Object().get(), kTextBoxText, Variant::String(L""));
    lPrompt_ = f.AddPiece<host::Label>(L"lPrompt", RECT{8, 8, 8 + 273, 8 + 17}, host::Label::Sizing::OneLine);
    lPrompt_->SetFont(f.design().font.get());
    lPrompt_->SetBackColor(kDialogBack);
    f.OnEvent([this](host::Site& site, DISPID id, DISPPARAMS*) {
        if (id != kClick) return;
        if (site.name() == L"CancelButton") Canceled = true;
        if (site.name() == L"OKButton" || site.name() == L"CancelButton") form_->Hide();
    });
    // Closed through its frame it answers as Cancel does.
    f.OnQueryUnload([this](short& cancel, short mode) {
        if (mode != 0) return;
        cancel = 1;
        Canceled = true;
        form_->Hide();
    });
}

InputDialog::~InputDialog() {
    try {
        if (t_input.get() == this) t_input.get() = nullptr;
    } catch (...) {  // no slot for this thread: nothing to clear
    }
}

InputDialog* InputDialog::Showing() { return t_input.get(); }

void InputDialog::SetPrompt(const std::wstring& text) {
    lPrompt_->SetCaption(text);
    RECT r = lPrompt_->rect();
    if (r.right - r.left > 273) lPrompt_->Piece::Move(RECT{r.left, r.top, r.left + 273, r.bottom});
}

void InputDialog::SetText(const std::wstring& text) {
    Put(form_->Find(L"tInput")->Object().get(), kTextBoxText, Variant::String(text));
}

std::wstring InputDialog::Text() const {
    Variant v;
    HRESULT hr = GetPropertyById(form_->Find(L"tInput")->Object().get(), kTextBoxText, v);
    if (FAILED(hr)) RaiseFrom(hr);
    return VariantValue<std::wstring>::From(*v.get());
}

void InputDialog::SetTitle(const std::wstring& title) { form_->SetCaption(title); }

void InputDialog::ShowModal(HWND owner) {
    InputDialog* previous = t_input.get();
    t_input.get() = this;
    form_->ShowModal(owner);
    t_input.get() = previous;
}

// --- the calls of LumioBasicForm

long RunMessageBox(HWND owner, const MessageBoxRequest& r) {
    MessageDialog dialog(r.buttons, r.icon);
    dialog.SetMainText(r.main_text);
    dialog.SetContentText(r.content_text);
    if (!r.title.empty()) dialog.SetTitle(r.title);
    dialog.ShowModal(owner);
    long result = dialog.mResult;
    dialog.form().Unload(1);
    return result;
}

std::wstring RunInputBox(HWND owner, const std::wstring& prompt, const std::wstring& text, const std::wstring& title) {
    std::wstring result;
    InputDialog dialog;
    dialog.SetPrompt(prompt);
    dialog.SetText(text);
    if (!title.empty()) dialog.SetTitle(title);
    dialog.ShowModal(owner);
    if (!dialog.Canceled) result = dialog.Text();
    dialog.form().Unload(1);
    return result;
}

}  // namespace lumio::form
