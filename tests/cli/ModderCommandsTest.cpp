// trellisor-cli palette, check, strings, set-strings and set-flag, run as a program on files
// the tests build. The core behind each is tested in its layer; these check the wiring.
#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>

#include "cli/CliRunner.h"
#include "object/ObjectFile.h"
#include "preview/PaletteFiles.h"
#include "support/ObjectBuilder.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::CliRun;
using test::expectOneLineFailure;
using test::runCli;

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

bool exists(const std::string& path) { return std::filesystem::exists(path); }

// An object file as Save writes it (checksum right, chunk coded).
Bytes savedObject(int sprites, const test::StringEntries& strings = test::twelveStrings("Path"),
                  std::uint8_t pathFlags = 0) {
    PathObject obj = test::buildObject(test::standardSprites(sprites), strings, 0, pathFlags);
    std::array<std::string, kLanguageCount> texts = objectStrings(obj);
    return serializeObjectFile(obj, "OBJ.DAT", texts);
}

QJsonValue parseJson(const std::string& text) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
    return doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
}

TEST(CliPalette, EachExtensionWritesItsFormat) {
    test::TempDir dir;
    const struct {
        const char* name;
        Bytes expected;
    } formats[] = {{"game.gpl", bytesOf(gimpPaletteText())},
                   {"GAME.ACT", adobeColourTable()},
                   {"game.pal", bytesOf(jascPaletteText())}};
    for (const auto& f : formats) {
        ASSERT_EQ(runCli(dir, {"palette", dir.file(f.name)}).exitCode, 0) << f.name;
        EXPECT_EQ(dir.read(f.name), f.expected) << f.name;
    }

    ASSERT_EQ(runCli(dir, {"palette", dir.file("swatch.png")}).exitCode, 0);
    const QImage png(QString::fromStdString(dir.file("swatch.png")));
    ASSERT_EQ(png.size(), QSize(16, 16));
    ASSERT_EQ(png.format(), QImage::Format_Indexed8);
    const auto colours = paletteFileColours();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int index = y * 16 + x;
            EXPECT_EQ(png.pixelIndex(x, y), index);
            const RgbQuad c = colours[std::size_t(index)];
            EXPECT_EQ(png.pixel(x, y), qRgb(c.red, c.green, c.blue)) << index;
        }
    EXPECT_EQ(png.pixel(15, 15), qRgb(0, 0, 0));  // 255 has no colour: black

    expectOneLineFailure(runCli(dir, {"palette", dir.file("game.bmp")}),
                         "OUT must end in .gpl, .act, .pal or .png, not 'game.bmp'");
    expectOneLineFailure(runCli(dir, {"palette", dir.file("missing/game.gpl")}),
                         "cannot write " + dir.file("missing/game.gpl") + ": No such file or directory");
    EXPECT_FALSE(exists(dir.file("game.bmp")));
}

// A folder of every kind of file, nested, with a link back up.
struct CheckFolder {
    test::TempDir dir;
    CheckFolder() {
        namespace fs = std::filesystem;
        fs::create_directories(dir.file("objs/sub/deep"));
        Bytes broken = savedObject(168);
        broken[12] ^= 0x01;
        const Bytes good = savedObject(168);
        dir.write("objs/GOOD.DAT", good);
        dir.write("objs/odd.dat", savedObject(150));
        dir.write("objs/notes.txt", good);  // not a .DAT: not checked
        dir.write("objs/sub/BROKEN.Dat", broken);
        dir.write("objs/sub/deep/cut.DAT", Bytes(good.begin(), good.begin() + 100));
        dir.write("objs/sub/ride.DAT", test::storedObjectFile(Bytes(40, 0), 0x02));
        dir.write("objs/sub/wreck.DAT", test::storedObjectFile(Bytes(40, 1)));
        fs::create_directory_symlink("..", dir.file("objs/sub/up"));
    }
};

TEST(CliCheck, VerdictsInPathOrderTheSameOnAnyNumberOfThreads) {
    CheckFolder folder;
    const auto& dir = folder.dir;
    const std::string objs = dir.file("objs");
    const CliRun one = runCli(dir, {"check", objs, "--jobs", "1"});
    EXPECT_EQ(one.exitCode, 1) << one.err;
    // Byte order of names, the folder linked from sub/up walked once.
    const std::vector<std::string> lineStarts = {
        objs + "/GOOD.DAT: ok (168 sprites)",
        objs + "/odd.dat: ok (unusual sprite count 150)",
        objs + "/sub/BROKEN.Dat: checksum mismatch (stored 0x",
        objs + "/sub/deep/cut.DAT: damaged: run-length record cut off at byte",
        objs + "/sub/ride.DAT: not a path object (type 2)",
        objs + "/sub/wreck.DAT: damaged: string table has no end marker",
        "6 files: 2 ok, 1 checksum mismatch, 1 not a path object, 2 damaged, 0 unreadable"};
    const auto lines = QString::fromStdString(one.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), qsizetype(lineStarts.size())) << one.out;
    for (std::size_t i = 0; i < lineStarts.size(); ++i)
        EXPECT_EQ(lines[qsizetype(i)].toStdString().rfind(lineStarts[i], 0), 0u)
            << lines[qsizetype(i)].toStdString();
    EXPECT_TRUE(one.err.empty()) << one.err;
    const CliRun four = runCli(dir, {"check", "--jobs", "4", objs});
    EXPECT_EQ(four.out, one.out);
    EXPECT_EQ(four.exitCode, 1);

    const CliRun json1 = runCli(dir, {"check", objs, "--json", "--jobs", "1"});
    const CliRun json3 = runCli(dir, {"check", objs, "--json", "--jobs", "3"});
    EXPECT_EQ(json1.exitCode, 1);
    EXPECT_EQ(json3.out, json1.out);
    const QJsonArray verdicts = parseJson(json1.out).toArray();
    ASSERT_EQ(verdicts.size(), 6);
    const QJsonObject good = verdicts[0].toObject(), broken = verdicts[2].toObject(),
                      cut = verdicts[3].toObject();
    EXPECT_EQ(good["file"].toString().toStdString(), objs + "/GOOD.DAT");
    EXPECT_EQ(good["verdict"].toString(), "ok");
    EXPECT_EQ(good["reason"].toString(), "168 sprites");
    EXPECT_EQ(good["spriteCount"].toInt(), 168);
    EXPECT_TRUE(good["checksumValid"].toBool());
    EXPECT_EQ(broken["verdict"].toString(), "checksum mismatch");
    EXPECT_FALSE(broken["checksumValid"].toBool());
    EXPECT_TRUE(broken["checksumValid"].isBool());
    EXPECT_EQ(cut["verdict"].toString(), "damaged");
    EXPECT_TRUE(cut["spriteCount"].isNull());
    EXPECT_TRUE(cut["checksumValid"].isNull());

    // Files named one by one, in the order given; good and other-type files only pass.
    const CliRun passing = runCli(dir, {"check", objs + "/sub/ride.DAT", objs + "/GOOD.DAT"});
    EXPECT_EQ(passing.exitCode, 0);
    EXPECT_EQ(passing.out,
              objs + "/sub/ride.DAT: not a path object (type 2)\n" + objs +
                  "/GOOD.DAT: ok (168 sprites)\n"
                  "2 files: 1 ok, 0 checksum mismatch, 1 not a path object, 0 damaged, 0 unreadable\n");

    expectOneLineFailure(runCli(dir, {"check", objs, dir.file("nowhere")}),
                         "check: no such file or folder: " + dir.file("nowhere"), 2);
    expectOneLineFailure(runCli(dir, {"check", objs, "--jobs", "0"}),
                         "--jobs must be a number from 1 to 256");
    expectOneLineFailure(runCli(dir, {"check"}), "expected at least 1 arguments, got 0");
}

TEST(CliStrings, RoundTripThroughJsonAddingALanguageAndRefusingWhatCannotBeStored) {
    test::TempDir dir;
    // French with e-acute (0xE9) and the euro sign (0x80); language 13 beyond the named twelve.
    dir.write("IN.DAT", savedObject(168, {{0, "Path"}, {2, "Ch\xE9min \x80"}, {13, "Extra"}}));
    const CliRun text = runCli(dir, {"strings", dir.file("IN.DAT")});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_EQ(text.out, "0 British: \"Path\"\n2 French: \"Ch\u00e9min \u20ac\"\n13: \"Extra\"\n");

    const CliRun json = runCli(dir, {"strings", dir.file("IN.DAT"), "--json"});
    QJsonObject texts = parseJson(json.out).toObject();
    EXPECT_EQ(texts,
              (QJsonObject{{"0", "Path"}, {"2", QString::fromUtf8("Ch\u00e9min \u20ac")}, {"13", "Extra"}}));

    texts["2"] = QString::fromUtf8("Rue \u0152uvre");
    texts["german"] = QString::fromUtf8("Stra\u00dfe");  // a language the object lacks
    texts.remove("0");                                   // not given: kept
    dir.write("texts.json", bytesOf(QJsonDocument(texts).toJson().toStdString()));
    ASSERT_EQ(runCli(dir, {"set-strings", dir.file("IN.DAT"), dir.file("texts.json"), dir.file("OUT.DAT")})
                  .exitCode,
              0);
    const QJsonObject after =
        parseJson(runCli(dir, {"strings", dir.file("OUT.DAT"), "--json"}).out).toObject();
    EXPECT_EQ(after, (QJsonObject{{"0", "Path"},
                                  {"2", QString::fromUtf8("Rue \u0152uvre")},
                                  {"3", QString::fromUtf8("Stra\u00dfe")},
                                  {"13", "Extra"}}));
    // Only texts change: the sprites (icons included) stay as they were.
    PathObject in, out;
    ASSERT_EQ(readObjectBytes(in, dir.read("IN.DAT")).outcome, LoadOutcome::Loaded);
    ASSERT_EQ(readObjectBytes(out, dir.read("OUT.DAT")).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(Bytes(out.m_data.get() + out.m_imageDataOffset, out.m_data.get() + out.m_dataSize),
              Bytes(in.m_data.get() + in.m_imageDataOffset, in.m_data.get() + in.m_dataSize));
    // What strings --json prints, set-strings takes back unchanged.
    dir.write("after.json", bytesOf(QJsonDocument(after).toJson().toStdString()));
    ASSERT_EQ(runCli(dir, {"set-strings", dir.file("OUT.DAT"), dir.file("after.json"), dir.file("AGAIN.DAT")})
                  .exitCode,
              0);
    EXPECT_EQ(parseJson(runCli(dir, {"strings", dir.file("AGAIN.DAT"), "--json"}).out).toObject(), after);

    const struct {
        const char* json;
        const char* reason;
    } refusals[] = {
        {R"({"french": "snow \u2603"})", "language 2 (French): Windows-1252 cannot hold \"\u2603\""},
        {R"({"chinese": "x"})", "languages 9 and 10 share the label Chinese"},
        {R"({"12": "x"})", "unknown language 12"},
        {R"({"0": 5})", "the value of \"0\" is not a text"},
        {R"(["Path"])", "expected one JSON object"},
        {R"({"0": )", "not JSON"},
    };
    for (const auto& r : refusals) {
        dir.write("bad.json", bytesOf(r.json));
        expectOneLineFailure(
            runCli(dir, {"set-strings", dir.file("IN.DAT"), dir.file("bad.json"), dir.file("NO.DAT")}),
            r.reason);
        EXPECT_FALSE(exists(dir.file("NO.DAT"))) << r.json;
    }
    expectOneLineFailure(
        runCli(dir, {"set-strings", dir.file("IN.DAT"), dir.file("none.json"), dir.file("NO.DAT")}),
        dir.file("none.json") + ": No such file or directory");
}

TEST(CliSetFlag, SetsAndClearsDrawPathsOverSupports) {
    test::TempDir dir;
    dir.write("IN.DAT", savedObject(168, test::twelveStrings("Path"), 0x01));
    for (const char* state : {"on", "off"}) {
        ASSERT_EQ(
            runCli(dir, {"set-flag", dir.file("IN.DAT"), dir.file("OUT.DAT"), "--draws-over-supports", state})
                .exitCode,
            0);
        PathObject out;
        ASSERT_EQ(readObjectBytes(out, dir.read("OUT.DAT")).outcome, LoadOutcome::Loaded);
        EXPECT_EQ(out.drawsPathsOverSupports(), std::string(state) == "on");
        EXPECT_EQ(out.m_pathFlags & 0x01, 0x01);  // the other bit stays
    }
    expectOneLineFailure(
        runCli(dir, {"set-flag", dir.file("IN.DAT"), dir.file("NO.DAT"), "--draws-over-supports", "yes"}),
        "--draws-over-supports takes on or off, not 'yes'");
    expectOneLineFailure(runCli(dir, {"set-flag", dir.file("IN.DAT"), dir.file("NO.DAT")}),
                         "--draws-over-supports on|off is required");
    EXPECT_FALSE(exists(dir.file("NO.DAT")));

    const CliRun help = runCli(dir, {"--help"});
    for (const char* line :
         {"  palette OUT\n", "  check PATH... [--json] [--jobs N]\n", "  strings IN [--json]\n",
          "  set-strings IN TEXTS.json OUT\n", "  set-flag IN OUT [--draws-over-supports on|off]"})
        EXPECT_NE(help.out.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace trellisor
