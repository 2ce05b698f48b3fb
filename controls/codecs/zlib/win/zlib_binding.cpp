#include "zlib/win/zlib_binding.h"

#include <windows.h>

#include <array>
#include <functional>
#include <span>

#include "zlib/win/cdecl_bridge.h"
#include "zlib/win/zlib_probe.h"
#include "zlib/zlib_call.h"

namespace lumio {

namespace {

// zlib's uLong is 32 bits on Windows.
using ZULong = unsigned long;
static_assert(sizeof(ZULong) == 4);

// z_stream as zlib for Windows lays it out (uInt and uLong of 32 bits).
struct WinZStream {
    const uint8_t *next_in;
    uint32_t avail_in;
    uint32_t total_in;
    uint8_t *next_out;
    uint32_t avail_out;
    uint32_t total_out;
    const char *msg;
    void *state;
    void *zalloc;
    void *zfree;
    void *opaque;
    int32_t data_type;
    uint32_t adler;
    uint32_t reserved;
};
static_assert(sizeof(WinZStream) == (sizeof(void *) == 8 ? 88 : 56));

// Calls an export of the bound library by name; false when it cannot be called.
using ExportCall = std::function<bool(const char *name, std::span<const std::uintptr_t> args, int &status)>;

class WinInflater final : public ZlibInflater {
public:
    explicit WinInflater(ExportCall call) : call_(std::move(call)) {}
    ~WinInflater() override {
        int status;
        if (begun_)
            call_("inflateEnd", std::array{std::uintptr_t(&zs_)}, status);
    }

    bool Begin() {
        // zlib compares only the major version and the structure's size.
        static const char kVersion[] = "1.2.13";
        int status = -1;
        begun_ = call_("inflateInit_", std::array{std::uintptr_t(&zs_), std::uintptr_t(kVersion), std::uintptr_t(sizeof zs_)}, status) &&
                 status == 0;
        return begun_;
    }
    int Inflate(std::span<const uint8_t> &in, std::span<uint8_t> &out, bool finish) override {
        zs_.next_in = in.data();
        zs_.avail_in = uint32_t(in.size());
        zs_.next_out = out.data();
        zs_.avail_out = uint32_t(out.size());
        int status;
        if (!call_("inflate", std::array{std::uintptr_t(&zs_), std::uintptr_t(finish ? 4 : 0)}, status))
            return -2;
        in = in.last(zs_.avail_in);
        out = out.last(zs_.avail_out);
        return status;
    }

private:
    ExportCall call_;
    WinZStream zs_{};
    bool begun_ = false;
};

std::unique_ptr<ZlibInflater> BeginWith(ExportCall call) {
    auto inflater = std::make_unique<WinInflater>(std::move(call));
    return inflater->Begin() ? std::move(inflater) : nullptr;
}

class CdeclZlib final : public ZlibApi {
public:
    CdeclZlib(const std::string &name, bool hasCompress2) : hasCompress2_(hasCompress2) { bridge_.DllLoad(name); }

    uint32_t Crc32(const uint8_t *data, uint32_t length) override {
        try {
            return uint32_t(bridge_.CallFunc("crc32", {0, intptr_t(data), intptr_t(length)}));
        } catch (const RunTimeError &) {
            return 0;
        }
    }
    int Uncompress(uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength) override {
        ZULong len = destLength;
        try {
            const int status = bridge_.CallFunc(
                "uncompress", {intptr_t(dest), intptr_t(&len), intptr_t(src), intptr_t(srcLength)});
            destLength = len;
            return status;
        } catch (const RunTimeError &) {
            return -1;
        }
    }

    std::unique_ptr<ZlibInflater> BeginInflate() override {
        return BeginWith([this](const char *name, std::span<const std::uintptr_t> a, int &status) {
            try {
                switch (a.size()) {
                case 1: status = bridge_.CallFunc(name, {intptr_t(a[0])}); break;
                case 2: status = bridge_.CallFunc(name, {intptr_t(a[0]), intptr_t(a[1])}); break;
                default: status = bridge_.CallFunc(name, {intptr_t(a[0]), intptr_t(a[1]), intptr_t(a[2])}); break;
                }
                return true;
            } catch (const RunTimeError &) {
                return false;
            }
        });
    }

    bool HasCompress2() override { return hasCompress2_; }
    int Compress2(uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength, int level) override {
        return Call("compress2", dest, destLength, src, srcLength, {level});
    }
    int Compress(uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength) override {
        return Call("compress", dest, destLength, src, srcLength, {});
    }

private:
    int Call(const char *function, uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength,
             std::initializer_list<int> level) {
        ZULong len = destLength;
        try {
            const int status = level.size()
                                   ? bridge_.CallFunc(function, {intptr_t(dest), intptr_t(&len), intptr_t(src),
                                                                 intptr_t(srcLength), intptr_t(*level.begin())})
                                   : bridge_.CallFunc(function, {intptr_t(dest), intptr_t(&len), intptr_t(src),
                                                                 intptr_t(srcLength)});
            destLength = len;
            return status;
        } catch (const RunTimeError &) {
            return -2;
        }
    }

    cCDECL bridge_;
    bool hasCompress2_;
};

class StdcallZlib final : public ZlibApi {
public:
    explicit StdcallZlib(HMODULE module) : module_(module) {}
    ~StdcallZlib() override { FreeLibrary(module_); }

    uint32_t Crc32(const uint8_t *data, uint32_t length) override {
        if (!crc32_)
            crc32_ = GetProcAddress(module_, "crc32");
        const std::uintptr_t args[] = {0, std::uintptr_t(data), length};
        return crc32_ ? CallZlibExport(reinterpret_cast<const void *>(crc32_), args) : 0;
    }
    int Uncompress(uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength) override {
        if (!uncompress_)
            uncompress_ = GetProcAddress(module_, "uncompress");
        if (!uncompress_)
            return -1;
        ZULong len = destLength;
        const std::uintptr_t args[] = {std::uintptr_t(dest), std::uintptr_t(&len), std::uintptr_t(src), srcLength};
        const int status = int(CallZlibExport(reinterpret_cast<const void *>(uncompress_), args));
        destLength = len;
        return status;
    }

    std::unique_ptr<ZlibInflater> BeginInflate() override {
        return BeginWith([this](const char *name, std::span<const std::uintptr_t> args, int &status) {
            const FARPROC function = GetProcAddress(module_, name);
            if (!function)
                return false;
            status = int(CallZlibExport(reinterpret_cast<const void *>(function), args));
            return true;
        });
    }

    bool HasCompress2() override { return GetProcAddress(module_, "compress2") != nullptr; }
    int Compress2(uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength, int level) override {
        ZULong len = destLength;
        const std::uintptr_t args[] = {std::uintptr_t(dest), std::uintptr_t(&len), std::uintptr_t(src), srcLength,
                                       std::uintptr_t(level)};
        return Finish(GetProcAddress(module_, "compress2"), args, len, destLength);
    }
    int Compress(uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength) override {
        ZULong len = destLength;
        const std::uintptr_t args[] = {std::uintptr_t(dest), std::uintptr_t(&len), std::uintptr_t(src), srcLength};
        return Finish(GetProcAddress(module_, "compress"), args, len, destLength);
    }

private:
    template <size_t N>
    static int Finish(FARPROC function, const std::uintptr_t (&args)[N], const ZULong &len, uint32_t &destLength) {
        if (!function)
            return -2;
        const int status = int(CallZlibExport(reinterpret_cast<const void *>(function), args));
        destLength = len;
        return status;
    }

    // Called through the stack-restoring helper: the stdcall guess may be wrong.
    HMODULE module_;
    FARPROC crc32_ = nullptr;
    FARPROC uncompress_ = nullptr;
};

}  // namespace

std::unique_ptr<ZlibApi> BindZlib(const std::string &name, int index, bool isCdecl, bool hasCompress2) {
    if (isCdecl)
        return std::make_unique<CdeclZlib>(name, hasCompress2);
    // The stdcall exports are bound by the fixed file name of the index.
    const char *file = index == 1 ? "zlib.dll" : index == 2 ? "zlib1.dll" : nullptr;
    if (!file)
        return nullptr;
    HMODULE m = LoadLibraryA(file);
    if (!m)
        return nullptr;
    return std::make_unique<StdcallZlib>(m);
}

std::unique_ptr<ZlibApi> LoadZlib() {
    std::string name;
    int32_t index = 0;
    bool isCdecl = false, hasCompress2 = false;
    if (!FindZlibDll(name, index, isCdecl, hasCompress2, false))
        return nullptr;
    return BindZlib(name, index, isCdecl, hasCompress2);
}

}  // namespace lumio
