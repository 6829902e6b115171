// Composing one preview frame: grass, the scene or grid the mode asks for, present.
#include "preview/PreviewFrame.h"

#include "preview/ExampleScenes.h"
#include "preview/SpriteDrawing.h"

namespace trellisor {

void drawElementGrid(const PathObject& obj, Image* screen, int first, int last, FrameOwners* owners) {
    if (!screen) return;
    int i = first;
    for (int row = 1; row <= 14; ++row)
        for (int column = 0; column <= 4 && i <= last; ++column, ++i)
            if (i >= 0) drawElementAt(obj, screen, unsigned(i), column, row, 0, owners);
}

void drawPreviewFrame(const PathObject& obj, Display& display, Image* grass, int previewMode, int page,
                      FrameOwners* owners) {
    Image* screen = display.screen();
    if (screen) {
        if (owners) owners->reset(screen->width(), screen->height(), grass);
        // The grass covers the last frame (its 0 pixels keep it); without grass the
        // screen is cleared, so views never pile up on each other.
        if (grass)
            grass->drawTransparent(screen, 0, 0, false, 0);
        else
            screen->clear(screen->packColor(0, 0, 0));
        switch (previewMode) {
            case PreviewExamplePath:
                drawExamplePath(obj, screen, owners);
                break;
            case PreviewExampleQueue:
                drawExampleQueue(obj, screen, owners);
                break;
            case PreviewAllPathElements:
            case PreviewAllRailingElements:
            case PreviewAllQueueElements:
            case PreviewAllQueueRailings:
            case PreviewAllSupportElements:
                drawElementGrid(obj, screen, obj.pageFirstSprite(page), obj.pageLastSprite(page), owners);
                break;
            default:
                break;
        }
    }
    display.present();
}

}  // namespace trellisor
