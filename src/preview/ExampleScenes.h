// The two example scenes of the preview: a piece of path and a piece of queue
// with railings, supports and the object's icon.
#pragma once

#include "gfx/Image.h"
#include "object/PathObject.h"
#include "preview/FrameOwners.h"

namespace trellisor {

// Draws the example path's sprites onto screen (no grass, no present), recording
// them in owners when given.
void drawExamplePath(const PathObject& obj, Image* screen, FrameOwners* owners = nullptr);
// Draws the example queue's sprites onto screen (no grass, no present).
void drawExampleQueue(const PathObject& obj, Image* screen, FrameOwners* owners = nullptr);

}  // namespace trellisor
