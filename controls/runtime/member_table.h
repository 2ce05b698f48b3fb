#pragma once
// The dispatch members of a control class: identifier, name and typed
// accessors, from which the control's IDispatch is served.
//
// A property may take one index argument before its value (a getter
// `T Item(long i)` with a setter `void SetItem(long i, T v)`); a method's
// trailing arguments may be omitted by the caller where the type library
// gives them a default (see param_defaults.h). A method parameter taken as a
// non-const reference (`void F(short& code)`) is written back after the call
// to a caller that passed it by reference, as a ByRef argument is.
#include <functional>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "variant_convert.h"

namespace lumio {

class ControlBase;

// Arguments in call order (not the reversed order of DISPPARAMS).
using MemberArgs = std::vector<const VARIANT*>;

struct Member {
    DISPID id = DISPID_UNKNOWN;
    std::wstring name;
    std::function<Variant(ControlBase&, const MemberArgs&)> get;
    // Index arguments, then the value.
    std::function<void(ControlBase&, const MemberArgs&, const VARIANT&)> put;
    std::function<void(ControlBase&, const MemberArgs&, const VARIANT&)> putref;
    std::function<Variant(ControlBase&, const MemberArgs&)> call;
    size_t arg_count = 0;    // a method's arguments
    size_t index_count = 0;  // a property's index arguments
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
        Member m = Getter<C, G>(id, name, get);
        auto setter = [put](ControlBase& b, const MemberArgs&, const VARIANT& v) {
            (static_cast<C&>(b).*put)(VariantValue<T>::From(v));
        };
        m.put = setter;
        if constexpr (IsObject<T>::value) m.putref = setter;
        members_.push_back(std::move(m));
        return *this;
    }

    // An indexed property: Item(i) read, Item(i) = v written.
    template <class C, class G, class I, class J, class S>
    MemberTable& Property(DISPID id, const wchar_t* name, G (C::*get)(I), void (C::*put)(J, S)) {
        using T = std::decay_t<S>;
        Member m = Getter<C, G, I>(id, name, get);
        auto setter = [put](ControlBase& b, const MemberArgs& index, const VARIANT& v) {
            // The index first, as a caller of Item(i) = v expects its errors in that order.
            auto i = VariantValue<std::decay_t<J>>::From(*index[0]);
            (static_cast<C&>(b).*put)(i, VariantValue<T>::From(v));
        };
        m.put = setter;
        if constexpr (IsObject<T>::value) m.putref = setter;
        members_.push_back(std::move(m));
        return *this;
    }

    // A property that can only be set (by value, or by reference for an object).
    template <class C, class S>
    MemberTable& WriteOnly(DISPID id, const wchar_t* name, void (C::*put)(S)) {
        using T = std::decay_t<S>;
        Member m;
        m.id = id;
        m.name = name;
        auto setter = [put](ControlBase& b, const MemberArgs&, const VARIANT& v) {
            (static_cast<C&>(b).*put)(VariantValue<T>::From(v));
        };
        m.put = setter;
        if constexpr (IsObject<T>::value) m.putref = setter;
        members_.push_back(std::move(m));
        return *this;
    }

    template <class C, class G>
    MemberTable& ReadOnly(DISPID id, const wchar_t* name, G (C::*get)()) {
        members_.push_back(Getter<C, G>(id, name, get));
        return *this;
    }
    template <class C, class G, class I>
    MemberTable& ReadOnly(DISPID id, const wchar_t* name, G (C::*get)(I)) {
        members_.push_back(Getter<C, G, I>(id, name, get));
        return *this;
    }

    // A member written by hand: stock members, or arguments the typed entries
    // cannot take.
    MemberTable& Add(Member m) {
        members_.push_back(std::move(m));
        return *this;
    }

    template <class C, class R, class... A>
    MemberTable& Method(DISPID id, const wchar_t* name, R (C::*fn)(A...)) {
        Member m;
        m.id = id;
        m.name = name;
        m.arg_count = sizeof...(A);
        m.call = [fn](ControlBase& b, const MemberArgs& args) -> Variant {
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

    template <class C, class G, class... I>
    static Member Getter(DISPID id, const wchar_t* name, G (C::*get)(I...)) {
        static_assert(sizeof...(I) <= 1, "one index argument at most");
        Member m;
        m.id = id;
        m.name = name;
        m.index_count = sizeof...(I);
        m.get = [get](ControlBase& b, const MemberArgs& args) {
            return Invoke<C, G, I...>(static_cast<C&>(b), get, args, std::index_sequence_for<I...>{});
        };
        return m;
    }

    template <class A>
    static constexpr bool kWrittenBack =
        std::is_lvalue_reference_v<A> && !std::is_const_v<std::remove_reference_t<A>>;

    template <class C, class R, class... A, size_t... I>
    static Variant Invoke(C& c, R (C::*fn)(A...), const MemberArgs& args, std::index_sequence<I...>) {
        // Braces convert in argument order, so the first bad argument is the one reported.
        std::tuple<std::decay_t<A>...> values{VariantValue<std::decay_t<A>>::From(*args[I])...};
        Variant result;
        if constexpr (std::is_void_v<R>) (c.*fn)(std::get<I>(values)...);
        else result = VariantValue<std::decay_t<R>>::To((c.*fn)(std::get<I>(values)...));
        (WriteBack<A>(*args[I], std::get<I>(values)), ...);
        return result;
    }

    template <class A, class T>
    static void WriteBack(const VARIANT& arg, const T& value) {
        if constexpr (kWrittenBack<A>) StoreThroughRef(arg, *VariantValue<T>::To(value));
    }

    std::vector<Member> members_;
};

}  // namespace lumio
