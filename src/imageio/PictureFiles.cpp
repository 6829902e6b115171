// Reading and writing pictures and JSON with Qt.
#include "imageio/PictureFiles.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <span>

#include "base/Files.h"
#include "imageio/QuietMessages.h"

namespace trellisor {

namespace {

std::span<const std::uint8_t> bytesOf(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())};
}

// The largest picture Import Bitmap converts: far beyond what its 8-bit positions reach.
constexpr int kMaxImportBitmapSide = 16384;

}  // namespace

QByteArray jsonBytes(const QJsonValue& value) {
    QJsonDocument doc = value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    return doc.toJson(QJsonDocument::Compact) + '\n';
}

Result<QJsonDocument> readJsonFile(const std::string& path, std::uint64_t maxBytes) {
    auto bytes = readFileBytes(path, maxBytes);
    if (!bytes) return Result<QJsonDocument>::fail(path + ": " + bytes.error());
    QJsonParseError error;
    QJsonDocument doc = QJsonDocument::fromJson(
        QByteArray(reinterpret_cast<const char*>(bytes->data()), qsizetype(bytes->size())), &error);
    if (doc.isNull())
        return Result<QJsonDocument>::fail(path + ": malformed JSON at byte " + std::to_string(error.offset) +
                                           " (" + error.errorString().toStdString() + ")");
    return Result<QJsonDocument>::ok(std::move(doc));
}

Status writeWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    Status written = writeFileReplacing(path, bytes);
    return written ? written : Status::fail("cannot write " + path + ": " + written.error());
}

Status writeJsonFile(const std::string& path, const QJsonValue& value) {
    return writeWholeFile(path, bytesOf(jsonBytes(value)));
}

Result<QByteArray> pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return Result<QByteArray>::fail("cannot encode the picture as PNG");
    return Result<QByteArray>::ok(std::move(bytes));
}

Status writePng(const QImage& image, const std::string& path) {
    auto bytes = pngBytes(image);
    if (!bytes) return Status::fail(path + ": " + bytes.error());
    return writeWholeFile(path, bytesOf(bytes.value()));
}

Result<QImage> readPictureFile(const std::string& path, int maxSide) {
    StderrCapture printed;  // libpng writes its errors there itself
    QImageReader reader(QFile::decodeName(path.c_str()));
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > maxSide || size.height() > maxSide))
        return Result<QImage>::fail("a picture of " + std::to_string(size.width()) + " x " +
                                    std::to_string(size.height()) + " pixels is larger than " +
                                    std::to_string(maxSide) + " on a side");
    QImage image = reader.read();
    const std::string library = printed.text();
    if (image.isNull())
        return Result<QImage>::fail("cannot read the picture: " + reader.errorString().toStdString() +
                                    (library.empty() ? "" : " (" + library + ")"));
    return Result<QImage>::ok(std::move(image));
}

Result<ImportedBitmap> readImportBitmap(const std::string& path) {
    auto bmp = readBitmapFile(path);
    if (bmp && isImportableDepth(bmp.value()) && bmp->infoHeader.biCompression == 0) return bmp;
    auto image = readPictureFile(path, kMaxImportBitmapSide);
    // A picture Qt cannot take: a file marked as a BMP keeps the bitmap reader's answer (its
    // depth message or reason); any other file gets Qt's reason (unknown format, too large).
    const bool markedBmp = bmp && bmp->fileHeader[0] == 'B' && bmp->fileHeader[1] == 'M';
    if (!image) return !bmp || markedBmp ? bmp : Result<ImportedBitmap>::fail(image.error());
    const QImage rgb = image->convertToFormat(QImage::Format_RGB888);
    std::vector<std::uint8_t> rows;
    rows.reserve(std::size_t(rgb.width()) * 3 * std::size_t(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* line = rgb.constScanLine(y);
        rows.insert(rows.end(), line, line + std::size_t(rgb.width()) * 3);
    }
    return Result<ImportedBitmap>::ok(bitmapFromRgbRows(rgb.width(), rgb.height(), rows));
}

}  // namespace trellisor
