// Our PNG writer beside libpng's encoder at zlib level 9, on the same surfaces: the PNG suite
// and the large generated images, each decoded by our reader.
//
// libpng is handed, untimed, the rows, palette and transparency our writer chose (read back
// from our file without transforms), so it skips the colour analysis and conversion that ours
// does inside the timing. "libpng" keeps its own row filter choice and zlib strategy;
// "libpng-samefilter" is set to ours (Paeth for RGB and RGBA, None for grey and indexed,
// default strategy). Before timing, every output is decoded by our reader and must give the
// same pixels as our own file does, and ours must give the source (un-premultiplied, then
// premultiplied again). Sizes are printed as ours / peer, below 1: ours smaller.
#include <benchmark/benchmark.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_main.h"
#include "imaging/surface_core.h"
#include "png/png_reader.h"
#include "png/png_writer.h"
#include "zlib/native/system_zlib.h"

using namespace lumio;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadFile(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

std::unique_ptr<MemorySurface> Decoded(const Bytes &png) {
    auto surface = std::make_unique<MemorySurface>();
    PngReader reader(SystemZlib);
    MemoryByteSource source(png);
    if (!reader.ParsePNG(source, *surface) || !surface->HasImage()) return nullptr;
    return surface;
}

// What our reader gives for a written file: the pixels, or empty.
Bytes Pixels(const Bytes &png) {
    const auto s = Decoded(png);
    return s ? Bytes(s->BitsPointer(), s->BitsPointer() + s->ByteCount()) : Bytes{};
}

// The surface as a written file should come back: un-premultiplied, premultiplied again.
Bytes RoundTripped(const SurfaceCore &s) {
    Bytes want(s.ByteCount(), 0);
    const uint8_t *bits = s.BitsPointer();
    for (size_t i = 0; i < want.size(); i += 4) {
        const uint8_t a = s.Alpha() ? bits[i + 3] : 255;
        if (a == 0) continue;
        for (int c = 0; c < 3; ++c) want[i + c] = uint8_t((a == 255 ? bits[i + c] : bits[i + c] * 255 / a) * a / 255);
        want[i + 3] = a;
    }
    return want;
}

// The image as libpng is to write it: our file's own rows and chunks.
struct PeerImage {
    uint32_t width = 0, height = 0;
    int colorType = 0;
    std::vector<png_color> palette;
    Bytes alphas;           // tRNS of an indexed image
    png_color_16 key{};     // tRNS of grey or RGB
    bool haveKey = false;
    Bytes rows;             // top row first
    size_t rowBytes = 0;
};

struct MemoryRead {
    const Bytes *data;
    size_t at;
};

bool ReadRaw(const Bytes &file, PeerImage &out) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    MemoryRead r{&file, 0};
    png_set_read_fn(png, &r, [](png_structp p, png_bytep dest, png_size_t n) {
        auto *m = static_cast<MemoryRead *>(png_get_io_ptr(p));
        if (n > m->data->size() - m->at) png_error(p, "read past the end");
        std::memcpy(dest, m->data->data() + m->at, n);
        m->at += n;
    });
    png_read_info(png, info);
    out.width = png_get_image_width(png, info);
    out.height = png_get_image_height(png, info);
    out.colorType = png_get_color_type(png, info);
    png_colorp plte = nullptr;
    int n = 0;
    if (png_get_PLTE(png, info, &plte, &n)) out.palette.assign(plte, plte + n);
    png_bytep alphas = nullptr;
    png_color_16p key = nullptr;
    if (png_get_tRNS(png, info, &alphas, &n, &key)) {
        if (out.colorType == PNG_COLOR_TYPE_PALETTE) out.alphas.assign(alphas, alphas + n);
        else out.key = *key, out.haveKey = true;
    }
    out.rowBytes = png_get_rowbytes(png, info);
    out.rows.resize(out.rowBytes * out.height);
    std::vector<png_bytep> rows(out.height);
    for (uint32_t y = 0; y < out.height; ++y) rows[y] = out.rows.data() + y * out.rowBytes;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

template <bool kSameFilter>
bool WriteLibpng(const PeerImage &image, Bytes &out) {
    out.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
            auto *o = static_cast<Bytes *>(png_get_io_ptr(p));
            o->insert(o->end(), data, data + n);
        },
        nullptr);
    png_set_compression_level(png, 9);
    if (kSameFilter) {
        const bool paeth = image.colorType == PNG_COLOR_TYPE_RGB || image.colorType == PNG_COLOR_TYPE_RGBA;
        png_set_filter(png, PNG_FILTER_TYPE_BASE, paeth ? PNG_FILTER_PAETH : PNG_FILTER_NONE);
        png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    }
    png_set_IHDR(png, info, image.width, image.height, 8, image.colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    if (!image.palette.empty()) png_set_PLTE(png, info, image.palette.data(), int(image.palette.size()));
    if (!image.alphas.empty() || image.haveKey)
        png_set_tRNS(png, info, image.alphas.empty() ? nullptr : const_cast<png_bytep>(image.alphas.data()),
                     int(image.alphas.size()), image.haveKey ? const_cast<png_color_16p>(&image.key) : nullptr);
    png_write_info(png, info);
    for (uint32_t y = 0; y < image.height; ++y)
        png_write_row(png, image.rows.data() + y * image.rowBytes);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

struct Set {
    std::string name;
    std::vector<std::unique_ptr<MemorySurface>> surfaces;
    std::vector<PeerImage> peer;
    size_t pixelBytes = 0;
};

std::vector<Set> Inputs() {
    std::vector<Set> v;
    Set suite{"pngsuite", {}, {}, 0};
    std::vector<std::filesystem::path> paths;
    for (const auto &e : std::filesystem::directory_iterator(std::string(LUMIO_TESTDATA) + "/pngsuite"))
        if (e.path().extension() == ".png" && e.path().filename().string()[0] != 'x') paths.push_back(e.path());
    std::sort(paths.begin(), paths.end());
    for (const auto &p : paths)
        if (auto s = Decoded(ReadFile(p.string()))) suite.surfaces.push_back(std::move(s));
    v.push_back(std::move(suite));
    for (const char *image : {"rgba8_2048", "rgb8_2048", "grey8_2048", "pal8_2048", "rgba16_1024"}) {
        Set one{image, {}, {}, 0};
        if (auto s = Decoded(ReadFile(std::string(BENCH_DATA) + "/" + image + ".png"))) one.surfaces.push_back(std::move(s));
        v.push_back(std::move(one));
    }
    for (Set &set : v)
        for (const auto &s : set.surfaces) set.pixelBytes += s->ByteCount();
    return v;
}

using Writer = bool (*)(const Set &, size_t i, Bytes &out);

bool WriteOurs(const Set &set, size_t i, Bytes &out) { return SavePNG(*set.surfaces[i], SystemZlib, out); }

template <bool kSameFilter>
bool WritePeer(const Set &set, size_t i, Bytes &out) {
    return WriteLibpng<kSameFilter>(set.peer[i], out);
}

void Write(benchmark::State &state, const Set *set, Writer write, std::string name) {
    if (bench::Differs(name)) return state.SkipWithError("output differs from ours");
    Bytes out;
    for (auto _ : state)
        for (size_t i = 0; i < set->surfaces.size(); ++i) {
            if (!write(*set, i, out)) state.SkipWithError("writing failed");
            benchmark::DoNotOptimize(out.data());
        }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(set->pixelBytes));
}

}  // namespace

int main(int argc, char **argv) {
    static std::vector<Set> sets = Inputs();
    const std::pair<const char *, Writer> writers[] = {
        {"ours", WriteOurs}, {"libpng", WritePeer<false>}, {"libpng-samefilter", WritePeer<true>}};
    std::map<std::string, std::map<std::string, size_t>> sizes;  // input -> writer -> bytes
    for (Set &set : sets) {
        std::vector<Bytes> expected;
        for (size_t i = 0; i < set.surfaces.size(); ++i) {
            Bytes file;
            PeerImage peer;
            if (!WriteOurs(set, i, file) || !ReadRaw(file, peer))
                bench::OutputDiffers("png-write/" + set.name + "/ours", "image " + std::to_string(i) + " not written");
            else if (Pixels(file) != RoundTripped(*set.surfaces[i]))
                bench::OutputDiffers("png-write/" + set.name + "/ours", "image " + std::to_string(i) + " reads back different");
            expected.push_back(Pixels(file));
            set.peer.push_back(std::move(peer));
        }
        for (const auto &[variant, write] : writers) {
            const std::string name = "png-write/" + set.name + "/" + variant;
            for (size_t i = 0; i < set.surfaces.size() && !bench::Differs(name); ++i) {
                Bytes file;
                if (!write(set, i, file) || Pixels(file) != expected[i])
                    bench::OutputDiffers(name, "image " + std::to_string(i) + " reads back different");
                sizes[set.name][variant] += file.size();
            }
            benchmark::RegisterBenchmark(name.c_str(), Write, &set, write, name);
        }
    }
    std::printf("png-write: output size, bytes (ours / peer in brackets; below 1: ours smaller)\n");
    for (const auto &[input, bytes] : sizes) {
        std::printf("%-16s ours %10zu", input.c_str(), bytes.at("ours"));
        for (const auto &[variant, n] : bytes)
            if (variant != "ours") std::printf("   %s %10zu (%.3f)", variant.c_str(), n, double(bytes.at("ours")) / double(n));
        std::printf("\n");
    }
    std::fflush(stdout);
    return bench::RunComparisons(argc, argv);
}
