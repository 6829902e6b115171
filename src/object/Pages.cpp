// The page table's lookups.
#include "object/Pages.h"

namespace trellisor {

const PageInfo& pageInfo(int page) {
    return kPages[std::size_t(page >= 0 && page < kPageCount ? page : PageStringTable)];
}

std::optional<int> spritePageFromCliName(std::string_view name) {
    for (int page = PagePath; page <= PageSupports; ++page)
        if (name == kPages[std::size_t(page)].cliName) return page;
    return std::nullopt;
}

std::string spritePageCliNames() {
    std::string names;
    for (int page = PagePath; page <= PageSupports; ++page)
        names += std::string(page == PagePath ? "" : ", ") + kPages[std::size_t(page)].cliName;
    return names;
}

int supportSpriteCount(std::uint8_t supportType, std::uint8_t pathFlags) {
    if (!selectsSecondSupportSet(supportType)) return 59;
    return selectsSecondSupportSet(pathFlags) ? 56 : 37;
}

int typeSpriteCount(int page, std::uint8_t supportType, std::uint8_t pathFlags) {
    if (page == PageSupports) return supportSpriteCount(supportType, pathFlags);
    return pageInfo(page).typeSpriteCount;
}

}  // namespace trellisor
