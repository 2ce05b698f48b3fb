// Inflation, row filters and conversion of the PNG reader.
#include <cstring>
#include <new>

#include "imaging/image_type.h"
#include "inflate/inflate_stream.h"
#include "png/png_reader.h"
#include "png/png_rows.h"

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

bool PngReader::BuildImageFromIDAT(std::vector<uint8_t> &idat) {
    std::vector<uint8_t> data;
    try {
        data.assign(inflatedSize_, 0);
    } catch (const std::bad_alloc &) {
        return Fail(DecodeFailure::kSystemRefused);
    }
    bool inflated = false;
    if (zlib_) {
        uint32_t length = inflatedSize_;
        inflated = ZlibUncompress(*zlib_, data.data(), length, idat.data(), uint32_t(idat.size()));
    }
    if (!inflated)
        inflated = InflateStream(data, idat);
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
    const bool alpha = colorType_ == 4 || colorType_ == 6 || transparencyKey_ != -1;
    host_->SetAlpha(alpha);
    host_->SetImageType(image_type::kPng);
    return true;
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
