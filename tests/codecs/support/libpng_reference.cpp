#include "libpng_reference.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <memory>

namespace {

struct Reader {
    const std::vector<uint8_t> *data;
    size_t at;
};

void ReadFn(png_structp png, png_bytep out, png_size_t n) {
    auto *r = static_cast<Reader *>(png_get_io_ptr(png));
    if (r->at + n > r->data->size())
        png_error(png, "read past the end");
    std::memcpy(out, r->data->data() + r->at, n);
    r->at += n;
}

void Silent(png_structp, png_const_charp) {}

void Fail(png_structp png, png_const_charp) { longjmp(png_jmpbuf(png), 1); }

}  // namespace

std::optional<ReferenceImage> DecodeWithLibpng(const std::vector<uint8_t> &file) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Silent);
    png_infop info = png_create_info_struct(png);
    Reader reader{&file, 0};
    // Everything changed after setjmp lives behind a pointer that is not.
    struct State {
        ReferenceImage img;
        std::vector<uint8_t> rgba;
        std::vector<png_bytep> rows;
    };
    const auto state = std::make_unique<State>();
    ReferenceImage &img = state->img;
    std::vector<uint8_t> &rgba = state->rgba;
    std::vector<png_bytep> &rows = state->rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return std::nullopt;
    }
    png_set_read_fn(png, &reader, ReadFn);
    png_set_crc_action(png, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
    png_read_info(png, info);
    const int colorType = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    const bool trns = png_get_valid(png, info, PNG_INFO_tRNS);
    // A 16-bit key compares high bytes only: applied below, not by libpng.
    const bool wideKey = trns && depth == 16 && (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_RGB);
    png_color_16 key{};
    if (wideKey) {
        png_color_16p k;
        png_get_tRNS(png, info, nullptr, nullptr, &k);
        key = *k;
    }
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (trns && !wideKey)
        png_set_tRNS_to_alpha(png);
    if (depth == 16)
        png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    img.width = int32_t(png_get_image_width(png, info));
    img.height = int32_t(png_get_image_height(png, info));
    img.hasAlpha = trns || (colorType & PNG_COLOR_MASK_ALPHA);
    if (png_get_rowbytes(png, info) != size_t(img.width) * 4)
        Fail(png, "unexpected row size");
    rgba.assign(size_t(img.width) * img.height * 4, 0);
    for (int32_t y = 0; y < img.height; ++y)
        rows.push_back(rgba.data() + size_t(y) * img.width * 4);
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);

    img.bgra.resize(rgba.size());
    for (size_t i = 0; i < rgba.size(); i += 4) {
        const uint8_t r = rgba[i], g = rgba[i + 1], b = rgba[i + 2];
        uint8_t a = rgba[i + 3];
        if (wideKey) {
            const bool match = colorType == PNG_COLOR_TYPE_GRAY
                                   ? r == (key.gray >> 8)
                                   : r == (key.red >> 8) && g == (key.green >> 8) && b == (key.blue >> 8);
            a = match ? 0 : 255;
            rgba[i + 3] = a;
        }
        uint8_t *d = &img.bgra[i];
        if (a == 0) {
            std::memset(d, 0, 4);
            continue;
        }
        d[0] = uint8_t(b * a / 255);
        d[1] = uint8_t(g * a / 255);
        d[2] = uint8_t(r * a / 255);
        d[3] = a;
    }
    img.rgba = std::move(rgba);
    return img;
}
