// Decoding, encoding and checksumming a full-size object chunk, next to memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>

#include "../tests/support/ObjectBuilder.h"
#include "object/ObjectFile.h"
#include "object/RunLength.h"

namespace {

using namespace trellisor;

// 168 row-coded sprites of 64 x 40 pixels shaded like ground textures: stretches of one
// colour broken by neighbouring shades, so the coder meets both repeats and literals.
const std::vector<std::uint8_t>& realisticChunk() {
    static const std::vector<std::uint8_t> chunk = [] {
        std::vector<test::SpriteSpec> sprites;
        std::uint32_t seed = 12345;
        auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) & 0x7FFF;
        };
        for (int i = 0; i < 168; ++i) {
            const std::uint8_t base = std::uint8_t(10 + 12 * (i % 18) + 4);
            std::vector<std::vector<test::Run>> rows;
            for (int y = 0; y < 40; ++y) {
                std::vector<std::uint8_t> row(64);
                std::uint8_t shade = base;
                for (auto& p : row) {
                    if (next() % 5 == 0) shade = std::uint8_t(base + next() % 4);
                    p = shade;
                }
                rows.push_back({test::Run{0, row}});
            }
            sprites.push_back(test::rowCodedSprite(64, rows, -32, -20));
        }
        return test::buildChunk(test::twelveStrings("Benchmark Path"), sprites);
    }();
    return chunk;
}

void BM_MemcpyReference(benchmark::State& state) {
    const auto& chunk = realisticChunk();
    std::vector<std::uint8_t> out(chunk.size());
    for (auto _ : state) {
        std::memcpy(out.data(), chunk.data(), chunk.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(chunk.size()));
    state.counters["chunkBytes"] = double(chunk.size());
}

void BM_Decode(benchmark::State& state) {
    const auto& chunk = realisticChunk();
    const auto coded = encodeRunLength(chunk);
    for (auto _ : state) {
        auto out = decodeRunLength(coded, kMaxChunkBytes);
        benchmark::DoNotOptimize(out.value().data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(chunk.size()));
    state.counters["codedBytes"] = double(coded.size());
}

void BM_Encode(benchmark::State& state) {
    const auto& chunk = realisticChunk();
    for (auto _ : state) {
        auto coded = encodeRunLength(chunk);
        benchmark::DoNotOptimize(coded.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(chunk.size()));
}

void BM_Checksum(benchmark::State& state) {
    const auto& chunk = realisticChunk();
    std::array<char, 8> name;
    std::memcpy(name.data(), "BENCH   ", 8);
    for (auto _ : state) benchmark::DoNotOptimize(objectChecksum(5, name, chunk));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(chunk.size()));
}

// The whole reader: head, decoding, table discovery and validation.
void BM_ReadObjectFile(benchmark::State& state) {
    const auto& chunk = realisticChunk();
    auto file = test::storedObjectFile({});
    file[16] = 1;
    const auto coded = encodeRunLength(chunk);
    file.insert(file.end(), coded.begin(), coded.end());
    for (auto _ : state) {
        PathObject obj;
        auto report = readObjectBytes(obj, file);
        benchmark::DoNotOptimize(report.outcome);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(chunk.size()));
}

BENCHMARK(BM_MemcpyReference);
BENCHMARK(BM_Decode);
BENCHMARK(BM_Encode);
BENCHMARK(BM_Checksum);
BENCHMARK(BM_ReadObjectFile);

}  // namespace

BENCHMARK_MAIN();
