#include "inflate/inflate_stream.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <memory>
#include <span>

#include "inflate/huffman_table.h"

// The decoder keeps a 64-bit bit buffer. While at least 8 input bytes and a full match worth
// of output room remain, a fast loop decodes without bounds checks; near either end a careful
// loop takes over that checks every read and write.
//
// Bits past the end of the input read as zero while a Huffman code is looked up, so a stream
// cut off inside its last block can still end on a code of zeros. Every other read (block
// headers, extra bits, stored blocks) fails once it would take a bit that is not there.
//
// `reach` follows how far a reader that loads whole bytes only on demand would have loaded;
// a stored block needs one byte beyond its LEN and NLEN counted from that point.

namespace lumio {

namespace {

using namespace huffman;

constexpr size_t kFastOutRoom = 258 + 16;  // a whole match and the word copies past it

inline uint64_t Load64(const uint8_t *p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;  // little-endian targets only
}

struct BitReader {
    // The input may come in pieces (the data of several chunks); positions count across them.
    std::span<const std::span<const uint8_t>> pieces;
    size_t next = 0;           // the piece after the current one
    uint64_t before = 0;       // bytes of the pieces before the current one
    uint64_t total = 0;        // bytes of all pieces
    const uint8_t *start = nullptr;  // the current piece
    const uint8_t *in = nullptr;
    const uint8_t *end = nullptr;
    uint64_t bits = 0;
    unsigned count = 0;    // valid bits in `bits`
    size_t phantom = 0;    // zero bytes appended after the end of the input
    uint64_t reach = 0;    // see above, in bits from the start of the input

    BitReader(std::span<const std::span<const uint8_t>> p) : pieces(p) {
        for (const auto &piece : p)
            total += piece.size();
        Seek(0);
    }

    uint64_t Offset() const { return before + uint64_t(in - start); }
    uint64_t Position() const { return (Offset() + phantom) * 8 - count; }

    // Moves to the piece holding byte `at` (at most the total); the bit buffer is not touched.
    void Seek(uint64_t at) {
        before = 0;
        next = 0;
        start = in = end = nullptr;
        while (next < pieces.size()) {
            const auto &piece = pieces[next++];
            start = piece.data();
            end = start + piece.size();
            if (at - before < piece.size() || next == pieces.size()) {
                in = start + std::min<uint64_t>(at - before, piece.size());
                return;
            }
            before += piece.size();
        }
    }
    // Steps over finished pieces; true when a byte is there to read.
    bool More() {
        while (in == end && next < pieces.size()) {
            before += uint64_t(end - start);
            start = in = pieces[next].data();
            end = start + pieces[next++].size();
        }
        return in < end;
    }
    void Copy(uint64_t at, uint8_t *dest, size_t n) {
        Seek(at);
        while (n) {
            More();
            const size_t k = std::min(n, size_t(end - in));
            std::memcpy(dest, in, k);
            dest += k;
            in += k;
            n -= k;
        }
    }

    void Refill() {
        if (count >= 56)
            return;
        if (end - in >= 8) {
            // A whole word at once; the bits above `count` are those of the bytes that follow.
            bits |= Load64(in) << count;
            in += (63 - count) >> 3;
            count |= 56;
            return;
        }
        while (count < 56) {
            uint64_t b = 0;
            if (in < end || More())
                b = *in++;
            else
                ++phantom;
            bits |= b << count;
            count += 8;
        }
    }
    void Drop(unsigned n) {
        bits >>= n;
        count -= n;
    }
    // A plain read: fails when it takes bits past the end of the input.
    bool Read(unsigned n, uint32_t &value) {
        Refill();
        value = uint32_t(bits & ((uint64_t(1) << n) - 1));
        Drop(n);
        return count >= phantom * 8;
    }
    // Looks up one code and takes its bits, not its extra bits; the caller checks the flags.
    uint32_t Decode(const uint32_t *table, unsigned rootBits, unsigned longest) {
        Refill();
        reach = std::max(reach, Position() + longest);
        uint32_t e = table[bits & ((1u << rootBits) - 1)];
        if (e & kSubtable)
            e = FollowLink(table, e, bits, rootBits);
        Drop(EntryLength(e));
        return e;
    }
};

enum class Step { Continue, EndOfBlock, Error };

// Where symbols go. Alone, the whole output; with a sink, a window that is handed on and
// slid down when full, keeping the last kHistory bytes for matches to reach back into.
constexpr size_t kHistory = 65536;        // the farthest distance codes 30 and 31 reach
constexpr size_t kWindowRoom = 1u << 17;  // beyond the history

struct Output {
    uint8_t *start;
    uint8_t *pos;
    uint8_t *end;  // the window's end, or sooner where the output ends
    InflateSink *sink = nullptr;
    uint8_t *handed = nullptr;  // first byte not yet given to the sink
    size_t window = 0;
    uint64_t total = 0;       // bytes the whole output holds
    uint64_t discarded = 0;   // bytes slid out of the window

    bool AtOutputEnd() const { return !sink || uint64_t(end - start) == total - discarded; }
    uint64_t Remaining() const { return sink ? total - discarded - uint64_t(pos - start) : uint64_t(end - pos); }
    void Slide() {
        sink->Take({handed, pos});
        const size_t keep = std::min(kHistory, size_t(pos - start));
        std::memmove(start, pos - keep, keep);
        discarded += uint64_t(pos - start) - keep;
        pos = handed = start + keep;
        end = start + size_t(std::min<uint64_t>(window, total - discarded));
    }
    // Room for `need` bytes unless the output ends sooner.
    void MakeRoom(size_t need) {
        if (size_t(end - pos) < need && !AtOutputEnd())
            Slide();
    }
};

// A period of 1 to 7 bytes repeated across a word: the word's first `period` bytes times
// kSplat, stored every kStride bytes.
constexpr uint64_t kPeriodMask[8] = {0, 0xFF, 0xFFFF, 0xFFFFFF, 0xFFFFFFFF, 0xFFFFFFFFFF, 0xFFFFFFFFFFFF,
                                     0xFFFFFFFFFFFFFF};
constexpr uint64_t kSplat[8] = {0, 0x0101010101010101, 0x0001000100010001, 0x0000001000001,
                                0x0000000100000001, 0x0000010000000001, 0x0001000000000001, 0x0100000000000001};
constexpr uint8_t kStride[8] = {0, 8, 8, 6, 8, 5, 6, 7};

// Copies a match of at least 3 bytes; may write up to 7 bytes past it.
inline void CopyMatch(uint8_t *out, size_t dist, size_t length) {
    const uint8_t *src = out - dist;
    uint8_t *const stop = out + length;
    if (dist >= 8) {
        // Most matches are short: three words without a test, then a loop for the rest.
        std::memcpy(out, src, 8);
        std::memcpy(out + 8, src + 8, 8);
        std::memcpy(out + 16, src + 16, 8);
        if (length > 24) {
            out += 24;
            src += 24;
            do {
                std::memcpy(out, src, 8);
                out += 8;
                src += 8;
            } while (out < stop);
        }
    } else {
        const uint64_t v = (Load64(src) & kPeriodMask[dist]) * kSplat[dist];
        const size_t stride = kStride[dist];
        do {
            std::memcpy(out, &v, 8);
            out += stride;
        } while (out < stop);
    }
}

// One symbol (with its match) through the careful path.
Step SlowSymbol(BitReader &br, Output &o, const CodeTables &t, bool longLengths) {
    o.MakeRoom(longLengths ? 65535 + 3 : 258);
    uint32_t e = br.Decode(t.litlen, t.litlenRoot, t.litlenLongest);
    if (int32_t(e) < 0) {
        if (o.pos >= o.end)
            return Step::Error;
        *o.pos++ = uint8_t(e >> 16);
        return Step::Continue;
    }
    if (e & kExceptional)
        return (e & kEndOfBlock) ? Step::EndOfBlock : Step::Error;
    uint32_t extra;
    if (!br.Read(EntryExtra(e), extra))
        return Step::Error;
    size_t length = (e >> 16) + extra;
    if (longLengths && length == 258) {
        uint32_t longLength;
        if (!br.Read(16, longLength))
            return Step::Error;
        length = size_t(longLength) + 3;
    }
    e = br.Decode(t.dist, t.distRoot, t.distLongest);
    if (e & kExceptional)
        return Step::Error;
    if (!br.Read(EntryExtra(e), extra))
        return Step::Error;
    size_t dist = (e >> 16) + extra;
    if (dist > size_t(o.pos - o.start) || length > size_t(o.end - o.pos))
        return Step::Error;
    const uint8_t *src = o.pos - dist;
    for (size_t i = 0; i < length; ++i)
        o.pos[i] = src[i];
    o.pos += length;
    return Step::Continue;
}

// The fast loop's state, in locals while it runs.
struct FastState {
    const uint8_t *in;
    const uint8_t *inLimit;  // the loop runs while in <= inLimit: two word loads fit
    uint8_t *out;
    uint8_t *outLimit;  // ... and while out <= outLimit: a whole match fits
    const uint8_t *outStart;
    uint64_t bits;
    unsigned count;
    const uint8_t *distIn = nullptr;  // where the latest distance code began: in and count
    unsigned distCount = 0;
};

// Only the low 6 bits of `count` are kept exact; its higher bits take the flags of the
// entries subtracted whole (cheaper than masking each one).
inline __attribute__((always_inline)) bool FastLoopBody(FastState &f, const CodeTables &t) {
    const uint32_t *const lit = t.litlen;
    const uint32_t *const dst = t.dist;
    const unsigned litRoot = t.litlenRoot, distRoot = t.distRoot;
    const uint64_t litMask = (1u << litRoot) - 1;
    const uint64_t distMask = (1u << distRoot) - 1;
    const uint8_t *in = f.in;
    const uint8_t *const inLimit = f.inLimit;
    uint8_t *out = f.out;
    uint8_t *const outLimit = f.outLimit;
    const uint8_t *const outStart = f.outStart;
    uint64_t bits = f.bits;
    unsigned count = f.count;
    const uint8_t *distIn = f.distIn;
    unsigned distCount = f.distCount;
    bool failed = false;

    // Whole words in; afterwards 56 to 63 bits are valid. Bits above `count` are already
    // those of the bytes at `in`, so a refill that adds nothing does no harm.
    auto refill = [&] {
        bits |= Load64(in) << (count & 63);
        in += 7 - ((count >> 3) & 7);
        count |= 56;
    };
    auto lookup = [&](const uint32_t *table, uint64_t mask, unsigned root) {
        uint32_t e = table[bits & mask];
        if (e & kSubtable) [[unlikely]]
            e = FollowLink(table, e, bits, root);
        return e;
    };
    // Takes a literal's code and writes its byte.
    auto literal = [&](uint32_t e) {
        bits >>= EntryBits(e);
        count -= e;
        *out++ = uint8_t(e >> 16);
    };
    // Takes the code and extra bits of a length or distance entry and gives its value.
    auto value = [&](uint32_t e) {
        const uint64_t saved = bits;
        bits >>= EntryBits(e);
        count -= e;
        return size_t(e >> 16) + size_t((saved & ((uint64_t(1) << EntryBits(e)) - 1)) >> ((e >> 8) & 63));
    };

    refill();
    // All 64 bits of `bits` are stream bits after a refill, so a code can be looked up
    // before the refill that precedes taking its bits: the lookup's load then overlaps the
    // refill instead of waiting for it.
    while (in <= inLimit && out <= outLimit) {
        uint32_t e = lit[bits & litMask];
        refill();
        if (e & kSubtable) [[unlikely]]
            e = FollowLink(lit, e, bits, litRoot);
        if (int32_t(e) < 0) {
            // Up to three literals fit in one refill (15 bits each at most).
            literal(e);
            e = lookup(lit, litMask, litRoot);
            if (int32_t(e) < 0) {
                literal(e);
                e = lookup(lit, litMask, litRoot);
                if (int32_t(e) < 0) {
                    literal(e);
                    continue;
                }
            }
            // A whole match (49 bits at most) after the literals.
            refill();
        }
        if (e & kExceptional) [[unlikely]]
            break;  // end of block or an invalid code: the careful path decides
        const size_t length = value(e);

        distIn = in;
        distCount = count;
        e = lookup(dst, distMask, distRoot);
        if (e & kExceptional) [[unlikely]] {
            failed = true;
            break;
        }
        const size_t dist = value(e);
        if (dist > size_t(out - outStart)) [[unlikely]] {
            failed = true;
            break;
        }
        CopyMatch(out, dist, length);
        out += length;
    }
    f.in = in;
    f.out = out;
    f.bits = bits;
    f.count = count & 63;
    f.distIn = distIn;
    f.distCount = distCount & 63;
    return !failed;
}

bool FastLoopPortable(FastState &f, const CodeTables &t) { return FastLoopBody(f, t); }

using FastLoopFn = bool (*)(FastState &, const CodeTables &);
std::atomic<bool> forcePortable{false};

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
// The same loop with BMI2's shifts, which need no CL and leave the flags alone.
__attribute__((target("bmi2"))) bool FastLoopBmi2(FastState &f, const CodeTables &t) { return FastLoopBody(f, t); }

FastLoopFn PickLoop() {
    static const FastLoopFn best = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("bmi2") ? FastLoopBmi2 : FastLoopPortable;
    }();
    return forcePortable.load(std::memory_order_relaxed) ? FastLoopPortable : best;
}
#else
FastLoopFn PickLoop() { return FastLoopPortable; }
#endif

// Decodes symbols until the end of the block. The fast loop only runs while the input holds
// 16 more bytes (so it never appends zeros) and the output has room for a whole match.
bool HuffmanBlock(BitReader &br, Output &o, const CodeTables &t, bool longLengths) {
    for (;;) {
        if (!longLengths && br.phantom == 0 && br.end - br.in >= 16 &&
            size_t(o.end - o.pos) >= kFastOutRoom) {
            FastState f{br.in, br.end - 15, o.pos, o.end - kFastOutRoom, o.start, br.bits, br.count};
            const bool ok = PickLoop()(f, t);
            br.in = f.in;
            br.bits = f.bits;
            br.count = f.count;
            o.pos = f.out;
            if (f.distIn) {
                const uint64_t at = (br.before + uint64_t(f.distIn - br.start)) * 8 - f.distCount;
                br.reach = std::max(br.reach, at + t.distLongest);
            }
            if (!ok)
                return false;
        }
        const Step s = SlowSymbol(br, o, t, longLengths);
        if (s == Step::Error)
            return false;
        if (s == Step::EndOfBlock)
            return true;
    }
}

bool StoredBlock(BitReader &br, Output &o) {
    const uint64_t p = br.Position();
    const uint64_t size = br.total;
    const uint64_t loaded = std::max((std::min(br.reach, size * 8) + 7) / 8, (p + 7) / 8);
    if (loaded + 4 >= size)
        return false;
    const uint64_t at = (p + 7) / 8;
    uint8_t q[4];
    br.Copy(at, q, 4);
    const unsigned len = q[0] | (q[1] << 8);
    const unsigned nlen = q[2] | (q[3] << 8);
    if (len != (~nlen & 0xFFFFu))
        return false;
    if (len > size - at - 4 || len > o.Remaining())
        return false;
    br.Seek(at + 4);
    for (size_t left = len; left;) {
        if (o.pos == o.end)
            o.Slide();
        const size_t n = std::min(left, size_t(o.end - o.pos));
        br.Copy(at + 4 + (len - left), o.pos, n);
        o.pos += n;
        left -= n;
    }
    br.Seek(at + 4 + len);
    br.bits = 0;
    br.count = 0;
    br.phantom = 0;
    br.reach = br.Position();
    return true;
}

bool DynamicTables(BitReader &br, CodeTables &t) {
    uint32_t hlit, hdist, hclen;
    if (!br.Read(5, hlit) || !br.Read(5, hdist) || !br.Read(4, hclen))
        return false;
    hlit += 257;
    hdist += 1;
    hclen += 4;
    uint8_t clLengths[19] = {};
    for (unsigned i = 0; i < hclen; ++i) {
        uint32_t v;
        if (!br.Read(3, v))
            return false;
        clLengths[kCodeLengthOrder[i]] = uint8_t(v);
    }
    uint32_t clTable[1u << kCodeLengthRootBits];
    unsigned clLongest, clRoot;
    if (!BuildCodeLengthTable(clLengths, clTable, clLongest, clRoot))
        return false;

    uint8_t lengths[kMaxLitlenSymbols + kMaxDistSymbols] = {};
    const unsigned total = hlit + hdist;
    unsigned n = 0;
    while (n < total) {
        const uint32_t e = br.Decode(clTable, clRoot, clLongest);
        if (e & kExceptional)
            return false;
        const unsigned sym = e >> 16;
        if (sym < 16) {
            lengths[n++] = uint8_t(sym);
            continue;
        }
        uint32_t r;
        unsigned repeat;
        uint8_t value = 0;
        if (sym == 16) {
            if (n == 0)
                return false;
            if (!br.Read(2, r))
                return false;
            repeat = r + 3;
            value = lengths[n - 1];
        } else if (sym == 17) {
            if (!br.Read(3, r))
                return false;
            repeat = r + 3;
        } else {
            if (!br.Read(7, r))
                return false;
            repeat = r + 11;
        }
        if (repeat > total - n)
            return false;
        std::memset(lengths + n, value, repeat);
        n += repeat;
    }
    return BuildLitlenTable(lengths, hlit, t) && BuildDistTable(lengths + hlit, hdist, t);
}

bool InflateBlocks(BitReader &br, Output &o, bool longLengths) {
    if (br.total < 2)
        return false;
    br.Seek(2);
    br.reach = br.Position();
    std::unique_ptr<CodeTables> dynamic;

    for (;;) {
        uint32_t final, type;
        if (!br.Read(1, final) || !br.Read(2, type))
            return false;
        bool ok;
        if (type == 0) {
            ok = StoredBlock(br, o);
        } else if (type == 1) {
            ok = HuffmanBlock(br, o, FixedCodeTables(), longLengths);
        } else if (type == 2) {
            if (!dynamic)
                dynamic.reset(new CodeTables);  // filled by the table builder, not zeroed
            ok = DynamicTables(br, *dynamic) && HuffmanBlock(br, o, *dynamic, longLengths);
        } else {
            ok = false;
        }
        if (!ok)
            return false;
        if (final)
            return true;
    }
}

}  // namespace

void InflateForcePortable(bool on) { forcePortable.store(on, std::memory_order_relaxed); }

bool InflateStream(std::span<uint8_t> output, std::span<const uint8_t> input, bool longLengths) {
    const std::span<const uint8_t> pieces[1] = {input};
    BitReader br(pieces);
    Output o{output.data(), output.data(), output.data() + output.size()};
    if (!InflateBlocks(br, o, longLengths))
        return false;
    if (o.pos < o.end)
        std::memset(o.pos, 0, size_t(o.end - o.pos));
    return true;
}

bool InflateStream(uint64_t outputSize, std::span<const std::span<const uint8_t>> input, InflateSink &sink,
                   bool longLengths, size_t windowRoom) {
    BitReader br(input);
    const size_t longest = longLengths ? 65535 + 3 : 258;
    const size_t room = std::max(windowRoom ? windowRoom : kWindowRoom, longest);
    const size_t window = size_t(std::min<uint64_t>(outputSize, kHistory + room));
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[window ? window : 1]);
    Output o{buffer.get(), buffer.get(), buffer.get() + window, &sink, buffer.get(), window, outputSize};
    if (!InflateBlocks(br, o, longLengths))
        return false;
    sink.Take({o.handed, o.pos});
    // An early end: the rest reads as zeros.
    static const uint8_t kZeros[4096] = {};
    for (uint64_t left = o.Remaining(); left;) {
        const size_t n = size_t(std::min<uint64_t>(left, sizeof kZeros));
        sink.Take({kZeros, n});
        left -= n;
    }
    return true;
}

}  // namespace lumio
