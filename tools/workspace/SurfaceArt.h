// Path and queue surfaces: flat tiles for every combination of joined edges and
// filled corners, and the four ramps, drawn in one colour ramp with kerbs.
#pragma once

#include <cstdint>
#include <vector>

#include "workspace/IsoCanvas.h"
#include "workspace/SpriteEncoding.h"

namespace trellisor::workspace {

// Edges a tile joins a neighbour across (bit set = joined, no kerb there).
enum TileEdge : int { EdgeNE = 1, EdgeSE = 2, EdgeSW = 4, EdgeNW = 8 };
// Corners towards a diagonal neighbour; only meaningful where both edges beside it are joined.
enum TileCorner : int { CornerE = 1, CornerS = 2, CornerW = 4, CornerN = 8 };

// What one surface sprite shows.
struct TileShape {
    Slope slope = Slope::Flat;
    int edges = 0;
    int corners = 0;
    bool operator==(const TileShape&) const = default;
};

// Path sprites: 0-15 flat by joined edges, 16-19 ramps rising towards NE, SE, SW, NW,
// 20-50 flat tiles with at least one filled corner, by edge mask then corner subset.
TileShape pathTileShape(int index);
// Queue sprites: 0-15 flat by joined edges, 16-19 ramps as for paths.
TileShape queueTileShape(int index);

enum class SurfacePattern { Asphalt, Dirt, CrazyPaving, Tiles };

struct SurfaceStyle {
    SurfacePattern pattern = SurfacePattern::Asphalt;
    int ramp = 0;      // main colour ramp
    int shade = 5;     // its middle shade
    int kerbRamp = 0;  // kerbs along open edges
    int kerbShade = 8;
    int groutRamp = 0;  // joints between stones or tiles
    int groutShade = 2;
    std::uint32_t seed = 1;
};

// The palette index a surface shows at tile point x, y (0 <= x, y < 1).
std::uint8_t surfaceColour(const SurfaceStyle& style, const TileShape& shape, double x, double y);

SpriteData drawSurfaceTile(const SurfaceStyle& style, const TileShape& shape);
std::vector<SpriteData> drawPathSurfaces(const SurfaceStyle& style);   // 51 sprites
std::vector<SpriteData> drawQueueSurfaces(const SurfaceStyle& style);  // 20 sprites

}  // namespace trellisor::workspace
