// Object files: reading stored and coded chunks, what each refusal leaves, the
// writer's exact bytes and name rules, round trips, and saving that replaces on success.
#include <gtest/gtest.h>

#include <functional>

#include "object/ObjectFile.h"
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

std::vector<test::SpriteSpec> someSprites() {
    return {test::solidRowCodedSprite(6, 3, 40, -3, -1), test::solidRawSprite(3, 2, 7, 1, 2),
            test::rawSprite(2, 2, {1, 0, 0, 2})};
}

TEST(ObjectFileRead, StoredAndCodedChunksLoadTheSame) {
    const Bytes chunk = buildChunk({{0, "Path"}, {2, "Chemin"}}, someSprites(), 1, 2);
    for (std::uint8_t encoding : {0, 1, 2, 0x80}) {
        for (std::uint32_t flags : {0x05u, 0x15u, 0x09F55405u}) {  // the type is the low four bits
            PathObject obj;
            const Bytes file =
                encoding ? test::codedObjectFile(chunk, flags, encoding) : storedObjectFile(chunk, flags);
            const LoadReport r = readObjectBytes(obj, file);
            ASSERT_EQ(r.outcome, LoadOutcome::Loaded) << r.reason;
            EXPECT_EQ(r.reason, "");
            EXPECT_EQ(test::dataOf(obj), chunk);
            EXPECT_EQ(obj.m_head.toBytes(), ObjectFileHead::fromBytes(std::span(file).first<21>()).toBytes());
            EXPECT_EQ(std::tuple(obj.m_spriteCount, obj.m_sprites.size(), obj.m_supportType, obj.m_pathFlags),
                      std::tuple(3u, 3u, 1, 2));
            EXPECT_EQ(obj.m_sprites[1], (SpriteHeader{30, 3, 2, 1, 2, 1, 0}));
            EXPECT_EQ(std::pair(obj.m_stringTableOffset, obj.m_imageDataOffset),
                      std::pair(14u, 29u + 8 + 48));
            EXPECT_EQ(objectStrings(obj), (std::array<std::string, 12>{"Path", "", "Chemin"}));
        }
    }
    // A coded chunk is read to the end of the file whatever the length says; a stored one
    // up to twice the length (the decoding buffer's capacity).
    Bytes file = test::codedObjectFile(chunk);
    storeLe32(&file[17], 1);
    PathObject obj;
    ASSERT_EQ(readObjectBytes(obj, file).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(test::dataOf(obj), chunk);
    Bytes stored = storedObjectFile(chunk);
    stored.insert(stored.end(), 10, 0xAA);
    ASSERT_EQ(readObjectBytes(obj, stored).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(obj.m_dataSize, chunk.size() + 10);
    storeLe32(&stored[17], 9);  // only 18 bytes are taken: the string table is cut short
    EXPECT_EQ(readObjectBytes(obj, stored).reason, "string table has no end marker");
    // No texts at all (0xFF right at 14), and no sprites: the chunk may end after the count and size.
    const Bytes bare = buildChunk({}, {});
    ASSERT_EQ(readObjectBytes(obj, storedObjectFile(bare)).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(std::pair(obj.m_imageDataOffset, obj.m_spriteCount), std::pair(23u, 0u));
}

TEST(ObjectFileRead, RefusalsLeaveNoData) {
    PathObject obj = test::buildObject(someSprites());
    // Another object type: the head read stays, the previous sprites and size too, no data.
    const std::uint32_t size = obj.m_dataSize;
    LoadReport r = readObjectBytes(obj, storedObjectFile(buildChunk({}, someSprites()), 0x16, "SCENERY "));
    EXPECT_EQ(r.outcome, LoadOutcome::NotAPath);
    EXPECT_EQ(r.reason, "Error: Not a path file.");
    EXPECT_FALSE(obj.isLoaded());
    EXPECT_EQ(std::string(obj.m_head.name.data(), 8), "SCENERY ");
    EXPECT_EQ(std::pair(obj.m_dataSize, obj.m_spriteCount), std::pair(size, 3u));
    EXPECT_TRUE(obj.spritePixels(1).empty());  // no data: no pixels, whatever the table says
    EXPECT_TRUE(std::as_const(obj).spritePixels(1).empty());

    const Bytes good = buildChunk({{0, "A"}}, someSprites());  // table 14..17, count at 18
    const std::uint32_t imageSize = std::uint32_t(good.size()) - (18 + 8 + 48);
    auto with = [&](std::function<void(Bytes&)> change) {
        Bytes chunk = good;
        change(chunk);
        return storedObjectFile(chunk);
    };
    Bytes cut = test::codedObjectFile(good);
    cut.pop_back();
    Bytes bomb = storedObjectFile({});
    bomb[16] = 1;
    for (int i = 0; i < 600000; ++i) bomb.insert(bomb.end(), {0x80, 0});
    const struct {
        Bytes file;
        std::string reason;
    } cases[] = {
        {{}, "file shorter than its 21-byte head (0 bytes)"},
        {Bytes(20, 5), "file shorter than its 21-byte head (20 bytes)"},
        {storedObjectFile({}), "data chunk of 0 bytes ends before its string table"},
        {storedObjectFile(Bytes(14, 0)), "data chunk of 14 bytes ends before its string table"},
        {cut, "run-length record cut off at byte"},
        {bomb, "decoded chunk exceeds 67108864 bytes"},
        {with([](Bytes& c) { std::fill(c.begin() + 14, c.end(), 0x41); }), "string table has no end marker"},
        {with([](Bytes& c) { c.resize(25); }),
         "data chunk ends before the image count and size (at byte 18)"},
        {with([](Bytes& c) { storeLe32(&c[18], 0x10000000); }),
         "sprite table does not fit: 268435456 sprites need 4294967296 bytes, chunk holds"},
        {with([](Bytes& c) { storeLe32(&c[18], 6); }),
         "sprite table does not fit: 6 sprites need 96 bytes, chunk holds 88"},
        {with([&](Bytes& c) { storeLe32(&c[26 + 16], imageSize + 1); }),
         "sprite 1 starts at offset " + std::to_string(imageSize + 1) + ", beyond the " +
             std::to_string(imageSize)},
    };
    for (const auto& c : cases) {
        PathObject loaded = test::buildObject(someSprites());
        r = readObjectBytes(loaded, c.file);
        EXPECT_EQ(r.outcome, LoadOutcome::Malformed) << c.reason;
        EXPECT_EQ(r.reason.substr(0, c.reason.size()), c.reason);
        EXPECT_EQ(r.reason.find('\n'), std::string::npos);
        EXPECT_FALSE(loaded.isLoaded());
        EXPECT_EQ(loaded.m_dataSize, 0u);
    }
    // A sprite may start right at the end of the image data (it is empty), or before an earlier one.
    ASSERT_EQ(readObjectBytes(obj, with([&](Bytes& c) { storeLe32(&c[26 + 16], imageSize); })).outcome,
              LoadOutcome::Loaded);
    ASSERT_EQ(readObjectBytes(obj, with([&](Bytes& c) { storeLe32(&c[26 + 32], 0); })).outcome,
              LoadOutcome::Loaded);
    EXPECT_EQ(obj.m_sprites[2].offset, 0u);
}

TEST(ObjectFileWrite, ExactBytesNameRulesAndChecksum) {
    PathObject obj = test::buildObject(someSprites(), {{1, "old"}, {0, "zero"}}, 1, 2);
    obj.m_head.flags = 0xAABBCC03;
    obj.m_supportType = 0;  // the working copies go into chunk bytes 10 and 11
    obj.m_pathFlags = 3;
    std::array<std::string, kLanguageCount> t = texts("");
    t[0] = "Zero", t[1] = "One", t[3] = "Three";  // a language the table lacks is added; empty ones are not
    const Bytes file = serializeObjectFile(obj, "MYPATH.DAT", t);
    const Bytes chunk = buildChunk({{1, "One"}, {0, "Zero"}, {3, "Three"}}, someSprites(), 0, 3);
    EXPECT_EQ(test::dataOf(obj), chunk);
    ObjectFileHead head;
    head.flags = 0xAABBCC05;
    std::memcpy(head.name.data(), "MYPATH  ", 8);
    head.checksum = objectChecksum(5, head.name, chunk);
    head.encoding = 1;
    Bytes expected = encodeRunLength(chunk);
    head.length = std::uint32_t(expected.size());
    const auto headBytes = head.toBytes();
    expected.insert(expected.begin(), headBytes.begin(), headBytes.end());
    EXPECT_EQ(file, expected);
    EXPECT_EQ(obj.m_head.length, 0u);  // the head in memory keeps its old length

    auto nameFor = [&](const std::string& fileName) {
        serializeObjectFile(obj, fileName, t);
        return std::string(obj.m_head.name.data(), 8);
    };
    EXPECT_EQ(nameFor("LONGPATHNAME.DAT"), "LONGPATH");
    EXPECT_EQ(nameFor("EIGHTCHR.DAT"), "EIGHTCHR");
    EXPECT_EQ(nameFor("a.b.DAT"), "a       ");
    EXPECT_EQ(nameFor("NODOT"), "        ");
    PathObject empty;
    EXPECT_TRUE(serializeObjectFile(empty, "X.DAT", t).empty());
    PathObject lost = test::buildObject(someSprites());
    std::fill(&lost.m_data[14], &lost.m_data[lost.m_imageDataOffset], 0x41);  // the table lost its end
    EXPECT_TRUE(serializeObjectFile(lost, "X.DAT", t).empty());
}

TEST(ObjectFileWrite, SaveRoundTripsReplacesOnlyOnSuccessAndKeepsTheObjectOnFailure) {
    test::TempDir dir;
    PathObject obj = test::buildObject(someSprites(), {{0, "A"}, {5, "Five"}});
    const Bytes extra = {1, 2, 3,
                         4};  // a live table grown after loading: the chunk's copy is stale until saved
    obj.replaceSprite(4, 0, 0x00020002, 0, 1, 4, extra.data());
    const std::string path = dir.file("OUT.DAT");
    ASSERT_TRUE(saveObjectFile(obj, path, "OUT.DAT", texts("Saved")));
    EXPECT_EQ(objectStrings(obj)[7], "Saved");  // the object is now the saved one
    PathObject back;
    ASSERT_EQ(loadObjectFile(back, path).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(test::dataOf(back), test::dataOf(obj));
    EXPECT_EQ(back.m_sprites, obj.m_sprites);
    EXPECT_EQ(std::pair(back.m_spriteCount, test::pixelsOf(back, 4)), std::pair(5u, extra));
    EXPECT_EQ(back.m_head.checksum, objectChecksum(5, back.m_head.name, test::dataOf(back)));
    EXPECT_EQ(serializeObjectFile(back, "OUT.DAT", objectStrings(back)),
              dir.read("OUT.DAT"));  // saved again: the same

    const Bytes before = test::dataOf(obj);
    const auto headBefore = obj.m_head.toBytes();
    EXPECT_FALSE(saveObjectFile(obj, dir.file("missing/X.DAT"), "X.DAT", texts("Changed")));
    EXPECT_EQ(test::dataOf(obj), before);
    EXPECT_EQ(obj.m_head.toBytes(), headBefore);
    PathObject none;
    EXPECT_EQ(saveObjectFile(none, path, "OUT.DAT", texts("x")).error(), "no object is loaded");

    for (auto [missing, reason] : {std::pair(dir.file("nothing.DAT"), "No such file or directory"),
                                   std::pair(dir.path(), "not a file")}) {
        const LoadReport r = loadObjectFile(back, missing);
        EXPECT_EQ(r.outcome, LoadOutcome::CannotOpen);
        EXPECT_EQ(r.reason, reason);
        EXPECT_FALSE(back.isLoaded());
        EXPECT_EQ(back.m_dataSize, 0u);
    }
}

}  // namespace
}  // namespace trellisor
