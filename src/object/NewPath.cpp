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

    // Built apart and handed over only whole: a type that cannot be read leaves obj as it was.
    PathObject fresh;
    fresh.resetToEmptyChunk();

    // This order puts every page at its fixed indices: path 0-50, queue 51-70, the icons
    // 71 and 72, railings 73-86, queue railings 87-108, supports from 109.
    auto loadRandomType = [&](int page) {
        const auto& list = typeLists[std::size_t(page)];
        const TypeEntry& entry = list[std::size_t(std::rand()) % list.size()];
        Status loaded = loadTypeFile(fresh, page, joinPath(workingDirectory, entry.fileName));
        if (loaded) return loaded;
        return Status::fail(std::string("cannot read the ") + kPages[std::size_t(page)].caption +
                            " type file '" + entry.fileName + "': " + loaded.error());
    };
    if (Status s = loadRandomType(PagePath); !s) return s;
    if (Status s = loadRandomType(PageQueue); !s) return s;

    const std::uint32_t iconBytes = std::uint32_t(kIconWidth * kIconHeight);
    std::vector<std::uint8_t> icon(iconBytes, 0);
    SpriteHeader h;
    h.width = kIconWidth;
    h.height = kIconHeight;
    h.xOffset = 1;
    h.yOffset = 1;
    h.flags = kSpriteRaw;
    fresh.replaceSprite(PathIconSprite, 0, h.word1(), h.word2(), h.word3(), iconBytes, icon.data());
    fresh.replaceSprite(QueueIconSprite, 0, h.word1(), h.word2(), h.word3(), iconBytes, icon.data());

    for (int page : {PagePathRailings, PageQueueRailings, PageSupports})
        if (Status s = loadRandomType(page); !s) return s;
    obj = std::move(fresh);
    return Status::ok();
}

}  // namespace trellisor
