#pragma once
// The base of every control of the library: the OLE control interfaces a
// host needs, the control's window, its life cycle and the services the
// controls use (properties, ambients, events, units, font, mouse pointer).
// A control derives from it, fills a MemberTable and overrides the On*
// handlers of the events it cares about.
#include <ocidl.h>
#include <olectl.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "ambient.h"
#include "com_ptr.h"
#include "connection_points.h"
#include "gdi_scope.h"
#include "member_table.h"
#include "ole_types.h"
#include "property_bag_io.h"
#include "scale_units.h"

namespace lumio {

struct ControlClassInfo {
    const CLSID* clsid;
    const IID* dispatch_iid;  // the default dual interface
    const IID* events_iid;    // the event interface, or nullptr
    const wchar_t* name;      // class name, also the default error source
    DWORD misc_status;
    bool double_clicks;       // the window receives double clicks
    const MemberTable* members;
    // False for a control that never takes the focus: a click leaves the
    // focus where it is and Tab passes it by (its window has no WS_TABSTOP).
    bool takes_focus = true;
    // A second dual interface the class implements (a callback interface), or nullptr.
    const IID* other_dual_iid = nullptr;
};

// Mouse buttons and shift states as events report them.
enum : short { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum : short { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };
inline constexpr short kCustomMousePointer = 99;

// An argument of an event: by reference to a variable of the raiser, so a
// handler's change is read back from that variable.
VARIANT ByRef(short& x);
VARIANT ByRef(long& x);
VARIANT ByRef(float& x);
VARIANT ByRefBool(VARIANT_BOOL& x);
VARIANT ByRef(BSTR& x);

class ControlBase : public IOleObject,
                    public IOleInPlaceObject,
                    public IOleInPlaceActiveObject,
                    public IOleControl,
                    public IViewObject2,
                    public IPersistPropertyBag,
                    public IPersistStreamInit,
                    public IConnectionPointContainer,
                    public IProvideClassInfo2,
                    public ISupportErrorInfo,
                    public IDispatch {
public:
    // Creates a control of type T for a class factory: constructs it, makes
    // its window and raises Initialize.
    template <class T>
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out) {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer && iid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
        T* control = nullptr;
        try {
            control = new T();
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        return control->Start(outer, iid, out);
    }

    // IUnknown (delegating to the outer object when aggregated)
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return outer_->QueryInterface(iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return outer_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return outer_->Release(); }

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD save_option) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override;
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject** out) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT pos) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** out) override;
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** out) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    STDMETHODIMP GetWindow(HWND* hwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(LPMSG msg) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    STDMETHODIMP OnMnemonic(MSG* msg) override;
    STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
    STDMETHODIMP FreezeEvents(BOOL freeze) override;

    // IViewObject2
    STDMETHODIMP Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC hdc, LPCRECTL bounds, LPCRECTL,
                      BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override;

    // IPersist, IPersistPropertyBag, IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP InitNew() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clear_dirty, BOOL save_all) override;
    STDMETHODIMP IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
    STDMETHODIMP Load(LPSTREAM stream) override;
    STDMETHODIMP Save(LPSTREAM stream, BOOL clear_dirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override;
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

    // IProvideClassInfo2, ISupportErrorInfo
    STDMETHODIMP GetClassInfo(ITypeInfo** out) override;
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** out) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                        UINT* arg_err) override;

    // The window procedure's entry (control_window.cpp).
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    const ControlClassInfo& class_info() const { return info_; }

protected:
    // Binds the stock members to the services below.
    friend class StockMembers;

    explicit ControlBase(const ControlClassInfo& info);
    virtual ~ControlBase();

    // Life cycle.
    virtual void OnInitialize() {}
    virtual void OnInitProperties() {}
    virtual void OnReadProperties(PropertyReader&) {}
    virtual void OnWriteProperties(PropertyWriter&) {}
    virtual void OnTerminate() {}
    virtual void OnResize() {}
    virtual void OnShow() {}
    virtual void OnHide() {}
    virtual void OnPaint() { Cls(); }
    // Input; X and Y in pixels.
    virtual void OnMouseDown(short, short, float, float) {}
    virtual void OnMouseMove(short, short, float, float) {}
    virtual void OnMouseUp(short, short, float, float) {}
    virtual void OnClick() {}
    virtual void OnDblClick() {}
    virtual void OnKeyDown(short&, short) {}
    virtual void OnKeyPress(short&) {}
    virtual void OnKeyUp(short&, short) {}
    virtual void OnGotFocus() {}
    virtual void OnLostFocus() {}
    virtual void OnEnterFocus() {}
    virtual void OnExitFocus() {}
    virtual void OnAccessKeyPress(short) {}
    virtual void OnAmbientChanged(const std::wstring&) {}
    // A window message before the runtime handles it; true when handled.
    virtual bool OnWindowMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

    // Services.
    HWND hWnd() const { return hwnd_; }
    // The control's own device context, with its font, ForeColor and a transparent text background.
    HDC Hdc();
    AmbientProperties Ambient() const { return AmbientProperties(site_.get()); }
    IOleClientSite* ClientSite() const { return site_.get(); }
    // Marks the control dirty and tells the host which member changed
    // (DISPID_UNKNOWN for a name that is only a bag key).
    void PropertyChanged(const wchar_t* name);
    // Marks the control dirty without telling the host of a change.
    void MarkDirty() { dirty_ = true; }
    void RaiseEvent(DISPID id, std::initializer_list<VARIANT> args = {});
    bool EventsFrozen() const { return freeze_count_ > 0; }
    void SetAccessKeys(const std::wstring& keys);
    const std::wstring& AccessKeys() const { return access_keys_; }
    void SetWindowEnabled(bool enabled);
    bool WindowEnabled() const;
    // The control's font; never null.
    ComPtr<IFontDisp> Font() const { return font_; }
    void SetFont(IFontDisp* font);
    // The surface's Appearance (0 flat, 1 3D): kept for a control that passes
    // its own through; the surface draws no border of its own to show it.
    long Appearance() const { return appearance_; }
    void SetAppearance(long appearance) { appearance_ = appearance; }
    short MousePointer() const { return mouse_pointer_; }
    void SetMousePointer(short pointer);
    ComPtr<IPictureDisp> MouseIcon() const { return mouse_icon_; }
    void SetMouseIcon(IPictureDisp* icon);
    // Colours of the surface: Cls fills with the back colour, text uses the fore colour.
    void SetSurfaceColors(OLE_COLOR back, OLE_COLOR fore);
    void Cls();
    void Invalidate();
    // A persistent image: drawing through Hdc goes into a bitmap that the
    // window shows whenever it is painted, and no Paint event is raised.
    void SetAutoRedraw(bool on);
    bool AutoRedraw() const { return static_cast<bool>(image_dc_); }
    // Size of text in the control's font, in pixels: the widest line, the lines' total height.
    int TextWidth(const std::wstring& text);
    int TextHeight(const std::wstring& text);
    int ScaleWidth() const;
    int ScaleHeight() const;
    double ScaleX(double value, ScaleUnit from, ScaleUnit to) const;
    double ScaleY(double value, ScaleUnit from, ScaleUnit to) const;
    // The unit the container places its controls in (its ScaleMode, read
    // late-bound from the extender's Container, then from Parent); twips
    // when neither answers a unit of the table (a user scale included).
    ScaleUnit ContainerScaleUnit() const;
    // Asks the host for a new size in pixels; the host's answer comes back as Resize.
    void ResizeSelf(int width, int height);
    // The host's extender object of this control and the object holding it.
    ComPtr<IDispatch> Extender() const;
    ComPtr<IDispatch> Parent() const;
    // The host's collection of the controls inside this one (Count, Item(i)), or nullptr.
    ComPtr<IDispatch> ContainedControls() const;
    // The "{TAB}" or "+{TAB}" keystrokes, as a user would type them.
    void SendTabKeys(bool backwards);
    // Processes the thread's pending messages, keys through the host as usual.
    void ProcessPendingMessages();
    void CaptureMouse();
    void ReleaseMouse();
    // Ends the current press for the runtime too: a press whose release went
    // elsewhere (a modal loop took it) then gives no Click at a later release.
    void EndPress() {
        buttons_down_ = 0;
        click_pending_ = false;
    }
    bool HasCapture() const;
    bool HasFocus() const;

private:
    class InnerUnknown : public IUnknown {
    public:
        explicit InnerUnknown(ControlBase* owner) : owner_(owner) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;

    private:
        ControlBase* owner_;
    };

    HRESULT Start(IUnknown* outer, REFIID iid, void** out);
    HRESULT InternalQueryInterface(REFIID iid, void** out);
    void FinalRelease();
    void CreateControlWindow();
    HRESULT InPlaceActivate(LONG verb);
    HRESULT UIActivate();
    void EnsureInitialized();
    void CallInitProperties();
    void CallReadProperties(IPropertyBag* bag, IErrorLog* log);
    void ViewChanged();
    bool CompleteArguments(const Member& m, MemberArgs& args, std::vector<Variant>& keep) const;

    // Input handling (control_input.cpp).
    LRESULT HandleMouse(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleKey(UINT msg, WPARAM wp, LPARAM lp);
    void HandleFocus(bool gained, HWND other);
    bool HandleSetCursor();
    short ShiftState() const;

    const ControlClassInfo& info_;
    InnerUnknown inner_{this};
    IUnknown* outer_ = &inner_;
    LONG refs_ = 0;
    bool terminated_ = false;

    HWND hwnd_ = nullptr;
    ComPtr<IOleClientSite> site_;
    ComPtr<IOleInPlaceSite> inplace_site_;
    ComPtr<IOleInPlaceFrame> frame_;
    ComPtr<IOleInPlaceUIWindow> doc_window_;
    ComPtr<IOleAdviseHolder> advise_holder_;
    ComPtr<IAdviseSink> view_sink_;
    DWORD view_aspects_ = 0, view_flags_ = 0;
    std::unique_ptr<ConnectionPoint> events_cp_;
    std::unique_ptr<ConnectionPoint> notify_cp_;

    bool initialized_ = false;  // InitProperties or ReadProperties ran
    bool inplace_active_ = false;
    bool ui_active_ = false;
    bool dirty_ = false;
    bool visible_ = false;
    long freeze_count_ = 0;
    SIZEL extent_{};  // HIMETRIC
    int resize_depth_ = 0;
    bool resized_since_init_ = false;

    std::wstring access_keys_;
    ComPtr<IFontDisp> font_;
    short mouse_pointer_ = 0;
    long appearance_ = 1;
    ComPtr<IPictureDisp> mouse_icon_;
    OLE_COLOR back_color_ = 0x8000000F;
    OLE_COLOR fore_color_ = 0x80000012;
    HACCEL accelerators_ = nullptr;
    // The persistent image while auto-redraw is on; the bitmap is selected
    // into the DC until DropImage puts image_old_ back.
    gdi::OwnedObject<HBITMAP> image_bitmap_;
    gdi::OwnedDC image_dc_;
    HGDIOBJ image_old_ = nullptr;
    SIZE image_size_{};
    void ResizeImage();
    void DropImage();

    // Mouse state of the runtime's input rules.
    short buttons_down_ = 0;
    bool click_pending_ = false;
};

}  // namespace lumio
