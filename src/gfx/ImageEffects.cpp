// PLACEHOLDER until the effect operations land: every effect draws nothing.
#include "gfx/EffectRoutines.h"
#include "gfx/Image.h"

namespace trellisor {

void installEffectRoutines(std::array<RowRoutine, RoutineCount>&, EffectFormat) {}

int Image::drawSilhouette(Image*, int, int, bool, std::uint32_t) { return 0; }
int Image::drawRecoloured(Image*, int, int, bool, std::uint32_t, std::uint32_t) { return 0; }
int Image::drawBlended(Image*, int, int, bool, int) { return 0; }
int Image::drawAlphaMasked(Image*, int, int, bool, Image*) { return 0; }
int Image::drawTranslucent(Image*, int, int, bool) { return 0; }
int Image::drawTinted(Image*, int, int, bool, std::uint32_t) { return 0; }
int Image::drawShadow(Image*, int, int, bool) { return 0; }
int Image::drawScaled(Image*, int, int, int, int) { return 0; }
int Image::drawColourMixed(Image*, int, int, bool, std::uint32_t) { return 0; }
int Image::drawAdditive(Image*, int, int, bool) { return 0; }
int Image::drawSubtractive(Image*, int, int, bool) { return 0; }
int Image::drawFlipped(Image*, int, int, bool) { return 0; }
int Image::drawTransparentFlipped(Image*, int, int, bool) { return 0; }
int Image::drawTranslucentFlipped(Image*, int, int, bool) { return 0; }
void Image::fillTranslucent(int, int, int, int, std::uint32_t) {}

}  // namespace trellisor
