// Decoding, encoding and checksumming a full-size object chunk, next to memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>

#include "RealisticObject.h"
#include "object/ObjectFile.h"
#include "object/RunLength.h"

namespace {

using namespace trellisor;

const std::vector<std::uint8_t>& realisticChunk() {
    static const std::vector<std::uint8_t> chunk = test::realisticChunk();
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
