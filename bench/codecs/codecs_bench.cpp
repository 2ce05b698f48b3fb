// Speed of our decoders against zlib, libdeflate, libpng and libspng on the same inputs.
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <png.h>
#include <spng.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/surface_core.h"
#include "inflate_stream.h"
#include "png_reader.h"
#include "ratio_reporter.h"
#include "system_zlib.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadFile(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

uint32_t BigEndian(const uint8_t *p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

// The zlib stream of a PNG: its IDAT chunks' data in order.
Bytes IdatStream(const Bytes &png) {
    Bytes z;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t len = BigEndian(&png[at]);
        if (std::memcmp(&png[at + 4], "IDAT", 4) == 0)
            z.insert(z.end(), png.begin() + ptrdiff_t(at + 8), png.begin() + ptrdiff_t(at + 8 + len));
        at += 12 + size_t(len);
    }
    return z;
}

struct Stream {
    std::string name;
    Bytes z;
    size_t size;
};

size_t InflatedSize(const Bytes &z) {
    z_stream zs{};
    inflateInit(&zs);
    zs.next_in = const_cast<Bytef *>(z.data());
    zs.avail_in = uInt(z.size());
    Bytes buf(1 << 16);
    size_t total = 0;
    int status;
    do {
        zs.next_out = buf.data();
        zs.avail_out = uInt(buf.size());
        status = inflate(&zs, Z_NO_FLUSH);
        total += buf.size() - zs.avail_out;
    } while (status == Z_OK);
    inflateEnd(&zs);
    return total;
}

const char *kImages[] = {"rgba8_2048", "rgb8_2048", "grey8_2048", "pal8_2048", "rgba16_1024", "rgba8_1024_interlaced"};

std::vector<Stream> InflateInputs() {
    std::vector<Stream> v;
    const Bytes text = ReadFile(std::string(BENCH_DATA) + "/corpus.txt");
    for (int level : {1, 6, 9}) {
        uLongf n = compressBound(uLong(text.size()));
        Bytes z(n);
        compress2(z.data(), &n, text.data(), uLong(text.size()), level);
        z.resize(n);
        v.push_back({"text-level" + std::to_string(level), z, text.size()});
    }
    for (const char *image : kImages) {
        const Bytes z = IdatStream(ReadFile(std::string(BENCH_DATA) + "/" + image + ".png"));
        v.push_back({std::string(image) + "-idat", z, InflatedSize(z)});
    }
    return v;
}

void InflateOurs(benchmark::State &state, const Stream *s) {
    Bytes out(s->size);
    for (auto _ : state) {
        if (!InflateStream(out, s->z))
            state.SkipWithError("InflateStream failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s->size));
}

void InflateZlib(benchmark::State &state, const Stream *s) {
    Bytes out(s->size);
    for (auto _ : state) {
        uLongf n = uLongf(out.size());
        if (uncompress(out.data(), &n, s->z.data(), uLong(s->z.size())) != Z_OK)
            state.SkipWithError("uncompress failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s->size));
}

void InflateLibdeflate(benchmark::State &state, const Stream *s) {
    Bytes out(s->size);
    libdeflate_decompressor *d = libdeflate_alloc_decompressor();
    for (auto _ : state) {
        if (libdeflate_zlib_decompress(d, s->z.data(), s->z.size(), out.data(), out.size(), nullptr) != LIBDEFLATE_SUCCESS)
            state.SkipWithError("libdeflate failed");
        benchmark::DoNotOptimize(out.data());
    }
    libdeflate_free_decompressor(d);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s->size));
}

// PNG decoding to premultiplied B, G, R, A rows, bottom-up, into fresh zeroed memory.
struct PngSet {
    std::string name;
    std::vector<Bytes> files;
    size_t pixelBytes = 0;  // output bytes of one pass over the set
};

std::vector<PngSet> PngInputs() {
    std::vector<PngSet> v;
    PngSet suite{"pngsuite", {}, 0};
    std::vector<std::filesystem::path> paths;
    for (const auto &e : std::filesystem::directory_iterator(std::string(LUMIO_TESTDATA) + "/pngsuite"))
        if (e.path().extension() == ".png" && e.path().filename().string()[0] != 'x')
            paths.push_back(e.path());
    std::sort(paths.begin(), paths.end());
    for (const auto &p : paths)
        suite.files.push_back(ReadFile(p.string()));
    v.push_back(std::move(suite));
    for (const char *image : kImages)
        v.push_back({image, {ReadFile(std::string(BENCH_DATA) + "/" + image + ".png")}, 0});
    for (PngSet &set : v)
        for (const Bytes &f : set.files) {
            spng_ctx *ctx = spng_ctx_new(0);
            spng_set_png_buffer(ctx, f.data(), f.size());
            spng_ihdr ihdr{};
            spng_get_ihdr(ctx, &ihdr);
            set.pixelBytes += size_t(ihdr.width) * ihdr.height * 4;
            spng_ctx_free(ctx);
        }
    return v;
}

inline void Premultiply(uint8_t *p, size_t n) {
    for (size_t i = 0; i < n; i += 4) {
        const uint32_t a = p[i + 3];
        if (a == 255)
            continue;
        if (a == 0) {
            std::memset(p + i, 0, 4);
            continue;
        }
        p[i] = uint8_t(p[i] * a / 255);
        p[i + 1] = uint8_t(p[i + 1] * a / 255);
        p[i + 2] = uint8_t(p[i + 2] * a / 255);
    }
}

void PngOurs(benchmark::State &state, const PngSet *set, bool withZlib) {
    for (auto _ : state) {
        for (const Bytes &f : set->files) {
            PngReader reader(withZlib ? PngReader::ZlibLoader(SystemZlib) : PngReader::ZlibLoader());
            MemoryPngSource source(f);
            lumio::MemorySurface surface;
            reader.ParsePNG(source, surface);
            if (!surface.HasImage())
                state.SkipWithError("no image");
            benchmark::DoNotOptimize(surface.BitsPointer());
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(set->pixelBytes));
}

struct MemoryRead {
    const Bytes *data;
    size_t at;
};

void Libpng(benchmark::State &state, const PngSet *set) {
    for (auto _ : state) {
        for (const Bytes &f : set->files) {
            png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
            png_infop info = png_create_info_struct(png);
            MemoryRead r{&f, 0};
            png_set_read_fn(png, &r, [](png_structp p, png_bytep out, png_size_t n) {
                auto *m = static_cast<MemoryRead *>(png_get_io_ptr(p));
                std::memcpy(out, m->data->data() + m->at, n);
                m->at += n;
            });
            png_read_info(png, info);
            const int type = png_get_color_type(png, info);
            const bool alpha = (type & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
            png_set_expand(png);
            png_set_strip_16(png);
            png_set_gray_to_rgb(png);
            png_set_bgr(png);
            png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
            png_set_interlace_handling(png);
            png_read_update_info(png, info);
            const uint32_t w = png_get_image_width(png, info), h = png_get_image_height(png, info);
            Bytes out(size_t(w) * h * 4);
            std::vector<png_bytep> rows(h);
            for (uint32_t y = 0; y < h; ++y)
                rows[y] = out.data() + size_t(h - 1 - y) * w * 4;
            png_read_image(png, rows.data());
            png_destroy_read_struct(&png, &info, nullptr);
            if (alpha)
                Premultiply(out.data(), out.size());
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(set->pixelBytes));
}

void Libspng(benchmark::State &state, const PngSet *set) {
    for (auto _ : state) {
        for (const Bytes &f : set->files) {
            spng_ctx *ctx = spng_ctx_new(0);
            spng_set_png_buffer(ctx, f.data(), f.size());
            spng_ihdr ihdr{};
            spng_get_ihdr(ctx, &ihdr);
            size_t size = 0;
            spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &size);
            Bytes rgba(size);
            spng_decode_image(ctx, rgba.data(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS);
            spng_ctx_free(ctx);
            const uint32_t w = ihdr.width, h = ihdr.height;
            Bytes out(size_t(w) * h * 4);
            for (uint32_t y = 0; y < h; ++y) {
                const uint8_t *s = rgba.data() + size_t(y) * w * 4;
                uint8_t *d = out.data() + size_t(h - 1 - y) * w * 4;
                for (uint32_t x = 0; x < w; ++x, s += 4, d += 4) {
                    const uint32_t a = s[3];
                    if (a == 255) {
                        d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = 255;
                    } else if (a) {
                        d[0] = uint8_t(s[2] * a / 255), d[1] = uint8_t(s[1] * a / 255), d[2] = uint8_t(s[0] * a / 255), d[3] = uint8_t(a);
                    }
                }
            }
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(set->pixelBytes));
}

}  // namespace

int main(int argc, char **argv) {
    static const std::vector<Stream> streams = InflateInputs();
    for (const Stream &s : streams) {
        benchmark::RegisterBenchmark(("inflate/" + s.name + "/ours").c_str(), InflateOurs, &s);
        benchmark::RegisterBenchmark(("inflate/" + s.name + "/zlib").c_str(), InflateZlib, &s);
        benchmark::RegisterBenchmark(("inflate/" + s.name + "/libdeflate").c_str(), InflateLibdeflate, &s);
    }
    static const std::vector<PngSet> pngs = PngInputs();
    for (const PngSet &p : pngs) {
        benchmark::RegisterBenchmark(("png/" + p.name + "/ours").c_str(), PngOurs, &p, false);
        benchmark::RegisterBenchmark(("png/" + p.name + "/ours+zlib").c_str(), PngOurs, &p, true);
        benchmark::RegisterBenchmark(("png/" + p.name + "/libpng").c_str(), Libpng, &p);
        benchmark::RegisterBenchmark(("png/" + p.name + "/libspng").c_str(), Libspng, &p);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
