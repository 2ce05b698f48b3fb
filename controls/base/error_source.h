#pragma once
// Members that report every error under their own name: the number and
// description stay, the source becomes the member's ("LumioTab.ActiveTab").
#include <utility>

#include "run_time_error.h"

namespace lumio {

template <class F>
decltype(auto) WithErrorSource(const wchar_t* source, F&& body) {
    try {
        return std::forward<F>(body)();
    } catch (const RunTimeError& e) {
        RaiseExact(e.number(), source, e.description());
    }
}

}  // namespace lumio
