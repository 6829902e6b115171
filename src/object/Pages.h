// The editor's six pages and everything that is said about each one in one table:
// tab caption, command-line name, descriptor list, sprite range, type-file size,
// preview modes and the texts and buttons of its controls. Every user reads it here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trellisor {

// The six editor pages (tab indices).
enum EditorPage : int {
    PagePath = 0,
    PagePathRailings = 1,
    PageQueue = 2,
    PageQueueRailings = 3,
    PageSupports = 4,
    PageStringTable = 5,
};
inline constexpr int kPageCount = 6;

// What the preview shows.
enum PreviewMode : int {
    PreviewExamplePath = 0,
    PreviewAllPathElements,
    PreviewAllRailingElements,
    PreviewExampleQueue,
    PreviewAllQueueElements,
    PreviewAllQueueRailings,
    PreviewAllSupportElements
};

// Flag bits of chunk bytes 10 (support type) and 11 (path flags).
inline constexpr std::uint8_t kSupportSetBit = 0x01;              // both bytes: which support set
inline constexpr std::uint8_t kDrawsPathsOverSupportsBit = 0x02;  // path flags only

struct PageInfo {
    const char* caption;         // the tab's text
    const char* cliName;         // the page's name on the command line ("" for the String Table)
    const char* descriptorFile;  // its descriptor list in the working directory ("" for none)
    int firstSprite;
    int lastSprite;           // -1: the object's last sprite (Supports)
    int typeSpriteCount;      // sprites in its type files; Supports: see supportSpriteCount
    PreviewMode exampleMode;  // the preview with "Show Example" checked
    PreviewMode allMode;      // and with the all-elements choice
    const char* exportText;   // the export button
    const char* exampleText;  // the two view choices
    const char* allText;
    bool importsBitmaps;  // "Import Bitmap" shown
    bool addsSparkles;    // "Add Sparkles" shown
};

inline constexpr std::array<PageInfo, kPageCount> kPages = {{
    {"Path", "path", "path.txt", 0, 50, 51, PreviewExamplePath, PreviewAllPathElements, "Export Path Type",
     "Show Example Path", "Show All Path Elements", true, true},
    {"Path Railings", "path-railings", "prail.txt", 73, 86, 14, PreviewExamplePath, PreviewAllRailingElements,
     "Export Railing Type", "Show Example Path", "Show All Railing Elements", false, false},
    {"Queue", "queue", "queue.txt", 51, 70, 20, PreviewExampleQueue, PreviewAllQueueElements,
     "Export Queue Type", "Show Example Queue", "Show All Queue Elements", true, false},
    {"Queue Railings", "queue-railings", "qrail.txt", 87, 108, 22, PreviewExampleQueue,
     PreviewAllQueueRailings, "Export Queue Rail", "Show Example Queue", "Show All Queue Railings", false,
     false},
    {"Supports", "supports", "support.txt", 109, -1, 0, PreviewExamplePath, PreviewAllSupportElements,
     "Export Support Type", "Show Example Path", "Show All Support Elements", false, false},
    {"String Table", "", "", 0, 0, 0, PreviewExamplePath, PreviewExamplePath, "", "", "", false, false},
}};

// The five pages that hold sprites (all but the String Table).
inline constexpr bool isSpritePage(int page) { return page >= PagePath && page <= PageSupports; }

// The page's row of kPages; pages out of range read as the String Table page.
const PageInfo& pageInfo(int page);

// "path", "path-railings", ... -> the sprite page; nothing for any other name.
std::optional<int> spritePageFromCliName(std::string_view name);
// The sprite pages' command-line names, "path, path-railings, ..." (for messages).
std::string spritePageCliNames();

// Whether a flag byte selects the second support set (bit 0).
inline constexpr bool selectsSecondSupportSet(std::uint8_t flagByte) {
    return (flagByte & kSupportSetBit) != 0;
}

// The size of the support set the two flag bytes select: 59 when the support type's
// bit 0 is clear, otherwise 56 or 37 by the path flags' bit 0.
int supportSpriteCount(std::uint8_t supportType, std::uint8_t pathFlags);
// Number of sprites a type file of page holds (0 for the String Table page).
int typeSpriteCount(int page, std::uint8_t supportType, std::uint8_t pathFlags);

}  // namespace trellisor
