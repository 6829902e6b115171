// Picture and JSON files through Qt: PNG and JSON written whole or not at all, pictures
// of any format Qt reads, and bitmaps of every format for Import Bitmap.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QJsonDocument>
#include <QJsonValue>
#include <span>
#include <string>

#include "base/Result.h"
#include "preview/BitmapImport.h"

namespace trellisor {

// A JSON array or object as compact text ending in a newline.
QByteArray jsonBytes(const QJsonValue& value);
// Reads a JSON file of at most maxBytes; failures start with the path ("PATH: malformed
// JSON at byte N (reason)").
Result<QJsonDocument> readJsonFile(const std::string& path, std::uint64_t maxBytes);
// Writes bytes to a file, replaced only once written whole; a failure reads
// "cannot write PATH: reason".
Status writeWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);
// Writes a JSON value to a file (replaced only once written whole).
Status writeJsonFile(const std::string& path, const QJsonValue& value);
// An image as the bytes of a PNG file; refused when Qt cannot encode it.
Result<QByteArray> pngBytes(const QImage& image);
// Writes an image as PNG (replaced only once written whole).
Status writePng(const QImage& image, const std::string& path);

// Reads a picture of any format Qt reads. A picture larger than maxSide on either side is
// refused from its header, before its pixels are decoded. What the picture library prints
// itself while reading goes into the reason, not to the terminal ("cannot read the picture:
// Unable to read image data (libpng error: IDAT: incorrect header check)").
Result<QImage> readPictureFile(const std::string& path, int maxSide);

// The bitmap Import Bitmap paints from. A file the bitmap reader takes as an uncompressed
// 8- or 24-bit bitmap goes through it unchanged; any other picture Qt reads (PNG, compressed
// or other-depth BMP, ...) becomes a 24-bit bitmap of its colours. A file neither reads is
// left to the bitmap reader, so it gives the reader's reason or its depth message.
Result<ImportedBitmap> readImportBitmap(const std::string& path);

}  // namespace trellisor
