// What a list refresh and a save cost on a rules file of realistic size (about 1 MB).
#include "rwini.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string &RulesFile() {
    static const std::string path = [] {
        std::string p = (std::filesystem::temp_directory_path() / "qvn-bench-Rulesmd.ini").string();
        std::ofstream out(p, std::ios::binary);
        out << "[InfantryTypes]\r\n";
        for (int u = 0; u < 600; ++u) out << u << "=UNIT" << u << "\r\n";
        for (int u = 0; u < 6000; ++u) {
            out << "\r\n; unit " << u << "\r\n[UNIT" << u << "]\r\nUIName=Name:UNIT" << u << "\r\nStrength=" << u
                << "\r\nSpeed=5\r\nArmor=flak\r\nPrimary=Gun" << u << " ; main\r\nSecondary=\r\nCost=100\r\n"
                << "Sight=5\r\nTechLevel=1\r\nOwner=A,B,C\r\nPoints=10\r\n";
        }
        return p;
    }();
    return path;
}

void ReadOneValue(benchmark::State &state) {
    const std::string &file = RulesFile();
    for (auto _ : state) benchmark::DoNotOptimize(ReadIniString("UNIT3000", "Strength", "", file));
}
BENCHMARK(ReadOneValue)->Unit(benchmark::kMillisecond);

// 600 units, three values each, as one list refresh reads them.
void ListRefreshInOneSnapshot(benchmark::State &state) {
    const std::string &file = RulesFile();
    for (auto _ : state) {
        ProfileSnapshot snap;
        for (const IniEntry &e : SplitSectionEntries("InfantryTypes", file)) {
            for (const char *key : {"UIName", "Primary", "Secondary"}) {
                benchmark::DoNotOptimize(ReadIniString(e.Value, key, "", file));
            }
        }
    }
}
BENCHMARK(ListRefreshInOneSnapshot)->Unit(benchmark::kMillisecond);

void WriteOneValue(benchmark::State &state) {
    const std::string &file = RulesFile();
    int n = 0;
    for (auto _ : state) WriteIniString("UNIT3000", "Strength", std::to_string(n++ % 1000), file);
}
BENCHMARK(WriteOneValue)->Unit(benchmark::kMillisecond);

} // namespace
