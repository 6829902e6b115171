// Pictures and QImage: the one place where sprite pictures meet Qt's image formats.
#pragma once

#include <QImage>

#include "base/Result.h"
#include "sprites/Picture.h"

namespace trellisor {

// An indexed picture as an 8-bit image with the game palette (index 0 fully
// transparent), an RGBA picture as a 32-bit image with alpha. Offsets are not kept.
QImage pictureToImage(const Picture& picture);

// Any image as a picture with zero offsets: an 8-bit indexed image whose colour table is
// the game palette for the indices it uses keeps its indices; every other becomes RGBA.
Picture imageToPicture(const QImage& image);

// Every pixel an n x n block (nearest neighbour, never smoothed), as a 32-bit image (with alpha
// when image has it). Refused when a side would pass kMaxSheetSide.
Result<QImage> scaledImage(const QImage& image, int n);

}  // namespace trellisor
