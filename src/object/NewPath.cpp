// New: an empty chunk with twelve one-space texts, then one random type per page and the two icons.
#include "object/NewPath.h"

#include <cstdlib>
#include <cstring>

#include "base/Files.h"
#include "object/TypeFile.h"

namespace trellisor {

namespace {

constexpr const char* kPageNames[5] = {"Path", "Path Railings", "Queue", "Queue Railings", "Supports"};
constexpr std::uint32_t kEmptyChunkSize = 59;

void resetToEmptyChunk(PathObject& obj) {
    obj.clearObject();
    obj.m_head = ObjectFileHead{};
    obj.m_head.flags = 0x09F55405;  // bytes 05 54 F5 09
    obj.m_head.encoding = 1;
    obj.m_data = std::make_unique<std::uint8_t[]>(kEmptyChunkSize);  // zeroed
    for (int i = 0; i < kLanguageCount; ++i) {
        obj.m_data[std::size_t(14 + 3 * i)] = std::uint8_t(i);
        obj.m_data[std::size_t(15 + 3 * i)] = 0x20;
        obj.m_data[std::size_t(16 + 3 * i)] = 0x00;
    }
    obj.m_data[50] = 0xFF;  // the string table ends; 51..58 hold the image count and size once saved
    obj.m_stringTableOffset = 14;
    obj.m_dataSize = kEmptyChunkSize;
    obj.m_imageDataOffset = kEmptyChunkSize;
}

}  // namespace

Status assembleNewPath(PathObject& obj, const std::array<std::vector<TypeEntry>, 6>& typeLists,
                       const std::string& workingDirectory) {
    for (int page = PagePath; page <= PageSupports; ++page)
        if (typeLists[std::size_t(page)].empty())
            return Status::fail(std::string("no ") + kPageNames[page] + " type to choose from");

    resetToEmptyChunk(obj);

    // This order puts every page at its fixed indices: path 0-50, queue 51-70, the icons
    // 71 and 72, railings 73-86, queue railings 87-108, supports from 109.
    auto loadRandomType = [&](int page) {
        const auto& list = typeLists[std::size_t(page)];
        const TypeEntry& entry = list[std::size_t(std::rand()) % list.size()];
        // A type file that cannot be read adds nothing; later pages still land at their indices.
        (void)loadTypeFile(obj, page, joinPath(workingDirectory, entry.fileName));
    };
    loadRandomType(PagePath);
    loadRandomType(PageQueue);

    const std::uint32_t iconBytes = std::uint32_t(kIconWidth * kIconHeight);
    std::vector<std::uint8_t> icon(iconBytes, 0);
    SpriteHeader h;
    h.width = kIconWidth;
    h.height = kIconHeight;
    h.xOffset = 1;
    h.yOffset = 1;
    h.flags = kSpriteRaw;
    obj.replaceSprite(PathIconSprite, 0, h.word1(), h.word2(), h.word3(), iconBytes, icon.data());
    obj.replaceSprite(QueueIconSprite, 0, h.word1(), h.word2(), h.word3(), iconBytes, icon.data());

    loadRandomType(PagePathRailings);
    loadRandomType(PageQueueRailings);
    loadRandomType(PageSupports);
    return Status::ok();
}

}  // namespace trellisor
