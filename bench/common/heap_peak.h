#pragma once
// The most heap bytes a piece of code held at once, counted by replacing malloc and its
// relatives in the whole process (shared libraries included), so every decoder is measured
// the same way whatever allocator interface it uses.
#include <cstddef>

namespace heap_peak {

// Starts counting from zero; allocations made before still count when freed.
void Start();
// Peak of bytes allocated since Start and not yet freed, and stops counting.
size_t Stop();

}  // namespace heap_peak
