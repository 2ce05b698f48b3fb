// The unit list's rows for the buildings of a ~1 MB rules file: one section read,
// three value reads and one string-table lookup per unit.
#include "csfrw.h"
#include "synthetic_rules.h"
#include "unit_list.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

struct Files {
    std::string Rules, Csf;
    int Buildings;
    size_t RulesBytes;
    Files() {
        auto data = MakeSyntheticRules();
        auto dir = std::filesystem::temp_directory_path();
        Rules = (dir / "qvn_bench_Rulesmd.ini").string();
        Csf = (dir / "qvn_bench_ra2md.csf").string();
        std::ofstream(Rules, std::ios::binary) << data.Rules;
        std::ofstream(Csf, std::ios::binary) << data.Csf;
        Buildings = data.Buildings;
        RulesBytes = data.Rules.size();
        LoadCsf(Csf);
    }
    ~Files() {
        std::remove(Rules.c_str());
        std::remove(Csf.c_str());
    }
};

const Files &TheFiles() {
    static Files f;
    return f;
}

void BM_BuildingRows(benchmark::State &state) {
    const Files &f = TheFiles();
    bool withNames = state.range(0) != 0;
    std::vector<IniEntry> entries;
    for (auto _ : state) {
        auto rows = BuildUnitRows("BuildingTypes", f.Rules, withNames, true, entries);
        if (static_cast<int>(rows.size()) != f.Buildings) state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rules_bytes"] = static_cast<double>(f.RulesBytes);
    state.counters["units"] = f.Buildings;
}
BENCHMARK(BM_BuildingRows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
