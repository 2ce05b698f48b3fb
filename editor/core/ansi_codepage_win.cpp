#include "ansi_codepage.h"

#include <windows.h>

#include <array>

namespace {

std::array<bool, 256> LoadLeadBytes() {
    std::array<bool, 256> lead{};
    CPINFO info{};
    if (GetCPInfo(CP_ACP, &info)) {
        for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
            for (unsigned b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) {
                lead[b] = true;
            }
        }
    }
    return lead;
}

} // namespace

bool IsAnsiLeadByte(unsigned char b) {
    static const std::array<bool, 256> lead = LoadLeadBytes();
    return lead[b];
}
