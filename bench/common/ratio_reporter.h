#pragma once
// Console output of Google Benchmark plus, at the end, our speed relative to each peer on the
// same input. Benchmarks are named "<group>/<input>/<variant>"; every variant whose name
// begins with "ours" is compared with every other variant of its group. Each repetition of a
// pair gives one ratio (ours / peer, above 1 means ours is faster); the table shows their
// median and range. A "peak_MB" counter adds a table of peak heap use.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    bool ReportContext(const Context &context) override;
    void ReportRuns(const std::vector<Run> &reports) override;
    void Finalize() override;

private:
    struct Variant {
        std::vector<double> rates;  // one a repetition, in run order
        double peakMB = -1;
    };
    // group -> input -> variant
    std::map<std::string, std::map<std::string, std::map<std::string, Variant>>> runs_;
};
