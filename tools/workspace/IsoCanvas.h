// A scratch picture for drawing one sprite in the isometric projection of the preview:
// tile-exact surfaces, shaded solids and convex polygons, cut into sprites afterwards.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "workspace/SpriteEncoding.h"

namespace trellisor::workspace {

// World coordinates in tile units: x runs towards the tile's SE edge (screen down-right),
// y towards its SW edge (screen down-left), h upwards in levels (16 pixels each).
// The tile at level 0 covers 0 <= x, y < 1; its top (N) corner is the sprite's anchor.
struct Vec3 {
    double x = 0, y = 0, h = 0;
};
struct Vec2 {
    double x = 0, y = 0;
};

// Palette index of shade 0..11 (dark to light, clamped) of colour ramp 0..17.
std::uint8_t rampShade(int ramp, int shade);

// Which way a surface rises: flat, or one level across the tile towards an edge.
enum class Slope { Flat, RiseNE, RiseSE, RiseSW, RiseNW };

// Height in levels of the tile surface at x, y for a slope.
double slopeHeight(Slope slope, double x, double y);

class IsoCanvas {
public:
    static constexpr int kSize = 200;
    static constexpr int kAnchorX = 100;
    static constexpr int kAnchorY = 100;

    IsoCanvas();

    // Canvas position of a world point.
    static Vec2 project(Vec3 p);

    void plot(int x, int y, std::uint8_t index, int part);
    std::uint8_t indexAt(int x, int y) const;
    int partAt(int x, int y) const;  // -1 where nothing is drawn

    // Fills the tile surface of a slope lifted by `level`, pixel by pixel: each pixel
    // centre is taken back to the world point it shows, so neighbouring tiles (and
    // slopes meeting flat tiles) share their edges exactly, without gaps or overlaps.
    // colour(x, y) gives the index for a world point of the tile (0 leaves the pixel).
    void fillSurface(Slope slope, double level, const std::function<std::uint8_t(double, double)>& colour,
                     int part);

    // Fills a convex polygon given in canvas coordinates.
    void fillPolygon(std::span<const Vec2> points, std::uint8_t index, int part);

    // A solid parallelepiped from corner o along edges a, b, c: its faces that look
    // towards the viewer, each shaded from `shade` by its facing in the ramp.
    void drawPrism(Vec3 o, Vec3 a, Vec3 b, Vec3 c, int ramp, int shade, int part);
    // An upright box between two corners.
    void drawBox(Vec3 lo, Vec3 hi, int ramp, int shade, int part);
    // A beam of square cross-section `thickness` (tile units, levels for height) from p to q.
    void drawBeam(Vec3 p, Vec3 q, double thickness, int ramp, int shade, int part);

    // Cuts the pixels of one part (every part when part < 0) into a sprite whose anchor
    // is the canvas anchor. An empty selection gives an empty sprite.
    SpriteData toSprite(bool rowCoded, int part = -1) const;

private:
    std::vector<std::uint8_t> m_pixels;
    std::vector<int> m_parts;
};

// The shade step a face gets for its facing (light from the upper left): tops +1,
// faces towards SW 0, faces towards SE -3; normal in world units.
int faceShadeOffset(Vec3 normal);

}  // namespace trellisor::workspace
