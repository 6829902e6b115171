// Exporting sprites to a folder of pictures and importing them back.
#include "imageio/SpriteFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "base/Files.h"
#include "imageio/PictureFiles.h"
#include "imageio/PictureImage.h"
#include "object/Pages.h"
#include "preview/SpriteFacts.h"
#include "sprites/SpriteImport.h"

namespace trellisor {

namespace fs = std::filesystem;

namespace {

// sprites.json of an object of a few hundred sprites is a few tens of KiB.
constexpr std::uint64_t kMaxJsonBytes = 16ull * 1024 * 1024;

std::string threeDigits(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", n);
    return text;
}

// A whole number within 32 bits, or nothing.
std::optional<int> wholeNumber(const QJsonValue& v) {
    if (!v.isDouble()) return std::nullopt;
    const double d = v.toDouble();
    if (d != std::floor(d) || d < -2147483648.0 || d > 2147483647.0) return std::nullopt;
    return int(d);
}

// A folder to write the files of an export into, removed again unless it became the
// folder itself: beside the folder when it can be made there on the same file system (a
// missing folder is then made by renaming it), else inside the folder.
class ExportFolder {
public:
    static Result<ExportFolder> make(const std::string& dir) {
        fs::path target(dir);
        if (!target.has_filename()) target = target.parent_path();
        std::error_code ec;
        const fs::path parent = target.has_parent_path() ? target.parent_path() : fs::path(".");
        fs::create_directories(parent, ec);
        const bool exists = fs::exists(dir, ec);
        if (exists && !fs::is_directory(dir, ec))
            return Result<ExportFolder>::fail("cannot make the folder " + dir);
        ExportFolder beside(dir, (parent / ("." + target.filename().string() + ".export-XXXXXX")).string());
        if (beside.isMade() && (!exists || sameDevice(beside.m_path, dir)))
            return Result<ExportFolder>::ok(std::move(beside));
        if (!exists) return Result<ExportFolder>::fail("cannot make the folder " + dir);
        ExportFolder inside(dir, joinPath(dir, ".export-XXXXXX"));
        const int error = errno;
        if (!inside.isMade())
            return Result<ExportFolder>::fail("cannot write into " + dir + ": " + std::strerror(error));
        return Result<ExportFolder>::ok(std::move(inside));
    }
    ExportFolder(ExportFolder&& other) noexcept
        : m_dir(other.m_dir), m_path(std::exchange(other.m_path, "")) {}
    ~ExportFolder() {
        std::error_code ec;
        if (!m_path.empty()) fs::remove_all(m_path, ec);
    }

    const std::string& path() const { return m_path; }

    // Moves every file in, after checking that none can fail for a reason known beforehand.
    Status moveIn(const std::vector<std::string>& names) {
        std::error_code ec;
        if (!fs::exists(m_dir, ec)) {
            fs::rename(m_path, m_dir, ec);
            if (ec) return Status::fail("cannot make the folder " + m_dir + ": " + ec.message());
            m_path.clear();
            return Status::ok();
        }
        if (::access(m_dir.c_str(), W_OK) != 0)
            return Status::fail("cannot write into " + m_dir + ": " + std::strerror(errno));
        for (const std::string& name : names) {
            const std::string to = joinPath(m_dir, name);
            if (fs::exists(fs::symlink_status(to, ec)) && !fs::is_regular_file(fs::symlink_status(to, ec)))
                return Status::fail(to + " is in the way: it is not a file");
        }
        for (const std::string& name : names) {
            fs::rename(joinPath(m_path, name), joinPath(m_dir, name), ec);
            if (ec) return Status::fail("cannot move " + name + " into " + m_dir + ": " + ec.message());
        }
        return Status::ok();
    }

private:
    ExportFolder(std::string dir, std::string pattern) : m_dir(std::move(dir)) {
        if (::mkdtemp(pattern.data())) m_path = std::move(pattern);
    }
    bool isMade() const { return !m_path.empty(); }
    static bool sameDevice(const std::string& a, const std::string& b) {
        struct stat sa {};
        struct stat sb {};
        return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev;
    }

    std::string m_dir;
    std::string m_path;
};

// "Path sprites (000–050) and Queue sprites (051–070)": what the entries hold, page by page.
std::string heldSprites(const PathObject& obj, std::span<const SpriteEntry> entries) {
    std::vector<std::string> parts;
    auto describe = [&](const std::string& what, int first, int last) {
        int low = -1, high = -1;
        for (const SpriteEntry& e : entries) {
            if (int(e.index) < first || int(e.index) > last) continue;
            low = low < 0 ? int(e.index) : std::min(low, int(e.index));
            high = std::max(high, int(e.index));
        }
        if (low >= 0) parts.push_back(what + " (" + threeDigits(low) + "\u2013" + threeDigits(high) + ")");
    };
    for (int page : {PagePath, PagePathRailings, PageQueue, PageQueueRailings, PageSupports})
        describe(std::string(kPages[std::size_t(page)].caption) + " sprites", obj.pageFirstSprite(page),
                 obj.pageLastSprite(page));
    describe("icons", int(PathIconSprite), int(QueueIconSprite));
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return text;
}

// "Queue sprites" for a page's range, else "sprites 051–060".
std::string wantedSprites(const PathObject& obj, int first, int last) {
    for (int page = PagePath; page <= PageSupports; ++page)
        if (obj.pageFirstSprite(page) == first && obj.pageLastSprite(page) == last)
            return std::string(kPages[std::size_t(page)].caption) + " sprites";
    return "sprites " + threeDigits(first) + "\u2013" + threeDigits(last);
}

}  // namespace

Status replaceFolderFile(const std::string& path, const QByteArray& bytes) {
    const std::string temp = path + ".tmp-" + std::to_string(::getpid());
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return Status::fail(std::strerror(errno));
    const std::size_t size = std::size_t(bytes.size());
    int error = std::fwrite(bytes.constData(), 1, size, f) == size ? 0 : errno;
    if (std::fclose(f) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(temp.c_str(), path.c_str()) != 0) error = errno;
    if (error == 0) return Status::ok();
    std::remove(temp.c_str());
    return Status::fail(std::strerror(error));
}

Result<QByteArray> spritePng(const PathObject& obj, unsigned index, bool rgba) {
    const SpriteHeader& h = obj.m_sprites.at(index);
    if (std::max<int>(h.width, 1) > kMaxPictureSide || std::max<int>(h.height, 1) > kMaxPictureSide)
        return Result<QByteArray>::fail("sprite " + std::to_string(index) + " of " + std::to_string(h.width) +
                                        " x " + std::to_string(h.height) + " pixels is too large to write");
    return pngBytes(pictureToImage(spritePicture(obj, index, rgba)));
}

QByteArray spritesJsonBytes(std::span<const SpriteEntry> entries) {
    QJsonArray array;
    for (const SpriteEntry& e : entries) {
        while (array.size() < qsizetype(e.index)) array.append(QJsonValue::Null);
        QJsonObject o{{"path", QFile::decodeName(e.name.c_str())}};
        for (auto [key, field] : {std::pair{"x", e.x}, {"y", e.y}, {"flags", e.flags}})
            if (field) o.insert(key, *field);
        array.append(o);
    }
    return jsonBytes(array);
}

Result<int> exportSpriteFolder(const PathObject& obj, const std::string& dir, int first, int last,
                               bool rgba) {
    auto temp = ExportFolder::make(dir);
    if (!temp) return Result<int>::fail(temp.error());
    std::vector<SpriteEntry> entries;
    for (int i = std::max(first, 0); i <= last && std::size_t(i) < obj.m_sprites.size(); ++i) {
        const SpriteHeader& h = obj.m_sprites[std::size_t(i)];
        const std::string name = spriteFileName(unsigned(i));
        entries.push_back({unsigned(i), name, name, h.xOffset, h.yOffset, h.flags});
    }
    std::vector<std::string> names;
    auto write = [&](const std::string& name, const Result<QByteArray>& bytes) {
        if (!bytes) return Status::fail(bytes.error());
        names.push_back(name);
        Status written = replaceFolderFile(joinPath(temp->path(), name), bytes.value());
        return written ? written
                       : Status::fail("cannot write " + joinPath(dir, name) + ": " + written.error());
    };
    for (const SpriteEntry& e : entries)
        if (Status written = write(e.name, spritePng(obj, e.index, rgba)); !written)
            return Result<int>::fail(written.error());
    if (Status written = write(kSpritesJson, Result<QByteArray>::ok(spritesJsonBytes(entries))); !written)
        return Result<int>::fail(written.error());
    Status moved = temp->moveIn(names);
    if (!moved) return Result<int>::fail(moved.error());
    return Result<int>::ok(int(entries.size()));
}

Result<std::vector<SpriteEntry>> readSpriteEntries(const PathObject& obj, const std::string& dir) {
    using Out = Result<std::vector<SpriteEntry>>;
    const std::string jsonPath = joinPath(dir, kSpritesJson);
    auto json = readJsonFile(jsonPath, kMaxJsonBytes);
    if (!json) return Out::fail(json.error());
    const QJsonDocument& doc = json.value();
    if (!doc.isArray()) return Out::fail(jsonPath + ": not an array of sprite entries");
    const QJsonArray array = doc.array();
    std::vector<SpriteEntry> entries;
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
        SpriteEntry e{unsigned(i), QFile::encodeName(o.value("path").toString()).toStdString(), {}, {}, {},
                      {}};
        e.path = fs::path(e.name).is_absolute() ? e.name : joinPath(dir, e.name);
        for (auto [key, field] : {std::pair{"x", &e.x}, {"y", &e.y}, {"flags", &e.flags}}) {
            if (!o.contains(key)) continue;
            *field = wholeNumber(o.value(key));
            if (!*field) return Out::fail(where + ": " + key + " is not a whole number");
        }
        entries.push_back(std::move(e));
    }
    return Out::ok(std::move(entries));
}

Result<int> importSpriteEntries(PathObject& obj, std::span<const SpriteEntry> entries,
                                const Matching& matching) {
    // Each picture is encoded as soon as it is read, so only one is held at a time.
    SpriteBatch batch(obj, matching);
    for (const SpriteEntry& e : entries) {
        auto image = readPictureFile(e.path, kMaxPictureSide);
        if (!image) return Result<int>::fail(e.path + ": " + image.error());
        const SpriteHeader& now = obj.m_sprites.at(e.index);
        SpriteReplacement r{e.index, imageToPicture(image.value()), e.flags.value_or(now.flags), e.path};
        r.picture.xOffset = e.x.value_or(now.xOffset);
        r.picture.yOffset = e.y.value_or(now.yOffset);
        if (Status added = batch.add(r); !added) return Result<int>::fail(added.error());
    }
    return batch.apply(obj);
}

Result<int> importSpriteFolder(PathObject& obj, const std::string& dir, int first, int last,
                               const Matching& matching) {
    auto entries = readSpriteEntries(obj, dir);
    if (!entries) return Result<int>::fail(entries.error());
    std::vector<SpriteEntry> inRange;
    for (const SpriteEntry& e : entries.value())
        if (int(e.index) >= first && int(e.index) <= last) inRange.push_back(e);
    if (inRange.empty()) {
        const std::string held = heldSprites(obj, entries.value());
        return Result<int>::fail(
            joinPath(dir, kSpritesJson) + ": " +
            (held.empty() ? "names no picture"
                          : "this folder holds " + held + ", not " + wantedSprites(obj, first, last)));
    }
    return importSpriteEntries(obj, inRange, matching);
}

}  // namespace trellisor
