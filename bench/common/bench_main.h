#pragma once
// The main of a comparing benchmark: outputs are checked before anything is timed, and a
// variant whose output differs from ours is reported as failed and fails the run.
#include <string>

namespace bench {

// Records that a variant's output differs from ours (prints why at once).
void OutputDiffers(const std::string &benchmark, const std::string &why);
// True when OutputDiffers named this benchmark.
bool Differs(const std::string &benchmark);

// Runs the registered benchmarks with at least three repetitions in random order unless the
// command line says otherwise, prints the ratio tables, and returns the exit status: 1 when
// any output differed.
int RunComparisons(int argc, char **argv);

}  // namespace bench
