// Rebuilding the object's two icon sprites (71 path, 72 queue) from its other sprites.
#pragma once

#include "object/PathObject.h"

namespace trellisor {

// Redraws both icons; does nothing for objects of fewer than 73 sprites, and never
// writes past an icon's pixel data (icons that are not raw, or whose data are
// shorter than width x height, are left as they are).
void composePreviewIcons(PathObject& obj);

}  // namespace trellisor
