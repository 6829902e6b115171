// The process-wide store of images loaded by file name through one display.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gfx/Display.h"
#include "gfx/Image.h"

namespace trellisor {

class SpriteStore {
public:
    // The image of the file (names are upper-cased; found in the current
    // directory, then in each search directory), or null. A miss is recorded too.
    Image* getSprite(const std::string& name);
    // Gives back one use; the last one deletes every image held.
    void release();
    // Appends a directory unless an equal string is already listed.
    void addSearchDir(const std::string& dir);

    Display* display() const { return m_display; }
    const std::vector<std::string>& searchDirs() const { return m_searchDirs; }
    std::size_t entryCount() const { return m_byName.size(); }
    bool hasEntry(const std::string& upperCaseName) const { return m_byName.count(upperCaseName) != 0; }
    static int useCount();

    // Tests only: forgets the instance entirely (images included) so each test starts afresh.
    static void resetForTesting();

private:
    explicit SpriteStore(Display* display) : m_display(display) {}
    std::unique_ptr<Image> load(const std::string& path);

    friend SpriteStore* acquireSpriteStore(Display* display);

    Display* m_display;
    std::vector<std::string> m_searchDirs;
    std::map<std::string, std::unique_ptr<Image>> m_byName;
};

// The single store, made on first use and bound to that first display; counts one use.
SpriteStore* acquireSpriteStore(Display* display);

}  // namespace trellisor
