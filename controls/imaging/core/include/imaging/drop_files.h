#pragma once
// The file list of a drop or of the clipboard (a DROPFILES block), read only inside the
// block: a name that runs into the block's end is not taken.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lumio {

struct DropFilesHeader {
    std::uint32_t filesOffset = 0; // from the block's start
    std::int32_t x = 0, y = 0;
    bool nonClient = false;
    bool wide = false;
};

// Nothing when the block is shorter than the 20-byte header.
std::optional<DropFilesHeader> ReadDropFilesHeader(std::span<const std::uint8_t> block);

// Up to maxNames NUL-terminated UTF-16 names from the list; an empty name ends it.
std::vector<std::u16string> ReadWideFileNames(std::span<const std::uint8_t> block, std::size_t maxNames);

// The colour value SourceIconSizes reports for an icon's bit depth.
std::int32_t IconColourValue(std::int32_t bitDepth) noexcept;

} // namespace lumio
