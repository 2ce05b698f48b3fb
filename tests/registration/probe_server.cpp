// A server built from the runtime with one class of its own, so that the
// registration and class-factory paths are tested apart from any control.
#include <windows.h>
#include <objbase.h>

#include "class_table.h"
#include "module_lock.h"
#include "probe_ids.h"

namespace {

class Probe final : public IUnknown {
public:
    Probe() { lumio::ModuleLock(); }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (!IsEqualIID(iid, IID_IUnknown)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return n;
    }

private:
    ~Probe() { lumio::ModuleUnlock(); }
    LONG refs_ = 1;
};

HRESULT CreateProbe(IUnknown*, REFIID iid, void** out) {
    auto* p = new Probe;
    HRESULT hr = p->QueryInterface(iid, out);
    p->Release();
    return hr;
}

const bool registered = [] {
    lumio::RegisterControlClass({&kProbeClsid, kProbeName, kProbeMiscStatus, kProbeBitmap, &CreateProbe});
    return true;
}();

}  // namespace
