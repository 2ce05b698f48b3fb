#include "ratio_reporter.h"

#include <cmath>
#include <cstdio>
#include <set>

bool RatioReporter::ReportContext(const Context &context) { return ConsoleReporter::ReportContext(context); }

void RatioReporter::ReportRuns(const std::vector<Run> &reports) {
    ConsoleReporter::ReportRuns(reports);
    for (const Run &r : reports) {
        if (r.run_type != Run::RT_Iteration || r.error_occurred)
            continue;
        const std::string name = r.run_name.function_name;
        const size_t a = name.find('/'), b = name.rfind('/');
        if (a == std::string::npos || a == b)
            continue;
        const auto it = r.counters.find("bytes_per_second");
        if (it == r.counters.end())
            continue;
        speeds_[name.substr(0, a)][name.substr(a + 1, b - a - 1)][name.substr(b + 1)] = it->second;
    }
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    // Every decoder whose name begins with "ours" is compared with every peer.
    auto isOurs = [](const std::string &d) { return d.rfind("ours", 0) == 0; };
    for (const auto &[group, inputs] : speeds_) {
        std::set<std::string> peers, ours;
        for (const auto &[input, decoders] : inputs)
            for (const auto &[decoder, speed] : decoders)
                (isOurs(decoder) ? ours : peers).insert(decoder);
        std::printf("\n%s: MB/s of output, and ours / peer\n%-36s %10s", group.c_str(), "input", "ours");
        for (const auto &p : peers)
            std::printf(" %10s %8s", p.c_str(), "ratio");
        std::printf("\n");
        for (const auto &variant : ours) {
            std::map<std::string, double> logSum;
            std::map<std::string, int> count;
            for (const auto &[input, decoders] : inputs) {
                const auto it = decoders.find(variant);
                if (it == decoders.end())
                    continue;
                const std::string label = variant == "ours" ? input : input + " (" + variant + ")";
                std::printf("%-36s %10.1f", label.c_str(), it->second / 1e6);
                for (const auto &p : peers) {
                    const auto peer = decoders.find(p);
                    if (peer == decoders.end()) {
                        std::printf(" %10s %8s", "-", "-");
                        continue;
                    }
                    const double ratio = it->second / peer->second;
                    std::printf(" %10.1f %8.2f", peer->second / 1e6, ratio);
                    logSum[p] += std::log(ratio);
                    ++count[p];
                }
                std::printf("\n");
            }
            std::printf("%-36s %10s", ("geometric mean (" + variant + ")").c_str(), "");
            for (const auto &p : peers)
                std::printf(" %10s %8.2f", "", count[p] ? std::exp(logSum[p] / count[p]) : 0.0);
            std::printf("\n");
        }
    }
}
