// One preview frame: grass, then the example scene or the page's element grid,
// then present. The editor's paint handler and the command line both call it.
#pragma once

#include "gfx/Display.h"
#include "gfx/Image.h"
#include "object/PathObject.h"
#include "preview/FrameOwners.h"

namespace trellisor {

inline constexpr int kPreviewWidth = 360;
inline constexpr int kPreviewHeight = 260;

// Sprites first..last (signed) in rows 1..14 of five cells each; at most 70 shown.
void drawElementGrid(const PathObject& obj, Image* screen, int first, int last,
                     FrameOwners* owners = nullptr);

// Draws the frame for a preview mode onto display's screen and presents it. The
// grid modes take their range from page, not from the mode. grass may be null
// (the screen is then cleared to black first). With owners, the record is reset to
// the screen's size and says for every pixel which sprite wrote it last, or that
// the grass covers it (the record reads grass when asked, so grass must outlive the
// answers), or neither: "background" (black without grass, a hole in the grass
// keeps what the frame before left there).
void drawPreviewFrame(const PathObject& obj, Display& display, Image* grass, int previewMode, int page,
                      FrameOwners* owners = nullptr);

}  // namespace trellisor
