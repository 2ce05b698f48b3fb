// Speed of our decoders against zlib, libdeflate, libpng and libspng on the same inputs, with
// the same output checked byte for byte before anything is timed.
//
// Checksums: our InflateStream does not read the Adler-32 trailer; "ours+adler" adds the
// check, with libdeflate's adler32 (as fast as any at hand, so the check costs both sides
// alike; zlib's is several times slower). zlib and libdeflate check it; their "-raw"
// variants decode the bare DEFLATE data and check nothing. Our PNG reader checks chunk CRCs
// and the Adler-32 only when zlib is there ("ours+zlib", which then inflates with zlib);
// "ours" checks neither. The peers run with their checks ("libpng", "libspng") and without
// ("-nocrc": no CRC, no Adler-32).
//
// PNG output is ours: premultiplied B, G, R, A, rows bottom-up, in fresh zeroed memory. The
// peers decode to R, G, B, A and each row goes through our own row conversion, the code our
// reader runs, right after it is decoded (interlaced images: after the whole image).
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <png.h>
#include <spng.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench_main.h"
#include "heap_peak.h"
#include "imaging/surface_core.h"
#include "inflate/inflate_stream.h"
#include "png/png_reader.h"
#include "png/png_rows.h"
#include "zlib/native/system_zlib.h"

using namespace lumio;

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

// ---- Inflate ----

struct Stream {
    std::string name;
    Bytes z;
    Bytes plain;  // what zlib makes of it
};

Bytes Uncompressed(const Bytes &z) {
    z_stream zs{};
    inflateInit(&zs);
    zs.next_in = const_cast<Bytef *>(z.data());
    zs.avail_in = uInt(z.size());
    Bytes out, buf(1 << 16);
    int status;
    do {
        zs.next_out = buf.data();
        zs.avail_out = uInt(buf.size());
        status = inflate(&zs, Z_NO_FLUSH);
        out.insert(out.end(), buf.data(), buf.data() + (buf.size() - zs.avail_out));
    } while (status == Z_OK);
    inflateEnd(&zs);
    return out;
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
        v.push_back({"text-level" + std::to_string(level), z, text});
    }
    for (const char *image : kImages) {
        Bytes z = IdatStream(ReadFile(std::string(BENCH_DATA) + "/" + image + ".png"));
        Bytes plain = Uncompressed(z);
        v.push_back({std::string(image) + "-idat", std::move(z), std::move(plain)});
    }
    return v;
}

// One inflation into `out` (sized to the output); false on failure.
using Inflater = bool (*)(const Stream &, Bytes &out, libdeflate_decompressor *);

bool InflateOurs(const Stream &s, Bytes &out, libdeflate_decompressor *) { return InflateStream(out, s.z); }

bool InflateOursAdler(const Stream &s, Bytes &out, libdeflate_decompressor *) {
    return InflateStream(out, s.z) && s.z.size() >= 6 &&
           libdeflate_adler32(1, out.data(), out.size()) == BigEndian(&s.z[s.z.size() - 4]);
}

bool InflateZlib(const Stream &s, Bytes &out, libdeflate_decompressor *) {
    uLongf n = uLongf(out.size());
    return uncompress(out.data(), &n, s.z.data(), uLong(s.z.size())) == Z_OK && n == out.size();
}

bool InflateZlibRaw(const Stream &s, Bytes &out, libdeflate_decompressor *) {
    z_stream zs{};
    if (inflateInit2(&zs, -15) != Z_OK) return false;
    zs.next_in = const_cast<Bytef *>(s.z.data() + 2);
    zs.avail_in = uInt(s.z.size() - 6);
    zs.next_out = out.data();
    zs.avail_out = uInt(out.size());
    const int status = inflate(&zs, Z_NO_FLUSH);
    inflateEnd(&zs);
    return status == Z_STREAM_END && zs.avail_out == 0;
}

bool InflateLibdeflate(const Stream &s, Bytes &out, libdeflate_decompressor *d) {
    return libdeflate_zlib_decompress(d, s.z.data(), s.z.size(), out.data(), out.size(), nullptr) ==
           LIBDEFLATE_SUCCESS;
}

bool InflateLibdeflateRaw(const Stream &s, Bytes &out, libdeflate_decompressor *d) {
    return libdeflate_deflate_decompress(d, s.z.data() + 2, s.z.size() - 6, out.data(), out.size(), nullptr) ==
           LIBDEFLATE_SUCCESS;
}

void Inflate(benchmark::State &state, const Stream *s, Inflater inflater, std::string name) {
    if (bench::Differs(name)) {
        state.SkipWithError("output differs from ours");
        return;
    }
    Bytes out(s->plain.size());
    libdeflate_decompressor *d = libdeflate_alloc_decompressor();
    for (auto _ : state) {
        if (!inflater(*s, out, d)) state.SkipWithError("decoding failed");
        benchmark::DoNotOptimize(out.data());
    }
    libdeflate_free_decompressor(d);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s->plain.size()));
}

// ---- PNG ----

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
        if (e.path().extension() == ".png" && e.path().filename().string()[0] != 'x') paths.push_back(e.path());
    std::sort(paths.begin(), paths.end());
    for (const auto &p : paths) suite.files.push_back(ReadFile(p.string()));
    v.push_back(std::move(suite));
    for (const char *image : kImages) v.push_back({image, {ReadFile(std::string(BENCH_DATA) + "/" + image + ".png")}, 0});
    for (PngSet &set : v)
        for (const Bytes &f : set.files) set.pixelBytes += size_t(BigEndian(&f[16])) * BigEndian(&f[20]) * 4;
    return v;
}

// A decoded image as ours lays it out, or empty when decoding failed.
struct Image {
    Bytes pixels;
    uint32_t width = 0, height = 0;
};

// One decode; the pixels are copied out only when `keep` is set (for the checks).
using PngDecoder = Image (*)(const Bytes &file, bool keep);

template <bool kZlib>
Image DecodeOurs(const Bytes &file, bool keep) {
    PngReader reader(kZlib ? PngReader::ZlibLoader(SystemZlib) : PngReader::ZlibLoader());
    MemoryByteSource source(file);
    lumio::MemorySurface surface;
    reader.ParsePNG(source, surface);
    Image image;
    if (!surface.HasImage()) return image;
    benchmark::DoNotOptimize(surface.BitsPointer());
    if (keep) {
        image.width = uint32_t(surface.Width());
        image.height = uint32_t(surface.Height());
        image.pixels.assign(surface.BitsPointer(), surface.BitsPointer() + size_t(image.width) * image.height * 4);
    }
    return image;
}

// The peers' R, G, B, A rows to ours, with our reader's own conversion.
const std::vector<uint8_t> kNone;
const png_rows::RowConverter &RgbaRows() {
    static const png_rows::RowConverter convert(png_rows::Format{6, 8, kNone, kNone, -1});
    return convert;
}

struct MemoryRead {
    const Bytes *data;
    size_t at;
};

template <bool kCrc>
Image DecodeLibpng(const Bytes &file, bool keep) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Image image;
    Bytes out, scratch;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return {};
    }
    if (!kCrc) {
        png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
        png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    }
    MemoryRead r{&file, 0};
    png_set_read_fn(png, &r, [](png_structp p, png_bytep dest, png_size_t n) {
        auto *m = static_cast<MemoryRead *>(png_get_io_ptr(p));
        if (n > m->data->size() - m->at) png_error(p, "read past the end");
        std::memcpy(dest, m->data->data() + m->at, n);
        m->at += n;
    });
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const uint32_t w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    const size_t stride = size_t(w) * 4;
    out.assign(stride * h, 0);
    const png_rows::RowConverter &convert = RgbaRows();
    if (passes == 1) {
        scratch.resize(stride);
        for (uint32_t y = 0; y < h; ++y) {
            png_read_row(png, scratch.data(), nullptr);
            convert(scratch.data(), out.data() + (h - 1 - y) * stride, int32_t(w), 4);
        }
    } else {
        scratch.resize(stride * h);
        std::vector<png_bytep> rows(h);
        for (uint32_t y = 0; y < h; ++y) rows[y] = scratch.data() + y * stride;
        png_read_image(png, rows.data());
        for (uint32_t y = 0; y < h; ++y) convert(rows[y], out.data() + (h - 1 - y) * stride, int32_t(w), 4);
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    benchmark::DoNotOptimize(out.data());
    if (keep) image = {std::move(out), w, h};
    return image;
}

template <bool kCrc>
Image DecodeLibspng(const Bytes &file, bool keep) {
    spng_ctx *ctx = spng_ctx_new(kCrc ? 0 : SPNG_CTX_IGNORE_ADLER32);
    if (!kCrc) spng_set_crc_action(ctx, SPNG_CRC_USE, SPNG_CRC_USE);
    spng_set_png_buffer(ctx, file.data(), file.size());
    spng_ihdr ihdr{};
    Image image;
    if (spng_get_ihdr(ctx, &ihdr)) {
        spng_ctx_free(ctx);
        return image;
    }
    const uint32_t w = ihdr.width, h = ihdr.height;
    const size_t stride = size_t(w) * 4;
    Bytes out(stride * h);
    const png_rows::RowConverter &convert = RgbaRows();
    bool ok;
    if (!ihdr.interlace_method) {
        Bytes row(stride);
        ok = spng_decode_image(ctx, nullptr, 0, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE) == 0;
        int status = 0;
        while (ok && status == 0) {
            spng_row_info info{};
            if (spng_get_row_info(ctx, &info)) break;
            status = spng_decode_row(ctx, row.data(), row.size());
            if (status != 0 && status != SPNG_EOI) ok = false;
            else convert(row.data(), out.data() + (h - 1 - info.row_num) * stride, int32_t(w), 4);
        }
        ok = ok && status == SPNG_EOI;
    } else {
        Bytes rgba(stride * h);
        ok = spng_decode_image(ctx, rgba.data(), rgba.size(), SPNG_FMT_RGBA8, SPNG_DECODE_TRNS) == 0;
        for (uint32_t y = 0; ok && y < h; ++y) convert(rgba.data() + y * stride, out.data() + (h - 1 - y) * stride, int32_t(w), 4);
    }
    spng_ctx_free(ctx);
    benchmark::DoNotOptimize(out.data());
    if (ok && keep) image = {std::move(out), w, h};
    return image;
}

void Png(benchmark::State &state, const PngSet *set, PngDecoder decode, double peakMB, std::string name) {
    if (bench::Differs(name)) {
        state.SkipWithError("output differs from ours");
        return;
    }
    for (auto _ : state)
        for (const Bytes &f : set->files) decode(f, false);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(set->pixelBytes));
    state.counters["peak_MB"] = peakMB;
}

// Largest heap peak of one decode over the set.
double PeakMB(const PngSet &set, PngDecoder decode) {
    size_t most = 0;
    for (const Bytes &f : set.files) {
        heap_peak::Start();
        decode(f, false);
        most = std::max(most, heap_peak::Stop());
    }
    return double(most) / 1e6;
}

}  // namespace

int main(int argc, char **argv) {
    static const std::vector<Stream> streams = InflateInputs();
    const std::pair<const char *, Inflater> inflaters[] = {
        {"ours", InflateOurs},       {"ours+adler", InflateOursAdler},   {"zlib", InflateZlib},
        {"zlib-raw", InflateZlibRaw}, {"libdeflate", InflateLibdeflate}, {"libdeflate-raw", InflateLibdeflateRaw}};
    for (const Stream &s : streams)
        for (const auto &[variant, inflater] : inflaters) {
            const std::string name = "inflate/" + s.name + "/" + variant;
            Bytes out(s.plain.size());
            libdeflate_decompressor *d = libdeflate_alloc_decompressor();
            if (!inflater(s, out, d) || out != s.plain) bench::OutputDiffers(name, "not the bytes zlib gives");
            libdeflate_free_decompressor(d);
            benchmark::RegisterBenchmark(name.c_str(), Inflate, &s, inflater, name);
        }

    static const std::vector<PngSet> pngs = PngInputs();
    const std::pair<const char *, PngDecoder> decoders[] = {
        {"ours", DecodeOurs<false>},       {"ours+zlib", DecodeOurs<true>},         {"libpng", DecodeLibpng<true>},
        {"libpng-nocrc", DecodeLibpng<false>}, {"libspng", DecodeLibspng<true>}, {"libspng-nocrc", DecodeLibspng<false>}};
    for (const PngSet &p : pngs) {
        std::vector<Image> reference;
        for (const Bytes &f : p.files) reference.push_back(DecodeOurs<false>(f, true));
        for (const auto &[variant, decode] : decoders) {
            const std::string name = "png/" + p.name + "/" + variant;
            for (size_t i = 0; i < p.files.size(); ++i) {
                const Image image = decode(p.files[i], true);
                if (image.pixels.empty() || image.pixels != reference[i].pixels || image.width != reference[i].width) {
                    bench::OutputDiffers(name, "file " + std::to_string(i) + " of the set");
                    break;
                }
            }
            benchmark::RegisterBenchmark(name.c_str(), Png, &p, decode, PeakMB(p, decode), name);
        }
    }
    return bench::RunComparisons(argc, argv);
}
