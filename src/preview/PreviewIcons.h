// The object's two icon sprites (71 path, 72 queue): rebuilding them from the other sprites,
// and telling icons the editor generated from icons an author drew by hand.
#pragma once

#include <string>

#include "object/PathObject.h"

namespace trellisor {

// Redraws both icons; does nothing for objects of fewer than 73 sprites, and never
// writes past an icon's pixel data (icons that are not raw, or whose data are
// shorter than width x height, are left as they are).
void composePreviewIcons(PathObject& obj);

// An icon is generated when it shows what composePreviewIcons draws from the sprites as they
// stand, and hand-drawn otherwise (an icon it cannot redraw, row-coded or short, counts as
// hand-drawn, since it is never replaced); None when the object has no such sprite. icon is
// PathIconSprite or QueueIconSprite.
enum class IconOrigin { None, Generated, HandDrawn };
IconOrigin iconOrigin(const PathObject& obj, unsigned icon);

// Brings the icons of an edited object up to date: an icon that was generated in `before` and
// that the edit left alone is redrawn, so it follows the sprites; a hand-drawn icon, and one
// the edit itself replaced (an imported 071.png), stay as they are.
void followIcons(const PathObject& before, PathObject& edited);

// "icons: hand-drawn, kept" (or "path icon: ..." / "queue icon: ..." when only one is), or ""
// when no icon is hand-drawn.
std::string handDrawnIconsNote(const PathObject& obj);

}  // namespace trellisor
