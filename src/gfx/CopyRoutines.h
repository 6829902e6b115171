// The opaque and transparent copy row routines of each format, the 8-bit
// vector copy and the 24-to-16 converters.
#pragma once

#include "gfx/Image.h"

namespace trellisor {

void opaqueCopy8Plain(const BlitParams& p);
void opaqueCopy8Vector(const BlitParams& p);  // plain loop where the processor has no vector unit
void transparentCopy8(const BlitParams& p);
void opaqueCopy16(const BlitParams& p);
void transparentCopy16(const BlitParams& p);
void opaqueCopy24(const BlitParams& p);
void opaqueCopy32(const BlitParams& p);
// Not installed in any routine table (24-bit images have no transparent copy);
// used by the converting path between two 24-bit images.
void transparentCopy24(const BlitParams& p);
void transparentCopy32(const BlitParams& p);
// 24-bit source rows into 16-bit destination rows.
void convert24To555(const BlitParams& p);
void convert24To565(const BlitParams& p);

// Whether this processor runs opaqueCopy8Vector with vector moves.
bool vectorCopyAvailable();
// Lets tests construct 8-bit images with the plain copy on any processor;
// images already made keep the routine they chose.
void setVectorCopyAllowed(bool allowed);
// The 8-bit opaque copy a new image installs.
RowRoutine chooseOpaqueCopy8();

}  // namespace trellisor
