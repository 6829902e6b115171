// The example path and example queue, each a fixed list of sprites drawn back to
// front; support sprites depend on the object's support set.
#include "preview/ExampleScenes.h"

#include "preview/SpriteDrawing.h"

namespace trellisor {

namespace {

enum class When { Always, SecondSupportSet, FirstSupportSet, PathsOverSupports };

// A sprite placed at a grid cell (column, row, level) or, for the few support
// pieces that sit between cells, at an anchor pixel (a, b).
struct SceneStep {
    When when;
    unsigned sprite;
    bool atCell;
    int a, b, level;
};

constexpr SceneStep cell(When when, unsigned sprite, int column, int row, int level) {
    return {when, sprite, true, column, row, level};
}
constexpr SceneStep pixel(When when, unsigned sprite, int x, int y) { return {when, sprite, false, x, y, 0}; }

constexpr When S2 = When::SecondSupportSet;
constexpr When S1 = When::FirstSupportSet;
constexpr When All = When::Always;

constexpr SceneStep kExamplePath[] = {
    cell(S2, 127, 3, 2, 0),
    pixel(S2, 144, 218, 72),
    pixel(S2, 150, 218, 72),
    pixel(S2, 144, 200, 78),
    pixel(S2, 150, 200, 78),
    cell(S2, 124, 2, 3, 1),
    cell(S2, 125, 2, 4, 0),
    cell(S1, 166, 3, 2, 0),
    cell(S1, 162, 3, 2, 0),
    cell(S1, 132, 2, 3, 0),
    cell(S1, 158, 2, 3, 1),
    cell(S1, 164, 2, 4, 0),
    cell(S1, 160, 2, 4, 0),
    cell(All, 82, 3, 2, 0),
    cell(All, 74, 2, 3, 1),
    cell(All, 81, 2, 4, 0),
    cell(All, 4, 3, 1, 0),
    cell(When::PathsOverSupports, 18, 3, 2, 0),
    cell(When::PathsOverSupports, 5, 2, 3, 1),
    cell(When::PathsOverSupports, 16, 2, 4, 0),
    cell(All, 23, 1, 5, 0),
    cell(All, 29, 2, 6, 0),
    cell(All, 25, 1, 7, 0),
    cell(All, 20, 1, 6, 0),
    cell(All, 82, 3, 3, 0),
    cell(All, 74, 3, 4, 1),
    cell(All, 81, 2, 5, 0),
    cell(All, PathIconSprite, 0, 14, 0),
};

constexpr SceneStep kExampleQueue[] = {
    cell(S2, 126, 1, 7, 0),   pixel(S2, 144, 145, 154),
    pixel(S2, 150, 145, 154), pixel(S2, 144, 159, 159),
    pixel(S2, 150, 159, 159), cell(S2, 124, 2, 8, 1),
    cell(S2, 128, 2, 9, 0),   cell(S1, 161, 1, 7, 0),
    cell(S1, 165, 1, 7, 0),   cell(S1, 144, 2, 8, 0),
    cell(S1, 158, 2, 8, 1),   cell(S1, 163, 2, 9, 0),
    cell(S1, 167, 2, 9, 0),   cell(All, 55, 1, 4, 0),
    cell(All, 54, 0, 5, 0),   cell(All, 61, 1, 6, 0),
    cell(All, 68, 1, 7, 0),   cell(All, 61, 2, 8, 1),
    cell(All, 70, 2, 9, 0),   cell(All, 61, 3, 10, 0),
    cell(All, 87, 1, 4, 0),   cell(All, 88, 1, 4, 0),
    cell(All, 88, 1, 5, 0),   cell(All, 88, 0, 5, 0),
    cell(All, 87, 0, 6, 0),   cell(All, 87, 1, 6, 0),
    cell(All, 87, 0, 7, 0),   cell(All, 94, 1, 7, 0),
    cell(All, 94, 1, 8, 0),   cell(All, 87, 2, 8, 1),
    cell(All, 87, 1, 9, 1),   cell(All, 93, 2, 9, 0),
    cell(All, 93, 2, 10, 0),  cell(All, 87, 3, 10, 0),
    cell(All, 87, 2, 11, 0),  cell(All, 103, 3, 10, 0),
    cell(All, 104, 3, 10, 0), cell(All, QueueIconSprite, 0, 14, 0),
};

bool applies(const PathObject& obj, When when) {
    switch (when) {
        case When::Always:
            return true;
        case When::SecondSupportSet:
            return obj.usesSecondSupportSet();
        case When::FirstSupportSet:
            return !obj.usesSecondSupportSet();
        case When::PathsOverSupports:
            return obj.drawsPathsOverSupports();
    }
    return false;
}

template <std::size_t N>
void drawScene(const PathObject& obj, Image* screen, const SceneStep (&steps)[N], FrameOwners* owners) {
    if (!screen) return;
    for (const SceneStep& s : steps) {
        if (!applies(obj, s.when)) continue;
        if (s.atCell)
            drawElementAt(obj, screen, s.sprite, s.a, s.b, s.level, owners);
        else
            drawSprite(obj, screen, s.sprite, s.a, s.b, owners);
    }
}

}  // namespace

void drawExamplePath(const PathObject& obj, Image* screen, FrameOwners* owners) {
    drawScene(obj, screen, kExamplePath, owners);
}

void drawExampleQueue(const PathObject& obj, Image* screen, FrameOwners* owners) {
    drawScene(obj, screen, kExampleQueue, owners);
}

}  // namespace trellisor
