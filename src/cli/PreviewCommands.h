// The preview and colour commands of trellisor-cli: icons, render, pick,
// brightness, recolour, import-bitmap, sparkles.
#pragma once

#include <QImage>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "cli/CliCommand.h"
#include "object/PathObject.h"
#include "preview/FrameOwners.h"
#include "preview/HeadlessPreview.h"

namespace trellisor {

class Image;
class SpriteStore;

// The frame render, pick and watch draw, so that they never disagree: an object's preview for
// one of render's views (the icons as they stand) on a screen of the depth, over the grass file
// given or else grass.pcx looked up as the editor does, with the owner record beside it. One
// renderer draws as many frames as asked on its one screen (the sprite store keeps the first
// screen it was given); the grass the owner record reads lives as long as the renderer.
class FrameRenderer {
public:
    // Refused with a reason: an unknown view (naming the views), no screen of that depth,
    // a grass file that cannot be read.
    static Result<std::unique_ptr<FrameRenderer>> make(
        const std::string& view, int depth = 32, const std::optional<std::string>& grassFile = std::nullopt);
    ~FrameRenderer();
    FrameRenderer(const FrameRenderer&) = delete;
    FrameRenderer& operator=(const FrameRenderer&) = delete;

    QImage draw(const PathObject& obj);
    // The last frame drawn, and which sprite wrote each of its pixels.
    Image& screen() { return *m_preview.screen(); }
    const FrameOwners& owners() const { return m_owners; }

private:
    FrameRenderer(int depth, int mode, int page) : m_preview(depth), m_mode(mode), m_page(page) {}

    HeadlessPreview m_preview;
    int m_mode, m_page;
    std::unique_ptr<Image> m_ownGrass;
    SpriteStore* m_store = nullptr;
    Image* m_grass = nullptr;
    FrameOwners m_owners;
};

void registerPreviewCommands(std::vector<CliCommand>& commands);

}  // namespace trellisor
