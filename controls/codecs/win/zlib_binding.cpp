#include "zlib_binding.h"

#include <windows.h>

#include "cdecl_bridge.h"

namespace {

// FARPROC to a typed function pointer (through void(*)(), which converts without warnings).
template <class F>
F ProcAs(FARPROC p) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(p));
}

// zlib's uLong is 32 bits on Windows.
using ZULong = unsigned long;
static_assert(sizeof(ZULong) == 4);

class CdeclZlib final : public ZlibApi {
public:
    explicit CdeclZlib(const std::string &name) { bridge_.DllLoad(name); }

    uint32_t Crc32(const uint8_t *data, uint32_t length) override {
        try {
            return uint32_t(bridge_.CallFunc("crc32", {0, intptr_t(data), intptr_t(length)}));
        } catch (const CdeclError &) {
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
        } catch (const CdeclError &) {
            return -1;
        }
    }

private:
    cCDECL bridge_;
};

class StdcallZlib final : public ZlibApi {
public:
    explicit StdcallZlib(HMODULE module) : module_(module) {}
    ~StdcallZlib() override { FreeLibrary(module_); }

    uint32_t Crc32(const uint8_t *data, uint32_t length) override {
        if (!crc32_)
            crc32_ = ProcAs<Crc32Fn>(GetProcAddress(module_, "crc32"));
        return crc32_ ? crc32_(0, data, length) : 0;
    }
    int Uncompress(uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength) override {
        if (!uncompress_)
            uncompress_ = ProcAs<UncompressFn>(GetProcAddress(module_, "uncompress"));
        if (!uncompress_)
            return -1;
        ZULong len = destLength;
        const int status = uncompress_(dest, &len, src, srcLength);
        destLength = len;
        return status;
    }

private:
    using Crc32Fn = ZULong(__stdcall *)(ZULong, const uint8_t *, unsigned);
    using UncompressFn = int(__stdcall *)(uint8_t *, ZULong *, const uint8_t *, ZULong);
    HMODULE module_;
    Crc32Fn crc32_ = nullptr;
    UncompressFn uncompress_ = nullptr;
};

}  // namespace

std::unique_ptr<ZlibApi> BindZlib(const std::string &name, int index, bool isCdecl) {
    if (isCdecl)
        return std::make_unique<CdeclZlib>(name);
    // The stdcall exports are bound by the fixed file name of the index.
    const char *file = index == 1 ? "zlib.dll" : index == 2 ? "zlib1.dll" : nullptr;
    if (!file)
        return nullptr;
    HMODULE m = LoadLibraryA(file);
    if (!m)
        return nullptr;
    return std::make_unique<StdcallZlib>(m);
}
