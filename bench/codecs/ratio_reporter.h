#pragma once
// Console output of Google Benchmark plus, at the end, each decoder's speed relative to ours
// on the same input. Benchmarks are named "<group>/<input>/<decoder>"; every decoder whose
// name begins with "ours" (a variant of our decoder) is compared with every other one.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    bool ReportContext(const Context &context) override;
    void ReportRuns(const std::vector<Run> &reports) override;
    void Finalize() override;

private:
    // group -> input -> decoder -> bytes per second
    std::map<std::string, std::map<std::string, std::map<std::string, double>>> speeds_;
};
