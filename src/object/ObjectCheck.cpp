// Verdicts on object files: read as Load reads them, then the stored checksum compared.
#include "object/ObjectCheck.h"

#include <cstdio>
#include <utility>

#include "base/OrderedWork.h"
#include "object/ObjectFile.h"
#include "object/Pages.h"
#include "object/RunLength.h"

namespace trellisor {

namespace {

ObjectVerdict verdictOf(const PathObject& obj, const LoadReport& report) {
    ObjectVerdict v;
    switch (report.outcome) {
        case LoadOutcome::CannotOpen:
            v.verdict = Verdict::Unreadable;
            v.reason = report.reason;
            return v;
        case LoadOutcome::Malformed:
            v.verdict = Verdict::Damaged;
            v.reason = report.reason;
            return v;
        case LoadOutcome::NotAPath:
            v.verdict = Verdict::NotAPath;
            v.objectType = obj.m_head.objectType();
            return v;
        case LoadOutcome::Loaded:
            break;
    }
    v.objectType = obj.m_head.objectType();
    v.spriteCount = obj.m_spriteCount;
    v.storedChecksum = obj.m_head.checksum;
    v.computedChecksum = objectChecksum(std::uint8_t(obj.m_head.flags), obj.m_head.name,
                                        std::span<const std::uint8_t>(obj.m_data.get(), obj.m_dataSize));
    v.verdict = v.storedChecksum == v.computedChecksum ? Verdict::Ok : Verdict::ChecksumMismatch;
    return v;
}

std::string hex32(std::uint32_t value) {
    char text[12];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

}  // namespace

ObjectVerdict checkObjectBytes(std::span<const std::uint8_t> bytes) {
    PathObject obj;
    const LoadReport report = readObjectBytes(obj, bytes);
    return verdictOf(obj, report);
}

ObjectVerdict checkObjectFile(const std::string& path) {
    PathObject obj;
    const LoadReport report = loadObjectFile(obj, path);
    return verdictOf(obj, report);
}

bool isUsualSpriteCount(std::uint32_t count) {
    const auto first = std::uint32_t(kPages[PageSupports].firstSprite);
    // The three support sets: second set off; on with path flags bit 0 set; on with it clear.
    for (const auto& [supportType, pathFlags] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{1, 0}})
        if (count ==
            first + std::uint32_t(supportSpriteCount(std::uint8_t(supportType), std::uint8_t(pathFlags))))
            return true;
    return false;
}

const char* verdictName(Verdict verdict) {
    switch (verdict) {
        case Verdict::Ok:
            return "ok";
        case Verdict::ChecksumMismatch:
            return "checksum mismatch";
        case Verdict::NotAPath:
            return "not a path object";
        case Verdict::Damaged:
            return "damaged";
        case Verdict::Unreadable:
            return "unreadable";
    }
    return "";
}

std::string verdictDetail(const ObjectVerdict& v) {
    switch (v.verdict) {
        case Verdict::Ok:
            return isUsualSpriteCount(v.spriteCount)
                       ? std::to_string(v.spriteCount) + " sprites"
                       : "unusual sprite count " + std::to_string(v.spriteCount);
        case Verdict::ChecksumMismatch:
            return "stored " + hex32(v.storedChecksum) + ", computed " + hex32(v.computedChecksum);
        case Verdict::NotAPath:
            return "type " + std::to_string(v.objectType);
        case Verdict::Damaged:
        case Verdict::Unreadable:
            return v.reason;
    }
    return "";
}

std::string describeVerdict(const ObjectVerdict& v) {
    const bool reasonFollows = v.verdict == Verdict::Damaged || v.verdict == Verdict::Unreadable;
    return std::string(verdictName(v.verdict)) +
           (reasonFollows ? ": " + verdictDetail(v) : " (" + verdictDetail(v) + ")");
}

std::size_t VerdictCounts::total() const {
    std::size_t n = 0;
    for (std::size_t c : counts) n += c;
    return n;
}

bool VerdictCounts::allPass() const {
    return total() == counts[std::size_t(Verdict::Ok)] + counts[std::size_t(Verdict::NotAPath)];
}

std::string VerdictCounts::summary() const {
    std::string line = std::to_string(total()) + (total() == 1 ? " file" : " files");
    for (int k = 0; k < kVerdictCount; ++k)
        line +=
            (k == 0 ? ": " : ", ") + std::to_string(counts[std::size_t(k)]) + " " + verdictName(Verdict(k));
    return line;
}

void checkObjectFiles(const std::vector<std::string>& files, unsigned jobs,
                      const std::function<void(std::size_t, const ObjectVerdict&)>& deliver) {
    runInOrder(
        files.size(), jobs, 2 * std::size_t(jobs), [&](std::size_t i) { return checkObjectFile(files[i]); },
        [&](std::size_t i, const ObjectVerdict& v) { deliver(i, v); });
}

}  // namespace trellisor
