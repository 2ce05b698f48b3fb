// The form of our container: its window, its controls and its keyboard routing.
#include "host_form.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <string_view>

#include "gdi_scope.h"
#include "host_sinks.h"
#include "ole_colour_win.h"
#include "class_table.h"
#include "thread_slot.h"
#include "scale_units.h"
#include "std_objects.h"
#include "unload_hooks.h"

namespace lumio::host {

namespace {

constexpr const wchar_t* kFormClass = L"LumioHostForm";

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    if (form && msg == WM_ERASEBKGND) {
        form->PaintBackground(reinterpret_cast<HDC>(wp));
        return 1;
    }
    if (form && msg == WM_SIZE) form->ArrangeAligned();
    // As a dialog does: another window taking the activation for a while
    // leaves the focus where the user had it.
    if (form && msg == WM_ACTIVATE && form->OnActivate(wp)) return 0;
    // A form being loaded is activated by its show, not by a frame change or a
    // move on the way: controls set up after such an activation would never
    // hear that their form is active.
    if (msg == WM_WINDOWPOSCHANGING && !IsWindowVisible(hwnd) && !(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
        if (!(pos->flags & SWP_SHOWWINDOW)) pos->flags |= SWP_NOACTIVATE;
    }
    if (form && msg == WM_CLOSE) {
        try {
            if (!form->Unload(0)) return 0;
            // An unloaded designed form has gone already.
            if (!IsWindow(hwnd)) return 0;
        } catch (...) {
        }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void RegisterFormClass() {
    static bool done = false;
    if (done) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = FormProc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    RegisterLibraryClass(wc);
    AtLibraryUnload(&UnregisterFormClass);
    done = true;
}

}  // namespace

void UnregisterFormClass() { UnregisterClassW(kFormClass, ModuleInstance()); }

namespace {

long PixelsToTwips(long px) { return std::lround(px * TwipsPerPixel(96)); }

}  // namespace

Form::Form(HWND parent, RECT rect, const std::wstring& caption) : caption_(caption) {
    RegisterFormClass();
    DWORD style = parent ? (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN) : (WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
    hwnd_ = CreateWindowExW(parent ? WS_EX_CONTROLPARENT : 0, kFormClass, caption.c_str(), style, rect.left,
                            rect.top, rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                            ModuleInstance(), this);
    font_ = CreateStdFont();
    frame_ = CreateFrame(this);
}

WindowStyles FormStyles(const FormDesign& d) {
    DWORD style = WS_CLIPCHILDREN;
    DWORD ex = 0;
    bool caption = true;
    switch (d.border_style) {
    case 0: style |= WS_POPUP; caption = false; break;
    case 1: style |= WS_CAPTION | WS_SYSMENU; break;
    case 3: style |= WS_CAPTION | WS_SYSMENU | DS_MODALFRAME; ex |= WS_EX_DLGMODALFRAME; break;
    case 4: style |= WS_CAPTION | WS_SYSMENU; ex |= WS_EX_TOOLWINDOW; break;
    case 5: style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME; ex |= WS_EX_TOOLWINDOW; break;
    default: style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME; break;
    }
    if (d.mdi_parent) style = WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;
    // Dialog and tool-window borders carry no maximise or minimise button.
    bool buttons_allowed = caption && (d.mdi_parent || d.border_style == 1 || d.border_style == 2);
    if (buttons_allowed && !d.mdi_parent) {
        if (d.max_button) style |= WS_MAXIMIZEBOX;
        if (d.min_button) style |= WS_MINIMIZEBOX;
    }
    if (d.show_in_taskbar) ex |= WS_EX_APPWINDOW;
    return {style, ex};
}

Form::Form(const FormDesign& design) : design_(design), designed_(true), caption_(design.caption) {
    RegisterFormClass();
    WindowStyles ws = FormStyles(design);
    RECT rc{0, 0, design.client_width, design.client_height};
    AdjustWindowRectEx(&rc, ws.style, FALSE, ws.ex_style);
    hwnd_ = CreateWindowExW(ws.ex_style, kFormClass, caption_.c_str(), ws.style, CW_USEDEFAULT, CW_USEDEFAULT,
                            rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr, ModuleInstance(), this);
    font_ = design.font ? design.font : CreateStdFont();
    back_ = design.back_color;
    frame_ = CreateFrame(this);
}

bool Form::OnActivate(WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        last_focus_ = focus && IsChild(hwnd_, focus) ? focus : nullptr;
        return false;
    }
    HWND focus = last_focus_;
    last_focus_ = nullptr;
    if (HIWORD(wp)) return false;
    if (!focus || !IsWindow(focus) || !IsChild(hwnd_, focus) || !IsWindowVisible(focus) || !IsWindowEnabled(focus)) {
        // Nothing to give back (the activation came before any focus could be
        // saved): as a dialog does, the first control takes it.
        HWND now = GetFocus();
        if (!IsWindowVisible(hwnd_) || (now && IsChild(hwnd_, now))) return false;
        FocusFirst();
        now = GetFocus();
        return now && IsChild(hwnd_, now);
    }
    SetFocus(focus);
    return true;
}

void Form::PaintBackground(HDC dc) {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    gdi::OwnedObject<HBRUSH> brush(CreateSolidBrush(static_cast<COLORREF>(TranslateOleColor(back_))));
    FillRect(dc, &rc, brush.get());
    if (design_.picture) {
        ComPtr<IPicture> pic;
        design_.picture->QueryInterface(IID_IPicture, pic.put_void());
        DrawPictureAt(dc, pic.get(), 0, 0);
    }
}

void Form::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    SetWindowTextW(hwnd_, caption.c_str());
}

void Form::SetBackColor(OLE_COLOR c) {
    design_.back_color = c;
    SetAmbientBackColor(c);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

bool Form::Load(const std::vector<ControlDesign>& controls, HRESULT* result) {
    HRESULT scratch = S_OK;
    HRESULT& hr = result ? *result : scratch;
    hr = S_OK;
    user_mode_ = true;
    Site* first = nullptr;
    for (const ControlDesign& c : controls) {
        Site* site = c.create ? Add(c.create, c.name, c.rect, c.bag.get(), nullptr, &hr)
                              : Add(c.clsid, c.name, c.rect, c.bag.get(), nullptr, &hr);
        if (!site) return false;
        site->index = c.index;
        DWORD misc = 0;
        site->ole()->GetMiscStatus(DVASPECT_CONTENT, &misc);
        if (misc & OLEMISC_INVISIBLEATRUNTIME) {
            site->SetVisible(false);
        } else if (!first) {
            HWND h = site->ControlWindow();
            if (h && IsWindowEnabled(h) && (GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP)) first = site;
        }
    }
    // Focusing a control of a hidden form would activate the form before it shows.
    if (first && IsWindowVisible(hwnd_)) SetFocus(first->ControlWindow());
    else if (first) focus_on_show_ = true;
    return true;
}

void Form::FocusFirst() {
    for (auto& s : sites_) {
        HWND h = s->ControlWindow();
        if (h && IsWindowVisible(h) && IsWindowEnabled(h) && (GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP)) {
            SetFocus(h);
            return;
        }
    }
}

Site* Form::Find(const std::wstring& name, int index) const {
    for (auto& s : sites_)
        if (s->index == index && CompareStringOrdinal(s->name().c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL)
            return s.get();
    return nullptr;
}

Piece* Form::FindPiece(const std::wstring& name, int index) const {
    for (auto& p : pieces_)
        if (p->index == index && CompareStringOrdinal(p->name().c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL)
            return p.get();
    return nullptr;
}

Form::~Form() {
    if (!unloaded_) {
        query_unload_.clear();
        Unload(1);
    }
    pieces_.clear();
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    if (dispatch_) dispatch_.reset();
}

Site* Form::Add(const CLSID& clsid, const std::wstring& name, RECT rect, IPropertyBag* bag, Site* container,
                HRESULT* result) {
    struct Creator {
        static HRESULT Make(const CLSID& clsid, REFIID iid, void** out) {
            return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, out);
        }
    };
    static ThreadSlot<CLSID> pending;
    pending.get() = clsid;
    return Add([](IUnknown*, REFIID iid, void** out) { return Creator::Make(pending.get(), iid, out); }, name, rect, bag,
               container, result);
}

Site* Form::Add(const std::wstring& class_name, const std::wstring& name, RECT rect, IPropertyBag* bag,
                Site* container, HRESULT* result) {
    constexpr std::wstring_view kLibrary = L"Lumiokit.";
    std::wstring_view wanted = class_name;
    if (wanted.size() > kLibrary.size() && _wcsnicmp(wanted.data(), kLibrary.data(), kLibrary.size()) == 0)
        wanted.remove_prefix(kLibrary.size());
    for (const ControlClass& c : ControlClasses()) {
        if (c.create && c.name && wanted.size() == wcslen(c.name) &&
            _wcsnicmp(wanted.data(), c.name, wanted.size()) == 0)
            return Add(c.create, name, rect, bag, container, result);
    }
    if (result) *result = REGDB_E_CLASSNOTREG;
    return nullptr;
}

Site* Form::Add(CreateFunction create, const std::wstring& name, RECT rect, IPropertyBag* bag, Site* container,
                HRESULT* result) {
    HRESULT scratch;
    HRESULT& hr = result ? *result : scratch;
    ComPtr<IUnknown> unk;
    hr = create(nullptr, IID_IUnknown, unk.put_void());
    if (FAILED(hr)) return nullptr;
    ComPtr<IOleObject> ole = unk.As<IOleObject>();
    if (!ole) {
        hr = E_NOINTERFACE;
        return nullptr;
    }
    ComPtr<Site> site = ComPtr<Site>::Attach(new Site(this, name, container));
    site->rect_ = rect;
    site->Attach(ole);
    DWORD misc = 0;
    ole->GetMiscStatus(DVASPECT_CONTENT, &misc);
    bool site_first = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (site_first) ole->SetClientSite(site.get());
    if (bag) {
        auto ppb = unk.As<IPersistPropertyBag>();
        hr = ppb ? ppb->Load(bag, nullptr) : E_NOINTERFACE;
    } else if (auto ppb = unk.As<IPersistPropertyBag>()) {
        hr = ppb->InitNew();
    } else if (auto psi = unk.As<IPersistStreamInit>()) {
        hr = psi->InitNew();
    }
    // The control's error object stays for the caller.
    ComPtr<IErrorInfo> load_error;
    if (FAILED(hr)) {
        GetErrorInfo(0, load_error.put());
        if (!keep_failed_loads_) {
            site->Detach();
            SetErrorInfo(0, load_error.get());
            return nullptr;
        }
    }
    const HRESULT loaded = hr;
    if (!site_first) ole->SetClientSite(site.get());
    sites_.push_back(site);
    AdviseAll(site.get());
    SIZEL extent{static_cast<LONG>(std::lround(ScaleConvert(rect.right - rect.left, ScaleUnit::Pixels,
                                                            ScaleUnit::Himetric, Axis::Horizontal, 96))),
                 static_cast<LONG>(std::lround(ScaleConvert(rect.bottom - rect.top, ScaleUnit::Pixels,
                                                            ScaleUnit::Himetric, Axis::Vertical, 96)))};
    ole->SetExtent(DVASPECT_CONTENT, &extent);
    // Where the control's own initialisation put it (a height or alignment it chose).
    const RECT placed = site->rect_;
    hr = ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.get(), 0, site->ContainerWindow(), &placed);
    if (FAILED(hr)) {
        Remove(site.get());
        return nullptr;
    }
    if (site->align_ != kAlignNone) ArrangeAligned();
    if (FAILED(loaded)) {
        hr = loaded;
        SetErrorInfo(0, load_error.get());
    }
    return site.get();
}

void Form::ArrangeAligned() {
    if (arranging_ || !hwnd_) return;
    arranging_ = true;
    RECT client{};
    GetClientRect(hwnd_, &client);
    auto sites = sites_;
    for (auto& s : sites) {
        if (s->container_ || s->align_ != kAlignBottom) continue;
        const long height = s->rect_.bottom - s->rect_.top;
        RECT want{0, client.bottom - height, client.right, client.bottom};
        if (!EqualRect(&want, &s->rect_)) s->Move(want);
    }
    arranging_ = false;
}

void Form::AdviseAll(Site* site) {
    ComPtr<IConnectionPointContainer> cpc = site->ole_.As<IConnectionPointContainer>();
    if (!cpc) return;
    ComPtr<IProvideClassInfo2> pci = site->ole_.As<IProvideClassInfo2>();
    IID events{};
    if (pci && SUCCEEDED(pci->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events))) {
        ComPtr<IConnectionPoint> cp;
        if (SUCCEEDED(cpc->FindConnectionPoint(events, cp.put()))) {
            site->event_sink_ = CreateEventSink(this, site, events);
            site->events_iid_ = events;
            cp->Advise(site->event_sink_.get(), &site->event_cookie_);
        }
    }
    ComPtr<IConnectionPoint> notify;
    if (SUCCEEDED(cpc->FindConnectionPoint(IID_IPropertyNotifySink, notify.put()))) {
        site->notify_sink_ = CreateNotifySink(this, site);
        notify->Advise(site->notify_sink_.get(), &site->notify_cookie_);
    }
}

void Form::Remove(Site* site) {
    if (!site) return;
    if (default_ == site) default_ = nullptr;
    if (cancel_ == site) cancel_ = nullptr;
    if (ui_active_ == site) {
        ui_active_ = nullptr;
        active_.reset();
    }
    ComPtr<Site> keep(site);
    sites_.erase(std::remove_if(sites_.begin(), sites_.end(), [&](auto& s) { return s.get() == site; }),
                 sites_.end());
    site->Detach();
}

Site* Form::Find(const std::wstring& name) const {
    for (auto& s : sites_)
        if (CompareStringOrdinal(s->name().c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL) return s.get();
    return nullptr;
}

std::vector<Site*> Form::ContainedIn(Site* container) const {
    std::vector<Site*> r;
    for (auto& s : sites_)
        if (s->container() == container) r.push_back(s.get());
    return r;
}

void Form::Broadcast(DISPID ambient) {
    auto sites = sites_;
    for (auto& s : sites)
        if (auto ctl = s->ole().As<IOleControl>()) ctl->OnAmbientPropertyChange(ambient);
}

void Form::SetUserMode(bool user_mode) {
    user_mode_ = user_mode;
    Broadcast(DISPID_AMBIENT_USERMODE);
}

void Form::SetAmbientFont(IFontDisp* font) {
    font_ = font;
    Broadcast(DISPID_AMBIENT_FONT);
}

void Form::SetAmbientForeColor(OLE_COLOR c) {
    fore_ = c;
    Broadcast(DISPID_AMBIENT_FORECOLOR);
}

void Form::SetAmbientBackColor(OLE_COLOR c) {
    back_ = c;
    Broadcast(DISPID_AMBIENT_BACKCOLOR);
}

namespace {
void NotifyDefault(Site* s) {
    if (!s) return;
    if (auto ctl = s->ole().As<IOleControl>()) ctl->OnAmbientPropertyChange(DISPID_AMBIENT_DISPLAYASDEFAULT);
}
}  // namespace

void Form::SetDefault(Site* site) {
    Site* old = default_;
    default_ = site;
    if (old != site) {
        NotifyDefault(old);
        NotifyDefault(site);
    }
}

void Form::SetCancel(Site* site) { cancel_ = site; }

void Form::OnUIActivate(Site* site) {
    if (ui_active_ && ui_active_ != site)
        if (auto ipo = ui_active_->ole().As<IOleInPlaceObject>()) ipo->UIDeactivate();
    ui_active_ = site;
}

bool Form::PreTranslate(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
    if (active_) return active_->TranslateAccelerator(&msg) == S_OK;
    return HandleHostKey(msg);
}

namespace {
bool SendMnemonic(Site* site, const MSG& msg) {
    if (!site) return false;
    auto ctl = site->ole().As<IOleControl>();
    if (!ctl) return false;
    MSG copy = msg;
    return ctl->OnMnemonic(&copy) == S_OK;
}

bool MatchesAccelerators(Site* site, const MSG& msg) {
    auto ctl = site->ole().As<IOleControl>();
    if (!ctl) return false;
    CONTROLINFO info{};
    info.cb = sizeof(info);
    if (FAILED(ctl->GetControlInfo(&info)) || !info.hAccel || !info.cAccel) return false;
    std::vector<ACCEL> table(info.cAccel);
    CopyAcceleratorTableW(info.hAccel, table.data(), info.cAccel);
    bool alt = msg.message == WM_SYSKEYDOWN;
    for (const ACCEL& a : table)
        if ((a.fVirt & FVIRTKEY) && a.key == msg.wParam && ((a.fVirt & FALT) != 0) == alt) return true;
    return false;
}
}  // namespace

bool Form::HandleHostKey(const MSG& msg) {
    if (msg.message == WM_KEYDOWN) {
        if (msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
            MoveFocus(GetKeyState(VK_SHIFT) < 0);
            return true;
        }
        if (msg.wParam == VK_RETURN && default_) return SendMnemonic(default_, msg);
        if (msg.wParam == VK_ESCAPE && cancel_) return SendMnemonic(cancel_, msg);
    }
    if (msg.message == WM_SYSKEYDOWN) {
        auto sites = sites_;
        for (auto& s : sites)
            if (s->visible() && MatchesAccelerators(s.get(), msg)) return SendMnemonic(s.get(), msg);
    }
    return false;
}

void Form::MoveFocus(bool backwards) {
    std::vector<HWND> order;
    for (auto& s : sites_) {
        HWND h = s->ControlWindow();
        // A control whose window is no tab stop never takes the focus.
        if (h && IsWindowVisible(h) && IsWindowEnabled(h) && (GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP))
            order.push_back(h);
    }
    if (order.empty()) return;
    HWND focus = GetFocus();
    auto it = std::find_if(order.begin(), order.end(), [&](HWND h) { return h == focus || IsChild(h, focus); });
    size_t i = it == order.end() ? (backwards ? order.size() - 1 : 0)
                                 : (backwards ? (it - order.begin() + order.size() - 1) % order.size()
                                              : (it - order.begin() + 1) % order.size());
    SetFocus(order[i]);
}

bool Form::Unload(short mode) {
    if (unloaded_) return true;
    for (auto& handler : query_unload_) {
        short cancel = 0;
        handler(cancel, mode);
        if (cancel) return false;
    }
    unloaded_ = true;
    modal_ = false;
    auto sites = sites_;
    for (auto it = sites.rbegin(); it != sites.rend(); ++it) Remove(it->get());
    if (designed_) {
        pieces_.clear();
        if (hwnd_) {
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            DestroyWindow(hwnd_);
            hwnd_ = nullptr;
        }
    }
    return true;
}

void Form::ShowModal(HWND owner) {
    if (modal_ || unloaded_) return;
    modal_ = true;
    bool owner_enabled = owner && IsWindowEnabled(owner);
    if (owner_enabled) EnableWindow(owner, FALSE);
    // Owned, the form stays above its owner and out of the task bar's way.
    if (owner && !(GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD))
        SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    if (focus_on_show_) {
        focus_on_show_ = false;
        FocusFirst();
    }
    MSG msg;
    while (modal_ && !unloaded_ && IsWindow(hwnd_)) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    modal_ = false;
    if (owner_enabled) EnableWindow(owner, TRUE);
    if (owner && IsWindow(owner)) SetActiveWindow(owner);
}

void Form::Hide() {
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
    modal_ = false;
}

void Form::Record(Site& site, bool notice, DISPID id, DISPPARAMS* params) {
    ComPtr<Site> keep(&site);  // a handler may remove the control
    if (!notice && on_event_) on_event_(site, id, params);
    LogEntry e{site.name(), notice, id, {}, site.index};
    if (params)
        for (UINT i = params->cArgs; i > 0; --i) {
            Variant v;
            VariantCopyInd(v.get(), &params->rgvarg[i - 1]);
            e.args.push_back(std::move(v));
        }
    log_.push_back(std::move(e));
}

ComPtr<MemoryPropertyBag> Form::Save(Site* site, HRESULT* result) {
    HRESULT scratch;
    HRESULT& hr = result ? *result : scratch;
    ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
    auto ppb = site ? site->ole().As<IPersistPropertyBag>() : ComPtr<IPersistPropertyBag>();
    hr = ppb ? ppb->Save(bag.get(), TRUE, TRUE) : E_NOINTERFACE;
    return SUCCEEDED(hr) ? bag : ComPtr<MemoryPropertyBag>();
}

ComPtr<IDispatch> Form::Dispatch() {
    if (dispatch_) return ComPtr<IDispatch>(dispatch_.get());
    dispatch_ = SimpleDispatch::Create();
    Form* self = this;
    auto window_rect = [self] {
        RECT rc{};
        GetWindowRect(self->hwnd_, &rc);
        return rc;
    };
    auto client_rect = [self] {
        RECT rc{};
        GetClientRect(self->hwnd_, &rc);
        return rc;
    };
    auto style = [self] { return GetWindowLongW(self->hwnd_, GWL_STYLE); };
    auto put_long = [](VARIANT* r, long x) {
        r->vt = VT_I4;
        r->lVal = x;
        return S_OK;
    };
    auto put_bool = [](VARIANT* r, bool x) {
        r->vt = VT_BOOL;
        r->boolVal = x ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    };
    dispatch_->Add({DISPID_HWND, L"hWnd", [=](VARIANT* r) { return put_long(r, static_cast<long>(reinterpret_cast<LONG_PTR>(self->hwnd_))); }});
    dispatch_->Add({1, L"Name", [](VARIANT* r) {
                        *r = Variant::String(L"Form1").detach();
                        return S_OK;
                    }});
    dispatch_->Add({DISPID_CAPTION, L"Caption",
                    [self](VARIANT* r) {
                        *r = Variant::String(self->caption_).detach();
                        return S_OK;
                    },
                    [self](const VARIANT& v) {
                        Variant x;
                        HRESULT hr = VariantChangeType(x.get(), const_cast<VARIANT*>(&v), 0, VT_BSTR);
                        if (FAILED(hr)) return hr;
                        self->SetCaption(x->bstrVal ? x->bstrVal : L"");
                        return S_OK;
                    }});
    dispatch_->Add({2, L"Width", [=](VARIANT* r) { RECT rc = window_rect(); return put_long(r, PixelsToTwips(rc.right - rc.left)); }});
    dispatch_->Add({3, L"Height", [=](VARIANT* r) { RECT rc = window_rect(); return put_long(r, PixelsToTwips(rc.bottom - rc.top)); },
                    [=](const VARIANT& v) {
                        Variant x;
                        HRESULT hr = VariantChangeType(x.get(), const_cast<VARIANT*>(&v), 0, VT_R8);
                        if (FAILED(hr)) return hr;
                        RECT rc = window_rect();
                        long px = std::lround(x->dblVal / TwipsPerPixel(96));
                        SetWindowPos(self->hwnd_, nullptr, 0, 0, rc.right - rc.left, px,
                                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                        return S_OK;
                    }});
    auto in_scale = [self](long px, Axis axis) {
        return std::lround(ScaleConvert(px, ScaleUnit::Pixels, self->scale_unit_, axis, 96));
    };
    dispatch_->Add({4, L"ScaleWidth", [=](VARIANT* r) { return put_long(r, in_scale(client_rect().right, Axis::Horizontal)); }});
    dispatch_->Add({5, L"ScaleHeight", [=](VARIANT* r) { return put_long(r, in_scale(client_rect().bottom, Axis::Vertical)); }});
    dispatch_->Add({14, L"ScaleMode", [=](VARIANT* r) { return put_long(r, static_cast<long>(self->scale_unit_)); }});
    if (!design_.mdi_parent)
        dispatch_->Add({6, L"BorderStyle", [=](VARIANT* r) {
                            if (self->designed_) return put_long(r, self->design_.border_style);
                            return put_long(r, (style() & WS_THICKFRAME) ? 2 : 1);
                        }});
    dispatch_->Add({7, L"WindowState", [=](VARIANT* r) {
                        return put_long(r, IsIconic(self->hwnd_) ? 1 : IsZoomed(self->hwnd_) ? 2 : 0);
                    }});
    // What tells an MDI parent from a form: it has an active child form (none here).
    if (design_.mdi_parent)
        dispatch_->Add({13, L"ActiveForm", [](VARIANT* r) {
                            r->vt = VT_DISPATCH;
                            r->pdispVal = nullptr;
                            return S_OK;
                        }});
    if (!design_.mdi_parent) {
        dispatch_->Add({8, L"MaxButton", [=](VARIANT* r) {
                            if (self->designed_) return put_bool(r, self->design_.max_button);
                            return put_bool(r, (style() & WS_MAXIMIZEBOX) != 0);
                        }});
        dispatch_->Add({9, L"MinButton", [=](VARIANT* r) {
                            if (self->designed_) return put_bool(r, self->design_.min_button);
                            return put_bool(r, (style() & WS_MINIMIZEBOX) != 0);
                        }});
    }
    dispatch_->Add({10, L"ShowInTaskBar", [=](VARIANT* r) { return put_bool(r, self->design_.show_in_taskbar); }});
    dispatch_->Add({12, L"BackColor",
                    [=](VARIANT* r) {
                        r->vt = VT_I4;
                        r->lVal = static_cast<long>(self->back_);
                        return S_OK;
                    },
                    [=](const VARIANT& v) {
                        Variant x;
                        HRESULT hr = VariantChangeType(x.get(), const_cast<VARIANT*>(&v), 0, VT_I4);
                        if (FAILED(hr)) return hr;
                        self->SetBackColor(static_cast<OLE_COLOR>(x->lVal));
                        return S_OK;
                    }});
    dispatch_->Add({11, L"Controls", [self](VARIANT* r) {
                        auto coll = SimpleDispatch::Create();
                        coll->Add({1, L"Count", [self](VARIANT* c) {
                                       c->vt = VT_I4;
                                       c->lVal = static_cast<long>(self->sites_.size());
                                       return S_OK;
                                   }});
                        coll->Add({DISPID_VALUE, L"Item", {}, {},
                                   [self](const std::vector<VARIANT*>& args, VARIANT* c) -> HRESULT {
                                       if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
                                       Site* s = nullptr;
                                       Variant key(*args[0]);
                                       if (VariantChangeType(key.get(), key.get(), 0, VT_I4) == S_OK) {
                                           long i = key->lVal;
                                           if (i >= 0 && i < static_cast<long>(self->sites_.size())) s = self->sites_[i].get();
                                       } else if (args[0]->vt == VT_BSTR) {
                                           s = self->Find(args[0]->bstrVal);
                                       }
                                       if (!s) return DISP_E_BADINDEX;
                                       c->vt = VT_DISPATCH;
                                       c->pdispVal = s->ExtenderObject().detach();
                                       return S_OK;
                                   }});
                        r->vt = VT_DISPATCH;
                        r->pdispVal = ComPtr<IDispatch>(coll.get()).detach();
                        return S_OK;
                    }});
    return ComPtr<IDispatch>(dispatch_.get());
}

void DoEvents(Form* form) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (form && form->PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void PumpFor(unsigned ms, Form* form, const std::function<bool()>& done) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        DoEvents(form);
        if (done && done()) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

}  // namespace lumio::host
