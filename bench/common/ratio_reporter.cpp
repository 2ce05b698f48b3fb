#include "ratio_reporter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

namespace {

bool IsOurs(const std::string &v) { return v.rfind("ours", 0) == 0; }

struct Spread {
    double median = 0, low = 0, high = 0;
    bool valid = false;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Repetition i of ours against repetition i of the peer.
Spread Ratios(const std::vector<double> &ours, const std::vector<double> &peer) {
    std::vector<double> r;
    for (size_t i = 0; i < std::min(ours.size(), peer.size()); ++i)
        if (peer[i] > 0) r.push_back(ours[i] / peer[i]);
    if (r.empty()) return {};
    return {Median(r), *std::min_element(r.begin(), r.end()), *std::max_element(r.begin(), r.end()), true};
}

}  // namespace

bool RatioReporter::ReportContext(const Context &context) { return ConsoleReporter::ReportContext(context); }

void RatioReporter::ReportRuns(const std::vector<Run> &reports) {
    ConsoleReporter::ReportRuns(reports);
    for (const Run &r : reports) {
        if (r.run_type != Run::RT_Iteration || r.error_occurred) continue;
        const std::string name = r.run_name.function_name;
        const size_t a = name.find('/'), b = name.rfind('/');
        if (a == std::string::npos || a == b) continue;
        auto rate = r.counters.find("bytes_per_second");
        if (rate == r.counters.end()) rate = r.counters.find("items_per_second");
        if (rate == r.counters.end()) continue;
        Variant &v = runs_[name.substr(0, a)][name.substr(a + 1, b - a - 1)][name.substr(b + 1)];
        v.rates.push_back(rate->second);
        if (const auto peak = r.counters.find("peak_MB"); peak != r.counters.end()) v.peakMB = peak->second;
    }
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    for (const auto &[group, inputs] : runs_) {
        std::set<std::string> peers, ours;
        bool memory = false;
        for (const auto &[input, variants] : inputs)
            for (const auto &[name, v] : variants) {
                (IsOurs(name) ? ours : peers).insert(name);
                memory |= v.peakMB >= 0;
            }
        std::printf("\n%s: ours / peer, speed (median of the repetitions, and their range; above 1: ours faster)\n",
                    group.c_str());
        std::printf("%-40s", "input (our variant)");
        for (const auto &p : peers) std::printf(" %22s", p.c_str());
        std::printf("\n");
        for (const auto &variant : ours) {
            std::map<std::string, double> logSum;
            std::map<std::string, int> count;
            for (const auto &[input, variants] : inputs) {
                const auto it = variants.find(variant);
                if (it == variants.end()) continue;
                std::printf("%-40s", (input + " (" + variant + ")").c_str());
                for (const auto &p : peers) {
                    const auto peer = variants.find(p);
                    const Spread s = peer == variants.end() ? Spread{} : Ratios(it->second.rates, peer->second.rates);
                    if (!s.valid) {
                        std::printf(" %22s", "-");
                        continue;
                    }
                    char cell[64];
                    std::snprintf(cell, sizeof cell, "%.2f (%.2f-%.2f)", s.median, s.low, s.high);
                    std::printf(" %22s", cell);
                    logSum[p] += std::log(s.median);
                    ++count[p];
                }
                std::printf("\n");
            }
            std::printf("%-40s", ("geometric mean (" + variant + ")").c_str());
            for (const auto &p : peers)
                std::printf(" %22.2f", count[p] ? std::exp(logSum[p] / count[p]) : 0.0);
            std::printf("\n");
        }
        if (!memory) continue;
        std::printf("\n%s: peak heap of one decode, MB (ours / peer in brackets; below 1: ours smaller)\n",
                    group.c_str());
        std::printf("%-40s", "input (our variant)");
        for (const auto &p : peers) std::printf(" %22s", p.c_str());
        std::printf("\n");
        for (const auto &variant : ours)
            for (const auto &[input, variants] : inputs) {
                const auto it = variants.find(variant);
                if (it == variants.end() || it->second.peakMB < 0) continue;
                char head[96];
                std::snprintf(head, sizeof head, "%s (%s) %.1f", input.c_str(), variant.c_str(), it->second.peakMB);
                std::printf("%-40s", head);
                for (const auto &p : peers) {
                    const auto peer = variants.find(p);
                    if (peer == variants.end() || peer->second.peakMB <= 0) {
                        std::printf(" %22s", "-");
                        continue;
                    }
                    char cell[64];
                    std::snprintf(cell, sizeof cell, "%.1f (%.2f)", peer->second.peakMB,
                                  it->second.peakMB / peer->second.peakMB);
                    std::printf(" %22s", cell);
                }
                std::printf("\n");
            }
    }
}
