// Reference files: PNG through QImage, bytes as hex text (32 bytes a line, so a diff shows
// which bytes moved).
#include "support/Reference.h"

#include <QColor>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace trellisor::test {

namespace {

namespace fs = std::filesystem;

bool refreshing() {
    const char* flag = std::getenv("TRELLISOR_REFRESH_REFERENCES");
    return flag && *flag && std::string(flag) != "0";
}

fs::path referencePath(const std::string& name, const char* extension) {
    return fs::path(TRELLISOR_REFERENCE_DIR) / (name + extension);
}

// Where a result goes: the output folder mirrors the names under tests/data.
std::string outputFile(const std::string& name, const char* suffix) {
    const fs::path path = fs::path(referenceOutputFolder()) / (name + suffix);
    fs::create_directories(path.parent_path());
    return path.string();
}

QImage toQImage(const RefPicture& picture) {
    if (!picture.indexed) {
        QImage image(picture.width, picture.height, QImage::Format_ARGB32);
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                image.setPixel(x, y,
                               picture.pixels[std::size_t(y) * std::size_t(picture.width) + std::size_t(x)]);
        return image;
    }
    QImage image(picture.width, picture.height, QImage::Format_Indexed8);
    QList<QRgb> table(256, qRgb(0, 0, 0));
    for (std::size_t i = 0; i < picture.palette.size() && i < 256; ++i)
        table[qsizetype(i)] = picture.palette[i];
    image.setColorTable(table);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            image.setPixel(x, y,
                           picture.pixels[std::size_t(y) * std::size_t(picture.width) + std::size_t(x)]);
    return image;
}

// An indexed picture whose palette is the plain grey ramp is stored as a greyscale PNG: its
// grey levels are its indices.
RefPicture fromQImage(const QImage& stored, bool indexed) {
    const QImage image = indexed && stored.format() == QImage::Format_Grayscale8
                             ? stored.convertToFormat(QImage::Format_Indexed8, [] {
                                   QList<QRgb> grey;
                                   for (int i = 0; i < 256; ++i) grey.push_back(qRgb(i, i, i));
                                   return grey;
                               }())
                             : stored;
    RefPicture picture;
    picture.width = image.width();
    picture.height = image.height();
    picture.indexed = indexed && image.format() == QImage::Format_Indexed8;
    const QImage source = picture.indexed ? image : image.convertToFormat(QImage::Format_ARGB32);
    if (picture.indexed)
        for (QRgb c : image.colorTable()) picture.palette.push_back(c);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.pixels.push_back(picture.indexed ? std::uint32_t(source.pixelIndex(x, y))
                                                     : std::uint32_t(source.pixel(x, y)));
    return picture;
}

std::string describe(const RefPicture& picture, std::uint32_t value) {
    char text[40];
    if (picture.indexed) {
        std::snprintf(text, sizeof text, "index %u", value);
    } else {
        std::snprintf(text, sizeof text, "#%08X", value);
    }
    return text;
}

// Changed pixels in magenta over a faded copy of the reference.
QImage differencePicture(const RefPicture& reference, const RefPicture& actual) {
    const QImage shown = toQImage(reference).convertToFormat(QImage::Format_RGB32);
    QImage diff(reference.width, reference.height, QImage::Format_RGB32);
    for (int y = 0; y < reference.height; ++y)
        for (int x = 0; x < reference.width; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(reference.width) + std::size_t(x);
            if (reference.pixels[i] != actual.pixels[i]) {
                diff.setPixel(x, y, qRgb(255, 0, 255));
            } else {
                const int grey = qGray(shown.pixel(x, y));
                diff.setPixel(x, y, qRgb(160 + grey / 4, 160 + grey / 4, 160 + grey / 4));
            }
        }
    return diff;
}

std::string hexText(std::span<const std::uint8_t> bytes) {
    std::string text;
    char pair[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
        text += pair;
        text += (i % 32 == 31 || i + 1 == bytes.size()) ? '\n' : ' ';
    }
    return text;
}

std::vector<std::uint8_t> readHex(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::uint8_t> bytes;
    std::string token;
    while (in >> token) bytes.push_back(std::uint8_t(std::stoul(token, nullptr, 16)));
    return bytes;
}

void writeText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

}  // namespace

std::string referenceOutputFolder() {
    if (const char* out = std::getenv("TRELLISOR_TEST_OUTPUT")) return out;
    return TRELLISOR_REFERENCE_OUTPUT_DIR;
}

::testing::AssertionResult matchesReference(const RefPicture& actual, const std::string& name) {
    const fs::path path = referencePath(name, ".png");
    if (refreshing()) {
        fs::create_directories(path.parent_path());
        if (!toQImage(actual).save(QString::fromStdString(path.string()), "PNG"))
            return ::testing::AssertionFailure() << "cannot write the reference " << path;
        return ::testing::AssertionSuccess();
    }
    const std::string actualFile = outputFile(name, ".actual.png");
    const QImage stored(QString::fromStdString(path.string()));
    if (stored.isNull()) {
        toQImage(actual).save(QString::fromStdString(actualFile), "PNG");
        return ::testing::AssertionFailure()
               << "no reference picture " << path << "; the result is in " << actualFile
               << " (scripts/refresh-references.sh makes the reference)";
    }
    const RefPicture reference = fromQImage(stored, actual.indexed);
    if (reference.width != actual.width || reference.height != actual.height) {
        toQImage(actual).save(QString::fromStdString(actualFile), "PNG");
        return ::testing::AssertionFailure()
               << name << ": the picture is " << actual.width << " x " << actual.height << ", the reference "
               << reference.width << " x " << reference.height << "; the result is in " << actualFile;
    }
    std::size_t differing = 0, first = 0;
    for (std::size_t i = 0; i < actual.pixels.size(); ++i)
        if (reference.pixels[i] != actual.pixels[i] && differing++ == 0) first = i;
    if (differing == 0) return ::testing::AssertionSuccess();
    const std::string diffFile = outputFile(name, ".diff.png");
    toQImage(actual).save(QString::fromStdString(actualFile), "PNG");
    differencePicture(reference, actual).save(QString::fromStdString(diffFile), "PNG");
    const int x = int(first % std::size_t(actual.width)), y = int(first / std::size_t(actual.width));
    return ::testing::AssertionFailure()
           << name << ": " << differing << " of " << actual.pixels.size() << " pixels differ from " << path
           << ", the first at (" << x << ", " << y << "): reference "
           << describe(reference, reference.pixels[first]) << ", actual "
           << describe(actual, actual.pixels[first]) << ".\n  result: " << actualFile
           << "\n  changed pixels (magenta): " << diffFile
           << "\n  An intended change: scripts/refresh-references.sh, then review the pictures.";
}

::testing::AssertionResult matchesReferenceBytes(std::span<const std::uint8_t> actual,
                                                 const std::string& name) {
    const fs::path path = referencePath(name, ".hex");
    if (refreshing()) {
        fs::create_directories(path.parent_path());
        writeText(path.string(), hexText(actual));
        return ::testing::AssertionSuccess();
    }
    const std::string actualFile = outputFile(name, ".actual.hex");
    if (!fs::exists(path)) {
        writeText(actualFile, hexText(actual));
        return ::testing::AssertionFailure()
               << "no reference bytes " << path << "; the result is in " << actualFile
               << " (scripts/refresh-references.sh makes the reference)";
    }
    const std::vector<std::uint8_t> reference = readHex(path);
    const std::size_t common = std::min(reference.size(), actual.size());
    std::size_t differing = std::max(reference.size(), actual.size()) - common, first = common;
    for (std::size_t i = common; i-- > 0;)
        if (reference[i] != actual[i]) ++differing, first = i;
    if (differing == 0) return ::testing::AssertionSuccess();
    writeText(actualFile, hexText(actual));
    std::ostringstream at;
    at << "the first at byte " << first;
    if (first < common)
        at << ": reference 0x" << std::hex << int(reference[first]) << ", actual 0x" << int(actual[first]);
    return ::testing::AssertionFailure()
           << name << ": " << std::dec << differing << " bytes differ from " << path << " ("
           << reference.size() << " bytes there, " << actual.size() << " here), " << at.str()
           << ".\n  result: " << actualFile;
}

}  // namespace trellisor::test
