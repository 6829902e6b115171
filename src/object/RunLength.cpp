// The chunk's run-length codec (signed code byte: 0..127 literal, -128..-1 repeat)
// and the object checksum (XOR into the low byte, rotate left by 11).
#include "object/RunLength.h"

#include <bit>
#include <cstring>
#include <string>

namespace trellisor {

Result<std::size_t> measureRunLength(std::span<const std::uint8_t> coded, std::size_t maxOutput) {
    using R = Result<std::size_t>;
    std::uint64_t total = 0;
    std::size_t pos = 0;
    const std::size_t n = coded.size();
    while (pos < n) {
        const std::int8_t c = std::int8_t(coded[pos]);
        if (c >= 0) {
            const std::size_t count = std::size_t(c) + 1;
            if (count > n - pos - 1)
                return R::fail("run-length record cut off at byte " + std::to_string(pos));
            total += count;
            pos += 1 + count;
        } else {
            if (pos + 1 >= n) return R::fail("run-length record cut off at byte " + std::to_string(pos));
            total += std::size_t(1 - int(c));
            pos += 2;
        }
        if (total > maxOutput)
            return R::fail("decoded chunk exceeds " + std::to_string(maxOutput) + " bytes");
    }
    return R::ok(std::size_t(total));
}

void decodeRunLengthTo(std::span<const std::uint8_t> coded, std::uint8_t* out, std::size_t outSize) {
    // Records are short (a few bytes on average), so calls of memcpy/memset of a variable
    // size dominate. Away from both ends, whole 16-byte blocks are copied instead, which
    // may write past the record's end into bytes the next records overwrite anyway.
    constexpr std::size_t kBlock = 16, kSlack = 129 + kBlock;
    const std::uint8_t* p = coded.data();
    const std::uint8_t* const end = p + coded.size();
    std::uint8_t* const outEnd = out + outSize;
    while (p < end) {
        const std::int8_t c = std::int8_t(*p);
        const bool roomy = std::size_t(outEnd - out) >= kSlack;
        if (c >= 0) {
            const std::size_t count = std::size_t(c) + 1;
            if (roomy && std::size_t(end - p) >= kSlack) {
                for (std::size_t i = 0; i < count; i += kBlock) std::memcpy(out + i, p + 1 + i, kBlock);
            } else {
                std::memcpy(out, p + 1, count);
            }
            out += count;
            p += 1 + count;
        } else {
            const std::size_t count = std::size_t(1 - int(c));
            if (roomy) {
                const std::uint8_t v = p[1];
                for (std::size_t i = 0; i < count; i += kBlock) std::memset(out + i, v, kBlock);
            } else {
                std::memset(out, p[1], count);
            }
            out += count;
            p += 2;
        }
    }
}

Result<std::vector<std::uint8_t>> decodeRunLength(std::span<const std::uint8_t> coded,
                                                  std::size_t maxOutput) {
    // Measured first, so the output is allocated once and the limit holds before any memory is taken.
    auto size = measureRunLength(coded, maxOutput);
    if (!size) return Result<std::vector<std::uint8_t>>::fail(size.error());
    std::vector<std::uint8_t> out(size.value());
    decodeRunLengthTo(coded, out.data(), out.size());
    return Result<std::vector<std::uint8_t>>::ok(std::move(out));
}

std::size_t countRepeatRun(const std::uint8_t* p, std::size_t remaining) {
    std::size_t n = 1;
    while (n < remaining && p[n] == p[0] && n < 127) ++n;
    return n;
}

std::size_t countLiteralRun(const std::uint8_t* p, std::size_t remaining) {
    std::size_t n = 1;
    while (n < remaining && p[n] != p[n - 1] && n < 127) ++n;
    // The last byte counted may open a repeat, so it is left for the next record.
    return n > 1 ? n - 1 : 1;
}

std::vector<std::uint8_t> encodeRunLength(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> out;
    out.reserve(bytes.size() + bytes.size() / 64 + 16);
    std::size_t pos = 0;
    const std::size_t size = bytes.size();
    while (pos < size) {
        const std::uint8_t* p = bytes.data() + pos;
        std::size_t n = countRepeatRun(p, size - pos);
        if (n > 1) {
            out.push_back(std::uint8_t(1 - int(n)));
            out.push_back(p[0]);
        } else {
            n = countLiteralRun(p, size - pos);
            out.push_back(std::uint8_t(n - 1));
            out.insert(out.end(), p, p + n);
        }
        pos += n;
    }
    return out;
}

std::uint32_t objectChecksum(std::uint8_t flagsByte0, const std::array<char, 8>& name,
                             std::span<const std::uint8_t> chunk) {
    std::uint32_t sum = 0xF369A75Bu;
    auto add = [&sum](std::uint8_t b) { sum = std::rotl(sum ^ b, 11); };
    add(flagsByte0);
    for (char c : name) add(std::uint8_t(c));

    // Rotating by 11 is linear over XOR, and 32 rotations by 11 are a whole turn. So a
    // block of 32 bytes changes the sum by XOR with a value of the block alone, in which
    // byte j is rotated by 11 x (32 - j); and the bytes of every block with the same j can
    // be XORed together first. That turns the serial chain into a plain XOR over the chunk.
    const std::size_t blocks = chunk.size() / 32;
    std::uint64_t lanes[4] = {0, 0, 0, 0};
    const std::uint8_t* p = chunk.data();
    for (std::size_t b = 0; b < blocks; ++b, p += 32) {
        for (int k = 0; k < 4; ++k) {
            std::uint64_t v;
            std::memcpy(&v, p + 8 * k, 8);
            lanes[k] ^= v;
        }
    }
    std::uint8_t folded[32];
    std::memcpy(folded, lanes, sizeof folded);  // XOR worked byte by byte, whatever the byte order
    std::uint32_t fromBlocks = 0;
    for (int j = 0; j < 32; ++j) fromBlocks ^= std::rotl(std::uint32_t(folded[j]), (11 * (32 - j)) % 32);
    sum ^= fromBlocks;
    for (std::size_t i = blocks * 32; i < chunk.size(); ++i) add(chunk[i]);
    return sum;
}

}  // namespace trellisor
