// The sprite store: one process-wide cache of images by upper-cased file name.
#include "object/SpriteStore.h"

#include <cctype>

#include "base/Files.h"

namespace trellisor {

namespace {
SpriteStore* g_instance = nullptr;
int g_useCount = 0;
}  // namespace

SpriteStore* acquireSpriteStore(Display* display) {
    if (!g_instance) {
        g_instance = new SpriteStore(display);
        g_instance->addSearchDir("Art");
    }
    ++g_useCount;
    return g_instance;
}

int SpriteStore::useCount() { return g_useCount; }

void SpriteStore::resetForTesting() {
    delete g_instance;
    g_instance = nullptr;
    g_useCount = 0;
}

// The upper-cased name is tried first; on a case-sensitive file system the
// folder is then searched for the name in any case.
std::unique_ptr<Image> SpriteStore::load(const std::string& path) {
    if (auto image = m_display->loadImageFile(path)) return image;
    const std::string resolved = resolveCaseInsensitive(path);
    if (resolved != path) return m_display->loadImageFile(resolved);
    return nullptr;
}

Image* SpriteStore::getSprite(const std::string& name) {
    if (!m_display) return nullptr;
    std::string upper = name;
    for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
    if (auto it = m_byName.find(upper); it != m_byName.end()) return it->second.get();
    std::unique_ptr<Image> image = load(upper);
    for (std::size_t i = 0; !image && i < m_searchDirs.size(); ++i)
        image = load(joinPath(m_searchDirs[i], upper));
    Image* result = image.get();
    m_byName.emplace(upper, std::move(image));
    return result;
}

void SpriteStore::release() {
    if (--g_useCount == 0) m_byName.clear();
}

void SpriteStore::addSearchDir(const std::string& dir) {
    for (const std::string& d : m_searchDirs)
        if (d == dir) return;
    m_searchDirs.push_back(dir);
}

}  // namespace trellisor
