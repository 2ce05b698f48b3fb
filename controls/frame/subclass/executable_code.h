#pragma once
// A small piece of machine code, written once into a heap of executable
// memory that all pieces share.
#include <cstddef>
#include <cstdint>

namespace lumio {

// Tests stand for a system with no executable memory to spare: every Write
// fails while denied.
void DenyExecutableMemoryForTesting(bool deny);

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
