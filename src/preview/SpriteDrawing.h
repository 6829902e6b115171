// Drawing the object's palette-indexed sprites (raw and row-coded) onto an Image
// of any depth, into a plain index buffer, and at a cell of the isometric grid.
#pragma once

#include <cstdint>

#include "gfx/Image.h"
#include "object/PathObject.h"
#include "preview/FrameOwners.h"

namespace trellisor {

// Draws sprite index with its anchor at x, y; each pixel goes through the target's
// packColor and putPixel, so any depth works and pixels outside are dropped. With
// owners (sized as the target), the draw and every pixel written are recorded there.
void drawSprite(const PathObject& obj, Image* target, unsigned index, int x, int y,
                FrameOwners* owners = nullptr);

// The same walk into a row-major w x h buffer of palette indices (clipped).
void drawSpriteToBuffer(const PathObject& obj, std::uint8_t* buffer, int w, int h, unsigned index, int x,
                        int y);

// Anchor of a grid cell: 64-pixel tiles, 16-pixel rows, odd rows half a tile right,
// one level 16 pixels up.
int cellX(int column, int row);
int cellY(int row, int level);

// drawSprite at the anchor of cell (column, row, level).
void drawElementAt(const PathObject& obj, Image* target, unsigned index, int column, int row, int level,
                   FrameOwners* owners = nullptr);

}  // namespace trellisor
