// SpriteFolderLink: the start of a link, updates from the folder, and writing back.
#include "imageio/SpriteFolderLink.h"

#include <algorithm>
#include <filesystem>

#include "base/Files.h"
#include "preview/SpriteFacts.h"

namespace trellisor {

namespace {

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Whether sprite index shows the same picture in both objects (offsets aside: they live in
// sprites.json).
bool samePicture(const PathObject& a, const PathObject& b, unsigned index) {
    if (index >= b.m_sprites.size()) return false;
    const SpriteHeader &ha = a.m_sprites[index], &hb = b.m_sprites[index];
    const auto pa = a.spritePixels(index), pb = b.spritePixels(index);
    return ha.width == hb.width && ha.height == hb.height &&
           std::equal(pa.begin(), pa.end(), pb.begin(), pb.end());
}

}  // namespace

SpriteFolderLink::SpriteFolderLink(const std::string& dir, Matching matching, WatchTiming timing)
    : m_matching(matching), m_disk(dir), m_watch(m_disk, timing) {}

Result<SpriteFolderLink::Start> SpriteFolderLink::start(PathObject& obj) {
    using Out = Result<Start>;
    const std::string dir = m_disk.dir();
    std::error_code ec;
    const bool empty = !std::filesystem::exists(dir, ec) ||
                       (std::filesystem::is_directory(dir, ec) && std::filesystem::is_empty(dir, ec));
    Start start;
    if (empty) {
        auto exported = exportSpriteFolder(obj, dir, 0, int(obj.m_sprites.size()) - 1, false);
        if (!exported) return Out::fail(exported.error());
        m_disk = DiskFolder(dir);  // the folder may have been made just now
        start = {true, exported.value()};
    } else if (!std::filesystem::is_regular_file(joinPath(dir, kSpritesJson), ec)) {
        return Out::fail(dir + " holds files but no " + kSpritesJson +
                         ": link an empty folder or a folder of exported sprites");
    }
    auto entries = readSpriteEntries(obj, dir);
    if (!entries) return Out::fail(entries.error());
    if (!empty) {
        auto imported = importSpriteEntries(obj, entries.value(), m_matching);
        if (!imported) return Out::fail(imported.error());
        start = {false, imported.value()};
    }
    m_entries = std::move(entries.value());
    m_shown = obj.clone();
    follow();
    return Out::ok(start);
}

void SpriteFolderLink::follow() {
    std::vector<std::string> names{kSpritesJson};
    for (const SpriteEntry& e : m_entries) names.push_back(e.name);
    m_watch.follow(names);
}

Result<int> SpriteFolderLink::update(PathObject& obj, const std::vector<std::string>& changed) {
    const bool jsonChanged = contains(changed, kSpritesJson);
    std::vector<SpriteEntry> entries = m_entries;
    if (jsonChanged) {
        auto read = readSpriteEntries(obj, dir());
        if (!read) return Result<int>::fail(read.error());
        entries = std::move(read.value());
    }
    // The changed pictures, and the sprites whose entry is new or other than before.
    std::vector<SpriteEntry> wanted;
    for (const SpriteEntry& e : entries)
        if (contains(changed, e.name) ||
            (jsonChanged && std::find(m_entries.begin(), m_entries.end(), e) == m_entries.end()))
            wanted.push_back(e);
    auto count = importSpriteEntries(obj, wanted, m_matching);
    if (!count) return count;
    m_entries = std::move(entries);
    m_shown = obj.clone();
    if (jsonChanged) follow();
    return count;
}

std::vector<SpriteEntry> SpriteFolderLink::entriesFor(const PathObject& obj) const {
    const std::size_t count = obj.m_sprites.size(), shown = m_shown.m_sprites.size();
    const bool holdsAll = m_entries.size() == shown;  // indices are unique and below the count
    std::vector<SpriteEntry> entries;
    for (SpriteEntry e : m_entries) {
        if (e.index >= count) continue;
        const SpriteHeader &now = obj.m_sprites[e.index], &before = m_shown.m_sprites[e.index];
        // A field sprites.json leaves out stays out while the sprite keeps its value.
        for (auto [field, value, old] : {std::tuple{&e.x, now.xOffset, before.xOffset},
                                         {&e.y, now.yOffset, before.yOffset},
                                         {&e.flags, now.flags, before.flags}})
            if (*field || value != old) *field = value;
        entries.push_back(std::move(e));
    }
    for (std::size_t i = shown; holdsAll && i < count; ++i) {
        const SpriteHeader& h = obj.m_sprites[i];
        const std::string name = spriteFileName(unsigned(i));
        entries.push_back({unsigned(i), name, joinPath(dir(), name), h.xOffset, h.yOffset, h.flags});
    }
    return entries;
}

Status SpriteFolderLink::writeFile(const std::string& name, const QByteArray& bytes) {
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                             std::size_t(bytes.size()));
    const std::string path = m_disk.pathOf(name);
    Status written = replaceFolderFile(path, bytes);
    if (!written) return Status::fail("cannot write " + path + ": " + written.error());
    m_watch.wrote(name, contentHash(data));
    return written;
}

Result<int> SpriteFolderLink::writeBack(const PathObject& obj) {
    std::vector<SpriteEntry> entries = entriesFor(obj);
    int written = 0;
    for (const SpriteEntry& e : entries) {
        if (samePicture(obj, m_shown, e.index) || !m_watch.holdsAgreed(e.name)) continue;
        auto png = spritePng(obj, e.index, false);
        Status done = png ? writeFile(e.name, png.value()) : Status::fail(png.error());
        if (!done) return Result<int>::fail(done.error());
        ++written;
    }
    if (entries != m_entries && m_watch.holdsAgreed(kSpritesJson)) {
        if (Status done = writeFile(kSpritesJson, spritesJsonBytes(entries)); !done)
            return Result<int>::fail(done.error());
        ++written;
    }
    const bool entriesChanged = entries != m_entries;
    m_entries = std::move(entries);
    m_shown = obj.clone();
    if (entriesChanged) follow();
    return Result<int>::ok(written);
}

}  // namespace trellisor
