// The verdict on one object file as the editor's Load reads it, and checking many files
// on several threads with the verdicts in order.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace trellisor {

enum class Verdict {
    Ok,                // a path object that reads, its checksum as stored
    ChecksumMismatch,  // a path object that reads, but its stored checksum is not the computed one
    NotAPath,          // an object of another type
    Damaged,           // refused by the reader
    Unreadable,        // not opened (missing, not a file, no permission)
};
inline constexpr int kVerdictCount = 5;

struct ObjectVerdict {
    Verdict verdict = Verdict::Unreadable;
    std::string reason;  // the reader's reason (Damaged, Unreadable)
    int objectType = 0;  // the head's type (all but Damaged and Unreadable)
    std::uint32_t spriteCount = 0;
    std::uint32_t storedChecksum = 0;
    std::uint32_t computedChecksum = 0;

    // Whether the path object read (Ok or ChecksumMismatch): sprite count and checksums hold.
    bool loaded() const { return verdict == Verdict::Ok || verdict == Verdict::ChecksumMismatch; }
    // Whether the file may stand as it is: Ok or another type of object.
    bool passes() const { return verdict == Verdict::Ok || verdict == Verdict::NotAPath; }
};

ObjectVerdict checkObjectBytes(std::span<const std::uint8_t> bytes);
ObjectVerdict checkObjectFile(const std::string& path);

// The sprite counts New makes: the 109 sprites before the supports and one of the three support sets.
bool isUsualSpriteCount(std::uint32_t count);

// "ok", "checksum mismatch", "not a path object", "damaged", "unreadable".
const char* verdictName(Verdict verdict);
// What follows the name: "168 sprites" or "unusual sprite count 170"; "stored 0x..., computed
// 0x..."; "type 2"; the reader's reason.
std::string verdictDetail(const ObjectVerdict& v);
// One line: "ok (168 sprites)", "checksum mismatch (stored ..., computed ...)",
// "not a path object (type 2)", "damaged: REASON", "unreadable: REASON".
std::string describeVerdict(const ObjectVerdict& v);

// Files counted by verdict, and the summary line "N files: a ok, b checksum mismatch, ...".
struct VerdictCounts {
    std::array<std::size_t, kVerdictCount> counts{};
    void add(const ObjectVerdict& v) { ++counts[std::size_t(v.verdict)]; }
    std::size_t total() const;
    bool allPass() const;
    std::string summary() const;
};

// Checks files[i] on `jobs` threads (1: on the calling thread) and calls deliver(i, verdict) on
// the calling thread in order of i. Only a few files are read at any time (each thread holds
// one file's bytes; finished verdicts wait in a window of 2 x jobs), whatever the number of files.
void checkObjectFiles(const std::vector<std::string>& files, unsigned jobs,
                      const std::function<void(std::size_t, const ObjectVerdict&)>& deliver);

}  // namespace trellisor
