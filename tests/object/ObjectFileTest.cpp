// Object files: the run-length codec and checksum, reading and its refusals, writing and saving,
// and verdicts on many files at once.
#include <gtest/gtest.h>

#include <random>

#include "object/ObjectCheck.h"
#include "object/ObjectFile.h"
#include "support/Reference.h"
#include "support/StandardObject.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::buildChunk;
using test::storedObjectFile;

Bytes decodeOk(const Bytes& coded) {
    auto r = decodeRunLength(coded, 1u << 20);
    EXPECT_TRUE(r) << r.error();
    return r ? r.value() : Bytes{};
}

// count bytes from, from + 1, ...
Bytes counting(int count, int from) {
    Bytes b;
    for (int i = 0; i < count; ++i) b.push_back(std::uint8_t(from + i));
    return b;
}

// A literal record of those bytes.
Bytes literal(int count, int from) {
    Bytes b = counting(count, from);
    b.insert(b.begin(), std::uint8_t(count - 1));
    return b;
}

// The encoder writes the first rows: a literal leaves its last byte for the next record; literals
// of at most 126 bytes, repeats of at most 127. The decoder reads every row.
TEST(RunLength, EncodesAndDecodesRecordsWithinTheirLimits) {
    Bytes distinct = counting(199, 1), distinctCoded = literal(126, 1);
    ByteWriter(distinctCoded).bytes(literal(72, 127));
    distinctCoded.insert(distinctCoded.end(), {0x00, 199});
    const std::tuple<const char*, Bytes, Bytes> cases[] = {
        {"three different", {0x41, 0x42, 0x43}, {0x01, 0x41, 0x42, 0x00, 0x43}},
        {"a repeat first", {0x41, 0x41, 0x41, 0x42}, {0xFE, 0x41, 0x00, 0x42}},
        {"a repeat last", {0x41, 0x42, 0x42}, {0x00, 0x41, 0xFF, 0x42}},
        {"300 zeros", Bytes(300, 0), {0x82, 0, 0x82, 0, 0xD3, 0}},
        {"199 different", distinct, distinctCoded},
        {"nothing", {}, {}},
        {"a literal of 128", counting(128, 3), literal(128, 3)},
        {"a repeat of 129", Bytes(129, 0x5A), {0x80, 0x5A}}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [name, plain, coded] = cases[i];
        SCOPED_TRACE(name);
        EXPECT_EQ(decodeOk(coded), plain);
        EXPECT_TRUE(i >= 6 || encodeRunLength(plain) == coded) << "encoded";
    }
    std::mt19937 rng(1234);
    for (int round = 0; round < 200; ++round) {
        Bytes data(rng() % 2000);
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = rng() % 4 == 0 || i == 0 ? std::uint8_t(rng()) : data[i - 1];
        EXPECT_EQ(decodeOk(encodeRunLength(data)), data) << "round " << round;
    }
}

TEST(RunLength, RefusesCutRecordsAndOversizedOutput) {
    for (const Bytes& cut :
         {Bytes{0x00, 0x41, 0x03, 0x41, 0x42}, Bytes{0x00, 0x41, 0xF0}, Bytes{0x00, 0x41, 0x01, 0x41}})
        EXPECT_EQ(decodeRunLength(cut, 1000).error(), "run-length record cut off at byte 2");
    EXPECT_EQ(decodeRunLength(Bytes{0x80, 0, 0x80, 0}, 258).value().size(), 258u);
    EXPECT_EQ(decodeRunLength(Bytes{0x80, 0, 0x80, 0}, 257).error(), "decoded chunk exceeds 257 bytes");
    EXPECT_EQ(decodeRunLength(literal(3, 0), 2).error(), "decoded chunk exceeds 2 bytes");
    EXPECT_EQ(measureRunLength(Bytes{0x01, 5, 6, 0xFE, 7}, 5).value(), 5u);
}

// Records with room around them are copied in whole blocks: a short literal before long repeats
// must not read past the input, nor anything write past the output.
TEST(RunLength, DecodingIntoABufferWritesExactlyTheMeasuredBytes) {
    Bytes coded, expected;
    for (auto [count, from] : {std::pair{100, 0}, {30, 100}, {20, 7}, {128, 3}}) {
        ByteWriter(coded).bytes(literal(count, from));
        ByteWriter(expected).bytes(counting(count, from));
    }
    for (std::uint8_t v : {1, 2, 3}) {
        coded.insert(coded.end(), {0x80, v});
        expected.insert(expected.end(), 129, v);
    }
    Bytes out(expected.size() + 200, 0xCC);
    decodeRunLengthTo(coded, out.data(), expected.size());
    expected.resize(out.size(), 0xCC);
    EXPECT_EQ(out, expected);
}

// Random chunks of sizes around the 32-byte blocks.
TEST(ObjectChecksum, MatchesTheReferenceOnChunksAroundTheBlockSize) {
    std::mt19937 rng(99);
    std::array<char, 8> name{};
    Bytes sums;
    for (std::size_t size : {0, 1, 31, 32, 33, 63, 64, 65, 100, 1000, 4099}) {
        Bytes chunk(size);
        for (auto& b : chunk) b = std::uint8_t(rng());
        name[size % 8] = char(rng());
        ByteWriter(sums).u32(objectChecksum(std::uint8_t(size), name, chunk));
    }
    EXPECT_TRUE(test::matchesReferenceBytes(sums, "object/checksums"));
}

const std::vector<test::SpriteSpec> kSprites = {test::solidRowCodedSprite(6, 3, 40, -3, -1),
                                                test::solidRawSprite(3, 2, 7, 1, 2),
                                                test::rawSprite(2, 2, {1, 0, 0, 2})};

// Other encodings and type flags are read in the round trips below.
TEST(ObjectFileRead, TheHeadTextsFlagsAndSpriteTableAreRead) {
    const Bytes chunk = buildChunk({{0, "Path"}, {2, "Chemin"}}, kSprites, 1, 2);
    const Bytes file = test::codedObjectFile(chunk, 0x09F55405u);
    PathObject obj;
    const LoadReport r = readObjectBytes(obj, file);
    ASSERT_EQ(std::pair(r.outcome, r.reason), std::pair(LoadOutcome::Loaded, std::string()));
    EXPECT_EQ(test::dataOf(obj), chunk);
    EXPECT_TRUE(std::ranges::equal(obj.m_head.toBytes(), std::span(file).first(21)));
    EXPECT_EQ(std::tuple(obj.m_spriteCount, obj.m_sprites.size(), obj.m_supportType, obj.m_pathFlags,
                         obj.m_stringTableOffset, obj.m_imageDataOffset),
              std::tuple(3u, 3u, 1, 2, 14u, 29u + 8 + 48));
    EXPECT_EQ(obj.m_sprites[1], (SpriteHeader{30, 3, 2, 1, 2, 1, 0}));
    EXPECT_EQ(objectStrings(obj), (std::array<std::string, 12>{"Path", "", "Chemin"}));
}

// A coded chunk is read to the end of the file; a stored one up to twice the length.
TEST(ObjectFileRead, TheLengthBoundsOnlyAStoredChunk) {
    const Bytes chunk = buildChunk({{0, "Path"}}, kSprites);
    PathObject obj;
    Bytes coded = test::codedObjectFile(chunk), stored = storedObjectFile(chunk);
    storeLe32(&coded[17], 1);
    readObjectBytes(obj, coded);
    EXPECT_EQ(test::dataOf(obj), chunk);
    stored.insert(stored.end(), 10, 0xAA);
    readObjectBytes(obj, stored);
    EXPECT_EQ(obj.m_dataSize, chunk.size() + 10);
    storeLe32(&stored[17], 9);  // only 18 bytes are taken: the string table is cut short
    EXPECT_EQ(readObjectBytes(obj, stored).reason, "string table has no end marker");
    // No texts and no sprites: the chunk may end after the count and size.
    ASSERT_EQ(readObjectBytes(obj, storedObjectFile(buildChunk({}, {}))).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(std::pair(obj.m_imageDataOffset, obj.m_spriteCount), std::pair(23u, 0u));
}

// The head read stays, the previous sprites and size too, but no data.
TEST(ObjectFileRead, AnotherObjectTypeIsNotAPath) {
    PathObject obj = test::buildObject(kSprites);
    const std::uint32_t size = obj.m_dataSize;
    const LoadReport r = readObjectBytes(obj, storedObjectFile(buildChunk({}, kSprites), 0x16, "SCENERY "));
    EXPECT_EQ(std::pair(r.outcome, r.reason),
              std::pair(LoadOutcome::NotAPath, std::string("Error: Not a path file.")));
    EXPECT_EQ(
        std::tuple(obj.isLoaded(), std::string(obj.m_head.name.data(), 8), obj.m_dataSize, obj.m_spriteCount),
        std::tuple(false, "SCENERY ", size, 3u));
    EXPECT_TRUE(obj.spritePixels(1).empty() && std::as_const(obj).spritePixels(1).empty());
}

TEST(ObjectFileRead, MalformedFilesAreRefusedByTheirFaultAndLeaveNoData) {
    const Bytes good = buildChunk({{0, "A"}}, kSprites);  // table 14..17, count at 18
    const std::uint32_t imageSize = std::uint32_t(good.size()) - (18 + 8 + 48);
    auto with = [&](std::size_t at, std::uint32_t v) {  // the good chunk, one word changed
        Bytes c = good;
        storeLe32(&c[at], v);
        return storedObjectFile(c);
    };
    Bytes cut = test::codedObjectFile(good), bomb = storedObjectFile({}), noEnd = good;
    std::fill(noEnd.begin() + 14, noEnd.end(), 0x41);
    cut.pop_back();
    bomb[16] = 1;
    for (int i = 0; i < 600000; ++i) bomb.insert(bomb.end(), {0x80, 0});
    const std::pair<Bytes, std::string> cases[] = {
        {Bytes(20, 5), "file shorter than its 21-byte head (20 bytes)"},
        {storedObjectFile(Bytes(14, 0)), "data chunk of 14 bytes ends before its string table"},
        {cut, "run-length record cut off at byte"},
        {bomb, "decoded chunk exceeds 67108864 bytes"},
        {storedObjectFile(noEnd), "string table has no end marker"},
        {storedObjectFile(Bytes(good.begin(), good.begin() + 25)),
         "data chunk ends before the image count and size (at byte 18)"},
        {with(18, 0x10000000),
         "sprite table does not fit: 268435456 sprites need 4294967296 bytes, chunk holds"},
        {with(18, 6), "sprite table does not fit: 6 sprites need 96 bytes, chunk holds 88"},
        {with(26 + 16, imageSize + 1), "sprite 1 starts at offset " + std::to_string(imageSize + 1) +
                                           ", beyond the " + std::to_string(imageSize)}};
    for (const auto& [bytes, reason] : cases) {
        SCOPED_TRACE(reason);
        PathObject loaded = test::buildObject(kSprites);
        const LoadReport r = readObjectBytes(loaded, bytes);
        EXPECT_EQ(std::pair(r.outcome, r.reason.substr(0, reason.size())),
                  std::pair(LoadOutcome::Malformed, reason));
        EXPECT_EQ(std::pair(loaded.isLoaded(), loaded.m_dataSize), std::pair(false, 0u));
    }
    // A stored chunk is bounded as a decoded one: the rest of the file up to twice the length.
    PathObject obj;
    Bytes huge = storedObjectFile({});
    huge.resize(21 + kMaxChunkBytes + 1);
    for (auto [length, reason] : {std::pair{kMaxChunkBytes / 2 + 1, "data chunk exceeds 67108864 bytes"},
                                  {kMaxChunkBytes / 2, "string table has no end marker"}}) {
        storeLe32(&huge[17], length);
        EXPECT_EQ(readObjectBytes(obj, huge).reason, reason);
    }
    // A sprite may start at the end of the image data, or before an earlier one.
    ASSERT_EQ(readObjectBytes(obj, with(26 + 16, imageSize)).outcome, LoadOutcome::Loaded);
    ASSERT_EQ(readObjectBytes(obj, with(26 + 32, 0)).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(obj.m_sprites[2].offset, 0u);
}

// Strings 1, 0 and 3 (a missing language is added unless empty), supports 0 and flags 3 from the
// working copies, under the head "MYPATH  " with type 5.
TEST(ObjectFileWrite, WritesTheReferenceBytesAndNamesTheHeadAfterTheFile) {
    PathObject obj = test::buildObject(kSprites, {{1, "old"}, {0, "zero"}}, 1, 2);
    obj.m_head.flags = 0xAABBCC03;
    obj.m_supportType = 0, obj.m_pathFlags = 3;
    const std::array<std::string, kLanguageCount> t{"Zero", "One", "", "Three"};
    const Bytes file = serializeObjectFile(obj, "MYPATH.DAT", t);
    EXPECT_TRUE(test::matchesReferenceBytes(file, "object/MYPATH.DAT"));
    EXPECT_EQ(decodeOk(Bytes(file.begin() + 21, file.end())), test::dataOf(obj)) << "the object is the file";
    EXPECT_EQ(obj.m_head.length, 0u) << "the head in memory keeps its old length";

    for (auto [fileName, name] :
         {std::pair{"LONGPATHNAME.DAT", "LONGPATH"}, {"a.b.DAT", "a       "}, {"NODOT", "        "}}) {
        serializeObjectFile(obj, fileName, t);
        EXPECT_EQ(std::string(obj.m_head.name.data(), 8), name);
    }
    PathObject empty, lost = test::buildObject(kSprites);
    EXPECT_TRUE(serializeObjectFile(empty, "X.DAT", t).empty());
    std::fill(&lost.m_data[14], &lost.m_data[lost.m_imageDataOffset], 0x41);  // the table lost its end
    EXPECT_TRUE(serializeObjectFile(lost, "X.DAT", t).empty());
}

TEST(ObjectFileWrite, SavingReplacesTheFileOnlyOnSuccessAndKeepsTheObjectOnFailure) {
    const std::array<std::string, kLanguageCount> t{"Zero", "One", "", "Three"};
    test::TempDir dir;
    PathObject live = test::buildObject(kSprites, {{0, "A"}, {5, "Five"}}), back, empty;
    const Bytes extra = {1, 2, 3, 4};  // a live table grown after loading: the chunk's copy is stale
    live.replaceSprite(4, 0, 0x00020002, 0, 1, 4, extra.data());
    const std::string path = dir.file("OUT.DAT");
    ASSERT_TRUE(saveObjectFile(live, path, "OUT.DAT", t));
    EXPECT_EQ(objectStrings(live)[3], "Three") << "the object is now the saved one";
    ASSERT_EQ(loadObjectFile(back, path).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(std::pair(test::dataOf(back), back.m_sprites), std::pair(test::dataOf(live), live.m_sprites));
    EXPECT_EQ(std::pair(back.m_spriteCount, test::pixelsOf(back, 4)), std::pair(5u, extra));

    const Bytes before = test::dataOf(live);
    const auto headBefore = live.m_head.toBytes();
    EXPECT_FALSE(saveObjectFile(live, dir.file("missing/X.DAT"), "X.DAT", {}));  // {} would blank the texts
    EXPECT_EQ(std::pair(test::dataOf(live), live.m_head.toBytes()), std::pair(before, headBefore));
    EXPECT_EQ(saveObjectFile(empty, path, "OUT.DAT", t).error(), "no object is loaded");

    // A missing file is unreadable in ObjectCheck below.
    const LoadReport r = loadObjectFile(back, dir.path());
    EXPECT_EQ(std::pair(r.outcome, r.reason), std::pair(LoadOutcome::CannotOpen, std::string("not a file")));
    EXPECT_EQ(std::pair(back.isLoaded(), back.m_dataSize), std::pair(false, 0u));
}

// A file as another tool writes it: its own head, every chunk byte a literal of its own (unless
// stored), a length that does not match.
Bytes foreignFile(const Bytes& chunk, std::uint8_t flags0, std::uint8_t encoding, const char* name) {
    Bytes file = test::codedObjectFile(chunk, 0x09F55400u | flags0, encoding, name);
    if (encoding == 0) return file;
    file.resize(21);
    for (std::uint8_t b : chunk) file.insert(file.end(), {0, b});
    return file;
}

TEST(ObjectFileRoundTrip, LoadThenSaveWritesTheBytesReadWhateverToolWroteThem) {
    // Hand-drawn icons and an empty text: nothing Save would make itself.
    auto sprites = test::standardSprites();
    sprites[PathIconSprite] = test::rawSprite(kIconWidth, kIconHeight, Bytes(1530, 77), 1, 1);
    const Bytes chunk = buildChunk({{0, "Path"}, {1, ""}}, sprites);
    const std::pair<const char*, Bytes> files[] = {
        {"short literals", foreignFile(chunk, 0x05, 1, "PATH01  ")},
        {"a name in lower case, NUL padded", foreignFile(chunk, 0x05, 1, "path01\0\0")},
        {"flags byte 0x15 and encoding 2", foreignFile(chunk, 0x15, 2, "PATH01  ")},
        {"a stored chunk", foreignFile(chunk, 0x05, 0, "Path01  ")}};
    PathObject obj;
    for (const auto& [name, file] : files) {
        ASSERT_EQ(readObjectBytes(obj, file).outcome, LoadOutcome::Loaded) << name;
        EXPECT_EQ(serializeObjectFile(obj, "PaTh01.DAT", objectStrings(obj)), file) << name;
    }
    // Another name: our head over the coding read. One sprite changed: our coding.
    ASSERT_EQ(readObjectBytes(obj, files[2].second).outcome, LoadOutcome::Loaded);
    const Bytes renamed = serializeObjectFile(obj, "OTHER.DAT", objectStrings(obj));
    EXPECT_TRUE(std::ranges::equal(std::span(renamed).subspan(21), std::span(files[2].second).subspan(21)));
    EXPECT_EQ(std::tuple(renamed[0], renamed[16], checksumMatches(obj)), std::tuple(5, 1, true));
    const std::uint32_t at = obj.spriteSpan(3).first;
    obj.spritePixels(3)[0] ^= 0xFF;
    ASSERT_EQ(readObjectBytes(obj, serializeObjectFile(obj, "OTHER.DAT", objectStrings(obj))).outcome,
              LoadOutcome::Loaded);
    Bytes expected = chunk;
    expected[at] ^= 0xFF;
    EXPECT_EQ(test::dataOf(obj), expected);
}

// An object file of `sprites` sprites as Save writes it, its checksum plus `delta`.
Bytes objectFile(int sprites, std::uint32_t checksumDelta = 0) {
    PathObject obj = test::standardObject(sprites);
    Bytes file = serializeObjectFile(obj, "TEST.DAT", objectStrings(obj));
    storeLe32(&file[12], loadLe32(&file[12]) + checksumDelta);
    return file;
}

TEST(ObjectCheck, VerdictsTheirLinesTheSummaryAndManyFilesInOrder) {
    const Bytes good = objectFile(168);
    char mismatch[80];
    std::snprintf(mismatch, sizeof mismatch, "checksum mismatch (stored 0x%08X, computed 0x%08X)",
                  loadLe32(&good[12]) + 1, loadLe32(&good[12]));
    const std::tuple<Bytes, Verdict, std::string> cases[] = {
        {good, Verdict::Ok, "ok (168 sprites)"},
        {objectFile(146), Verdict::Ok, "ok (146 sprites)"},  // the second support set
        {objectFile(165), Verdict::Ok, "ok (165 sprites)"},  // the same with flag 0
        {objectFile(167), Verdict::Ok, "ok (unusual sprite count 167)"},
        {storedObjectFile(buildChunk({}, {}), 0x1D), Verdict::NotAPath, "not a path object (type 13)"},
        {objectFile(168, 1), Verdict::ChecksumMismatch, mismatch},
        {Bytes(7, 5), Verdict::Damaged, "damaged: file shorter than its 21-byte head (7 bytes)"}};
    VerdictCounts counts;
    int row = 0;
    for (const auto& [file, verdict, line] : cases) {
        const ObjectVerdict v = checkObjectBytes(file);
        EXPECT_EQ(std::pair(v.verdict, describeVerdict(v)), std::pair(verdict, line));
        counts.add(v);
        EXPECT_EQ(counts.allPass(), ++row <= 5) << line;
    }
    EXPECT_EQ(counts.summary(),
              "7 files: 4 ok, 1 checksum mismatch, 1 not a path object, 1 damaged, 0 unreadable");
    VerdictCounts one;
    one.add(ObjectVerdict{Verdict::Unreadable, "", 0, 0, 0, 0});
    EXPECT_EQ(std::pair(one.allPass(), one.summary().substr(0, 7)), std::pair(false, std::string("1 file:")));
    // Files are checked in order on any number of threads; the eighth is never written.
    test::TempDir dir;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < 40; ++i)
        files.push_back(i % 8 < 7 ? dir.write(std::to_string(i), std::get<0>(cases[i % 8]))
                                  : dir.file("none"));
    for (unsigned jobs : {1u, 3u}) {
        SCOPED_TRACE(testing::Message() << jobs << " jobs");
        std::size_t next = 0;
        checkObjectFiles(files, jobs, [&](std::size_t i, const ObjectVerdict& v) {
            EXPECT_EQ(i, next++);
            EXPECT_EQ(v.verdict, i % 8 < 7 ? std::get<1>(cases[i % 8]) : Verdict::Unreadable) << i;
            EXPECT_EQ(v.reason == "No such file or directory", v.verdict == Verdict::Unreadable) << i;
        });
        EXPECT_EQ(next, files.size());
    }
}

}  // namespace
}  // namespace trellisor
