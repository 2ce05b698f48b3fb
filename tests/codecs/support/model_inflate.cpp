#include "model_inflate.h"

#include <algorithm>
#include <cstddef>

namespace {

struct Fail {};

const int kLenBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                          31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const int kLenExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const int kDistBase[32] = {1,    2,    3,    4,    5,    7,     9,     13,    17,    25,   33,
                           49,   65,   97,   129,  193,  257,   385,   513,   769,   1025, 1537,
                           2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
const int kDistExtra[32] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
const int kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

struct Table {
    std::vector<int> len, sym;
    int shortest = 0, longest = 0;
};

Table Build(const int *lengths, int count) {
    Table t;
    int perLen[17] = {};
    for (int i = 0; i < count; ++i)
        if (lengths[i]) {
            ++perLen[lengths[i]];
            if (!t.shortest || lengths[i] < t.shortest)
                t.shortest = lengths[i];
            t.longest = std::max(t.longest, lengths[i]);
        }
    int left = 1;
    for (int l = 1; l <= 16; ++l) {
        left = 2 * left - perLen[l];
        if (left < 0)
            throw Fail{};
    }
    t.len.assign(size_t(1) << t.longest, 0);
    t.sym.assign(size_t(1) << t.longest, 0);
    int next[17] = {};
    for (int l = 1, code = 0; l <= 16; ++l) {
        code = (code + perLen[l - 1]) << 1;
        next[l] = code;
    }
    for (int s = 0; s < count; ++s) {
        const int l = lengths[s];
        if (!l)
            continue;
        int code = next[l]++, rev = 0;
        for (int i = 0; i < l; ++i)
            rev = (rev << 1) | ((code >> i) & 1);
        for (int i = rev; i < (1 << t.longest); i += 1 << l) {
            t.len[size_t(i)] = l;
            t.sym[size_t(i)] = s;
        }
    }
    return t;
}

struct Model {
    const std::vector<uint8_t> &in;
    std::vector<uint8_t> &out;
    size_t pos = 2, outPos = 0;
    int64_t buf = 0;
    int cnt = 0;

    int ReadBits(int n) {
        while (cnt < n) {
            if (pos >= in.size())
                throw Fail{};
            buf += int64_t(in[pos++]) << cnt;
            cnt += 8;
        }
        const int v = int(buf & ((int64_t(1) << n) - 1));
        buf >>= n;
        cnt -= n;
        return v;
    }
    void NeedBits(int n) {
        while (cnt < n && pos < in.size()) {
            buf += int64_t(in[pos++]) << cnt;
            cnt += 8;
        }
    }
    int Decode(const Table &t) {
        NeedBits(t.longest);
        for (int l = t.shortest; l >= 1 && l <= t.longest; ++l) {
            const size_t i = size_t(buf & ((int64_t(1) << l) - 1));
            if (t.len[i] == l) {
                buf >>= l;
                cnt -= l;
                return t.sym[i];
            }
        }
        throw Fail{};
    }
    void Put(uint8_t b) {
        if (outPos >= out.size())
            throw Fail{};
        out[outPos++] = b;
    }
    void Stored() {
        if (pos + 4 >= in.size())
            throw Fail{};
        pos -= size_t(cnt / 8);
        cnt %= 8;
        const int len = in[pos] | (in[pos + 1] << 8), nlen = in[pos + 2] | (in[pos + 3] << 8);
        pos += 4;
        if (len != (~nlen & 0xFFFF) || pos + size_t(len) > in.size() || outPos + size_t(len) > out.size())
            throw Fail{};
        std::copy_n(in.begin() + std::ptrdiff_t(pos), len, out.begin() + std::ptrdiff_t(outPos));
        pos += size_t(len);
        outPos += size_t(len);
        buf = 0;
        cnt = 0;
    }
    void Symbols(const Table &lit, const Table &dist, bool longLengths) {
        for (;;) {
            const int s = Decode(lit);
            if (s < 256) {
                Put(uint8_t(s));
                continue;
            }
            if (s == 256)
                return;
            if (s > 285)
                throw Fail{};
            int length = kLenBase[s - 257] + ReadBits(kLenExtra[s - 257]);
            if (longLengths && length == 258)
                length = ReadBits(16) + 3;
            const int d = Decode(dist);
            const size_t distance = size_t(kDistBase[d] + ReadBits(kDistExtra[d]));
            if (distance > outPos)
                throw Fail{};
            for (int i = 0; i < length; ++i)
                Put(out[outPos - distance]);
        }
    }
    void Dynamic(Table &lit, Table &dist) {
        const int hlit = ReadBits(5) + 257, hdist = ReadBits(5) + 1, hclen = ReadBits(4) + 4;
        int cl[19] = {};
        for (int i = 0; i < hclen; ++i)
            cl[kOrder[i]] = ReadBits(3);
        const Table clt = Build(cl, 19);
        std::vector<int> lengths(size_t(hlit + hdist), 0);
        int n = 0;
        while (n < hlit + hdist) {
            const int s = Decode(clt);
            if (s < 16) {
                lengths[size_t(n++)] = s;
                continue;
            }
            int repeat, value = 0;
            if (s == 16) {
                if (n == 0)
                    throw Fail{};
                value = lengths[size_t(n - 1)];
                repeat = ReadBits(2) + 3;
            } else if (s == 17) {
                repeat = ReadBits(3) + 3;
            } else {
                repeat = ReadBits(7) + 11;
            }
            if (n + repeat > hlit + hdist)
                throw Fail{};
            while (repeat--)
                lengths[size_t(n++)] = value;
        }
        lit = Build(lengths.data(), hlit);
        dist = Build(lengths.data() + hlit, hdist);
    }
};

}  // namespace

bool ModelInflate(std::vector<uint8_t> &output, const std::vector<uint8_t> &input, bool longLengths) {
    std::fill(output.begin(), output.end(), 0);
    Model m{input, output};
    try {
        int fixedLit[288], fixedDist[32];
        std::fill_n(fixedLit, 144, 8);
        std::fill_n(fixedLit + 144, 112, 9);
        std::fill_n(fixedLit + 256, 24, 7);
        std::fill_n(fixedLit + 280, 8, 8);
        std::fill_n(fixedDist, 32, 5);
        const Table fl = Build(fixedLit, 288), fd = Build(fixedDist, 32);
        for (;;) {
            const int final = m.ReadBits(1), type = m.ReadBits(2);
            if (type == 0) {
                m.Stored();
            } else if (type == 1) {
                m.Symbols(fl, fd, longLengths);
            } else if (type == 2) {
                Table lit, dist;
                m.Dynamic(lit, dist);
                m.Symbols(lit, dist, longLengths);
            } else {
                throw Fail{};
            }
            if (final)
                return true;
        }
    } catch (const Fail &) {
        return false;
    }
}
