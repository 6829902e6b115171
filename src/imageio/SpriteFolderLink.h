// A sprite folder linked to an object, for drawing in a pixel editor while the object
// follows: the pictures saved in the folder come into the object, and the object's own
// changes go out to the folder, without either side echoing the other. The events that
// wake the watch come from the program (watch/FolderEvents.h); the editor and the command
// line's watch share everything else.
#pragma once

#include <string>
#include <vector>

#include "imageio/SpriteFolder.h"
#include "watch/DiskFolder.h"
#include "watch/FolderWatch.h"

namespace trellisor {

class SpriteFolderLink {
public:
    explicit SpriteFolderLink(const std::string& dir, Matching matching = {}, WatchTiming timing = {});

    // How a link began: every sprite exported into an empty folder, or the folder's pictures
    // imported (count: the sprites that changed).
    struct Start {
        bool exported = false;
        int count = 0;
    };
    // Begins on obj. A missing or empty folder is filled with every sprite (as sprites --out
    // writes them); a folder with a sprites.json is taken as it is, its pictures imported into
    // obj (which changes only when all pass); any other folder is refused.
    Result<Start> start(PathObject& obj);

    const std::string& dir() const { return m_disk.dir(); }
    FolderWatch& watch() { return m_watch; }

    // Takes files of the folder that changed into obj: sprites.json is read again when it is
    // among them, then the changed pictures and the sprites whose entry changed are imported.
    // A failure changes neither obj nor the link. Returns the number of sprites that changed.
    Result<int> update(PathObject& obj, const std::vector<std::string>& changed);

    // Writes out the sprites of obj that differ from what the folder shows (and sprites.json
    // when their offsets, formats or number changed), so that the folder shows obj. A file
    // changed outside and not imported yet is left alone: its import follows. Returns the
    // number of files written.
    Result<int> writeBack(const PathObject& obj);

private:
    Status writeFile(const std::string& name, const QByteArray& bytes);
    // The entries the folder should hold for obj: its own, with obj's offsets and formats,
    // without sprites obj no longer has, and with new sprites when it holds every sprite.
    std::vector<SpriteEntry> entriesFor(const PathObject& obj) const;
    void follow();

    Matching m_matching;
    DiskFolder m_disk;
    FolderWatch m_watch;
    std::vector<SpriteEntry> m_entries;  // sprites.json as agreed
    PathObject m_shown;                  // the object the folder shows
};

}  // namespace trellisor
