#pragma once
// Expected sequences of messages or events as named tables, some entries optional,
// checked against what a test recorded by one matcher that says where they part.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace lumio::test {

// An entry that may come at this point, at most once: Maybe(WM_CAPTURECHANGED).
template <class V> struct MaybeStep {
    V Value;
};
template <class V> MaybeStep<V> Maybe(V value) { return {std::move(value)}; }

// One entry of an expected sequence: a value that must come next, or (Maybe) may.
template <class T> struct Step {
    template <class V, std::enable_if_t<std::is_constructible_v<T, V &&>, int> = 0>
    Step(V &&value) : Value(std::forward<V>(value)), Optional(false) {}
    template <class V> Step(MaybeStep<V> maybe) : Value(std::move(maybe.Value)), Optional(true) {}
    T Value;
    bool Optional;
};

template <class T> struct Sequence {
    std::string Name;
    std::vector<Step<T>> Steps;
};

namespace detail {
// The matcher behind CheckSequence, on positions only: accepts(i, j) says whether step
// i takes seen entry j; describe(i, j) names step i (j < 0) or seen entry j (i < 0).
::testing::AssertionResult CheckPositions(const std::string &name, const std::vector<bool> &optional, size_t seen,
                                          const std::function<bool(size_t, size_t)> &accepts,
                                          const std::function<std::string(long, long)> &describe);
} // namespace detail

// Succeeds when seen is the expected sequence: every required step in order, each
// optional step at most once in its place, nothing else. `same(step, entry)` compares
// one step with one seen entry; `name` prints either.
template <class T, class U, class Same, class Name>
::testing::AssertionResult CheckSequence(const Sequence<T> &expected, const std::vector<U> &seen, Same same,
                                         Name name) {
    std::vector<bool> optional;
    for (const auto &s : expected.Steps) optional.push_back(s.Optional);
    return detail::CheckPositions(
        expected.Name, optional, seen.size(),
        [&](size_t i, size_t j) { return same(expected.Steps[i].Value, seen[j]); },
        [&](long i, long j) {
            return i >= 0 ? std::string(name(expected.Steps[static_cast<size_t>(i)].Value))
                          : std::string(name(seen[static_cast<size_t>(j)]));
        });
}

// The same, for steps and entries of one type compared with == and printed by GoogleTest.
template <class T> ::testing::AssertionResult CheckSequence(const Sequence<T> &expected, const std::vector<T> &seen) {
    return CheckSequence(
        expected, seen, [](const T &a, const T &b) { return a == b; },
        [](const T &v) { return ::testing::PrintToString(v); });
}

} // namespace lumio::test
