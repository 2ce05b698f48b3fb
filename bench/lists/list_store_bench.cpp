// The list box's item store at 10,000 items and at its cap: appending is
// amortised constant, one insert or remove at the front linear, a search
// linear in the total text, the Shell sort about n^1.5.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "list_store.h"

namespace {

using lumio::lists::ListItem;
using lumio::lists::ListStore;

// Texts of 8 to 15 code units in a scrambled order.
std::u16string TextOf(int64_t i) {
    uint32_t x = static_cast<uint32_t>(i) * 2654435761u;
    std::u16string t;
    const int len = 8 + static_cast<int>(x % 8);
    for (int k = 0; k < len; ++k) {
        x = x * 1103515245u + 12345u;
        t += static_cast<char16_t>(u'a' + (x >> 16) % 26);
    }
    return t;
}

ListStore Filled(int64_t n) {
    ListStore s;
    for (int64_t i = 0; i < n; ++i) s.Append({TextOf(i), 0, 0});
    return s;
}

void BM_AppendAll(benchmark::State& state) {
    for (auto _ : state) {
        ListStore s = Filled(state.range(0));
        benchmark::DoNotOptimize(s.Count());
    }
    state.SetComplexityN(state.range(0));
}

void BM_InsertAtFront(benchmark::State& state) {
    ListStore s = Filled(state.range(0) - 1);
    for (auto _ : state) {
        s.Insert(0, {u"front", 0, 0});
        s.Remove(0);
    }
    state.SetComplexityN(state.range(0));
}

void BM_FindFirstMissing(benchmark::State& state) {
    const ListStore s = Filled(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(s.FindFirst(u"0?", 0, false));
    state.SetComplexityN(state.range(0));
}

void BM_Order(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        ListStore s = Filled(state.range(0));
        state.ResumeTiming();
        s.Order(false);
        benchmark::DoNotOptimize(s.Item(0).text.data());
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_AppendAll)->Arg(10000)->Arg(32767)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertAtFront)->Arg(10000)->Arg(32767)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindFirstMissing)->Arg(10000)->Arg(32767)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Order)
    ->Arg(10000)
    ->Arg(32767)
    ->Complexity([](benchmark::IterationCount n) { return std::pow(static_cast<double>(n), 1.5); })
    ->Unit(benchmark::kMillisecond);
