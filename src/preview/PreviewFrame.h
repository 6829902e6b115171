// One preview frame: grass, then the example scene or the page's element grid,
// then present. The editor's paint handler and the command line both call it.
#pragma once

#include "gfx/Display.h"
#include "gfx/Image.h"
#include "object/PathObject.h"

namespace trellisor {

inline constexpr int kPreviewWidth = 360;
inline constexpr int kPreviewHeight = 260;

// Sprites first..last (signed) in rows 1..14 of five cells each; at most 70 shown.
void drawElementGrid(const PathObject& obj, Image* screen, int first, int last);

// Draws the frame for a preview mode onto display's screen and presents it. The
// grid modes take their range from page, not from the mode. grass may be null
// (the screen is then cleared to black first).
void drawPreviewFrame(const PathObject& obj, Display& display, Image* grass, int previewMode, int page);

}  // namespace trellisor
