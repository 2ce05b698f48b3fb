#include "connection_points.h"

#include <algorithm>
#include <new>

#include "com_object.h"

namespace lumio {

namespace {

// A self-contained enumerator over a snapshot of items.
template <class IEnum, class Item, const IID* kIid>
class Enumerator : public ComObject<Enumerator<IEnum, Item, kIid>, IEnum> {
public:
    Enumerator(std::vector<Item> items, size_t pos) : items_(std::move(items)), pos_(pos) {}
    void* Interface(REFIID riid) {
        if (riid == IID_IUnknown || riid == *kIid) return static_cast<IEnum*>(this);
        return nullptr;
    }
    STDMETHODIMP Next(ULONG count, Item* out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched)) return E_POINTER;
        ULONG n = 0;
        while (n < count && pos_ < items_.size()) {
            out[n] = Copy(items_[pos_++]);
            ++n;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        pos_ = std::min<size_t>(items_.size(), pos_ + count);
        return pos_ < items_.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        pos_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnum** out) override {
        if (!out) return E_POINTER;
        *out = new (std::nothrow) Enumerator(items_, pos_);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

private:
    static IConnectionPoint* Copy(IConnectionPoint* p) {
        p->AddRef();
        return p;
    }
    static CONNECTDATA Copy(const CONNECTDATA& d) {
        d.pUnk->AddRef();
        return d;
    }
    ~Enumerator() override {
        if constexpr (std::is_same_v<Item, CONNECTDATA>)
            for (auto& d : items_) d.pUnk->Release();
        else
            for (auto* p : items_) p->Release();
    }
    std::vector<Item> items_;
    size_t pos_;
};

using PointEnum = Enumerator<IEnumConnectionPoints, IConnectionPoint*, &IID_IEnumConnectionPoints>;
using ConnectionEnum = Enumerator<IEnumConnections, CONNECTDATA, &IID_IEnumConnections>;

}  // namespace

HRESULT CreateConnectionPointEnum(const std::vector<IConnectionPoint*>& points, IEnumConnectionPoints** out) {
    if (!out) return E_POINTER;
    for (auto* p : points) p->AddRef();
    *out = new (std::nothrow) PointEnum(points, 0);
    if (!*out) {
        for (auto* p : points) p->Release();
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = iid_;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
    if (!out) return E_POINTER;
    *out = container_;
    container_->AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    // A sink must speak the interface; event sinks may answer only IDispatch.
    ComPtr<IUnknown> typed;
    if (FAILED(sink->QueryInterface(iid_, typed.put_void())) &&
        (iid_ == IID_IPropertyNotifySink || FAILED(sink->QueryInterface(IID_IDispatch, typed.put_void()))))
        return CONNECT_E_CANNOTCONNECT;
    try {
        sinks_.push_back({next_cookie_, typed});
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    *cookie = next_cookie_++;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it)
        if (it->cookie == cookie) {
            ComPtr<IUnknown> keep = it->sink;  // released after the list is consistent
            sinks_.erase(it);
            return S_OK;
        }
    return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    try {
        std::vector<CONNECTDATA> items;
        for (auto& c : sinks_) {
            c.sink->AddRef();
            items.push_back({c.sink.get(), c.cookie});
        }
        *out = new ConnectionEnum(std::move(items), 0);
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

std::vector<ComPtr<IUnknown>> ConnectionPoint::Sinks() const {
    std::vector<ComPtr<IUnknown>> r;
    for (auto& c : sinks_) r.push_back(c.sink);
    return r;
}

}  // namespace lumio
