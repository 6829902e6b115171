// trellisor-cli object commands, run as a program on files the tests generate.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "CliTestSupport.h"
#include "base/Bytes.h"
#include "cli/CliRunner.h"
#include "object/DescriptorFile.h"
#include "object/ObjectFile.h"
#include "object/RunLength.h"
#include "object/TypeFile.h"
#include "preview/PreviewIcons.h"
#include "support/ObjectBuilder.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

using namespace test::cli;

PathObject readBack(const test::TempDir& dir, const std::string& name) {
    PathObject obj;
    LoadReport rep = readObjectBytes(obj, dir.read(name));
    EXPECT_EQ(rep.outcome, LoadOutcome::Loaded) << rep.reason;
    return obj;
}

Bytes dataOf(const PathObject& obj) { return Bytes(obj.m_data.get(), obj.m_data.get() + obj.m_dataSize); }

TEST(CliInfo, JsonCarriesHeadStringsAndSprites) {
    test::TempDir dir;
    // French text with a Windows-1252 e-acute (0xE9) and a euro sign (0x80).
    const Bytes chunk =
        test::buildChunk({{2, "Ch\xE9min \x80"}, {0, "Path"}},
                         {test::solidRowCodedSprite(6, 3, 40, -3, -1), test::solidRawSprite(2, 2, 9)}, 1, 2);
    dir.write("IN.DAT", test::storedObjectFile(chunk, 0x09F55405, "MYPATH  "));
    CliRun r = runCli(dir, {"info", dir.file("IN.DAT"), "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    QJsonParseError error;
    QJsonObject j = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out;
    EXPECT_EQ(j["type"].toInt(), 5);
    EXPECT_EQ(j["flags"].toArray(), (QJsonArray{5, 0x54, 0xF5, 9}));
    EXPECT_EQ(j["name"].toString(), "MYPATH  ");
    EXPECT_FALSE(j["checksumValid"].toBool());  // a stored fixture carries checksum 0
    EXPECT_EQ(j["encoding"].toInt(), 0);
    EXPECT_EQ(j["length"].toInt(), int(chunk.size()));
    EXPECT_EQ(j["dataSize"].toInt(), int(chunk.size()));
    EXPECT_EQ(j["supportType"].toInt(), 1);
    EXPECT_EQ(j["pathFlags"].toInt(), 2);
    QJsonArray strings = j["strings"].toArray();
    ASSERT_EQ(strings.size(), 2);
    EXPECT_EQ(strings[0].toObject()["language"].toInt(), 2);
    EXPECT_EQ(strings[0].toObject()["text"].toString(), QString::fromUtf8("Ch\u00E9min \u20AC"));
    EXPECT_EQ(strings[1].toObject()["text"].toString(), "Path");
    EXPECT_EQ(j["spriteCount"].toInt(), 2);
    QJsonObject s0 = j["sprites"].toArray()[0].toObject();
    EXPECT_EQ(s0["offset"].toInt(), 0);
    EXPECT_EQ(s0["width"].toInt(), 6);
    EXPECT_EQ(s0["height"].toInt(), 3);
    EXPECT_EQ(s0["xOffset"].toInt(), -3);
    EXPECT_EQ(s0["yOffset"].toInt(), -1);
    EXPECT_EQ(s0["flags"].toInt(), 5);
    EXPECT_EQ(j["sprites"].toArray()[1].toObject()["offset"].toInt(), 6 + 3 * 8);

    // After save the checksum holds; the plain form says so too.
    ASSERT_EQ(runCli(dir, {"save", dir.file("IN.DAT"), dir.file("OUT.DAT")}).exitCode, 0);
    r = runCli(dir, {"info", dir.file("OUT.DAT"), "--json"});
    j = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    EXPECT_TRUE(j["checksumValid"].toBool());
    EXPECT_EQ(j["name"].toString(), "OUT     ");
    EXPECT_EQ(j["encoding"].toInt(), 1);
    r = runCli(dir, {"info", dir.file("OUT.DAT")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("(valid)"), std::string::npos) << r.out;
}

TEST(CliSave, WritesWhatTheReaderReadsBackExactly) {
    test::TempDir dir;
    const Bytes chunk = test::buildChunk(test::twelveStrings("Crazy Paving"), test::standardSprites(168));
    dir.write("in.dat", test::storedObjectFile(chunk));
    ASSERT_EQ(runCli(dir, {"save", dir.file("in.dat"), dir.file("CRAZY.DAT")}).exitCode, 0);

    const Bytes file = dir.read("CRAZY.DAT");
    PathObject back = readBack(dir, "CRAZY.DAT");
    EXPECT_EQ(dataOf(back), chunk);
    EXPECT_EQ(back.m_spriteCount, 168u);
    for (const auto& t : objectStrings(back)) EXPECT_EQ(t, "Crazy Paving");
    EXPECT_EQ(loadLe32(&file[12]), objectChecksum(5, back.m_head.name, chunk));
    EXPECT_EQ(Bytes(file.begin() + 21, file.end()), encodeRunLength(chunk));
    EXPECT_EQ(loadLe32(&file[17]), file.size() - 21);

    // Saving the saved file again gives the same bytes but for the name.
    ASSERT_EQ(runCli(dir, {"save", dir.file("CRAZY.DAT"), dir.file("CRAZY2.DAT")}).exitCode, 0);
    PathObject again = readBack(dir, "CRAZY2.DAT");
    EXPECT_EQ(dataOf(again), chunk);
}

TEST(CliTypes, ExportThenApplyMovesAPage) {
    test::TempDir dir;
    std::vector<test::SpriteSpec> other;
    for (int i = 0; i < 168; ++i) other.push_back(test::solidRawSprite(3, 1 + i % 3, std::uint8_t(50 + i)));
    dir.write("A.DAT", test::storedObjectFile(test::buildChunk(test::twelveStrings("A"), other)));
    dir.write("B.DAT", test::storedObjectFile(
                           test::buildChunk(test::twelveStrings("B"), test::standardSprites(146), 1)));

    ASSERT_EQ(runCli(dir, {"export-type", dir.file("A.DAT"), "queue", dir.file("q.pth")}).exitCode, 0);
    std::size_t queueBytes = 20 * 16;
    for (int i = 51; i <= 70; ++i) queueBytes += other[std::size_t(i)].pixels.size();
    EXPECT_EQ(dir.read("q.pth").size(), queueBytes);
    ASSERT_EQ(runCli(dir, {"apply-type", dir.file("B.DAT"), "queue", dir.file("q.pth"), dir.file("C.DAT"),
                           "--keep-icons"})
                  .exitCode,
              0);
    PathObject a = readBack(dir, "A.DAT");
    PathObject c = readBack(dir, "C.DAT");
    ASSERT_EQ(c.m_spriteCount, 146u);
    for (unsigned i = 51; i <= 70; ++i) {
        auto x = a.spritePixels(i);
        auto y = c.spritePixels(i);
        EXPECT_TRUE(std::equal(x.begin(), x.end(), y.begin(), y.end())) << i;
    }
    EXPECT_EQ(objectStrings(c)[0], "B");

    // Supports: a 59-sprite type into a 37-sprite object appends 22 sprites.
    ASSERT_EQ(runCli(dir, {"export-type", dir.file("A.DAT"), "supports", dir.file("s.pth")}).exitCode, 0);
    ASSERT_EQ(runCli(dir, {"apply-type", dir.file("B.DAT"), "supports", dir.file("s.pth"), dir.file("D.DAT")})
                  .exitCode,
              0);
    EXPECT_EQ(readBack(dir, "D.DAT").m_spriteCount, 168u);

    expectOneLineFailure(runCli(dir, {"export-type", dir.file("A.DAT"), "roof", dir.file("x.pth")}),
                         "unknown page 'roof'");
    dir.write("bad.pth", Bytes(10, 0));
    expectOneLineFailure(
        runCli(dir, {"apply-type", dir.file("B.DAT"), "path", dir.file("bad.pth"), dir.file("E.DAT")}),
        "too few for its 51 sprite headers");
}

TEST(CliNew, BuildsFromTheWorkdirWithTheSeed) {
    test::TempDir dir;
    PathObject source = test::buildObject(test::standardSprites(146), test::twelveStrings(), 1, 0);
    const char* files[5] = {"path.pth", "prail.pth", "queue.pth", "qrail.pth", "support.pth"};
    for (int page = 0; page < 5; ++page) {
        ASSERT_TRUE(writeTypeFile(source, page, dir.file(files[page])).isOk());
        ASSERT_TRUE(
            writeDescriptorFile(dir.file(kPages[std::size_t(page)].descriptorFile), {{"Only", files[page]}})
                .isOk());
    }
    ASSERT_EQ(runCli(dir, {"new", "--workdir", dir.path(), "--seed", "7", dir.file("NEWPATH.DAT")}).exitCode,
              0);
    PathObject obj = readBack(dir, "NEWPATH.DAT");
    EXPECT_EQ(obj.m_spriteCount, 146u);
    EXPECT_EQ(obj.m_supportType, 1);
    for (const auto& t : objectStrings(obj)) EXPECT_EQ(t, "New Path");
    EXPECT_EQ(std::string(obj.m_head.name.data(), 8), "NEWPATH ");
    EXPECT_EQ(obj.m_head.flags, 0x09F55405u);
    EXPECT_EQ(obj.m_sprites[71].width, 45);
    EXPECT_EQ(obj.m_sprites[72].height, 34);

    // With one entry per list the object is the same whatever the seed.
    ASSERT_EQ(
        runCli(dir, {"new", "--seed", "99", "--workdir", dir.path(), dir.file("NEWPATH2.DAT")}).exitCode, 0);
    EXPECT_EQ(dataOf(readBack(dir, "NEWPATH2.DAT")), dataOf(obj));
    // --keep-icons leaves the icons as New made them: 1530 zero bytes each.
    ASSERT_EQ(runCli(dir, {"new", "--workdir", dir.path(), dir.file("KEEP.DAT"), "--keep-icons"}).exitCode,
              0);
    PathObject kept = readBack(dir, "KEEP.DAT");
    auto icon = kept.spritePixels(PathIconSprite);
    EXPECT_EQ(icon.size(), 1530u);
    EXPECT_TRUE(std::all_of(icon.begin(), icon.end(), [](std::uint8_t b) { return b == 0; }));

    expectOneLineFailure(runCli(dir, {"new", "--workdir", dir.path(), "--seed", "x1", dir.file("N.DAT")}),
                         "--seed");
    expectOneLineFailure(runCli(dir, {"new", dir.file("N.DAT")}), "--workdir");
    test::TempDir empty;
    expectOneLineFailure(runCli(dir, {"new", "--workdir", empty.path(), dir.file("N.DAT")}),
                         "no Path type to choose from");
}

TEST(CliErrors, OneLineReasonsAndHelp) {
    test::TempDir dir;
    CliRun help = runCli(dir, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* name : {"info", "save", "export-type", "apply-type", "new", "--keep-icons", "--seed"})
        EXPECT_NE(help.out.find(name), std::string::npos) << name;
    EXPECT_EQ(runCli(dir, {"save", "--help"}).exitCode, 0);

    expectOneLineFailure(runCli(dir, {}), "no command");
    expectOneLineFailure(runCli(dir, {"frobnicate"}), "unknown command 'frobnicate'");
    expectOneLineFailure(runCli(dir, {"info", dir.file("missing.DAT")}), "cannot open");
    expectOneLineFailure(runCli(dir, {"info"}), "expected 1 arguments");
    expectOneLineFailure(runCli(dir, {"info", "--xml", "a"}), "Unknown option 'xml'");

    const Bytes chunk = test::buildChunk(test::twelveStrings(), {test::solidRawSprite(2, 2, 1)});
    dir.write("ride.DAT", test::storedObjectFile(chunk, 0x02));
    expectOneLineFailure(runCli(dir, {"save", dir.file("ride.DAT"), dir.file("o.DAT")}),
                         "Error: Not a path file.");
    dir.write("short.DAT", Bytes(7, 5));
    expectOneLineFailure(runCli(dir, {"info", dir.file("short.DAT")}), "shorter than its 21-byte head");
    Bytes cut = test::storedObjectFile({});  // a coded chunk whose last record lost its byte
    cut[16] = 1;
    const Bytes coded = encodeRunLength(chunk);
    cut.insert(cut.end(), coded.begin(), coded.end() - 1);
    dir.write("cut.DAT", cut);
    expectOneLineFailure(runCli(dir, {"info", dir.file("cut.DAT")}), "cut off");
    EXPECT_FALSE(std::ifstream(dir.file("o.DAT")).good());
}

}  // namespace
}  // namespace trellisor
