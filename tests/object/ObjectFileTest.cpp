// Object files: reading stored and coded chunks, the writer's exact bytes, round trips,
// and malformed files refused without touching memory outside the input.
#include <gtest/gtest.h>

#include <cstring>

#include "base/Bytes.h"
#include "object/ObjectFile.h"
#include "object/RunLength.h"
#include "support/ObjectBuilder.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::buildChunk;
using test::storedObjectFile;

std::array<std::string, kLanguageCount> texts(const std::string& t) {
    std::array<std::string, kLanguageCount> a;
    a.fill(t);
    return a;
}

Bytes dataOf(const PathObject& obj) { return Bytes(obj.m_data.get(), obj.m_data.get() + obj.m_dataSize); }

Bytes codedFile(const Bytes& chunk, std::uint8_t encoding = 1, std::uint32_t flags = 5) {
    Bytes file = storedObjectFile(chunk, flags);
    file.resize(ObjectFileHead::kSize);
    file[16] = encoding;
    Bytes coded = encodeRunLength(chunk);
    storeLe32(&file[17], std::uint32_t(coded.size()));
    file.insert(file.end(), coded.begin(), coded.end());
    return file;
}

std::vector<test::SpriteSpec> someSprites() {
    return {test::solidRowCodedSprite(6, 3, 40, -3, -1), test::solidRawSprite(3, 2, 7, 1, 2),
            test::rawSprite(2, 2, {1, 0, 0, 2})};
}

TEST(ObjectFileRead, StoredAndCodedChunksLoadTheSame) {
    const Bytes chunk = buildChunk({{0, "Path"}, {2, "Chemin"}}, someSprites(), 1, 2);
    for (std::uint8_t encoding : {0, 1, 2, 3, 0x80}) {
        PathObject obj;
        const Bytes file = encoding == 0 ? storedObjectFile(chunk) : codedFile(chunk, encoding);
        LoadReport r = readObjectBytes(obj, file);
        ASSERT_EQ(r.outcome, LoadOutcome::Loaded) << r.reason;
        EXPECT_EQ(dataOf(obj), chunk);
        EXPECT_EQ(obj.m_head.encoding, encoding);
        EXPECT_EQ(obj.m_spriteCount, 3u);
        EXPECT_EQ(obj.m_sprites.size(), 3u);
        EXPECT_EQ(obj.m_sprites[1].width, 3);
        EXPECT_EQ(obj.m_sprites[1].xOffset, 1);
        EXPECT_EQ(obj.m_supportType, 1);
        EXPECT_EQ(obj.m_pathFlags, 2);
        EXPECT_EQ(obj.m_stringTableOffset, 14u);
        EXPECT_EQ(obj.m_imageDataOffset, 29u + 8 + 48);  // string table 14..28, count, size, 3 headers
        auto strings = objectStrings(obj);
        EXPECT_EQ(strings[0], "Path");
        EXPECT_EQ(strings[1], "");
        EXPECT_EQ(strings[2], "Chemin");
        EXPECT_EQ(strings[11], "");
    }
}

TEST(ObjectFileRead, TypeCheckUsesLowFourBits) {
    const Bytes chunk = buildChunk(test::twelveStrings(), someSprites());
    for (std::uint32_t flags : {0x15u, 0x85u, 0x09F55405u}) {
        PathObject obj;
        EXPECT_EQ(readObjectBytes(obj, storedObjectFile(chunk, flags)).outcome, LoadOutcome::Loaded);
        EXPECT_EQ(obj.m_head.flags, flags);
    }

    // A file of another type: the head read stays, the previous sprites and size stay, no data.
    PathObject obj;
    ASSERT_EQ(readObjectBytes(obj, storedObjectFile(chunk)).outcome, LoadOutcome::Loaded);
    const std::uint32_t size = obj.m_dataSize;
    LoadReport r = readObjectBytes(obj, storedObjectFile(chunk, 0x06, "SCENERY "));
    EXPECT_EQ(r.outcome, LoadOutcome::NotAPath);
    EXPECT_EQ(r.reason, "Error: Not a path file.");
    EXPECT_FALSE(obj.isLoaded());
    EXPECT_EQ(obj.m_head.flags, 0x06u);
    EXPECT_EQ(std::string(obj.m_head.name.data(), 8), "SCENERY ");
    EXPECT_EQ(obj.m_dataSize, size);
    EXPECT_EQ(obj.m_spriteCount, 3u);
}

TEST(ObjectFileRead, DecodesBeyondTwiceTheLengthAndStoredReadsAtMostTwice) {
    const Bytes chunk = buildChunk(test::twelveStrings(), {test::solidRawSprite(40, 40, 3)});
    Bytes file = codedFile(chunk);
    storeLe32(&file[17], 1);  // the coded chunk is read to the end of the file regardless
    PathObject obj;
    ASSERT_EQ(readObjectBytes(obj, file).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(obj.m_dataSize, chunk.size());

    // A stored chunk is read up to the buffer's capacity, twice the length.
    Bytes stored = storedObjectFile(chunk);
    stored.insert(stored.end(), 10, 0xAA);
    ASSERT_EQ(readObjectBytes(obj, stored).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(obj.m_dataSize, chunk.size() + 10);
    storeLe32(&stored[17], 9);  // only 18 bytes are taken: the string table is cut short
    EXPECT_EQ(readObjectBytes(obj, stored).reason, "string table has no end marker");
}

TEST(ObjectFileRead, MalformedFilesAreRefusedAndLeaveNoData) {
    const Bytes good = buildChunk({{0, "A"}}, someSprites());
    auto expectRefused = [](const Bytes& file, const std::string& reasonPart) {
        PathObject obj = test::buildObject(someSprites());
        LoadReport r = readObjectBytes(obj, file);
        EXPECT_EQ(r.outcome, LoadOutcome::Malformed) << reasonPart;
        EXPECT_NE(r.reason.find(reasonPart), std::string::npos) << r.reason;
        EXPECT_EQ(r.reason.find('\n'), std::string::npos);
        EXPECT_FALSE(obj.isLoaded());
        EXPECT_EQ(obj.m_dataSize, 0u);
    };
    expectRefused({}, "shorter than its 21-byte head");
    expectRefused(Bytes(20, 5), "shorter than its 21-byte head");

    Bytes cut = codedFile(good);
    cut.pop_back();
    expectRefused(cut, "cut off");

    expectRefused(storedObjectFile(Bytes(14, 0)), "ends before its string table");

    Bytes noMarker = good;
    std::fill(noMarker.begin() + 14, noMarker.end(), 0x41);
    expectRefused(storedObjectFile(noMarker), "no end marker");
    expectRefused(codedFile(noMarker), "no end marker");

    // Header and string table only: the image count is missing.
    Bytes noCount(good.begin(), good.begin() + 14 + 3 + 1);
    expectRefused(storedObjectFile(noCount), "image count");

    Bytes hugeCount = good;
    const std::size_t s = 14 + 3 + 1;
    storeLe32(&hugeCount[s], 0x10000000);
    expectRefused(storedObjectFile(hugeCount), "sprite table does not fit: 268435456 sprites");

    Bytes farOffset = good;
    storeLe32(&farOffset[s + 8 + 16], 100000);
    expectRefused(storedObjectFile(farOffset), "sprite 1 starts at offset 100000");

    // A run-length stream that would decode beyond the chunk limit is refused, not allocated.
    Bytes bomb = storedObjectFile({});
    bomb[16] = 1;
    for (int i = 0; i < 600000; ++i) {
        bomb.push_back(0x80);
        bomb.push_back(0);
    }
    expectRefused(bomb, "exceeds");
}

TEST(ObjectFileRead, EmptyStringTableAndDecreasingOffsetsAreRead) {
    // 0xFF right at offset 14: no texts at all.
    Bytes chunk = buildChunk({}, someSprites());
    PathObject obj;
    ASSERT_EQ(readObjectBytes(obj, storedObjectFile(chunk)).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(obj.m_spriteCount, 3u);
    EXPECT_EQ(obj.m_imageDataOffset, 15u + 8 + 48);
    Bytes file = serializeObjectFile(obj, "E.DAT", texts(""));
    PathObject back;
    ASSERT_EQ(readObjectBytes(back, file).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(dataOf(back), chunk);

    // A decreasing offset is read as it stands (what its span is belongs to PathObject).
    Bytes gap = buildChunk({{0, "A"}}, someSprites());
    storeLe32(&gap[14 + 3 + 1 + 8 + 32], 0);
    ASSERT_EQ(readObjectBytes(obj, storedObjectFile(gap)).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(obj.m_sprites[2].offset, 0u);
}

TEST(ObjectFileWrite, ExactBytesNameRulesAndChecksum) {
    PathObject obj = test::buildObject(someSprites(), {{1, "old"}, {0, "zero"}}, 1, 2);
    obj.m_head.flags = 0xAABBCC03;
    obj.m_supportType = 0;  // the working copies go into chunk bytes 10 and 11
    obj.m_pathFlags = 3;
    std::array<std::string, kLanguageCount> t = texts("");
    t[0] = "Zero";
    t[1] = "One";
    t[3] = "Three";  // a language the table lacks is added in language order; empty ones are not
    Bytes file = serializeObjectFile(obj, "MYPATH.DAT", t);

    const Bytes expectedChunk = buildChunk({{1, "One"}, {0, "Zero"}, {3, "Three"}}, someSprites(), 0, 3);
    EXPECT_EQ(dataOf(obj), expectedChunk);
    ASSERT_GE(file.size(), 21u);
    EXPECT_EQ(loadLe32(&file[0]), 0xAABBCC05u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[4]), 8), "MYPATH  ");
    EXPECT_EQ(loadLe32(&file[12]), objectChecksum(5, obj.m_head.name, expectedChunk));
    EXPECT_EQ(file[16], 1);
    EXPECT_EQ(loadLe32(&file[17]), file.size() - 21);
    EXPECT_EQ(Bytes(file.begin() + 21, file.end()), encodeRunLength(expectedChunk));

    auto nameFor = [&](const std::string& fileName) {
        serializeObjectFile(obj, fileName, t);
        return std::string(obj.m_head.name.data(), 8);
    };
    EXPECT_EQ(nameFor("LONGPATHNAME.DAT"), "LONGPATH");
    EXPECT_EQ(nameFor("a.b.DAT"), "a       ");
    EXPECT_EQ(nameFor("NODOT"), "        ");

    PathObject empty;
    EXPECT_TRUE(serializeObjectFile(empty, "X.DAT", t).empty());
}

TEST(ObjectFileWrite, RoundTripsAndRefreshesTheStaleTable) {
    // An object whose live table grew after loading: the chunk's copy is stale until saved.
    const Bytes chunk = buildChunk({{0, "A"}, {5, "Five"}}, someSprites());
    PathObject obj;
    ASSERT_EQ(readObjectBytes(obj, storedObjectFile(chunk)).outcome, LoadOutcome::Loaded);
    const Bytes extra = {1, 2, 3, 4};
    obj.replaceSprite(4, 0, 0x00020002, 0, 1, 4, extra.data());
    const auto strings = objectStrings(obj);

    Bytes first = serializeObjectFile(obj, "RT.DAT", strings);
    PathObject back;
    ASSERT_EQ(readObjectBytes(back, first).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(dataOf(back), dataOf(obj));
    EXPECT_EQ(back.m_sprites, obj.m_sprites);
    EXPECT_EQ(back.m_spriteCount, 5u);
    EXPECT_EQ(objectStrings(back), strings);
    EXPECT_EQ(back.m_head.checksum, objectChecksum(5, back.m_head.name, dataOf(back)));
    EXPECT_EQ(Bytes(back.spritePixels(4).begin(), back.spritePixels(4).end()), extra);

    // A second save of the unchanged object writes the same file.
    EXPECT_EQ(serializeObjectFile(back, "RT.DAT", objectStrings(back)), first);
}

TEST(ObjectFileWrite, SaveReplacesOnlyOnSuccessAndKeepsObjectOnFailure) {
    test::TempDir dir;
    PathObject obj = test::buildObject(someSprites());
    const std::string path = dir.file("OUT.DAT");
    ASSERT_TRUE(saveObjectFile(obj, path, "OUT.DAT", texts("Saved")).isOk());
    PathObject back;
    ASSERT_EQ(loadObjectFile(back, path).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(objectStrings(back)[7], "Saved");
    EXPECT_EQ(std::string(back.m_head.name.data(), 8), "OUT     ");

    // Saving into a folder that does not exist fails and changes nothing.
    const Bytes before = dataOf(obj);
    const auto headBefore = obj.m_head.toBytes();
    Status failed = saveObjectFile(obj, dir.file("missing/X.DAT"), "X.DAT", texts("Changed"));
    EXPECT_FALSE(failed.isOk());
    EXPECT_EQ(dataOf(obj), before);
    EXPECT_EQ(obj.m_head.toBytes(), headBefore);

    PathObject none;
    EXPECT_FALSE(saveObjectFile(none, path, "OUT.DAT", texts("x")).isOk());
    ASSERT_EQ(loadObjectFile(back, path).outcome, LoadOutcome::Loaded);

    EXPECT_EQ(loadObjectFile(back, dir.file("nothing.DAT")).outcome, LoadOutcome::CannotOpen);
    EXPECT_FALSE(back.isLoaded());
    EXPECT_EQ(back.m_dataSize, 0u);
}

}  // namespace
}  // namespace trellisor
