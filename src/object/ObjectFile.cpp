// Object files: the reader (head, chunk decoding, table discovery, validation)
// and the writer (canonical chunk, checksum, run-length coding, length patch).
#include "object/ObjectFile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>

#include "base/Bytes.h"
#include "base/Files.h"
#include "object/RunLength.h"

namespace trellisor {

namespace {

// S, the offset just past the string table's end marker: the first 0x00 0xFF pair
// after the first language code. A table without entries (0xFF at its very start)
// ends right there; reader and writer share this so they always agree on S.
std::optional<std::uint32_t> findStringTableEnd(const std::uint8_t* data, std::uint32_t size,
                                                std::uint32_t tableOffset) {
    if (tableOffset < size && data[tableOffset] == 0xFF) return tableOffset + 1;
    for (std::uint64_t pos = std::uint64_t(tableOffset) + 1; pos + 1 < size; ++pos)
        if (data[pos] == 0x00 && data[pos + 1] == 0xFF) return std::uint32_t(pos + 2);
    return std::nullopt;
}

LoadReport refuse(PathObject& obj, LoadOutcome outcome, std::string reason) {
    // As a failed open leaves it: no data, size 0; the rest is not used without data.
    obj.m_data.reset();
    obj.m_dataSize = 0;
    return LoadReport{outcome, std::move(reason)};
}

struct DecodedChunk {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::uint32_t size = 0;
};

// The decoded chunk of a file with this head: stored (encoding 0) it is the rest of the file,
// but no more than the decoding buffer's capacity of 2 x length; under any other encoding it
// is run-length coded to the end of the file, whatever length says.
Result<DecodedChunk> decodeChunk(const ObjectFileHead& head, std::span<const std::uint8_t> coded) {
    using R = Result<DecodedChunk>;
    // Measured first, so the limit holds before any memory is taken.
    std::uint64_t size = std::min<std::uint64_t>(coded.size(), 2ull * head.length);
    if (head.encoding != 0) {
        auto measured = measureRunLength(coded, kMaxChunkBytes);
        if (!measured) return R::fail(measured.error());
        size = measured.value();
    } else if (size > kMaxChunkBytes) {
        return R::fail("data chunk exceeds " + std::to_string(kMaxChunkBytes) + " bytes");
    }
    DecodedChunk chunk{std::make_unique_for_overwrite<std::uint8_t[]>(std::size_t(size)),
                       std::uint32_t(size)};
    if (head.encoding != 0)
        decodeRunLengthTo(coded, chunk.bytes.get(), chunk.size);
    else if (size)
        std::memcpy(chunk.bytes.get(), coded.data(), chunk.size);
    return R::ok(std::move(chunk));
}

LoadReport readObjectFile(PathObject& obj, std::shared_ptr<const std::vector<std::uint8_t>> file) {
    const std::span<const std::uint8_t> bytes = *file;
    if (bytes.size() < ObjectFileHead::kSize)
        return refuse(obj, LoadOutcome::Malformed,
                      "file shorter than its 21-byte head (" + std::to_string(bytes.size()) + " bytes)");
    const ObjectFileHead head = ObjectFileHead::fromBytes(bytes.first<ObjectFileHead::kSize>());
    if (head.objectType() != kPathObjectType) {
        // The head read stays; m_dataSize and the sprite table of the previous object stay too.
        obj.m_head = head;
        obj.m_data.reset();
        return LoadReport{LoadOutcome::NotAPath, kNotAPathMessage};
    }

    auto decoded = decodeChunk(head, bytes.subspan(ObjectFileHead::kSize));
    if (!decoded) return refuse(obj, LoadOutcome::Malformed, decoded.error());
    const std::uint32_t size = decoded.value().size;
    auto chunk = std::move(decoded.value().bytes);

    constexpr std::uint32_t kTableOffset = 14;
    if (size <= kTableOffset)
        return refuse(obj, LoadOutcome::Malformed,
                      "data chunk of " + std::to_string(size) + " bytes ends before its string table");
    auto end = findStringTableEnd(chunk.get(), size, kTableOffset);
    if (!end) return refuse(obj, LoadOutcome::Malformed, "string table has no end marker");
    const std::uint32_t s = *end;
    if (std::uint64_t(s) + 8 > size)
        return refuse(obj, LoadOutcome::Malformed,
                      "data chunk ends before the image count and size (at byte " + std::to_string(s) + ")");
    const std::uint32_t count = loadLe32(&chunk[s]);
    const std::uint64_t tableBytes = std::uint64_t(count) * SpriteHeader::kSize;
    const std::uint64_t imageOffset = std::uint64_t(s) + 8 + tableBytes;
    if (imageOffset > size)
        return refuse(obj, LoadOutcome::Malformed,
                      "sprite table does not fit: " + std::to_string(count) + " sprites need " +
                          std::to_string(tableBytes) + " bytes, chunk holds " + std::to_string(size - s - 8));

    // Later code draws and edits each sprite's bytes, so every sprite must start inside
    // the image data. Offsets that decrease are kept: a gap left by New (all-zero
    // headers) saves that way and must open again; such a sprite's span is just empty.
    const std::uint64_t imageSize = size - imageOffset;
    std::vector<SpriteHeader> sprites;
    sprites.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        SpriteHeader h =
            SpriteHeader::fromBytes(&chunk[std::size_t(s) + 8 + std::size_t(i) * SpriteHeader::kSize]);
        if (h.offset > imageSize)
            return refuse(obj, LoadOutcome::Malformed,
                          "sprite " + std::to_string(i) + " starts at offset " + std::to_string(h.offset) +
                              ", beyond the " + std::to_string(imageSize) + " bytes of image data");
        sprites.push_back(h);
    }

    obj.m_head = head;
    obj.m_data = std::move(chunk);
    obj.m_dataSize = size;
    obj.m_sprites = std::move(sprites);
    obj.m_spriteCount = count;
    obj.m_stringTableOffset = kTableOffset;
    obj.m_imageDataOffset = std::uint32_t(imageOffset);
    obj.m_supportType = obj.m_data[10];
    obj.m_pathFlags = obj.m_data[11];
    obj.m_sourceFile = std::move(file);
    return LoadReport{LoadOutcome::Loaded, {}};
}

}  // namespace

LoadReport readObjectBytes(PathObject& obj, std::span<const std::uint8_t> bytes) {
    return readObjectFile(obj, std::make_shared<const std::vector<std::uint8_t>>(bytes.begin(), bytes.end()));
}

LoadReport loadObjectFile(PathObject& obj, const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return refuse(obj, LoadOutcome::CannotOpen, "not a file");
    auto bytes = readFileBytes(path);
    if (!bytes) return refuse(obj, LoadOutcome::CannotOpen, bytes.error());
    return readObjectFile(obj, std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes.value())));
}

namespace {

std::string_view unpadded(const std::array<char, 8>& name) {
    std::string_view text(name.data(), name.size());
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.remove_suffix(1);
    return text;
}

// The object name: the file name up to its first '.', at most 8 characters, space padded. When
// that reads as the stored name without regard to ASCII case, with trailing spaces and NULs
// both taken as padding, the stored bytes stay ("PaTh01.DAT" keeps "PATH01" and its padding).
std::array<char, 8> objectNameFor(const std::string& fileName, const std::array<char, 8>& stored) {
    const auto dot = fileName.find('.');
    std::string text = dot == std::string::npos ? std::string() : fileName.substr(0, dot);
    if (text.size() > 8) text.resize(8);
    std::array<char, 8> name;
    name.fill(' ');
    std::memcpy(name.data(), text.data(), text.size());
    return equalsIgnoringCase(unpadded(name), unpadded(stored)) ? stored : name;
}

// The source file's head and coded chunk, when that chunk decodes to the chunk given.
struct SourceCoding {
    ObjectFileHead head;
    std::span<const std::uint8_t> coded;
};

std::optional<SourceCoding> sourceHolding(const PathObject& obj, std::span<const std::uint8_t> chunk) {
    if (!obj.m_sourceFile || obj.m_sourceFile->size() < ObjectFileHead::kSize) return std::nullopt;
    const std::span<const std::uint8_t> file = *obj.m_sourceFile;
    const SourceCoding source{ObjectFileHead::fromBytes(file.first<ObjectFileHead::kSize>()),
                              file.subspan(ObjectFileHead::kSize)};
    auto decoded = decodeChunk(source.head, source.coded);
    if (!decoded || decoded.value().size != chunk.size() ||
        (!chunk.empty() && std::memcmp(decoded.value().bytes.get(), chunk.data(), chunk.size()) != 0))
        return std::nullopt;
    return source;
}

}  // namespace

std::vector<std::uint8_t> serializeObjectFile(PathObject& obj, const std::string& fileName,
                                              const std::array<std::string, kLanguageCount>& texts) {
    if (!obj.m_data || obj.m_dataSize < 12) return {};

    obj.m_head.flags = (obj.m_head.flags & ~0xFFu) | kPathObjectType;
    obj.m_head.name = objectNameFor(fileName, obj.m_head.name);

    obj.m_data[10] = obj.m_supportType;
    obj.m_data[11] = obj.m_pathFlags;
    // A text for a language the table lacks is added (the editor shows such rows empty, so
    // an empty text adds nothing). A text as it stands is left alone, so an empty one that
    // another tool wrote stays empty instead of becoming " ".
    for (int i = 0; i < kLanguageCount; ++i) {
        std::string present;
        if (obj.getObjectString(i, present)) {
            if (present != texts[std::size_t(i)]) obj.setObjectString(i, texts[std::size_t(i)]);
        } else if (!texts[std::size_t(i)].empty()) {
            obj.addObjectString(i, texts[std::size_t(i)]);
        }
    }

    auto end = findStringTableEnd(obj.m_data.get(), obj.m_dataSize, obj.m_stringTableOffset);
    if (!end || std::uint64_t(*end) + 8 > obj.m_imageDataOffset || obj.m_imageDataOffset > obj.m_dataSize)
        return {};
    const std::uint32_t s = *end;
    const std::uint32_t imageSize = obj.m_dataSize - obj.m_imageDataOffset;
    const std::uint64_t newImageOffset =
        std::uint64_t(s) + 8 + std::uint64_t(obj.m_spriteCount) * SpriteHeader::kSize;
    if (newImageOffset + imageSize > 0xFFFFFFFFull) return {};

    storeLe32(&obj.m_data[s], obj.m_spriteCount);
    storeLe32(&obj.m_data[s + 4], imageSize);
    const std::size_t newSize = std::size_t(newImageOffset) + imageSize;
    auto buffer = std::make_unique<std::uint8_t[]>(newSize);
    std::memcpy(buffer.get(), obj.m_data.get(), std::size_t(s) + 8);
    std::uint8_t* table = buffer.get() + s + 8;
    for (const SpriteHeader& h : obj.m_sprites) {
        auto rec = h.toBytes();
        std::memcpy(table, rec.data(), rec.size());
        table += rec.size();
    }
    std::memcpy(buffer.get() + newImageOffset, obj.m_data.get() + obj.m_imageDataOffset, imageSize);
    obj.m_data = std::move(buffer);
    obj.m_imageDataOffset = std::uint32_t(newImageOffset);
    obj.m_dataSize = std::uint32_t(newSize);

    const std::span<const std::uint8_t> chunk(obj.m_data.get(), obj.m_dataSize);
    const auto source = sourceHolding(obj, chunk);
    // Nothing changed: the file read is written again whole, its head included (a flags byte 0
    // of 0x15, encoding 0 or 2, the length as it stood), as long as its checksum holds.
    if (source && source->head.name == obj.m_head.name &&
        (source->head.flags >> 8) == (obj.m_head.flags >> 8) &&
        source->head.checksum == objectChecksum(std::uint8_t(source->head.flags), source->head.name, chunk)) {
        obj.m_head = source->head;
        return *obj.m_sourceFile;
    }
    obj.m_head.checksum = objectChecksum(std::uint8_t(obj.m_head.flags), obj.m_head.name, chunk);
    obj.m_head.encoding = 1;

    // The head goes out with the length as it stands and is patched once the coded size is known;
    // m_head.length in memory keeps its old value. Other tools run-length code the same chunk
    // differently: their coding of an unchanged chunk is kept, since ours would change nothing
    // but the file.
    const bool keepsCoding = source && source->head.encoding != 0;
    std::vector<std::uint8_t> ours;
    if (!keepsCoding) ours = encodeRunLength(chunk);
    const std::span<const std::uint8_t> coded = keepsCoding ? source->coded : ours;
    const auto head = obj.m_head.toBytes();
    std::vector<std::uint8_t> file(head.size() + coded.size());
    std::memcpy(file.data(), head.data(), head.size());
    if (!coded.empty()) std::memcpy(file.data() + head.size(), coded.data(), coded.size());
    storeLe32(&file[17], std::uint32_t(file.size() - ObjectFileHead::kSize));
    return file;
}

Status saveObjectFile(PathObject& obj, const std::string& path, const std::string& fileName,
                      const std::array<std::string, kLanguageCount>& texts) {
    if (!obj.m_data) return Status::fail("no object is loaded");
    PathObject work = obj.clone();  // the object changes only once the file is written
    auto file = std::make_shared<const std::vector<std::uint8_t>>(serializeObjectFile(work, fileName, texts));
    if (file->empty()) return Status::fail("the object's string table has lost its end marker");
    Status written = writeFileReplacing(path, *file);
    if (!written) return written;
    work.m_sourceFile = std::move(file);
    obj = std::move(work);
    return Status::ok();
}

bool checksumMatches(const PathObject& obj) {
    return obj.isLoaded() &&
           obj.m_head.checksum == objectChecksum(std::uint8_t(obj.m_head.flags), obj.m_head.name,
                                                 {obj.m_data.get(), obj.m_dataSize});
}

std::array<std::string, kLanguageCount> objectStrings(const PathObject& obj) {
    std::array<std::string, kLanguageCount> texts;
    for (int i = 0; i < kLanguageCount; ++i) obj.getObjectString(i, texts[std::size_t(i)]);
    return texts;
}

std::vector<std::pair<int, std::string>> stringTableEntries(const PathObject& obj) {
    std::vector<std::pair<int, std::string>> entries;
    if (!obj.m_data) return entries;
    const std::uint32_t limit = std::min(obj.m_imageDataOffset, obj.m_dataSize);
    std::uint32_t pos = obj.m_stringTableOffset;
    while (pos < limit && obj.m_data[pos] != 0xFF) {
        const int code = obj.m_data[pos++];
        std::uint32_t end = pos;
        while (end < limit && obj.m_data[end] != 0) ++end;
        entries.emplace_back(code, std::string(reinterpret_cast<const char*>(&obj.m_data[pos]), end - pos));
        pos = end + 1;
    }
    return entries;
}

}  // namespace trellisor
