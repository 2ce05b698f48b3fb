#pragma once
// A small piece of machine code in memory of its own: written once while the
// memory is writable, then switched to read-execute for the rest of its life.
#include <cstddef>
#include <cstdint>

namespace lumio {

class ExecutableCode {
public:
    ExecutableCode() = default;
    ExecutableCode(const ExecutableCode&) = delete;
    ExecutableCode& operator=(const ExecutableCode&) = delete;
    ~ExecutableCode() { Free(); }

    // False (and nothing held) when the memory cannot be had or protected.
    bool Write(const uint8_t* bytes, std::size_t size);
    void Free();
    void* Address() const { return address_; }

private:
    void* address_ = nullptr;
};

}  // namespace lumio
