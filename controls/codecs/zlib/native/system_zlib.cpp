#include "zlib/native/system_zlib.h"

#include <zlib.h>

namespace lumio {

namespace {

class SystemInflater final : public ZlibInflater {
public:
    SystemInflater() = default;
    SystemInflater(const SystemInflater &) = delete;
    SystemInflater &operator=(const SystemInflater &) = delete;
    ~SystemInflater() override {
        if (begun_)
            inflateEnd(&zs_);
    }
    bool Begin() { return begun_ = inflateInit(&zs_) == Z_OK; }
    int Inflate(std::span<const uint8_t> &in, std::span<uint8_t> &out, bool finish) override {
        zs_.next_in = const_cast<Bytef *>(in.data());
        zs_.avail_in = uInt(in.size());
        zs_.next_out = out.data();
        zs_.avail_out = uInt(out.size());
        const int status = inflate(&zs_, finish ? Z_FINISH : Z_NO_FLUSH);
        in = in.last(zs_.avail_in);
        out = out.last(zs_.avail_out);
        return status;
    }

private:
    z_stream zs_{};
    bool begun_ = false;
};

class SystemZlibApi final : public ZlibApi {
public:
    std::unique_ptr<ZlibInflater> BeginInflate() override {
        auto inflater = std::make_unique<SystemInflater>();
        return inflater->Begin() ? std::move(inflater) : nullptr;
    }
    uint32_t Crc32(const uint8_t *data, uint32_t length) override { return uint32_t(crc32(0, data, length)); }
    int Uncompress(uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength) override {
        uLongf len = destLength;
        const int status = uncompress(dest, &len, src, srcLength);
        destLength = uint32_t(len);
        return status;
    }
    bool HasCompress2() override { return true; }
    int Compress2(uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength, int level) override {
        uLongf len = destLength;
        const int status = compress2(dest, &len, src, srcLength, level);
        destLength = uint32_t(len);
        return status;
    }
    int Compress(uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength) override {
        uLongf len = destLength;
        const int status = compress(dest, &len, src, srcLength);
        destLength = uint32_t(len);
        return status;
    }
};

}  // namespace

std::unique_ptr<ZlibApi> SystemZlib() { return std::make_unique<SystemZlibApi>(); }

}  // namespace lumio
