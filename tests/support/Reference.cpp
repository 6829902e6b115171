// Reference files: PNG through QImage, bytes as hex text (32 bytes a line, so a diff shows
// which bytes moved).
#include "support/Reference.h"

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace trellisor::test {

namespace {

namespace fs = std::filesystem;
using ::testing::AssertionFailure;
using ::testing::AssertionResult;
using ::testing::AssertionSuccess;

bool refreshing() {
    const char* flag = std::getenv("TRELLISOR_REFRESH_REFERENCES");
    return flag && *flag && std::string(flag) != "0";
}

fs::path referencePath(const std::string& name, const char* extension) {
    const fs::path path = fs::path(TRELLISOR_REFERENCE_DIR) / (name + extension);
    if (refreshing()) fs::create_directories(path.parent_path());
    return path;
}

// Where a result goes: the output folder mirrors the names under tests/data.
QString outputFile(const std::string& name, const char* suffix) {
    const fs::path path = fs::path(TRELLISOR_REFERENCE_OUTPUT_DIR) / (name + suffix);
    fs::create_directories(path.parent_path());
    return QString::fromStdString(path.string());
}

QImage toQImage(const RefPicture& picture) {
    QImage image(picture.width, picture.height,
                 picture.indexed ? QImage::Format_Indexed8 : QImage::Format_ARGB32);
    if (picture.indexed) {
        QList<QRgb> table(picture.palette.begin(), picture.palette.end());
        table.resize(256, qRgb(0, 0, 0));
        image.setColorTable(table);
    }
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            image.setPixel(x, y, picture.pixels[std::size_t(y * picture.width + x)]);
    return image;
}

// An indexed picture whose palette is the plain grey ramp is stored as a greyscale PNG: its
// grey levels are its indices.
RefPicture fromQImage(const QImage& stored, bool indexed) {
    const bool grey = stored.format() == QImage::Format_Grayscale8;
    RefPicture picture{stored.width(),
                       stored.height(),
                       indexed && (grey || stored.format() == QImage::Format_Indexed8),
                       {},
                       {}};
    const QImage image = picture.indexed ? stored : stored.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.pixels.push_back(!picture.indexed ? image.pixel(x, y)
                                     : grey           ? qGray(image.pixel(x, y))
                                                      : image.pixelIndex(x, y));
    return picture;
}

std::string describe(const RefPicture& picture, std::uint32_t value) {
    char text[24];
    std::snprintf(text, sizeof text, picture.indexed ? "index %u" : "#%08X", value);
    return text;
}

// Whether two pixels differ: indices exactly; colours by more than tolerance in some channel.
bool differs(std::uint32_t a, std::uint32_t b, bool indexed, int tolerance) {
    if (indexed || tolerance == 0) return a != b;
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return true;
    return false;
}

// Changed pixels in magenta over a faded copy of the reference.
QImage differencePicture(const RefPicture& reference, const RefPicture& actual, int tolerance) {
    QImage diff = toQImage(reference).convertToFormat(QImage::Format_RGB32);
    for (int i = 0; i < reference.width * reference.height; ++i) {
        const int x = i % reference.width, y = i / reference.width, faded = 160 + qGray(diff.pixel(x, y)) / 4;
        const std::size_t at = std::size_t(i);
        const bool changed = differs(reference.pixels[at], actual.pixels[at], actual.indexed, tolerance);
        diff.setPixel(x, y, changed ? qRgb(255, 0, 255) : qRgb(faded, faded, faded));
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

AssertionResult noReference(const fs::path& path, const QString& actualFile) {
    return AssertionFailure() << "no reference " << path << "; the result is in " << actualFile.toStdString()
                              << " (scripts/refresh-references.sh makes the reference)";
}

}  // namespace

AssertionResult matchesReference(const RefPicture& actual, const std::string& name, int tolerance) {
    const fs::path path = referencePath(name, ".png");
    const QString pathText = QString::fromStdString(path.string());
    if (refreshing())
        return toQImage(actual).save(pathText, "PNG") ? AssertionSuccess()
                                                      : AssertionFailure() << "cannot write " << path;
    const QString actualFile = outputFile(name, ".actual.png");
    const QImage stored(pathText);
    if (stored.isNull()) {
        toQImage(actual).save(actualFile, "PNG");
        return noReference(path, actualFile);
    }
    const RefPicture reference = fromQImage(stored, actual.indexed);
    if (reference.width != actual.width || reference.height != actual.height) {
        toQImage(actual).save(actualFile, "PNG");
        return AssertionFailure() << name << ": the picture is " << actual.width << " x " << actual.height
                                  << ", the reference " << reference.width << " x " << reference.height
                                  << "; the result is in " << actualFile.toStdString();
    }
    std::size_t differing = 0, first = 0;
    for (std::size_t i = 0; i < actual.pixels.size(); ++i)
        if (differs(reference.pixels[i], actual.pixels[i], actual.indexed, tolerance) && differing++ == 0)
            first = i;
    if (differing == 0) return AssertionSuccess();
    const QString diffFile = outputFile(name, ".diff.png");
    toQImage(actual).save(actualFile, "PNG");
    differencePicture(reference, actual, tolerance).save(diffFile, "PNG");
    const int x = int(first % std::size_t(actual.width)), y = int(first / std::size_t(actual.width));
    return AssertionFailure()
           << name << ": " << differing << " of " << actual.pixels.size() << " pixels differ from " << path
           << ", the first at (" << x << ", " << y << "): reference "
           << describe(reference, reference.pixels[first]) << ", actual "
           << describe(actual, actual.pixels[first]) << ".\n  result: " << actualFile.toStdString()
           << "\n  changed pixels (magenta): " << diffFile.toStdString()
           << "\n  An intended change: scripts/refresh-references.sh, then review the pictures.";
}

AssertionResult matchesReferenceBytes(std::span<const std::uint8_t> actual, const std::string& name) {
    const fs::path path = referencePath(name, ".hex");
    if (refreshing()) {
        std::ofstream(path) << hexText(actual);
        return AssertionSuccess();
    }
    const QString actualFile = outputFile(name, ".actual.hex");
    std::ifstream in(path);
    if (!in) {
        std::ofstream(actualFile.toStdString()) << hexText(actual);
        return noReference(path, actualFile);
    }
    std::vector<std::uint8_t> reference;
    for (std::string token; in >> token;) reference.push_back(std::uint8_t(std::stoul(token, nullptr, 16)));
    const std::size_t common = std::min(reference.size(), actual.size());
    std::size_t differing = std::max(reference.size(), actual.size()) - common, first = common;
    for (std::size_t i = common; i-- > 0;)
        if (reference[i] != actual[i]) ++differing, first = i;
    if (differing == 0) return AssertionSuccess();
    std::ofstream(actualFile.toStdString()) << hexText(actual);
    char at[64] = "";
    if (first < common)
        std::snprintf(at, sizeof at, ": reference 0x%02x, actual 0x%02x", reference[first], actual[first]);
    return AssertionFailure() << name << ": " << differing << " bytes differ from " << path << " ("
                              << reference.size() << " bytes there, " << actual.size()
                              << " here), the first at byte " << first << at
                              << ".\n  result: " << actualFile.toStdString();
}

}  // namespace trellisor::test
