// Object files: the run-length codec and checksum, reading and its refusals, writing and saving,
// and verdicts on many files at once.
#include <gtest/gtest.h>

#include <random>

#include "object/ObjectCheck.h"
#include "object/ObjectFile.h"
#include "support/ObjectBuilder.h"
#include "support/Pixels.h"
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

Bytes literal(int count, int from) {
    Bytes b = {std::uint8_t(count - 1)};
    for (int i = 0; i < count; ++i) b.push_back(std::uint8_t(from + i));
    return b;
}

TEST(RunLength, DecodesEncodesRefusesCutOrOversizedInputRoundTripsAndChecksums) {
    const Bytes long128 = literal(128, 3);
    const std::pair<Bytes, Bytes> cases[] = {
        {{0x02, 0x41, 0x42, 0x43, 0xFE, 0x44}, {0x41, 0x42, 0x43, 0x44, 0x44, 0x44}},
        {long128, Bytes(long128.begin() + 1, long128.end())},
        {{0xFE, 0x44, 0x01, 0x41, 0x42}, {0x44, 0x44, 0x44, 0x41, 0x42}},
        {{0x80, 0x5A}, Bytes(129, 0x5A)},
        {{0xFF, 0x07}, Bytes(2, 0x07)},
        {{}, {}}};
    for (const auto& [coded, plain] : cases) EXPECT_EQ(decodeOk(coded), plain);
    // Records with room around them are copied in whole blocks; a short literal just before
    // long repeats (much output left, little input) must not read past the input, and
    // nothing is written past the output.
    Bytes blocks;
    for (auto [count, from] : {std::pair{100, 0}, {30, 100}, {20, 7}, {128, 3}})
        ByteWriter(blocks).bytes(literal(count, from));
    for (std::uint8_t v : {1, 2, 3}) blocks.insert(blocks.end(), {0x80, v});
    Bytes out(278 + 3 * 129 + 200, 0xCC);  // FNV-1a over all, slack included; refresh from the printed value
    decodeRunLengthTo(blocks, out.data(), 278 + 3 * 129);
    EXPECT_EQ(test::fnv1a(out), 0xCEECDB56u);

    for (const Bytes& cut :
         {Bytes{0x00, 0x41, 0x03, 0x41, 0x42}, Bytes{0x00, 0x41, 0xF0}, Bytes{0x00, 0x41, 0x01, 0x41}})
        EXPECT_EQ(decodeRunLength(cut, 1000).error(), "run-length record cut off at byte 2");
    EXPECT_EQ(decodeRunLength(Bytes{0x80, 0, 0x80, 0}, 258).value().size(), 258u);
    EXPECT_EQ(decodeRunLength(Bytes{0x80, 0, 0x80, 0}, 257).error(), "decoded chunk exceeds 257 bytes");
    EXPECT_EQ(decodeRunLength(literal(3, 0), 2).error(), "decoded chunk exceeds 2 bytes");
    EXPECT_EQ(measureRunLength(Bytes{0x01, 5, 6, 0xFE, 7}, 5).value(), 5u);

    // A literal leaves its last byte for the next record (41 42 43: 01 41 42 00 43); literals of at
    // most 126, repeats of at most 127. FNV-1a over the encodings; refresh from the printed value.
    Bytes distinct = literal(200, 0), coded;  // 0..199
    distinct.erase(distinct.begin());
    for (const Bytes& plain : {Bytes{0x41, 0x42, 0x43}, Bytes{0x41, 0x41, 0x41, 0x42},
                               Bytes{0x41, 0x42, 0x42}, Bytes(300, 0), Bytes{}, distinct})
        ByteWriter(coded).bytes(encodeRunLength(plain));
    EXPECT_EQ(test::fnv1a(coded), 0x7F927607u);
    EXPECT_EQ(std::pair(countRepeatRun(Bytes(200, 1).data(), 200), countRepeatRun(Bytes(200, 1).data(), 5)),
              std::pair(std::size_t(127), std::size_t(5)));

    std::mt19937 rng(1234);
    for (int round = 0; round < 200; ++round) {
        Bytes data(rng() % 2000);
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = rng() % 4 == 0 || i == 0 ? std::uint8_t(rng()) : data[i - 1];
        EXPECT_EQ(decodeOk(encodeRunLength(data)), data);
    }

    // The checksum XORs each byte into the low byte, then rotates left by 11 (from 0xF369A75B).
    // Sizes around the 32-byte blocks; FNV-1a over every checksum, refresh from the printed value.
    rng.seed(99);
    std::array<char, 8> name{};
    Bytes sums;
    for (std::size_t size : {0, 1, 31, 32, 33, 63, 64, 65, 100, 1000, 4099}) {
        Bytes chunk(size);
        for (auto& b : chunk) b = std::uint8_t(rng());
        name[size % 8] = char(rng());
        ByteWriter(sums).u32(objectChecksum(std::uint8_t(size), name, chunk));
    }
    EXPECT_EQ(test::fnv1a(sums), 0x14ACB4CAu);
}

const std::vector<test::SpriteSpec> kSprites = {test::solidRowCodedSprite(6, 3, 40, -3, -1),
                                                test::solidRawSprite(3, 2, 7, 1, 2),
                                                test::rawSprite(2, 2, {1, 0, 0, 2})};

TEST(ObjectFileRead, StoredAndCodedChunksLoadTheSameRefusalsLeaveNoData) {
    const Bytes chunk = buildChunk({{0, "Path"}, {2, "Chemin"}}, kSprites, 1, 2);
    PathObject obj;
    for (std::uint8_t encoding : {0, 1, 2, 0x80})
        for (std::uint32_t flags : {0x05u, 0x15u, 0x09F55405u}) {  // the type is the low four bits
            const Bytes file = test::codedObjectFile(chunk, flags, encoding);  // 0: stored
            const LoadReport r = readObjectBytes(obj, file);
            ASSERT_EQ(std::pair(r.outcome, r.reason), std::pair(LoadOutcome::Loaded, std::string()));
            EXPECT_EQ(test::dataOf(obj), chunk);
            EXPECT_TRUE(std::ranges::equal(obj.m_head.toBytes(), std::span(file).first(21)));  // as read
            EXPECT_EQ(std::tuple(obj.m_spriteCount, obj.m_sprites.size(), obj.m_supportType, obj.m_pathFlags,
                                 obj.m_stringTableOffset, obj.m_imageDataOffset),
                      std::tuple(3u, 3u, 1, 2, 14u, 29u + 8 + 48));
            EXPECT_EQ(obj.m_sprites[1], (SpriteHeader{30, 3, 2, 1, 2, 1, 0}));
            EXPECT_EQ(objectStrings(obj), (std::array<std::string, 12>{"Path", "", "Chemin"}));
        }
    // A coded chunk is read to the end of the file whatever the length says; a stored one
    // up to twice the length (the decoding buffer's capacity).
    Bytes file = test::codedObjectFile(chunk), stored = storedObjectFile(chunk);
    storeLe32(&file[17], 1);
    readObjectBytes(obj, file);
    EXPECT_EQ(test::dataOf(obj), chunk);
    stored.insert(stored.end(), 10, 0xAA);
    readObjectBytes(obj, stored);
    EXPECT_EQ(obj.m_dataSize, chunk.size() + 10);
    storeLe32(&stored[17], 9);  // only 18 bytes are taken: the string table is cut short
    EXPECT_EQ(readObjectBytes(obj, stored).reason, "string table has no end marker");
    // No texts at all (0xFF right at 14), and no sprites: the chunk may end after the count and size.
    ASSERT_EQ(readObjectBytes(obj, storedObjectFile(buildChunk({}, {}))).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(std::pair(obj.m_imageDataOffset, obj.m_spriteCount), std::pair(23u, 0u));

    obj = test::buildObject(kSprites, {{0, "Path"}, {2, "Chemin"}});
    // Another object type: the head read stays, the previous sprites and size too, no data.
    LoadReport r = readObjectBytes(obj, storedObjectFile(buildChunk({}, kSprites), 0x16, "SCENERY "));
    EXPECT_EQ(std::pair(r.outcome, r.reason),
              std::pair(LoadOutcome::NotAPath, std::string("Error: Not a path file.")));
    EXPECT_EQ(
        std::tuple(obj.isLoaded(), std::string(obj.m_head.name.data(), 8), obj.m_dataSize, obj.m_spriteCount),
        std::tuple(false, "SCENERY ", std::uint32_t(chunk.size()), 3u));
    EXPECT_TRUE(obj.spritePixels(1).empty() && std::as_const(obj).spritePixels(1).empty());  // no data

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
        {{}, "file shorter than its 21-byte head (0 bytes)"},
        {Bytes(20, 5), "file shorter than its 21-byte head (20 bytes)"},
        {storedObjectFile({}), "data chunk of 0 bytes ends before its string table"},
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
        PathObject loaded = test::buildObject(kSprites);
        r = readObjectBytes(loaded, bytes);
        EXPECT_EQ(std::pair(r.outcome, r.reason.substr(0, reason.size())),
                  std::pair(LoadOutcome::Malformed, reason));
        EXPECT_EQ(std::pair(loaded.isLoaded(), loaded.m_dataSize), std::pair(false, 0u));
    }
    // A sprite may start right at the end of the image data (it is empty), or before an earlier one.
    ASSERT_EQ(readObjectBytes(obj, with(26 + 16, imageSize)).outcome, LoadOutcome::Loaded);
    ASSERT_EQ(readObjectBytes(obj, with(26 + 32, 0)).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(obj.m_sprites[2].offset, 0u);
}

TEST(ObjectFileWrite, ExactBytesNameRulesSaveAndFailures) {
    PathObject obj = test::buildObject(kSprites, {{1, "old"}, {0, "zero"}}, 1, 2);
    obj.m_head.flags = 0xAABBCC03;
    obj.m_supportType = 0, obj.m_pathFlags = 3;  // the working copies go into chunk bytes 10 and 11
    // A language the table lacks is added; empty ones are not.
    const std::array<std::string, kLanguageCount> t{"Zero", "One", "", "Three"};
    // The file, then the object's chunk: strings 1, 0 and 3 in that order, supports 0 and flags 3,
    // under the head "MYPATH  " with type 5 and the checksum. FNV-1a; refresh from the printed value.
    Bytes both = serializeObjectFile(obj, "MYPATH.DAT", t);
    ByteWriter(both).bytes(test::dataOf(obj));
    EXPECT_EQ(test::fnv1a(both), 0x8E2DDE4Eu);
    EXPECT_EQ(obj.m_head.length, 0u);  // the head in memory keeps its old length

    for (auto [fileName, name] :
         {std::pair{"LONGPATHNAME.DAT", "LONGPATH"}, {"a.b.DAT", "a       "}, {"NODOT", "        "}}) {
        serializeObjectFile(obj, fileName, t);
        EXPECT_EQ(std::string(obj.m_head.name.data(), 8), name);
    }
    PathObject empty, lost = test::buildObject(kSprites);
    EXPECT_TRUE(serializeObjectFile(empty, "X.DAT", t).empty());
    std::fill(&lost.m_data[14], &lost.m_data[lost.m_imageDataOffset], 0x41);  // the table lost its end
    EXPECT_TRUE(serializeObjectFile(lost, "X.DAT", t).empty());

    // Saving replaces the file only on success and keeps the object on failure.
    test::TempDir dir;
    PathObject live = test::buildObject(kSprites, {{0, "A"}, {5, "Five"}}), back;
    const Bytes extra = {1, 2, 3, 4};  // a live table grown after loading: the chunk's copy is stale
    live.replaceSprite(4, 0, 0x00020002, 0, 1, 4, extra.data());
    const std::string path = dir.file("OUT.DAT");
    ASSERT_TRUE(saveObjectFile(live, path, "OUT.DAT", t));
    EXPECT_EQ(objectStrings(live)[3], "Three");  // the object is now the saved one
    ASSERT_EQ(loadObjectFile(back, path).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(std::pair(test::dataOf(back), back.m_sprites), std::pair(test::dataOf(live), live.m_sprites));
    EXPECT_EQ(std::pair(back.m_spriteCount, test::pixelsOf(back, 4)), std::pair(5u, extra));
    EXPECT_EQ(serializeObjectFile(back, "OUT.DAT", objectStrings(back)), dir.read("OUT.DAT"));  // saved again

    const Bytes before = test::dataOf(live);
    const auto headBefore = live.m_head.toBytes();
    EXPECT_FALSE(saveObjectFile(live, dir.file("missing/X.DAT"), "X.DAT", {}));  // {} would blank the texts
    EXPECT_EQ(std::pair(test::dataOf(live), live.m_head.toBytes()), std::pair(before, headBefore));
    EXPECT_EQ(saveObjectFile(empty, path, "OUT.DAT", t).error(), "no object is loaded");

    for (auto [missing, reason] : {std::pair(dir.file("nothing.DAT"), "No such file or directory"),
                                   std::pair(dir.path(), "not a file")}) {
        const LoadReport r = loadObjectFile(back, missing);
        EXPECT_EQ(std::pair(r.outcome, r.reason), std::pair(LoadOutcome::CannotOpen, std::string(reason)));
        EXPECT_EQ(std::pair(back.isLoaded(), back.m_dataSize), std::pair(false, 0u));
    }
}

// A file as another tool writes it: its own head bytes, every byte of the chunk a literal of
// its own (unless stored), a length that does not match, a checksum that holds.
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
        ASSERT_EQ(readObjectBytes(obj, file).outcome, LoadOutcome::Loaded);
        EXPECT_EQ(serializeObjectFile(obj, "PaTh01.DAT", objectStrings(obj)), file) << name;
    }
    // Another name: a head of ours over the coding read. One sprite changed: our coding, the
    // chunk read with that sprite's bytes changed.
    ASSERT_EQ(readObjectBytes(obj, files[2].second).outcome, LoadOutcome::Loaded);
    const Bytes renamed = serializeObjectFile(obj, "OTHER.DAT", objectStrings(obj));
    EXPECT_EQ(Bytes(renamed.begin() + 21, renamed.end()),
              Bytes(files[2].second.begin() + 21, files[2].second.end()));
    EXPECT_EQ(std::tuple(renamed[0], renamed[16], checksumMatches(obj)), std::tuple(5, 1, true));
    const std::uint32_t at = obj.spriteSpan(3).first;
    obj.spritePixels(3)[0] ^= 0xFF;
    ASSERT_EQ(readObjectBytes(obj, serializeObjectFile(obj, "OTHER.DAT", objectStrings(obj))).outcome,
              LoadOutcome::Loaded);
    Bytes expected = chunk;
    expected[at] ^= 0xFF;
    EXPECT_EQ(test::dataOf(obj), expected);
}

// An object file of `sprites` sprites as Save writes it (with the right checksum), plus `delta`.
Bytes objectFile(int sprites, std::uint32_t checksumDelta = 0) {
    PathObject obj = test::buildObject(test::standardSprites(sprites));
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
        EXPECT_EQ(std::tuple(v.verdict, describeVerdict(v), v.passes()),
                  std::tuple(verdict, line, verdict == Verdict::Ok || verdict == Verdict::NotAPath));
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
        std::size_t next = 0;
        checkObjectFiles(files, jobs, [&](std::size_t i, const ObjectVerdict& v) {
            EXPECT_EQ(i, next++);
            EXPECT_EQ(v.verdict, i % 8 < 7 ? std::get<1>(cases[i % 8]) : Verdict::Unreadable)
                << jobs << " jobs";
            EXPECT_EQ(v.reason == "No such file or directory", v.verdict == Verdict::Unreadable);
        });
        EXPECT_EQ(next, files.size());
    }
}

}  // namespace
}  // namespace trellisor
