#pragma once
// Our own control container: a form window holding controls in sites. The
// library's dialogs are built on it and the tests use it as their host. It
// gives the ambients (with a UserMode switch), the extender of each control,
// the late-bound form, contained controls, bags to save to and read from, and
// a log of the events and property-change notices its controls send.
#include <ocidl.h>
#include <olectl.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "com_object.h"
#include "com_ptr.h"
#include "host_pieces.h"
#include "scale_units.h"
#include "memory_property_bag.h"
#include "ole_types.h"
#include "simple_dispatch.h"
#include "thread_slot.h"

namespace lumio::host {

class Form;

// At the library's unload, so that a fresh load registers the class anew.
void UnregisterFormClass();

// Extender members that controls and dialogs reach by number.
inline constexpr DISPID kExtName = static_cast<DISPID>(0x80010000);
inline constexpr DISPID kExtTag = static_cast<DISPID>(0x8001000A);
inline constexpr DISPID kExtVisible = static_cast<DISPID>(0x80010007);
inline constexpr DISPID kExtParent = static_cast<DISPID>(0x80010008);
inline constexpr DISPID kExtLeft = static_cast<DISPID>(0x80010100);
inline constexpr DISPID kExtTop = static_cast<DISPID>(0x80010101);
inline constexpr DISPID kExtWidth = static_cast<DISPID>(0x80010102);
inline constexpr DISPID kExtHeight = static_cast<DISPID>(0x80010103);
inline constexpr DISPID kExtContainer = static_cast<DISPID>(0x80010200);
inline constexpr DISPID kExtIndex = static_cast<DISPID>(0x8001000C);
inline constexpr DISPID kExtCancel = static_cast<DISPID>(0x80010037);
inline constexpr DISPID kExtDefault = static_cast<DISPID>(0x80010038);
inline constexpr DISPID kExtObject = static_cast<DISPID>(0x80010003);
inline constexpr DISPID kExtContainedControls = static_cast<DISPID>(0x80010201);
inline constexpr DISPID kExtAlign = static_cast<DISPID>(0x80010104);

// Align values the extender takes: none, or full width along the form's bottom.
inline constexpr short kAlignNone = 0;
inline constexpr short kAlignBottom = 2;

using CreateFunction = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);

// One entry of the form's log: an event (with its arguments as the handler
// left them) or a property-change notice.
struct LogEntry {
    std::wstring control;
    bool notice;  // a property-change notice, else an event
    DISPID id;
    std::vector<Variant> args;  // in call order, by-reference ones dereferenced
    int index;                  // the control's index within its array, -1 outside one
};

class Site;

// A form as its designer left it.
struct FormDesign {
    long client_width = 320, client_height = 240;  // pixels
    std::wstring caption = L"Form1";
    OLE_COLOR back_color = 0x8000000F;
    ComPtr<IFontDisp> font;       // none: the standard font
    ComPtr<IPictureDisp> picture;  // drawn from the top-left corner
    // 0 none, 1 fixed single, 2 sizable, 3 fixed dialog, 4 fixed tool window, 5 sizable tool window.
    int border_style = 2;
    bool max_button = true, min_button = true, show_in_taskbar = true;
    // An MDI parent form: late-bound it answers ActiveForm, and no BorderStyle, MaxButton or MinButton.
    bool mdi_parent = false;
};

struct WindowStyles {
    DWORD style, ex_style;
};
// The window styles of a top-level form.
WindowStyles FormStyles(const FormDesign& design);

// One control of a designed form, in tab order.
struct ControlDesign {
    CreateFunction create = nullptr;  // or, when null, clsid
    CLSID clsid{};
    std::wstring name;
    RECT rect{};
    ComPtr<IPropertyBag> bag;  // none: new properties
    int index = -1;            // within a control array
};

class Form {
public:
    // A top-level form (parent nullptr) or a child window of parent; position and size in pixels.
    Form(HWND parent, RECT rect, const std::wstring& caption = L"Form1");
    // A top-level form from its design, hidden until shown. Unloading it destroys its window.
    explicit Form(const FormDesign& design);
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    HWND hWnd() const { return hwnd_; }
    const std::wstring& caption() const { return caption_; }

    // Creates a control, gives it its properties (new, or read from bag) and
    // places it in place at rect (pixels, in its container). On failure the
    // result is the control's failure code, nullptr comes back and the
    // thread's error object holds what the control raised; a form that keeps
    // failed loads places the control all the same and gives its site.
    Site* Add(CreateFunction create, const std::wstring& name, RECT rect, IPropertyBag* bag = nullptr,
              Site* container = nullptr, HRESULT* result = nullptr);
    // As a form designer that reports a control's failed load and goes on
    // with the control as the load left it.
    void KeepFailedLoads(bool keep) { keep_failed_loads_ = keep; }
    Site* Add(const CLSID& clsid, const std::wstring& name, RECT rect, IPropertyBag* bag = nullptr,
              Site* container = nullptr, HRESULT* result = nullptr);
    // Reads the designed controls in user mode, in tab order, hiding those
    // invisible at run time, and gives the first the focus (on a hidden form
    // once it is shown modally). Stops at the first failure (its code in
    // result) and returns false.
    bool Load(const std::vector<ControlDesign>& controls, HRESULT* result = nullptr);
    // A site of a control array, or the plain control when index is -1.
    Site* Find(const std::wstring& name, int index) const;
    // The light controls (labels, lines, images, picture boxes), owned by the form.
    template <class T, class... Args>
    T* AddPiece(Args&&... args) {
        auto piece = std::make_unique<T>(hwnd_, std::forward<Args>(args)...);
        T* raw = piece.get();
        pieces_.push_back(std::move(piece));
        return raw;
    }
    // One placed inside another piece (a picture box), in its pixels.
    template <class T, class... Args>
    T* AddPieceTo(Piece* container, Args&&... args) {
        auto piece = std::make_unique<T>(container ? container->hWnd() : hwnd_, std::forward<Args>(args)...);
        T* raw = piece.get();
        pieces_.push_back(std::move(piece));
        return raw;
    }
    Piece* FindPiece(const std::wstring& name, int index = -1) const;
    const FormDesign& design() const { return design_; }
    // The unit of the form's ScaleMode: its scale sizes and its controls'
    // extender positions. Twips unless set (a host that works in pixels).
    ScaleUnit scale_unit() const { return scale_unit_; }
    void SetScaleUnit(ScaleUnit unit) { scale_unit_ = unit; }
    void SetCaption(const std::wstring& caption);
    void SetBackColor(OLE_COLOR c);
    // By the class's name in this library ("LumioButton", or its ProgID
    // "Lumiokit.LumioButton"), so that a dialog needs no control's header.
    // An unknown name is REGDB_E_CLASSNOTREG.
    Site* Add(const std::wstring& class_name, const std::wstring& name, RECT rect, IPropertyBag* bag = nullptr,
              Site* container = nullptr, HRESULT* result = nullptr);
    // Closes and releases one control.
    void Remove(Site* site);
    Site* Find(const std::wstring& name) const;
    const std::vector<ComPtr<Site>>& sites() const { return sites_; }
    std::vector<Site*> ContainedIn(Site* container) const;

    // Ambients.
    bool UserMode() const { return user_mode_; }
    void SetUserMode(bool user_mode);
    void SetAmbientFont(IFontDisp* font);
    ComPtr<IFontDisp> AmbientFont() const { return font_; }
    void SetAmbientForeColor(OLE_COLOR c);
    void SetAmbientBackColor(OLE_COLOR c);
    OLE_COLOR AmbientForeColor() const { return fore_; }
    OLE_COLOR AmbientBackColor() const { return back_; }
    // A host that does not give this ambient: the control's own default applies.
    void WithholdAmbient(DISPID id) { withheld_.insert(id); }
    bool Withholds(DISPID id) const { return withheld_.count(id) != 0; }
    void Broadcast(DISPID ambient);

    void SetDefault(Site* site);
    void SetCancel(Site* site);
    Site* DefaultSite() const { return default_; }
    Site* CancelSite() const { return cancel_; }

    // Keyboard routing of the host: the active control first, then Tab,
    // Enter and Esc for the default and cancel buttons, and access keys.
    bool PreTranslate(MSG& msg);
    bool HandleHostKey(const MSG& msg);
    void MoveFocus(bool backwards);
    void SetActiveObject(IOleInPlaceActiveObject* active) { active_ = active; }
    void OnUIActivate(Site* site);

    // The form as controls reach it late-bound (hWnd, Controls, sizes, ...).
    ComPtr<IDispatch> Dispatch();
    // Runs before the form goes away; a handler may set cancel.
    void OnQueryUnload(std::function<void(short& cancel, short mode)> handler) {
        query_unload_.push_back(std::move(handler));
    }
    // Asks the QueryUnload handlers, then closes every control; false when cancelled.
    bool Unload(short mode = 1);
    bool Unloaded() const { return unloaded_; }
    // Shows the (top-level) form owned by owner and runs its messages until
    // Hide or Unload; the owner is disabled meanwhile.
    void ShowModal(HWND owner);
    void Hide();
    bool Modal() const { return modal_; }

    // The log of events and notices, in the order they arrived.
    std::vector<LogEntry>& log() { return log_; }
    // Called for every event before it is logged; may change by-reference arguments.
    void OnEvent(std::function<void(Site&, DISPID, DISPPARAMS*)> handler) { on_event_ = std::move(handler); }
    void Record(Site& site, bool notice, DISPID id, DISPPARAMS* params);

    // Saves one control into a new bag.
    ComPtr<MemoryPropertyBag> Save(Site* site, HRESULT* result = nullptr);

    IOleInPlaceFrame* frame() const { return frame_.get(); }

    // Paints the form's back colour and picture.
    void PaintBackground(HDC dc);
    // Puts the bottom-aligned controls at the bottom of the form, full width.
    void ArrangeAligned();
    // WM_ACTIVATE: keeps the focused control when the form loses the
    // activation and gives the focus back to it when the form has it again.
    // True when the focus was given back.
    bool OnActivate(WPARAM wp);

private:
    void AdviseAll(Site* site);
    // The first control in tab order that can take the focus gets it.
    void FocusFirst();

    FormDesign design_;
    bool designed_ = false;
    ScaleUnit scale_unit_ = ScaleUnit::Twips;
    std::vector<std::unique_ptr<Piece>> pieces_;
    HWND hwnd_ = nullptr;
    std::wstring caption_;
    bool owns_window_ = true;
    std::vector<ComPtr<Site>> sites_;
    bool user_mode_ = true;
    ComPtr<IFontDisp> font_;
    OLE_COLOR fore_ = 0x80000012;  // button text
    OLE_COLOR back_ = 0x8000000F;  // button face
    std::set<DISPID> withheld_;
    Site* default_ = nullptr;
    Site* cancel_ = nullptr;
    ComPtr<IOleInPlaceActiveObject> active_;
    Site* ui_active_ = nullptr;
    ComPtr<IOleInPlaceFrame> frame_;
    ComPtr<SimpleDispatch> dispatch_;
    std::vector<std::function<void(short&, short)>> query_unload_;
    std::vector<LogEntry> log_;
    std::function<void(Site&, DISPID, DISPPARAMS*)> on_event_;
    bool unloaded_ = false;
    bool keep_failed_loads_ = false;
    bool modal_ = false;
    bool arranging_ = false;
    bool focus_on_show_ = false;
    HWND last_focus_ = nullptr;
};

class Site : public ComObject<Site, IOleClientSite, IOleInPlaceSite, IOleControlSite, IDispatch> {
public:
    Site(Form* form, const std::wstring& name, Site* container);

    void* Interface(REFIID iid);
    // IOleClientSite
    STDMETHODIMP SaveObject() override { return S_OK; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override;
    STDMETHODIMP GetContainer(IOleContainer** out) override;
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
    // IOleWindow, IOleInPlaceSite
    STDMETHODIMP GetWindow(HWND* hwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override;
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT pos) override;
    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override { return S_OK; }
    STDMETHODIMP LockInPlaceActive(BOOL) override { return S_OK; }
    STDMETHODIMP GetExtendedControl(IDispatch** out) override;
    STDMETHODIMP TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override;
    STDMETHODIMP TranslateAccelerator(MSG* msg, DWORD modifiers) override;
    STDMETHODIMP OnFocus(BOOL) override { return S_OK; }
    STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }
    // IDispatch: the ambient properties
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override;

    const std::wstring& name() const { return name_; }
    Site* container() const { return container_; }
    // The control's window, or nullptr.
    HWND ControlWindow() const;
    // The control's own dispatch interface.
    ComPtr<IDispatch> Object() const;
    ComPtr<IOleObject> ole() const { return ole_; }
    ComPtr<IDispatch> ExtenderObject();
    // Position and size in pixels within its container.
    RECT rect() const { return rect_; }
    void Move(RECT rect);
    bool visible() const { return visible_; }
    void SetVisible(bool visible);
    short align() const { return align_; }
    std::wstring tag;
    // Index within a control array, -1 outside one.
    int index = -1;

private:
    friend class Form;
    ~Site() override = default;
    void Attach(ComPtr<IOleObject> ole) { ole_ = std::move(ole); }
    void Detach();
    HWND ContainerWindow() const;

    Form* form_;
    std::wstring name_;
    Site* container_;
    RECT rect_{};
    // The extender's Left as last written (twips), while the window stays where it put it.
    bool left_written_ = false;
    double left_twips_ = 0;
    bool visible_ = true;
    short align_ = kAlignNone;
    ComPtr<IOleObject> ole_;
    ComPtr<SimpleDispatch> extender_;
    ComPtr<IDispatch> event_sink_;
    ComPtr<IPropertyNotifySink> notify_sink_;
    DWORD event_cookie_ = 0, notify_cookie_ = 0;
    IID events_iid_{};
};

// The default instance of a form type on this thread: made on first touch,
// made anew once the previous one has been unloaded.
template <class T>
T& DefaultInstance() {
    // Freed with every thread's at library unload.
    static ThreadSlot<std::unique_ptr<T>> slot;
    std::unique_ptr<T>& instance = slot.get();
    if (!instance || instance->form().Unloaded()) {
        instance.reset();
        instance = std::make_unique<T>();
    }
    return *instance;
}
// Processes pending messages of the thread through the forms' keyboard routing.
void DoEvents(Form* form = nullptr);
// Pumps messages for about ms milliseconds, or until done() is true.
void PumpFor(unsigned ms, Form* form = nullptr, const std::function<bool()>& done = {});

}  // namespace lumio::host
