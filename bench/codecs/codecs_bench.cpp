// Speed of our decoders against zlib, libdeflate, libpng and libspng on the same inputs.
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "inflate_stream.h"
#include "ratio_reporter.h"

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

}  // namespace

int main(int argc, char **argv) {
    static const std::vector<Stream> streams = InflateInputs();
    for (const Stream &s : streams) {
        benchmark::RegisterBenchmark(("inflate/" + s.name + "/ours").c_str(), InflateOurs, &s)->MinTime(0.3);
        benchmark::RegisterBenchmark(("inflate/" + s.name + "/zlib").c_str(), InflateZlib, &s)->MinTime(0.3);
        benchmark::RegisterBenchmark(("inflate/" + s.name + "/libdeflate").c_str(), InflateLibdeflate, &s)->MinTime(0.3);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
