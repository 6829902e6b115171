// Run-length codec and checksum: the documented byte examples, refusals, and random round trips.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "object/RunLength.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes decodeOk(const Bytes& coded) {
    auto r = decodeRunLength(coded, 1u << 20);
    EXPECT_TRUE(r.isOk()) << r.error();
    return r ? r.value() : Bytes{};
}

TEST(RunLengthDecode, RecordKinds) {
    EXPECT_EQ(decodeOk({0x02, 0x41, 0x42, 0x43, 0xFE, 0x44}), (Bytes{0x41, 0x42, 0x43, 0x44, 0x44, 0x44}));

    Bytes literal128 = {0x7F};
    for (int i = 0; i < 128; ++i) literal128.push_back(std::uint8_t(i * 3));
    Bytes out = decodeOk(literal128);
    ASSERT_EQ(out.size(), 128u);
    EXPECT_EQ(out[127], std::uint8_t(127 * 3));

    EXPECT_EQ(decodeOk({0x80, 0x5A}), Bytes(129, 0x5A));
    EXPECT_EQ(decodeOk({0xFF, 0x07}), Bytes(2, 0x07));
    EXPECT_EQ(decodeOk({}), Bytes{});
}

TEST(RunLengthDecode, RefusesCutOffRecordsAndOversizedOutput) {
    auto literal = decodeRunLength(Bytes{0x00, 0x41, 0x03, 0x41, 0x42}, 1000);
    ASSERT_FALSE(literal.isOk());
    EXPECT_EQ(literal.error(), "run-length record cut off at byte 2");

    auto repeat = decodeRunLength(Bytes{0x00, 0x41, 0xF0}, 1000);
    ASSERT_FALSE(repeat.isOk());
    EXPECT_EQ(repeat.error(), "run-length record cut off at byte 2");

    EXPECT_TRUE(decodeRunLength(Bytes{0x80, 0, 0x80, 0}, 258).isOk());
    auto big = decodeRunLength(Bytes{0x80, 0, 0x80, 0}, 257);
    ASSERT_FALSE(big.isOk());
    EXPECT_NE(big.error().find("257"), std::string::npos);
}

TEST(RunLengthEncode, RunRules) {
    EXPECT_EQ(encodeRunLength(Bytes{0x41, 0x42, 0x43}), (Bytes{0x01, 0x41, 0x42, 0x00, 0x43}));
    EXPECT_EQ(encodeRunLength(Bytes{0x41, 0x41, 0x41, 0x42}), (Bytes{0xFE, 0x41, 0x00, 0x42}));
    EXPECT_EQ(encodeRunLength(Bytes{0x41, 0x42}), (Bytes{0x00, 0x41, 0x00, 0x42}));
    EXPECT_EQ(encodeRunLength(Bytes{0x41, 0x42, 0x42}), (Bytes{0x00, 0x41, 0xFF, 0x42}));
    EXPECT_EQ(encodeRunLength(Bytes(300, 0)), (Bytes{0x82, 0x00, 0x82, 0x00, 0xD3, 0x00}));
    EXPECT_EQ(encodeRunLength(Bytes{}), Bytes{});
    EXPECT_EQ(encodeRunLength(Bytes{0x09}), (Bytes{0x00, 0x09}));

    Bytes distinct(200);
    for (int i = 0; i < 200; ++i) distinct[std::size_t(i)] = std::uint8_t(i);
    Bytes coded = encodeRunLength(distinct);
    ASSERT_EQ(coded.size(), 3u + 200u);
    EXPECT_EQ(coded[0], 0x7D);
    EXPECT_EQ(coded[1 + 126], 0x48);
    EXPECT_EQ(coded[2 + 126 + 73], 0x00);
    EXPECT_EQ(coded[3 + 126 + 73], 199);

    EXPECT_EQ(countRepeatRun(Bytes(200, 1).data(), 200), 127u);
    EXPECT_EQ(countLiteralRun(distinct.data(), 200), 126u);
    EXPECT_EQ(countLiteralRun(distinct.data(), 1), 1u);
}

TEST(RunLengthEncode, RandomRoundTripsUseOnlyLegalRecords) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 200; ++round) {
        Bytes data(rng() % 2000);
        // Mix long repeats, short repeats and noise.
        for (std::size_t i = 0; i < data.size(); ++i) {
            int mode = int(rng() % 4);
            data[i] = mode == 0 ? std::uint8_t(rng()) : (i ? data[i - 1] : 0);
        }
        Bytes coded = encodeRunLength(data);
        EXPECT_EQ(decodeOk(coded), data);
        // The writer never emits a literal run of more than 126 bytes or a repeat of more than 127.
        std::size_t pos = 0;
        while (pos < coded.size()) {
            auto c = std::int8_t(coded[pos]);
            ASSERT_GE(c, -126);
            ASSERT_LE(c, 125);
            pos += c >= 0 ? std::size_t(c) + 2 : 2;
        }
    }
}

TEST(ObjectChecksum, KnownValueAndCoverage) {
    std::array<char, 8> name;
    std::memcpy(name.data(), "ABC     ", 8);
    const Bytes chunk = {0x61, 0x62, 0x63};
    EXPECT_EQ(objectChecksum(5, name, chunk), 0x9C0FEFB5u);
    EXPECT_NE(objectChecksum(6, name, chunk), 0x9C0FEFB5u);
    EXPECT_NE(objectChecksum(5, name, Bytes{0x61, 0x62, 0x64}), 0x9C0FEFB5u);
    name[7] = 'X';
    EXPECT_NE(objectChecksum(5, name, chunk), 0x9C0FEFB5u);
}

TEST(ObjectChecksum, BlockFoldingMatchesTheByteByByteDefinition) {
    // The definition: XOR each byte into the low byte, then rotate left by 11.
    auto reference = [](std::uint8_t flags0, const std::array<char, 8>& name, const Bytes& chunk) {
        std::uint32_t sum = 0xF369A75Bu;
        auto add = [&sum](std::uint8_t b) {
            sum = (sum & 0xFFFFFF00u) | ((sum ^ b) & 0xFFu);
            sum = (sum << 11) | (sum >> 21);
        };
        add(flags0);
        for (char c : name) add(std::uint8_t(c));
        for (auto b : chunk) add(b);
        return sum;
    };
    std::mt19937 rng(99);
    std::array<char, 8> name;
    std::memcpy(name.data(), "RANDOM  ", 8);
    for (std::size_t size : {0, 1, 31, 32, 33, 63, 64, 65, 100, 1000, 4099}) {
        Bytes chunk(size);
        for (auto& b : chunk) b = std::uint8_t(rng());
        EXPECT_EQ(objectChecksum(0x15, name, chunk), reference(0x15, name, chunk)) << size;
    }
}

}  // namespace
}  // namespace trellisor
