// The two example scenes of the preview: a piece of path and a piece of queue
// with railings, supports and the object's icon.
#pragma once

#include "gfx/Image.h"
#include "object/PathObject.h"

namespace trellisor {

// Draws the example path's sprites onto screen (no grass, no present).
void drawExamplePath(const PathObject& obj, Image* screen);
// Draws the example queue's sprites onto screen (no grass, no present).
void drawExampleQueue(const PathObject& obj, Image* screen);

}  // namespace trellisor
