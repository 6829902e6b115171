// trellisor-cli check: every .DAT file under the PATHs read as Load reads it, on several threads,
// one verdict per file in PATH order, then a summary (or one JSON array).
#include "cli/CheckCommand.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <iostream>
#include <thread>

#include "base/FileWalk.h"
#include "cli/CliSupport.h"
#include "object/ObjectCheck.h"

namespace trellisor {

namespace {

constexpr int kMissingPathExit = 2;
constexpr long kMaxJobs = 256;

QJsonObject verdictJson(const std::string& file, const ObjectVerdict& v) {
    return QJsonObject{{"file", QFile::decodeName(QByteArray::fromStdString(file))},
                       {"verdict", verdictName(v.verdict)},
                       {"reason", QString::fromStdString(verdictDetail(v))},
                       {"spriteCount", v.loaded() ? QJsonValue(double(v.spriteCount)) : QJsonValue()},
                       {"checksumValid", v.loaded() ? QJsonValue(v.verdict == Verdict::Ok) : QJsonValue()}};
}

int runCheck(const CommandLine& line) {
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    if (const auto text = line.value("jobs")) {
        auto n = integerArgument(*text, 1, kMaxJobs, "--jobs");
        if (!n) return line.fail(n.error());
        jobs = unsigned(n.value());
    }
    auto files = findFilesByExtension(line.positionalsFrom(0), ".dat");
    if (!files) {
        line.fail(files.error());  // the one-line reason; the exit code says a PATH is missing
        return kMissingPathExit;
    }

    const bool json = line.isSet("json");
    VerdictCounts counts;
    QJsonArray array;
    checkObjectFiles(files.value(), jobs, [&](std::size_t i, const ObjectVerdict& v) {
        counts.add(v);
        if (json)
            array.append(verdictJson(files.value()[i], v));
        else
            std::cout << files.value()[i] << ": " << describeVerdict(v) << "\n";
    });
    if (json)
        printJson(array);
    else
        std::cout << counts.summary() << std::endl;
    return counts.allPass() ? 0 : 1;
}

}  // namespace

void registerCheckCommand(std::vector<CliCommand>& commands) {
    commands.push_back(
        {"check",
         {{"PATH", "An object file, or a folder searched for *.DAT in any case.", true}},
         "Reads every .DAT file under the PATHs (folders recursively, links followed but each folder "
         "once) as Load does and prints one line per file in PATH order: ok (with its sprite count, "
         "or 'unusual sprite count N' when not 168, 165 or 146), checksum mismatch, not a path object, "
         "damaged: REASON or unreadable: REASON; then a summary. --json prints one array of {file, "
         "verdict, reason, spriteCount, checksumValid}. Exits 0 when every file is ok or not a path "
         "object, 1 otherwise, 2 when a PATH does not exist.",
         {jsonOption(),
          QCommandLineOption("jobs", "Checks N files at once (default: the number of cores).", "N")},
         runCheck});
}

}  // namespace trellisor
