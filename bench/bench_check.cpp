// What `trellisor-cli check` does to a folder of 1,000 real-sized objects (finding the files,
// reading, decoding, checksumming each) next to only reading the same files' bytes, in the same
// run. Prints files per second for each and the ratio of checking to reading.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "RealisticObject.h"
#include "base/FileWalk.h"
#include "base/Files.h"
#include "object/ObjectCheck.h"
#include "object/RunLength.h"

namespace {

using namespace trellisor;

constexpr int kFiles = 1000;
constexpr int kVariants = 8;  // distinct chunks, so that files differ

// The folder of objects, written once (coded as Save codes them, checksums right) and removed at exit.
class ObjectFolder {
public:
    ObjectFolder() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "trellisor-bench-XXXXXX").string();
        m_path = ::mkdtemp(tmpl.data());
        for (int v = 0; v < kVariants; ++v) {
            const auto chunk = test::realisticChunk(std::uint32_t(1000 + v));
            auto file = test::storedObjectFile({}, 5, "BENCH   ");
            std::array<char, 8> name;
            std::copy(file.begin() + 4, file.begin() + 12, name.begin());
            const std::uint32_t sum = objectChecksum(5, name, chunk);
            for (int k = 0; k < 4; ++k) file[std::size_t(12 + k)] = std::uint8_t(sum >> (8 * k));
            file[16] = 1;
            const auto coded = encodeRunLength(chunk);
            file.insert(file.end(), coded.begin(), coded.end());
            m_decodedBytes += chunk.size();
            m_variants.push_back(std::move(file));
        }
        for (int i = 0; i < kFiles; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "set%d/P%04d.DAT", i / 100, i);
            const std::string path = joinPath(m_path, name);
            std::filesystem::create_directories(std::filesystem::path(path).parent_path());
            const auto& bytes = m_variants[std::size_t(i % kVariants)];
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            m_files.push_back(path);
            m_fileBytes += bytes.size();
        }
        m_decodedBytes = m_decodedBytes / kVariants * kFiles;
    }
    ~ObjectFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::string& path() const { return m_path; }
    const std::vector<std::string>& files() const { return m_files; }
    std::uint64_t fileBytes() const { return m_fileBytes; }
    std::uint64_t decodedBytes() const { return m_decodedBytes; }

private:
    std::string m_path;
    std::vector<std::vector<std::uint8_t>> m_variants;
    std::vector<std::string> m_files;
    std::uint64_t m_fileBytes = 0, m_decodedBytes = 0;
};

const ObjectFolder& folder() {
    static const ObjectFolder f;
    return f;
}

void report(benchmark::State& state) {
    state.SetItemsProcessed(std::int64_t(state.iterations()) * kFiles);  // items: files
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(folder().fileBytes()));
    state.counters["KB/file"] = double(folder().fileBytes()) / kFiles / 1024;
    state.counters["decodedKB/file"] = double(folder().decodedBytes()) / kFiles / 1024;
}

// The reference: every file's bytes read into memory, one file at a time, as the check reads them.
void BM_ReadBytesReference(benchmark::State& state) {
    for (auto _ : state)
        for (const auto& path : folder().files()) {
            auto bytes = readFileBytes(path);
            benchmark::DoNotOptimize(bytes.value().data());
        }
    report(state);
}

// The check: the folder walk, then every file read as Load reads it and its checksum compared,
// on range(0) threads with the verdicts delivered in order.
void BM_CheckFolder(benchmark::State& state) {
    std::size_t ok = 0;
    for (auto _ : state) {
        auto files = findFilesByExtension({folder().path()}, ".dat");
        checkObjectFiles(files.value(), unsigned(state.range(0)),
                         [&](std::size_t, const ObjectVerdict& v) { ok += v.verdict == Verdict::Ok; });
    }
    if (ok != std::size_t(state.iterations()) * kFiles) state.SkipWithError("a file did not check ok");
    report(state);
}

BENCHMARK(BM_ReadBytesReference)->Unit(benchmark::kMillisecond)->UseRealTime();
// One thread, two, and the default of the command (the number of cores) when that is more.
BENCHMARK(BM_CheckFolder)
    ->Apply([](benchmark::internal::Benchmark* b) {
        b->Arg(1)->Arg(2);
        if (std::thread::hardware_concurrency() > 2) b->Arg(std::thread::hardware_concurrency());
    })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Prints, after the table, each check's files per second and its time over the reference's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                m_secondsPerFile[run.benchmark_name()] =
                    run.real_accumulated_time / double(run.iterations) / kFiles;
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto reference = m_secondsPerFile.find("BM_ReadBytesReference/real_time");
        if (reference == m_secondsPerFile.end()) return;
        std::printf("\nreading the bytes: %.0f files/s\n", 1 / reference->second);
        for (const auto& [name, seconds] : m_secondsPerFile)
            if (name != reference->first)
                std::printf("%s: %.0f files/s, %.2f x the time of reading the bytes\n", name.c_str(),
                            1 / seconds, seconds / reference->second);
    }

private:
    std::map<std::string, double> m_secondsPerFile;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    folder();  // written before any timing
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
