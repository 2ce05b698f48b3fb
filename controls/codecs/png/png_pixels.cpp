// Inflation, row filters and conversion of the PNG reader.
#include <algorithm>
#include <cstring>
#include <new>

#include "imaging/image_type.h"
#include "inflate/inflate_stream.h"
#include "png/png_reader.h"
#include "png/png_rows.h"
#include "zlib/zlib_stream.h"

namespace lumio {

using namespace png_rows;

bool PngReader::GetInflatedSize(uint32_t &size) const {
    const unsigned bpp = BitsPerPixel(colorType_, bitDepth_);
    int64_t total = 0;
    for (int p = interlace_ ? 0 : 7; p < (interlace_ ? 7 : 8); ++p) {
        const PassGeometry g = PassSize(kPasses[p], width_, height_);
        int64_t rowBytes;
        if (!RowByteCount(g.columns, bpp, rowBytes))
            return false;
        // A pass without columns still counts one byte for each of its rows.
        total += int64_t(g.rows) * (rowBytes + 1);
        if (total > 0x7FFFFFFF)
            return false;
    }
    size = uint32_t(total);
    return true;
}

namespace {

// Reconstructs and converts rows as the inflater hands them on: the current row and the one
// before it are all that is kept. Passes without columns take no data, as in DecodeRows.
class RowSink final : public InflateSink {
public:
    RowSink(const RowConverter &convert, uint8_t colorType, uint8_t depth, bool interlaced, int32_t width,
            int32_t height, uint8_t *bits)
        : convert_(convert), bpp_(BitsPerPixel(colorType, depth)), step_(FilterStep(colorType, depth)),
          interlaced_(interlaced), width_(width), height_(height), bits_(bits) {
        size_t longest = 0;
        for (int p = interlaced ? 0 : 7; p < (interlaced ? 7 : 8); ++p) {
            const PassGeometry g = PassSize(kPasses[p], width, height);
            int64_t rowBytes = 0;
            if (g.columns && g.rows && RowByteCount(g.columns, bpp_, rowBytes))
                longest = std::max(longest, size_t(rowBytes) + 1);
        }
        rows_.resize(2 * longest);
        current_ = rows_.data();
        previous_ = current_ + longest;
        StartPass(interlaced ? 0 : 7);
    }

    void Take(std::span<const uint8_t> bytes) override {
        while (!bytes.empty() && pass_ < 8) {
            const size_t n = std::min(bytes.size(), rowLength_ - filled_);
            std::memcpy(current_ + filled_, bytes.data(), n);
            filled_ += n;
            bytes = bytes.subspan(n);
            if (filled_ == rowLength_)
                RowDone();
        }
    }

    bool Failed() const { return failed_; }

private:
    void StartPass(int p) {
        for (pass_ = p; pass_ < (interlaced_ ? 7 : 8); ++pass_) {
            geometry_ = PassSize(kPasses[pass_], width_, height_);
            if (geometry_.columns == 0 || geometry_.rows == 0)
                continue;
            int64_t rowBytes = 0;
            RowByteCount(geometry_.columns, bpp_, rowBytes);
            rowLength_ = size_t(rowBytes) + 1;
            row_ = 0;
            havePrevious_ = false;
            return;
        }
        pass_ = 8;
    }

    void RowDone() {
        if (!failed_) {
            Unfilter(current_[0], current_ + 1, havePrevious_ ? previous_ + 1 : nullptr, rowLength_ - 1, step_);
            const Pass &pass = kPasses[pass_];
            const int32_t y = pass.rowStart + row_ * pass.rowStep;
            uint8_t *dest = bits_ + size_t(height_ - 1 - y) * size_t(width_) * 4 + size_t(pass.columnStart) * 4;
            failed_ = !convert_(current_ + 1, dest, geometry_.columns, size_t(pass.columnStep) * 4);
        }
        std::swap(current_, previous_);
        havePrevious_ = true;
        filled_ = 0;
        if (++row_ == geometry_.rows)
            StartPass(pass_ + 1);
    }

    const RowConverter &convert_;
    const unsigned bpp_;
    const size_t step_;
    const bool interlaced_;
    const int32_t width_, height_;
    uint8_t *const bits_;
    std::vector<uint8_t> rows_;
    uint8_t *current_ = nullptr, *previous_ = nullptr;
    int pass_ = 8;
    PassGeometry geometry_{};
    size_t rowLength_ = 1, filled_ = 0;
    int32_t row_ = 0;
    bool havePrevious_ = false;
    bool failed_ = false;
};

}  // namespace

bool PngReader::BuildImageFromIDAT(std::vector<uint8_t> &idat, std::vector<std::span<const uint8_t>> &pieces) {
    if (!idat.empty())
        pieces.assign(1, idat);
    // Row by row unless the host holds an image that must survive a stream found damaged
    // only part way through, or zlib can only take the data in one call.
    if (!host_->HasImage()) {
        const Streamed result = DecodeStreaming(pieces);
        if (result != Streamed::kTryWhole) {
            std::vector<uint8_t>().swap(idat);
            return result == Streamed::kDone;
        }
    }

    std::span<const uint8_t> compressed;
    try {
        if (pieces.size() == 1) {
            compressed = pieces[0];
        } else if (idat.empty()) {
            for (const auto &piece : pieces)
                idat.insert(idat.end(), piece.begin(), piece.end());
            compressed = idat;
        }
    } catch (const std::bad_alloc &) {
        return Fail(DecodeFailure::kSystemRefused);
    }
    std::vector<uint8_t> data;
    try {
        data.assign(inflatedSize_, 0);
    } catch (const std::bad_alloc &) {
        return Fail(DecodeFailure::kSystemRefused);
    }
    bool inflated = false;
    if (zlib_) {
        uint32_t length = inflatedSize_;
        inflated = ZlibUncompress(*zlib_, data.data(), length, compressed.data(), uint32_t(compressed.size()));
    }
    if (!inflated)
        inflated = InflateStream(data, compressed);
    std::vector<uint8_t>().swap(idat);
    if (!inflated)
        return Fail(DecodeFailure::kBadCompressedData);

    SynthesizePalette();
    if (!host_->InitializeDIB(width_, height_))
        return Fail(DecodeFailure::kSystemRefused);
    if (!DecodeRows(data.data())) {
        host_->DestroyDIB();
        return false;
    }
    host_->SetAlpha(colorType_ == 4 || colorType_ == 6 || transparencyKey_ != -1);
    host_->SetImageType(image_type::kPng);
    return true;
}

// Inflates straight into reconstructed rows: with zlib where it is there, and with our own
// decoder when it is not or refuses the data, on a surface cleared again. A failure that the
// whole-buffer decode would meet before touching the host (no memory, a format without
// converter, a zlib without streaming inflate) sends it there.
PngReader::Streamed PngReader::DecodeStreaming(std::span<const std::span<const uint8_t>> pieces) {
    SynthesizePalette();
    const Format f{colorType_, bitDepth_, palette_, transparency_, transparencyKey_};
    RowConverter convert(f);
    if (!convert.Valid())
        return Streamed::kTryWhole;
    bool inflated = false;
    bool converted = false;
    try {
        std::unique_ptr<ZlibInflater> zlib;
        if (zlib_ && !(zlib = zlib_->BeginInflate()))
            return Streamed::kTryWhole;
        if (!host_->InitializeDIB(width_, height_))
            return Streamed::kTryWhole;
        const auto Rows = [&] {
            return RowSink(convert, colorType_, bitDepth_, interlace_ != 0, width_, height_, host_->BitsPointer());
        };
        if (zlib) {
            RowSink rows = Rows();
            inflated = ZlibInflateStream(*zlib, inflatedSize_, pieces, rows);
            converted = !rows.Failed();
            if (!inflated)
                std::memset(host_->BitsPointer(), 0, size_t(width_) * size_t(height_) * 4);
        }
        if (!inflated) {
            RowSink rows = Rows();
            inflated = InflateStream(inflatedSize_, pieces, rows);
            converted = !rows.Failed();
        }
    } catch (const std::bad_alloc &) {
        host_->DestroyDIB();
        return Streamed::kTryWhole;
    }
    if (!inflated || !converted) {
        host_->DestroyDIB();
        Fail(inflated ? DecodeFailure::kBadPalette : DecodeFailure::kBadCompressedData);
        return Streamed::kFailed;
    }
    host_->SetAlpha(colorType_ == 4 || colorType_ == 6 || transparencyKey_ != -1);
    host_->SetImageType(image_type::kPng);
    return Streamed::kDone;
}

void PngReader::SynthesizePalette() {
    if ((colorType_ != 0 && colorType_ != 3) || !palette_.empty())
        return;
    if (colorType_ == 0 && bitDepth_ == 16)
        return;
    palette_.assign(768, 0);
    if (colorType_ == 0) {
        const unsigned n = (1u << bitDepth_) - 1, step = 255 / n;
        for (unsigned i = 1; i <= n; ++i)
            std::memset(&palette_[3 * i], int(i * step), 3);
    } else if (bitDepth_ == 1) {
        std::memset(&palette_[3], 0xFF, 3);
    }
}

bool PngReader::DecodeRows(uint8_t *data) {
    const Format f{colorType_, bitDepth_, palette_, transparency_, transparencyKey_};
    RowConverter convert(f);
    if (!convert.Valid())
        return Fail(DecodeFailure::kUnsupported);
    const unsigned bpp = BitsPerPixel(colorType_, bitDepth_);
    const size_t step = FilterStep(colorType_, bitDepth_);
    uint8_t *const bits = host_->BitsPointer();
    const size_t stride = size_t(width_) * 4;
    size_t offset = 0;
    for (int p = interlace_ ? 0 : 7; p < (interlace_ ? 7 : 8); ++p) {
        const Pass &pass = kPasses[p];
        const PassGeometry g = PassSize(pass, width_, height_);
        if (g.columns == 0 || g.rows == 0)
            continue;
        int64_t rowBytes;
        RowByteCount(g.columns, bpp, rowBytes);
        const size_t rowLength = size_t(rowBytes) + 1;
        const uint8_t *prev = nullptr;
        for (int32_t k = 0; k < g.rows; ++k) {
            uint8_t *row = data + offset + size_t(k) * rowLength;
            Unfilter(row[0], row + 1, prev, rowLength - 1, step);
            const int32_t y = pass.rowStart + k * pass.rowStep;
            uint8_t *dest = bits + size_t(height_ - 1 - y) * stride + size_t(pass.columnStart) * 4;
            if (!convert(row + 1, dest, g.columns, size_t(pass.columnStep) * 4))
                return Fail(DecodeFailure::kBadPalette);
            prev = row + 1;
        }
        offset += size_t(g.rows) * rowLength;
    }
    return true;
}

}  // namespace lumio
