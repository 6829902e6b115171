// Exporting sprites to a folder of pictures and importing them back.
#include "imageio/SpriteFolder.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <filesystem>

#include "base/Files.h"
#include "imageio/PictureFiles.h"
#include "imageio/PictureImage.h"
#include "preview/SpriteFacts.h"
#include "sprites/SpriteImport.h"

namespace trellisor {

namespace {

// sprites.json of an object of a few hundred sprites is a few tens of KiB.
constexpr std::uint64_t kMaxJsonBytes = 16ull * 1024 * 1024;

// A whole number within 32 bits, or nothing.
std::optional<int> wholeNumber(const QJsonValue& v) {
    if (!v.isDouble()) return std::nullopt;
    const double d = v.toDouble();
    if (d != std::floor(d) || d < -2147483648.0 || d > 2147483647.0) return std::nullopt;
    return int(d);
}

struct Entry {
    unsigned index;
    std::string path;  // the picture file, folder included
    std::optional<int> x, y, flags;
};

// The entries of sprites.json that name a picture, checked against the object.
Result<std::vector<Entry>> readEntries(const PathObject& obj, const std::string& jsonPath) {
    using Out = Result<std::vector<Entry>>;
    auto json = readJsonFile(jsonPath, kMaxJsonBytes);
    if (!json) return Out::fail(json.error());
    const QJsonDocument& doc = json.value();
    if (!doc.isArray()) return Out::fail(jsonPath + ": not an array of sprite entries");
    const std::string dir = std::filesystem::path(jsonPath).parent_path().string();
    const QJsonArray array = doc.array();
    std::vector<Entry> entries;
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QJsonValue v = array[i];
        if (v.isNull()) continue;
        const std::string where = jsonPath + ": entry " + std::to_string(i);
        if (!v.isObject()) return Out::fail(where + " is neither an object nor null");
        if (std::uint64_t(i) >= obj.m_sprites.size())
            return Out::fail(where + " is past the object's " + std::to_string(obj.m_sprites.size()) +
                             " sprites");
        const QJsonObject o = v.toObject();
        if (!o.value("path").isString() || o.value("path").toString().isEmpty())
            return Out::fail(where + " has no path");
        Entry e{unsigned(i), QFile::encodeName(o.value("path").toString()).toStdString(), {}, {}, {}};
        if (!std::filesystem::path(e.path).is_absolute()) e.path = joinPath(dir, e.path);
        for (auto [key, field] : {std::pair{"x", &e.x}, {"y", &e.y}, {"flags", &e.flags}}) {
            if (!o.contains(key)) continue;
            *field = wholeNumber(o.value(key));
            if (!*field) return Out::fail(where + ": " + key + " is not a whole number");
        }
        entries.push_back(std::move(e));
    }
    return Out::ok(std::move(entries));
}

}  // namespace

Status exportSpriteFolder(const PathObject& obj, const std::string& dir, int first, int last, bool rgba) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!std::filesystem::is_directory(dir)) return Status::fail("cannot make the folder " + dir);
    QJsonArray entries;
    for (int i = 0; i < first; ++i) entries.append(QJsonValue::Null);
    for (int i = std::max(first, 0); i <= last && std::size_t(i) < obj.m_sprites.size(); ++i) {
        const SpriteHeader& h = obj.m_sprites[std::size_t(i)];
        if (std::max<int>(h.width, 1) > kMaxPictureSide || std::max<int>(h.height, 1) > kMaxPictureSide)
            return Status::fail("sprite " + std::to_string(i) + " of " + std::to_string(h.width) + " x " +
                                std::to_string(h.height) + " pixels is too large to write");
        const std::string name = spriteFileName(unsigned(i));
        Status written = writePng(pictureToImage(spritePicture(obj, unsigned(i), rgba)), joinPath(dir, name));
        if (!written) return written;
        entries.append(QJsonObject{
            {"path", QString::fromStdString(name)}, {"x", h.xOffset}, {"y", h.yOffset}, {"flags", h.flags}});
    }
    return writeJsonFile(joinPath(dir, kSpritesJson), entries);
}

Result<int> importSpriteFolder(PathObject& obj, const std::string& dir, int first, int last,
                               const Matching& matching) {
    auto entries = readEntries(obj, joinPath(dir, kSpritesJson));
    if (!entries) return Result<int>::fail(entries.error());
    // Each picture is encoded as soon as it is read, so only one is held at a time.
    SpriteBatch batch(obj, matching);
    for (const Entry& e : entries.value()) {
        if (int(e.index) < first || int(e.index) > last) continue;
        auto image = readPictureFile(e.path, kMaxPictureSide);
        if (!image) return Result<int>::fail(e.path + ": " + image.error());
        const SpriteHeader& now = obj.m_sprites[e.index];
        SpriteReplacement r{e.index, imageToPicture(image.value()), e.flags.value_or(now.flags), e.path};
        r.picture.xOffset = e.x.value_or(now.xOffset);
        r.picture.yOffset = e.y.value_or(now.yOffset);
        if (Status added = batch.add(r); !added) return Result<int>::fail(added.error());
    }
    return batch.apply(obj);
}

}  // namespace trellisor
