#pragma once
// The tab tests' fixture: our container with a tab control on a form, its
// events and notices, contained controls' Left, and a capture of its window.
#include <algorithm>
#include <cmath>
#include <vector>

#include "class_table.h"
#include "live_objects.h"
#include "lumio_tab.h"
#include "lumiokit_dual.h"
#include "probe_control.h"
#include "simple_dispatch.h"
#include "std_objects.h"
#include "test_host.h"
#include "window_capture.h"

namespace tabtest {

using lumio::ComPtr;
using lumio::Variant;
using lumio::host::Form;
using lumio::host::Site;
using lumio::tab::LumioTab;
using namespace testhost;
namespace id = lumio::tlb::dispid::LumioTab;
namespace ev = lumio::tlb::dispid::LumioTabEvents;

constexpr HRESULT Err(int n) { return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, n); }

class TabTest : public OleTest {
protected:
    Site* AddTab(Form& f, IPropertyBag* bag = nullptr, HRESULT* hr = nullptr) {
        return f.Add(LumioTab::Create, L"Tab1", RECT{10, 10, 310, 210}, bag, nullptr, hr);
    }
    static LumioTab* Tab(Site* s) { return static_cast<LumioTab*>(static_cast<IDispatch*>(s->Object().get())); }
    std::vector<DISPID> Events(DISPID only = 0) const {
        std::vector<DISPID> r;
        for (auto& e : form_->log())
            if (!e.notice && (!only || e.id == only)) r.push_back(e.id);
        return r;
    }
    size_t NoticesOf(DISPID which) const {
        return static_cast<size_t>(std::count_if(form_->log().begin(), form_->log().end(),
                                                 [&](auto& e) { return e.notice && e.id == which; }));
    }
    static long Left(Site* s) { return AsLong(Get(s->ExtenderObject().get(), lumio::host::kExtLeft)); }
    static void SetLeft(Site* s, long twips) {
        ASSERT_EQ(Put(s->ExtenderObject().get(), lumio::host::kExtLeft, Variant::Long(twips)), S_OK);
    }
};

// A picture object that will not draw: every pass that paints it fails.
class BrokenPicture : public IPicture, public IPictureDisp {
public:
    static ComPtr<IPictureDisp> Create() {
        auto* p = new BrokenPicture();
        ComPtr<IPictureDisp> r(static_cast<IPictureDisp*>(p));
        p->Release();
        return r;
    }
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IPicture) *out = static_cast<IPicture*>(this);
        else if (iid == IID_IDispatch || iid == IID_IPictureDisp) *out = static_cast<IPictureDisp*>(this);
        else return *out = nullptr, E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG r = --refs_;
        if (!r) delete this;
        return r;
    }
    STDMETHODIMP get_Handle(OLE_HANDLE* h) override { return *h = 0, S_OK; }
    STDMETHODIMP get_hPal(OLE_HANDLE* h) override { return *h = 0, S_OK; }
    STDMETHODIMP get_Type(SHORT* t) override { return *t = PICTYPE_ICON, S_OK; }
    STDMETHODIMP get_Width(OLE_XSIZE_HIMETRIC* w) override { return *w = 423, S_OK; }
    STDMETHODIMP get_Height(OLE_YSIZE_HIMETRIC* h) override { return *h = 423, S_OK; }
    STDMETHODIMP Render(HDC, LONG, LONG, LONG, LONG, OLE_XPOS_HIMETRIC, OLE_YPOS_HIMETRIC, OLE_XSIZE_HIMETRIC,
                        OLE_YSIZE_HIMETRIC, LPCRECT) override {
        return E_FAIL;
    }
    STDMETHODIMP set_hPal(OLE_HANDLE) override { return E_NOTIMPL; }
    STDMETHODIMP get_CurDC(HDC* dc) override { return *dc = nullptr, S_OK; }
    STDMETHODIMP SelectPicture(HDC, HDC*, OLE_HANDLE*) override { return E_NOTIMPL; }
    STDMETHODIMP get_KeepOriginalFormat(BOOL* b) override { return *b = FALSE, S_OK; }
    STDMETHODIMP put_KeepOriginalFormat(BOOL) override { return S_OK; }
    STDMETHODIMP PictureChanged() override { return S_OK; }
    STDMETHODIMP SaveAsFile(LPSTREAM, BOOL, LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Attributes(DWORD* a) override { return *a = 0, S_OK; }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    BrokenPicture() = default;
    virtual ~BrokenPicture() = default;
    ULONG refs_ = 1;
};

}  // namespace tabtest
