// New: an empty chunk with twelve one-space texts, then one random type per page and the two icons.
#include "object/NewPath.h"

#include <cstdlib>

#include "base/Files.h"
#include "object/TypeFile.h"

namespace trellisor {

Status assembleNewPath(PathObject& obj, const std::array<std::vector<TypeEntry>, 6>& typeLists,
                       const std::string& workingDirectory) {
    for (int page = PagePath; page <= PageSupports; ++page)
        if (typeLists[std::size_t(page)].empty())
            return Status::fail(std::string("no ") + kPages[std::size_t(page)].caption +
                                " type to choose from");

    obj.resetToEmptyChunk();

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
