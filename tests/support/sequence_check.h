#pragma once
// Expected sequences of messages or events as named tables, some entries optional,
// checked against what a test recorded by one matcher that says where they part.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace lumio::test {

// One entry of an expected sequence: a value that must come next, or (optional) may.
template <class T> struct Step {
    Step(T value, bool optional = false) : Value(std::move(value)), Optional(optional) {}
    T Value;
    bool Optional;
};

// An entry that may come at this point, at most once.
template <class T> Step<T> Maybe(T value) { return Step<T>(std::move(value), true); }

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
