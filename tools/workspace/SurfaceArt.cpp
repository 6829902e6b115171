// Surface tiles: the shape tables, the kerb rules and the four surface patterns.
#include "workspace/SurfaceArt.h"

#include <algorithm>
#include <cmath>

#include "workspace/Random.h"

namespace trellisor::workspace {

namespace {

constexpr double kKerb = 0.09;  // kerb width in tile units (about 3 pixels)

// The two edges beside each corner bit.
int cornerEdges(int cornerBit) {
    switch (cornerBit) {
        case CornerE:
            return EdgeNE | EdgeSE;
        case CornerS:
            return EdgeSE | EdgeSW;
        case CornerW:
            return EdgeSW | EdgeNW;
        case CornerN:
            return EdgeNW | EdgeNE;
    }
    return 0;
}

TileShape rampShape(int k) {
    // A ramp joins the tiles at its low and high edges.
    static constexpr Slope kSlopes[4] = {Slope::RiseNE, Slope::RiseSE, Slope::RiseSW, Slope::RiseNW};
    return {kSlopes[k & 3], (k & 1) ? (EdgeSE | EdgeNW) : (EdgeNE | EdgeSW), 0};
}

// Surfaces facing the light (upper left) are a little lighter.
int slopeShade(Slope s) {
    switch (s) {
        case Slope::RiseSE:
            return 1;
        case Slope::RiseSW:
        case Slope::RiseNW:
            return -1;
        default:
            return 0;
    }
}

std::uint8_t patternColour(const SurfaceStyle& st, double x, double y) {
    switch (st.pattern) {
        case SurfacePattern::Asphalt: {
            const double grain = hashUnit(int(x * 40), int(y * 40), st.seed);
            const double patch = periodicNoise(x * 4, y * 4, 4, st.seed + 1);
            int shade = st.shade + (patch > 0.62 ? 1 : patch < 0.3 ? -1 : 0);
            if (grain < 0.10) shade -= 1;
            if (grain > 0.93) shade += 1;
            return rampShade(st.ramp, shade);
        }
        case SurfacePattern::Dirt: {
            const double n = 0.6 * periodicNoise(x * 4, y * 4, 4, st.seed) +
                             0.4 * periodicNoise(x * 10, y * 10, 10, st.seed + 7);
            int shade = st.shade - 2 + int(std::lround(n * 4));
            const double pebble = hashUnit(int(x * 36), int(y * 36), st.seed + 3);
            if (pebble > 0.965) shade += 3;
            if (pebble < 0.03) shade -= 2;
            return rampShade(st.ramp, shade);
        }
        case SurfacePattern::CrazyPaving: {
            // Irregular stones: cells of a jittered 3 x 3 grid that repeats every tile.
            constexpr int kGrid = 3;
            const double px = x * kGrid, py = y * kGrid;
            const int cx = int(std::floor(px)), cy = int(std::floor(py));
            double d1 = 1e9, d2 = 1e9;
            int nearestX = 0, nearestY = 0;
            for (int j = -1; j <= 1; ++j)
                for (int i = -1; i <= 1; ++i) {
                    const int gx = cx + i, gy = cy + j;
                    const int wx = (gx % kGrid + kGrid) % kGrid, wy = (gy % kGrid + kGrid) % kGrid;
                    const double sx = gx + 0.15 + 0.7 * hashUnit(wx, wy, st.seed);
                    const double sy = gy + 0.15 + 0.7 * hashUnit(wx, wy, st.seed + 11);
                    const double d = std::hypot(px - sx, py - sy);
                    if (d < d1) {
                        d2 = d1, d1 = d, nearestX = wx, nearestY = wy;
                    } else if (d < d2) {
                        d2 = d;
                    }
                }
            if (d2 - d1 < 0.09) return rampShade(st.groutRamp, st.groutShade);
            int shade = st.shade + int(std::lround((hashUnit(nearestX, nearestY, st.seed + 5) - 0.5) * 4));
            if (d2 - d1 < 0.2) shade -= 1;  // worn stone edges
            if (hashUnit(int(x * 48), int(y * 48), st.seed + 9) > 0.94) shade += 1;
            return rampShade(st.ramp, shade);
        }
        case SurfacePattern::Tiles: {
            // Square slabs, two by two per tile, in a gentle checker.
            const double fx = x * 2 - std::floor(x * 2), fy = y * 2 - std::floor(y * 2);
            if (fx < 0.07 || fy < 0.07) return rampShade(st.groutRamp, st.groutShade);
            const int checker = (int(x * 2) + int(y * 2)) & 1;
            int shade = st.shade + (checker ? 0 : 1);
            if (fx > 0.9 || fy > 0.9) shade -= 1;  // slab edges catch less light
            if (hashUnit(int(x * 40), int(y * 40), st.seed) > 0.95) shade -= 1;
            return rampShade(st.ramp, shade);
        }
    }
    return rampShade(st.ramp, st.shade);
}

}  // namespace

TileShape pathTileShape(int index) {
    if (index >= 0 && index < 16) return {Slope::Flat, index, 0};
    if (index >= 16 && index < 20) return rampShape(index - 16);
    int next = 20;
    for (int edges = 0; edges < 16; ++edges) {
        int available = 0;
        for (int bit = 1; bit <= 8; bit <<= 1)
            if ((edges & cornerEdges(bit)) == cornerEdges(bit)) available |= bit;
        for (int corners = 1; corners < 16; ++corners) {
            if ((corners & ~available) != 0) continue;
            if (next == index) return {Slope::Flat, edges, corners};
            ++next;
        }
    }
    return {};
}

TileShape queueTileShape(int index) {
    if (index >= 16 && index < 20) return rampShape(index - 16);
    return {Slope::Flat, index & 15, 0};
}

std::uint8_t surfaceColour(const SurfaceStyle& st, const TileShape& shape, double x, double y) {
    // Distance in from each open edge, and from each open corner.
    double kerb = 1;
    if (!(shape.edges & EdgeNE)) kerb = std::min(kerb, y);
    if (!(shape.edges & EdgeSE)) kerb = std::min(kerb, 1 - x);
    if (!(shape.edges & EdgeSW)) kerb = std::min(kerb, 1 - y);
    if (!(shape.edges & EdgeNW)) kerb = std::min(kerb, x);
    const struct {
        int bit;
        double cx, cy;
    } corners[4] = {{CornerE, 1, 0}, {CornerS, 1, 1}, {CornerW, 0, 1}, {CornerN, 0, 0}};
    for (const auto& c : corners) {
        if ((shape.edges & cornerEdges(c.bit)) != cornerEdges(c.bit) || (shape.corners & c.bit)) continue;
        kerb = std::min(kerb, std::max(std::fabs(x - c.cx), std::fabs(y - c.cy)));
    }
    const int lift = slopeShade(shape.slope);
    if (kerb < kKerb) {
        const int inner = kerb > kKerb - 0.03 ? -3 : 0;  // a dark line where the kerb meets the surface
        return rampShade(st.kerbRamp, st.kerbShade + lift + inner);
    }
    const std::uint8_t c = patternColour(st, x, y);
    const int ramp = (c - 10) / 12, shade = (c - 10) % 12;
    return rampShade(ramp, shade + lift);
}

SpriteData drawSurfaceTile(const SurfaceStyle& style, const TileShape& shape) {
    IsoCanvas canvas;
    canvas.fillSurface(
        shape.slope, 0, [&](double x, double y) { return surfaceColour(style, shape, x, y); }, 0);
    return canvas.toSprite(true);
}

std::vector<SpriteData> drawPathSurfaces(const SurfaceStyle& style) {
    std::vector<SpriteData> out;
    for (int i = 0; i < 51; ++i) out.push_back(drawSurfaceTile(style, pathTileShape(i)));
    return out;
}

std::vector<SpriteData> drawQueueSurfaces(const SurfaceStyle& style) {
    std::vector<SpriteData> out;
    for (int i = 0; i < 20; ++i) out.push_back(drawSurfaceTile(style, queueTileShape(i)));
    return out;
}

}  // namespace trellisor::workspace
