#pragma once
// A control hosted inside another control's window: created new, in place,
// in user mode, with its events handed to a callback. The list box holds its
// scroll bar this way, at design time as at run time.
#include <ocidl.h>
#include <olectl.h>

#include <functional>

#include "com_object.h"
#include "com_ptr.h"
#include "ole_types.h"

namespace lumio::lists {

using ChildCreateFunction = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);

class ChildSite : public ComObject<ChildSite, IOleClientSite, IOleInPlaceSite, IDispatch> {
public:
    // Events of the child, by dispatch identifier; called inside the child's raise.
    using EventHandler = std::function<void(DISPID)>;

    static ComPtr<ChildSite> Create(HWND parent, EventHandler onEvent);

    // Makes the control, gives it new properties and shows it in place at rect.
    HRESULT Start(ChildCreateFunction create, const IID& eventsIid, RECT rect, bool visible);
    // Closes and releases the control; no event comes after.
    void Close();

    IDispatch* Object() const { return dispatch_.get(); }
    HWND ControlWindow() const;
    RECT Rect() const { return rect_; }
    void Move(RECT rect);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    // The listed interfaces, and IOleWindow as the in-place site.
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
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT pos) override;
    // IDispatch: the ambients (UserMode True; the child's defaults for the rest)
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override;

private:
    class Sink;
    ChildSite(HWND parent, EventHandler onEvent) : parent_(parent), on_event_(std::move(onEvent)) {}
    ~ChildSite() override;

    HWND parent_;
    EventHandler on_event_;
    RECT rect_{};
    bool visible_ = true;
    ComPtr<IOleObject> ole_;
    ComPtr<IDispatch> dispatch_;
    ComPtr<IConnectionPoint> point_;
    ComPtr<IDispatch> sink_;
    Sink* sink_impl_ = nullptr;
    DWORD cookie_ = 0;
};

}  // namespace lumio::lists
