#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "thunk_code.h"

using namespace lumio;

namespace {

// Just enough of a 32-bit x86 to run a stub: register pushes and pops, push
// and mov of immediates, and the two jumps. Anything else stops the run.
struct MiniX86 {
    enum { EAX, ECX, EDX, EBX, ESP, EBP, ESI, EDI };
    uint32_t reg[8]{};
    uint32_t eip = 0;
    std::map<uint32_t, uint8_t> mem;
    std::string fault;

    uint32_t Read32(uint32_t a) {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= uint32_t(mem[a + i]) << (8 * i);
        return v;
    }
    void Write32(uint32_t a, uint32_t v) {
        for (int i = 0; i < 4; ++i) mem[a + i] = uint8_t(v >> (8 * i));
    }
    void Push(uint32_t v) { Write32(reg[ESP] -= 4, v); }
    uint32_t Pop() {
        uint32_t v = Read32(reg[ESP]);
        reg[ESP] += 4;
        return v;
    }
    // Runs until eip leaves [begin, end); false on an unknown instruction.
    bool Run(uint32_t begin, uint32_t end) {
        for (int steps = 0; steps < 100 && eip >= begin && eip < end; ++steps) {
            const uint8_t op = mem[eip];
            if (op >= 0x50 && op <= 0x57) Push(reg[op - 0x50]), eip += 1;
            else if (op >= 0x58 && op <= 0x5F) reg[op - 0x58] = Pop(), eip += 1;
            else if (op == 0x68) Push(Read32(eip + 1)), eip += 5;
            else if (op >= 0xB8 && op <= 0xBF) reg[op - 0xB8] = Read32(eip + 1), eip += 5;
            else if (op == 0xE9) eip = eip + 5 + Read32(eip + 1);
            else if (op == 0xFF && (mem[eip + 1] & 0xF8) == 0xE0) eip = reg[mem[eip + 1] & 7];
            else {
                char buf[64];
                std::snprintf(buf, sizeof buf, "unknown opcode %02X at %08X", op, eip);
                fault = buf;
                return false;
            }
        }
        return true;
    }
};

TEST(ThunkX86, InsertsTheContextAsFirstStdcallArgumentAndJumps) {
    const uint32_t context = 0x00A1B2C3, entry = 0x10203040, base = 0x00400000;
    const auto code = BuildThunkX86(context, entry);
    MiniX86 cpu;
    for (std::size_t i = 0; i < code.size(); ++i) cpu.mem[base + uint32_t(i)] = code[i];
    // The caller's view at entry: return address, then hWnd, uMsg, wParam, lParam.
    cpu.reg[MiniX86::ESP] = 0x0012FF00;
    const uint32_t args[] = {0x000301A2, 0x0000000F, 0xFFFFFFFF, 0x80000001};
    for (int i = 3; i >= 0; --i) cpu.Push(args[i]);
    cpu.Push(0x7C801234);  // return address
    const uint32_t espAtEntry = cpu.reg[MiniX86::ESP];
    cpu.reg[MiniX86::EBX] = 0xB0B0B0B0, cpu.reg[MiniX86::EBP] = 0xB1B1B1B1;
    cpu.reg[MiniX86::ESI] = 0xB2B2B2B2, cpu.reg[MiniX86::EDI] = 0xB3B3B3B3;
    cpu.eip = base;

    ASSERT_TRUE(cpu.Run(base, base + uint32_t(code.size()))) << cpu.fault;
    EXPECT_EQ(cpu.eip, entry);
    // One more argument below the return address: a stdcall callee of five
    // arguments returns to the caller with the stack as the caller expects.
    ASSERT_EQ(cpu.reg[MiniX86::ESP], espAtEntry - 4);
    EXPECT_EQ(cpu.Read32(espAtEntry - 4), 0x7C801234u);
    EXPECT_EQ(cpu.Read32(espAtEntry), context);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(cpu.Read32(espAtEntry + 4 + 4 * i), args[i]) << "argument " << i;
    // Callee-saved registers untouched.
    EXPECT_EQ(cpu.reg[MiniX86::EBX], 0xB0B0B0B0u);
    EXPECT_EQ(cpu.reg[MiniX86::EBP], 0xB1B1B1B1u);
    EXPECT_EQ(cpu.reg[MiniX86::ESI], 0xB2B2B2B2u);
    EXPECT_EQ(cpu.reg[MiniX86::EDI], 0xB3B3B3B3u);
}

// The same bytes as the i686 toolchain's disassembler reads them.
TEST(ThunkX86, DisassemblesToTheIntendedInstructions) {
    const char* objdump = "i686-w64-mingw32-objdump";
    if (std::system("command -v i686-w64-mingw32-objdump >/dev/null 2>&1") != 0) GTEST_SKIP() << objdump << " missing";
    const auto code = BuildThunkX86(0x00A1B2C3, 0x10203040);
    char path[] = "/tmp/thunk86XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, code.data(), code.size()), ssize_t(code.size()));
    close(fd);
    const std::string cmd = std::string(objdump) + " -D -b binary -m i386 -M intel " + path;
    FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string text;
    char line[256];
    while (std::fgets(line, sizeof line, p)) text += line;
    pclose(p);
    std::remove(path);
    const char* expected[] = {"pop    eax", "push   0xa1b2c3", "push   eax", "mov    eax,0x10203040", "jmp    eax"};
    std::size_t at = 0;
    for (const char* insn : expected) {
        const std::size_t found = text.find(insn, at);
        ASSERT_NE(found, std::string::npos) << "missing \"" << insn << "\" in\n" << text;
        at = found;
    }
}

#if defined(__x86_64__)
struct FakeContext {
    uint64_t incomingHwnd;
    uint64_t guard;
};
struct Seen {
    FakeContext* context;
    uint64_t hWnd;
    uint32_t uMsg;
    uint64_t wParam;
    int64_t lParam;
} seen;

__attribute__((ms_abi)) int64_t Entry(FakeContext* c, uint32_t uMsg, uint64_t wParam, int64_t lParam) {
    seen = {c, c->incomingHwnd, uMsg, wParam, lParam};
    return 0x5A5A5A5A5A5A5A5ALL;
}
using WindowProc64 = int64_t(__attribute__((ms_abi)) *)(uint64_t, uint32_t, uint64_t, int64_t);

TEST(ThunkX64, RunsNativelyAndPassesTheContextWithAllFourArguments) {
    FakeContext context{0, 0xC0FFEE};
    const auto code = BuildThunkX64(reinterpret_cast<uint64_t>(&context), reinterpret_cast<uint64_t>(&Entry));
    void* page = mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(page, MAP_FAILED);
    std::memcpy(page, code.data(), code.size());
    ASSERT_EQ(mprotect(page, 4096, PROT_READ | PROT_EXEC), 0);
    const auto proc = reinterpret_cast<WindowProc64>(page);

    struct Case {
        uint64_t hWnd;
        uint32_t uMsg;
        uint64_t wParam;
        int64_t lParam;
    } cases[] = {{0x10442, 0x0F, 0, 0}, {0xFFFFFFFFFFFF0001ull, 0xFFFFFFFF, ~0ull, INT64_MIN}, {0, 0, 1, -1}};
    for (const Case& c : cases) {
        seen = {};
        EXPECT_EQ(proc(c.hWnd, c.uMsg, c.wParam, c.lParam), 0x5A5A5A5A5A5A5A5ALL);
        EXPECT_EQ(seen.context, &context);
        EXPECT_EQ(seen.hWnd, c.hWnd);
        EXPECT_EQ(seen.uMsg, c.uMsg);
        EXPECT_EQ(seen.wParam, c.wParam);
        EXPECT_EQ(seen.lParam, c.lParam);
        EXPECT_EQ(context.guard, 0xC0FFEEu) << "the stub wrote past its field";
    }
    munmap(page, 4096);
}
#endif

}  // namespace
