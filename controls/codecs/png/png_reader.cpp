#include "png/png_reader.h"

#include <algorithm>
#include <cstring>
#include <new>


namespace lumio {

namespace {

// Chunk types as the little-endian value of their four letters.
constexpr uint32_t kIHDR = 0x52444849;
constexpr uint32_t kPLTE = 0x45544C50;
constexpr uint32_t kTRNS = 0x534E5274;
constexpr uint32_t kIDAT = 0x54414449;
constexpr uint32_t kIEND = 0x444E4549;

// Pairs of colour type and bit depth that PNG allows.
bool AllowedDepth(uint8_t colorType, uint8_t depth) {
    switch (colorType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6: return depth == 8 || depth == 16;
    default: return false;
    }
}

}  // namespace

bool PngReader::IsPNGSignature(const uint8_t *p) {
    return ReadLittleEndian32(p) == 0x474E5089u && ReadLittleEndian32(p + 4) == 0x0A1A0A0Du;
}

bool PngReader::ParsePNG(ByteSource &source, SurfaceCore &host, const FirstDecoder &tryFirst) {
    // Nothing of an earlier load carries over.
    haveHeader_ = false;
    width_ = height_ = 0;
    bitDepth_ = colorType_ = interlace_ = 0;
    palette_.clear();
    transparency_.clear();
    transparencyKey_ = -1;
    SetFailure(DecodeFailure::kNotThisFormat);
    const uint64_t size = source.Size();
    if (source.IsFile() && size <= 56)
        return false;
    const uint8_t *head = source.Fetch(0, 8);
    if (!head || !IsPNGSignature(head))
        return false;

    SetFailure(DecodeFailure::kNone);
    if (tryFirst && tryFirst())
        return true;

    host_ = &host;
    zlib_ = loadZlib_ ? loadZlib_() : nullptr;
    // The image data where the source holds it, or else a copy gathered chunk by chunk.
    const bool inPlace = !source.InPlace().empty();
    std::vector<std::span<const uint8_t>> pieces;
    std::vector<uint8_t> idat;
    bool failed = false;
    const auto Stop = [this](DecodeFailure why) {
        SetFailure(why);
        return true;
    };
    try {
        if (!inPlace)
            idat.reserve(size_t(std::min<uint64_t>(size / 2 + 1, uint64_t(1) << 26)));
        uint64_t at = 8;
        for (;;) {
            // Length, type and CRC must lie inside the data, and so must the chunk's data.
            const uint8_t *lengthField = source.Fetch(at, 4);
            if (!lengthField || size - at < 12) {
                failed = Stop(DecodeFailure::kTruncated);
                break;
            }
            const uint32_t length = ReadBigEndian32(lengthField);
            if (length > 0x7FFFFFFFu || length > size - at - 12) {
                failed = Stop(DecodeFailure::kTruncated);
                break;
            }
            const uint8_t *crcField = source.Fetch(at + 8 + length, 4);
            if (!crcField) {
                failed = Stop(DecodeFailure::kTruncated);
                break;
            }
            const uint32_t storedCrc = zlib_ ? ReadBigEndian32(crcField) : 0;
            const uint8_t *chunk = source.Fetch(at + 4, size_t(length) + 4);
            if (!chunk) {
                failed = Stop(DecodeFailure::kTruncated);
                break;
            }
            const uint32_t type = ReadLittleEndian32(chunk);
            at += uint64_t(length) + 12;
            if (type == kIEND)
                break;
            if (length == 0)
                continue;
            if (type == kIHDR) {
                failed = !ReadIHDR(chunk, length, storedCrc);
            } else if (type == kPLTE) {
                failed = !ReadPLTE(chunk, length, storedCrc);
            } else if (type == kTRNS) {
                ReadtRNS(chunk, length, storedCrc);
            } else if (type == kIDAT) {
                if (storedCrc && !CrcMatches(chunk, length, storedCrc))
                    failed = Stop(DecodeFailure::kBadChecksum);
                else if (inPlace)
                    pieces.emplace_back(chunk + 4, length);
                else
                    idat.insert(idat.end(), chunk + 4, chunk + 4 + length);
            }
            if (failed)
                break;
        }
    } catch (const std::bad_alloc &) {
        failed = Stop(DecodeFailure::kSystemRefused);
    }
    if (!failed && idat.empty() && pieces.empty())
        failed = Stop(DecodeFailure::kNoImageData);
    if (!failed && !haveHeader_)
        failed = Stop(DecodeFailure::kBadHeader);
    if (!failed)
        BuildImageFromIDAT(idat, pieces);
    zlib_.reset();
    host_ = nullptr;
    return true;
}

bool PngReader::CrcMatches(const uint8_t *chunk, uint32_t length, uint32_t storedCrc) {
    return CheckChunkCRC(*zlib_, chunk, length + 4, storedCrc);
}

bool PngReader::ReadIHDR(const uint8_t *chunk, uint32_t length, uint32_t storedCrc) {
    if (length < 13)
        return Fail(DecodeFailure::kBadHeader);
    if (storedCrc && !CrcMatches(chunk, length, storedCrc))
        return Fail(DecodeFailure::kBadChecksum);
    const uint8_t *d = chunk + 4;
    const int32_t width = int32_t(ReadBigEndian32(d));
    const int32_t height = int32_t(ReadBigEndian32(d + 4));
    if (width < 1 || height < 1)
        return Fail(DecodeFailure::kBadHeader);
    if (d[10] != 0 || d[11] != 0)
        return Fail(DecodeFailure::kBadHeader);
    const uint8_t depth = d[8], colorType = d[9], interlace = d[12];
    if (!AllowedDepth(colorType, depth) || interlace > 1)
        return Fail(DecodeFailure::kBadHeader);
    // At most 67,108,863 pixels: width * 32 * height must stay below 2^31.
    if (int64_t(width) * height > 0x7FFFFFFF / 32)
        return Fail(DecodeFailure::kTooLarge);
    width_ = width;
    height_ = height;
    bitDepth_ = depth;
    colorType_ = colorType;
    interlace_ = interlace;
    haveHeader_ = false;
    if (!GetInflatedSize(inflatedSize_))
        return Fail(DecodeFailure::kTooLarge);
    haveHeader_ = true;
    return true;
}

bool PngReader::ReadPLTE(const uint8_t *chunk, uint32_t length, uint32_t storedCrc) {
    if (colorType_ == 0 || colorType_ == 4)
        return true;
    if (storedCrc && !CrcMatches(chunk, length, storedCrc))
        return Fail(DecodeFailure::kBadChecksum);
    if (length % 3)
        return Fail(DecodeFailure::kBadPalette);
    palette_.assign(chunk + 4, chunk + 4 + length);
    return true;
}

void PngReader::ReadtRNS(const uint8_t *chunk, uint32_t length, uint32_t storedCrc) {
    if (colorType_ == 4 || colorType_ == 6)
        return;
    if (storedCrc && !CrcMatches(chunk, length, storedCrc))
        return;
    const uint8_t *d = chunk + 4;
    transparency_.assign(d, d + length);
    if (colorType_ == 0) {
        transparencyKey_ = length >= 2 ? d[1] : -1;
    } else if (colorType_ == 2) {
        transparencyKey_ = length >= 6 ? (d[1] << 16 | d[3] << 8 | d[5]) : -1;
    } else if (colorType_ == 3) {
        if (transparency_.size() < 256)
            transparency_.resize(256, 255);
        transparencyKey_ = 0;
    }
}

}  // namespace lumio
