// The editor's bitmap and icon resources, drawn in code: the recolour strip
// (bitmap 137) from the game palette, and the path-tile icons 128 and 130, which are
// also the desktop icon (PNG and SVG, written by tools/icons).
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace trellisor {

inline constexpr int kStripBitmapResource = 137;
inline constexpr int kAboutIconResource = 128;
inline constexpr int kAppIconResource = 130;

// 270 x 17, eighteen 15-pixel blocks in the strip colours of the game palette.
QImage recolourStripImage();

// A small isometric path tile of size x size pixels on a transparent ground.
QImage pathTileImage(int size);
// The same tile as an SVG document of size x size user units (the scalable desktop icon).
QByteArray pathTileSvg(int size);

// Resource lookup by id: bitmap 137, icons 128 and 130 (a null pixmap/icon otherwise).
QPixmap resourceBitmap(int id);
QPixmap resourceIconPixmap(int id);
QIcon resourceIcon(int id);

}  // namespace trellisor
