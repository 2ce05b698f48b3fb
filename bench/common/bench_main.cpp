#include "bench_main.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

#include "ratio_reporter.h"

namespace bench {
namespace {

std::set<std::string> &Differing() {
    static std::set<std::string> s;
    return s;
}

bool Given(int argc, char **argv, const char *flag) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0) return true;
    return false;
}

}  // namespace

void OutputDiffers(const std::string &benchmark, const std::string &why) {
    std::fprintf(stderr, "OUTPUT DIFFERS: %s: %s\n", benchmark.c_str(), why.c_str());
    Differing().insert(benchmark);
}

bool Differs(const std::string &benchmark) { return Differing().count(benchmark) != 0; }

int RunComparisons(int argc, char **argv) {
    std::vector<char *> args(argv, argv + argc);
    static char repetitions[] = "--benchmark_repetitions=3";
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    if (!Given(argc, argv, "--benchmark_repetitions")) args.push_back(repetitions);
    if (!Given(argc, argv, "--benchmark_enable_random_interleaving")) args.push_back(interleave);
    int n = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&n, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const std::string &name : Differing()) std::printf("FAILED (output differs from ours): %s\n", name.c_str());
    return Differing().empty() ? 0 : 1;
}

}  // namespace bench
