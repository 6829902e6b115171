// The chunk's run-length codec and the object checksum: record kinds, refusals, the
// writer's run rules, random round trips, and the checksum against its definition.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "object/RunLength.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes decodeOk(const Bytes& coded) {
    auto r = decodeRunLength(coded, 1u << 20);
    EXPECT_TRUE(r) << r.error();
    return r ? r.value() : Bytes{};
}

Bytes literal(int count, int from) {
    Bytes b = {std::uint8_t(count - 1)};
    for (int i = 0; i < count; ++i) b.push_back(std::uint8_t(from + i));
    return b;
}

TEST(RunLength, DecodesRecordsAndRefusesCutOrOversizedInput) {
    const Bytes long128 = literal(128, 3);
    const std::pair<Bytes, Bytes> cases[] = {
        {{0x02, 0x41, 0x42, 0x43, 0xFE, 0x44}, {0x41, 0x42, 0x43, 0x44, 0x44, 0x44}},
        {long128, Bytes(long128.begin() + 1, long128.end())},
        {{0xFE, 0x44, 0x01, 0x41, 0x42}, {0x44, 0x44, 0x44, 0x41, 0x42}},  // ends exactly
        {{0x80, 0x5A}, Bytes(129, 0x5A)},
        {{0xFF, 0x07}, Bytes(2, 0x07)},
        {{}, {}},
    };
    for (const auto& [coded, plain] : cases) EXPECT_EQ(decodeOk(coded), plain);
    // Records with room around them are copied in whole blocks; a short literal just before
    // long repeats (much output left, little input) must not read past the input, and
    // nothing is written past the output.
    Bytes coded, plain;
    for (auto [count, from] : {std::pair{100, 0}, {30, 100}, {20, 7}}) {
        const Bytes lit = literal(count, from);
        coded.insert(coded.end(), lit.begin(), lit.end());
        plain.insert(plain.end(), lit.begin() + 1, lit.end());
    }
    coded.insert(coded.end(), long128.begin(), long128.end());
    plain.insert(plain.end(), long128.begin() + 1, long128.end());
    for (std::uint8_t v : {1, 2, 3}) {
        coded.insert(coded.end(), {0x80, v});
        plain.insert(plain.end(), 129, v);
    }
    Bytes out(plain.size() + 200, 0xCC);
    decodeRunLengthTo(coded, out.data(), plain.size());
    EXPECT_EQ(Bytes(out.begin(), out.begin() + std::ptrdiff_t(plain.size())), plain);
    EXPECT_EQ(Bytes(out.begin() + std::ptrdiff_t(plain.size()), out.end()), Bytes(200, 0xCC));

    for (const Bytes& cut :
         {Bytes{0x00, 0x41, 0x03, 0x41, 0x42}, Bytes{0x00, 0x41, 0xF0}, Bytes{0x00, 0x41, 0x01, 0x41}})
        EXPECT_EQ(decodeRunLength(cut, 1000).error(), "run-length record cut off at byte 2");
    EXPECT_EQ(decodeRunLength(Bytes{0x80, 0, 0x80, 0}, 258).value().size(), 258u);
    EXPECT_EQ(decodeRunLength(Bytes{0x80, 0, 0x80, 0}, 257).error(), "decoded chunk exceeds 257 bytes");
    EXPECT_EQ(decodeRunLength(literal(3, 0), 2).error(), "decoded chunk exceeds 2 bytes");
    EXPECT_EQ(measureRunLength(Bytes{0x01, 5, 6, 0xFE, 7}, 5).value(), 5u);
}

TEST(RunLength, EncodesWithTheRunRulesAndRoundTrips) {
    const std::pair<Bytes, Bytes> cases[] = {
        {{0x41, 0x42, 0x43},
         {0x01, 0x41, 0x42, 0x00, 0x43}},  // a literal leaves its last byte for the next record
        {{0x41, 0x41, 0x41, 0x42}, {0xFE, 0x41, 0x00, 0x42}},
        {{0x41, 0x42}, {0x00, 0x41, 0x00, 0x42}},
        {{0x41, 0x42, 0x42}, {0x00, 0x41, 0xFF, 0x42}},
        {Bytes(300, 0), {0x82, 0x00, 0x82, 0x00, 0xD3, 0x00}},  // repeats of at most 127
        {{}, {}},
        {{0x09}, {0x00, 0x09}},
    };
    for (const auto& [plain, coded] : cases) EXPECT_EQ(encodeRunLength(plain), coded);
    Bytes distinct(200);
    for (int i = 0; i < 200; ++i) distinct[std::size_t(i)] = std::uint8_t(i);
    Bytes expected = literal(126, 0);  // literals of at most 126
    const Bytes rest = literal(73, 126), last = literal(1, 199);
    expected.insert(expected.end(), rest.begin(), rest.end());
    expected.insert(expected.end(), last.begin(), last.end());
    EXPECT_EQ(encodeRunLength(distinct), expected);
    EXPECT_EQ(countRepeatRun(Bytes(200, 1).data(), 200), 127u);
    EXPECT_EQ(countRepeatRun(Bytes(200, 1).data(), 5), 5u);

    std::mt19937 rng(1234);
    for (int round = 0; round < 200; ++round) {
        Bytes data(rng() % 2000);
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = rng() % 4 == 0 || i == 0 ? std::uint8_t(rng()) : data[i - 1];
        const Bytes coded = encodeRunLength(data);
        EXPECT_EQ(decodeOk(coded), data);
        for (std::size_t pos = 0; pos < coded.size();) {  // only legal records
            const auto c = std::int8_t(coded[pos]);
            ASSERT_GE(c, -126);
            ASSERT_LE(c, 125);
            pos += c >= 0 ? std::size_t(c) + 2 : 2;
        }
    }
}

TEST(ObjectChecksum, MatchesItsByteByByteDefinition) {
    // XOR each byte into the low byte, then rotate left by 11.
    auto reference = [](std::uint8_t flags0, const std::array<char, 8>& name, const Bytes& chunk) {
        std::uint32_t sum = 0xF369A75Bu;
        auto add = [&sum](std::uint8_t b) {
            sum ^= b;
            sum = (sum << 11) | (sum >> 21);
        };
        add(flags0);
        for (char c : name) add(std::uint8_t(c));
        for (auto b : chunk) add(b);
        return sum;
    };
    std::array<char, 8> name;
    std::memcpy(name.data(), "ABC     ", 8);
    EXPECT_EQ(objectChecksum(5, name, Bytes{0x61, 0x62, 0x63}), 0x9C0FEFB5u);
    std::mt19937 rng(99);
    for (std::size_t size : {0, 1, 31, 32, 33, 63, 64, 65, 100, 1000, 4099}) {
        Bytes chunk(size);
        for (auto& b : chunk) b = std::uint8_t(rng());
        name[size % 8] = char(rng());
        EXPECT_EQ(objectChecksum(std::uint8_t(size), name, chunk), reference(std::uint8_t(size), name, chunk))
            << size;
    }
}

}  // namespace
}  // namespace trellisor
