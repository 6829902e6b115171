// The isometric scratch canvas: projection, exact tile surfaces, solids and cutting.
#include "workspace/IsoCanvas.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace trellisor::workspace {

namespace {

Vec3 sub(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.h - b.h}; }
Vec3 add(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.h + b.h}; }
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.h - a.h * b.y, a.h * b.x - a.x * b.h, a.x * b.y - a.y * b.x}; }
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.h * b.h; }

// The direction towards the viewer: every point along it projects to the same pixel.
constexpr Vec3 kTowardsViewer{1, 1, 2};
// For shading, a level is taken as half a tile (a ramp climbs one level over one tile).
constexpr double kLevelLength = 0.5;

}  // namespace

std::uint8_t rampShade(int ramp, int shade) {
    return std::uint8_t(10 + 12 * std::clamp(ramp, 0, 17) + std::clamp(shade, 0, 11));
}

double slopeHeight(Slope slope, double x, double y) {
    switch (slope) {
        case Slope::Flat:
            return 0;
        case Slope::RiseNE:
            return 1 - y;
        case Slope::RiseSE:
            return x;
        case Slope::RiseSW:
            return y;
        case Slope::RiseNW:
            return 1 - x;
    }
    return 0;
}

int faceShadeOffset(Vec3 n) {
    // Metric normal: heights are shorter than tile widths.
    const Vec3 m{n.x * kLevelLength, n.y * kLevelLength, n.h};
    const double len = std::sqrt(dot(m, m));
    if (len <= 0) return 0;
    const Vec3 u{m.x / len, m.y / len, m.h / len};
    return int(std::lround(2.2 * u.h + 0.8 * u.y - 1.8 * u.x)) - 1;
}

IsoCanvas::IsoCanvas() : m_pixels(kSize * kSize, 0), m_parts(kSize * kSize, -1) {}

Vec2 IsoCanvas::project(Vec3 p) {
    return {kAnchorX + 32.0 * (p.x - p.y), kAnchorY + 16.0 * (p.x + p.y) - 16.0 * p.h};
}

void IsoCanvas::plot(int x, int y, std::uint8_t index, int part) {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize || index == 0) return;
    m_pixels[std::size_t(y * kSize + x)] = index;
    m_parts[std::size_t(y * kSize + x)] = part;
}

std::uint8_t IsoCanvas::indexAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) return 0;
    return m_pixels[std::size_t(y * kSize + x)];
}

int IsoCanvas::partAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) return -1;
    return m_parts[std::size_t(y * kSize + x)];
}

void IsoCanvas::fillSurface(Slope slope, double level,
                            const std::function<std::uint8_t(double, double)>& colour, int part) {
    // h = h0 + hx x + hy y; the sample point of pixel (px, py) is (px + 0.5, py + 1),
    // which makes the flat tile the 64 x 31 diamond with 4-pixel tips and no ties.
    double h0 = level, hx = 0, hy = 0;
    switch (slope) {
        case Slope::Flat:
            break;
        case Slope::RiseNE:
            h0 += 1, hy = -1;
            break;
        case Slope::RiseSE:
            hx = 1;
            break;
        case Slope::RiseSW:
            hy = 1;
            break;
        case Slope::RiseNW:
            h0 += 1, hx = -1;
            break;
    }
    for (int py = 0; py < kSize; ++py) {
        for (int px = 0; px < kSize; ++px) {
            const double sx = px + 0.5 - kAnchorX, sy = py + 1.0 - kAnchorY;
            // x - y = sx / 32 and x + y = sy / 16 + h(x, y).
            const double a = sx / 32.0, s = sy / 16.0 + h0;
            const double y = (s - (1 - hx) * a) / (2 - hx - hy);
            const double x = y + a;
            if (x < 0 || x >= 1 || y < 0 || y >= 1) continue;
            plot(px, py, colour(x, y), part);
        }
    }
}

void IsoCanvas::fillPolygon(std::span<const Vec2> points, std::uint8_t index, int part) {
    if (points.size() < 3) return;
    double area = 0;
    double minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Vec2 a = points[i], b = points[(i + 1) % points.size()];
        area += a.x * b.y - b.x * a.y;
        minX = std::min(minX, a.x), maxX = std::max(maxX, a.x);
        minY = std::min(minY, a.y), maxY = std::max(maxY, a.y);
    }
    if (std::fabs(area) < 1e-9) return;
    const double sign = area > 0 ? 1 : -1;
    const int x0 = std::max(0, int(std::floor(minX)) - 1), x1 = std::min(kSize - 1, int(std::ceil(maxX)) + 1);
    const int y0 = std::max(0, int(std::floor(minY)) - 2), y1 = std::min(kSize - 1, int(std::ceil(maxY)) + 1);
    for (int py = y0; py <= y1; ++py) {
        for (int px = x0; px <= x1; ++px) {
            const double sx = px + 0.5, sy = py + 1.0;
            bool inside = true;
            for (std::size_t i = 0; i < points.size() && inside; ++i) {
                const Vec2 a = points[i], b = points[(i + 1) % points.size()];
                const double c = (b.x - a.x) * (sy - a.y) - (b.y - a.y) * (sx - a.x);
                inside = c * sign >= -1e-9;
            }
            if (inside) plot(px, py, index, part);
        }
    }
}

void IsoCanvas::drawPrism(Vec3 o, Vec3 a, Vec3 b, Vec3 c, int ramp, int shade, int part) {
    struct Face {
        Vec3 origin, e1, e2, opposite;
    };
    const std::array<Face, 3> pairs = {{{o, a, b, c}, {o, a, c, b}, {o, b, c, a}}};
    for (const Face& f : pairs) {
        Vec3 n = cross(f.e1, f.e2);
        // The face at origin looks away from `opposite`; its twin at origin + opposite looks along it.
        if (dot(n, f.opposite) < 0) n = {-n.x, -n.y, -n.h};
        for (int twin = 0; twin < 2; ++twin) {
            const Vec3 outward = twin ? n : Vec3{-n.x, -n.y, -n.h};
            if (dot(outward, kTowardsViewer) <= 1e-12) continue;
            const Vec3 p = twin ? add(f.origin, f.opposite) : f.origin;
            const std::array<Vec2, 4> quad = {project(p), project(add(p, f.e1)),
                                              project(add(add(p, f.e1), f.e2)), project(add(p, f.e2))};
            fillPolygon(quad, rampShade(ramp, shade + faceShadeOffset(outward)), part);
        }
    }
}

void IsoCanvas::drawBox(Vec3 lo, Vec3 hi, int ramp, int shade, int part) {
    drawPrism(lo, {hi.x - lo.x, 0, 0}, {0, hi.y - lo.y, 0}, {0, 0, hi.h - lo.h}, ramp, shade, part);
}

void IsoCanvas::drawBeam(Vec3 p, Vec3 q, double thickness, int ramp, int shade, int part) {
    const Vec3 d = sub(q, p);
    // Cross-section: upright, and across the beam on the ground.
    Vec3 side = std::fabs(d.x) >= std::fabs(d.y) ? Vec3{0, thickness, 0} : Vec3{thickness, 0, 0};
    if (std::fabs(d.x) < 1e-9 && std::fabs(d.y) < 1e-9) side = {thickness, 0, 0};
    const Vec3 up{0, 0, thickness * 2};  // levels are half as long as tile units
    const Vec3 o{p.x - side.x / 2, p.y - side.y / 2, p.h - up.h / 2};
    drawPrism(o, d, side, up, ramp, shade, part);
}

SpriteData IsoCanvas::toSprite(bool rowCoded, int part) const {
    int minX = kSize, minY = kSize, maxX = -1, maxY = -1;
    auto selected = [&](int x, int y) {
        const int p = m_parts[std::size_t(y * kSize + x)];
        return p >= 0 && (part < 0 || p == part);
    };
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (selected(x, y)) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    if (maxX < 0) return emptySprite();
    IndexPicture pic;
    pic.width = maxX - minX + 1;
    pic.height = maxY - minY + 1;
    pic.pixels.resize(std::size_t(pic.width * pic.height));
    pic.covered.resize(pic.pixels.size());
    for (int y = minY; y <= maxY; ++y)
        for (int x = minX; x <= maxX; ++x) {
            const std::size_t i = std::size_t((y - minY) * pic.width + (x - minX));
            if (!selected(x, y)) continue;
            pic.pixels[i] = m_pixels[std::size_t(y * kSize + x)];
            pic.covered[i] = 1;
        }
    return encodeSprite(pic, minX - kAnchorX, minY - kAnchorY, rowCoded);
}

}  // namespace trellisor::workspace
