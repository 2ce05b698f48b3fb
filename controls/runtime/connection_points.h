#pragma once
// Outgoing interfaces of a control: one connection point per interface, owned
// by the control and counted through it.
#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <vector>

#include "com_object.h"
#include "com_ptr.h"

namespace lumio {

class ConnectionPoint : public ComInterfaces<ConnectionPoint, IConnectionPoint> {
public:
    ConnectionPoint(IUnknown* owner, IConnectionPointContainer* container, REFIID iid)
        : owner_(owner), container_(container), iid_(iid) {}
    virtual ~ConnectionPoint() = default;

    // Counted through the owner.
    STDMETHODIMP_(ULONG) AddRef() override { return owner_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return owner_->Release(); }
    // IConnectionPoint
    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** out) override;

    REFIID iid() const { return iid_; }
    // A copy, so that sinks may connect and disconnect while being called.
    std::vector<ComPtr<IUnknown>> Sinks() const;
    void Clear() { sinks_.clear(); }

private:
    struct Connection {
        DWORD cookie;
        ComPtr<IUnknown> sink;
    };
    IUnknown* owner_;
    IConnectionPointContainer* container_;
    IID iid_;
    std::vector<Connection> sinks_;
    DWORD next_cookie_ = 1;
};

// Enumerator of connection points over a fixed list.
HRESULT CreateConnectionPointEnum(const std::vector<IConnectionPoint*>& points, IEnumConnectionPoints** out);

}  // namespace lumio
