#pragma once
// A slow DEFLATE decoder that reads one byte at a time only when it needs more bits and finds
// each symbol by trying every code length from the shortest up: the behaviour the fast
// decoder must reproduce, bit for bit, on any input.
#include <cstdint>
#include <vector>

// output.size() is the expected size; it is zero-filled first.
bool ModelInflate(std::vector<uint8_t> &output, const std::vector<uint8_t> &input, bool longLengths = false);
