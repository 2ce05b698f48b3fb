#pragma once
// The dispatch members of a control class: identifier, name and typed
// accessors, from which the control's IDispatch is served.
#include <functional>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "variant_convert.h"

namespace lumio {

class ControlBase;

struct Member {
    DISPID id = DISPID_UNKNOWN;
    std::wstring name;
    std::function<Variant(ControlBase&)> get;
    std::function<void(ControlBase&, const VARIANT&)> put;
    std::function<void(ControlBase&, const VARIANT&)> putref;
    // Arguments in call order (not the reversed order of DISPPARAMS).
    std::function<Variant(ControlBase&, const std::vector<const VARIANT*>&)> call;
    size_t arg_count = 0;
};

class MemberTable {
public:
    const Member* Find(DISPID id) const;
    const Member* FindByName(const std::wstring& name) const;  // case-insensitive
    // The identifier of a member name; DISPID_UNKNOWN for none.
    DISPID IdOf(const std::wstring& name) const;
    const std::vector<Member>& members() const { return members_; }

    template <class C, class G, class S>
    MemberTable& Property(DISPID id, const wchar_t* name, G (C::*get)(), void (C::*put)(S)) {
        using T = std::decay_t<S>;
        Member m;
        m.id = id;
        m.name = name;
        m.get = [get](ControlBase& b) { return VariantValue<std::decay_t<G>>::To((static_cast<C&>(b).*get)()); };
        auto setter = [put](ControlBase& b, const VARIANT& v) { (static_cast<C&>(b).*put)(VariantValue<T>::From(v)); };
        m.put = setter;
        if constexpr (IsObject<T>::value) m.putref = setter;
        members_.push_back(std::move(m));
        return *this;
    }

    template <class C, class G>
    MemberTable& ReadOnly(DISPID id, const wchar_t* name, G (C::*get)()) {
        Member m;
        m.id = id;
        m.name = name;
        m.get = [get](ControlBase& b) { return VariantValue<std::decay_t<G>>::To((static_cast<C&>(b).*get)()); };
        members_.push_back(std::move(m));
        return *this;
    }

    template <class C, class R, class... A>
    MemberTable& Method(DISPID id, const wchar_t* name, R (C::*fn)(A...)) {
        Member m;
        m.id = id;
        m.name = name;
        m.arg_count = sizeof...(A);
        m.call = [fn](ControlBase& b, const std::vector<const VARIANT*>& args) -> Variant {
            return Invoke<C, R, A...>(static_cast<C&>(b), fn, args, std::index_sequence_for<A...>{});
        };
        members_.push_back(std::move(m));
        return *this;
    }

private:
    template <class T>
    struct IsObject : std::false_type {};
    template <class I>
    struct IsObject<ComPtr<I>> : std::true_type {};

    template <class C, class R, class... A, size_t... I>
    static Variant Invoke(C& c, R (C::*fn)(A...), const std::vector<const VARIANT*>& args, std::index_sequence<I...>) {
        if constexpr (std::is_void_v<R>) {
            (c.*fn)(VariantValue<std::decay_t<A>>::From(*args[I])...);
            return Variant();
        } else {
            return VariantValue<std::decay_t<R>>::To((c.*fn)(VariantValue<std::decay_t<A>>::From(*args[I])...));
        }
    }

    std::vector<Member> members_;
};

}  // namespace lumio
