#include "stand_in_codecs.h"

#include "bmp/bmp_reader.h"
#include "gif/gif_reader.h"
#include "ico/ico_reader.h"
#include "imaging/codec_registry.h"
#include "imaging/picture_chain.h"
#include "png/png_reader.h"

namespace {

StandInDecoder g_system;

std::span<const uint8_t> All(lumio::ByteSource &source) {
    const uint8_t *p = source.Fetch(0, size_t(source.Size()));
    return p ? std::span<const uint8_t>(p, size_t(source.Size())) : std::span<const uint8_t>();
}

class Gif final : public lumio::ImageDecoder {
public:
    bool Decode(const lumio::DecodeRequest &r, lumio::SurfaceCore &host) override {
        return lumio::GifReader(g_system).LoadStream(All(r.source), host);
    }
};
class Ico final : public lumio::ImageDecoder {
public:
    bool Decode(const lumio::DecodeRequest &r, lumio::SurfaceCore &host) override {
        return lumio::IcoReader(&g_system).LoadStream(All(r.source), r.iconCx, r.iconCy, &host, r.iconBitDepth);
    }
};
class Bmp final : public lumio::ImageDecoder {
public:
    bool Decode(const lumio::DecodeRequest &r, lumio::SurfaceCore &host) override {
        return lumio::BmpReader(g_system).LoadStream(All(r.source), host);
    }
};

template <class T>
std::unique_ptr<lumio::ImageDecoder> Make() {
    return std::make_unique<T>();
}
std::unique_ptr<lumio::ImageDecoder> MakePng() { return std::make_unique<lumio::PngReader>(lumio::PngReader::ZlibLoader()); }

bool IconSizes(std::span<const uint8_t> bytes, std::vector<lumio::IconSize> &sizes) {
    lumio::IcoReader reader(nullptr);
    if (!reader.LoadStream(bytes, 32, 32, nullptr, 32)) return false;
    for (int32_t i = 1; i <= reader.IconCount(); ++i) sizes.push_back({reader.Width(i), reader.Height(i), reader.bitDepth(i)});
    return true;
}

}  // namespace

StandInDecoder &RegisterStandInCodecs() {
    lumio::RegisterDecoder(lumio::ImageFormat::kPng, &MakePng);
    lumio::RegisterDecoder(lumio::ImageFormat::kGif, &Make<Gif>);
    lumio::RegisterDecoder(lumio::ImageFormat::kIcon, &Make<Ico>);
    lumio::RegisterDecoder(lumio::ImageFormat::kBmp, &Make<Bmp>);
    lumio::RegisterIconDirectoryReader(&IconSizes);
    g_system = StandInDecoder();
    return g_system;
}
