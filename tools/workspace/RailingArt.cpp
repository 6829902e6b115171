// Railing drawing: the piece tables and the posts, rails and ropes of each piece.
#include "workspace/RailingArt.h"

#include <cmath>

namespace trellisor::workspace {

namespace {

constexpr double kPostHalf = 0.03;  // half a post's width, tile units
constexpr double kRail = 0.035;     // rail thickness

struct EdgeEnds {
    double x0, y0, x1, y1;
};

// Each edge from its back end to its front end (painter's order along the edge).
EdgeEnds edgeEnds(int edge) {
    switch (edge) {
        case EdgeNE:
            return {0, 0, 1, 0};
        case EdgeSE:
            return {1, 0, 1, 1};
        case EdgeSW:
            return {0, 1, 1, 1};
        default:
            return {0, 0, 0, 1};  // NW
    }
}

Vec3 cornerPoint(int corner) {
    switch (corner) {
        case CornerE:
            return {1, 0, 0};
        case CornerS:
            return {1, 1, 0};
        case CornerW:
            return {0, 1, 0};
        default:
            return {0, 0, 0};  // N
    }
}

void drawPost(IsoCanvas& c, const RailingStyle& st, double x, double y, double base, double height) {
    const double half = st.kind == RailingStyle::Kind::Rope ? kPostHalf * 1.3 : kPostHalf;
    c.drawBox({x - half, y - half, base}, {x + half, y + half, base + height}, st.postRamp, st.postShade, 0);
    if (st.kind == RailingStyle::Kind::Rope)  // a round brass knob on top
        c.drawBox({x - half * 1.5, y - half * 1.5, base + height},
                  {x + half * 1.5, y + half * 1.5, base + height + 0.1}, st.postRamp, st.postShade + 2, 0);
}

void drawEdge(IsoCanvas& c, const RailingStyle& st, const RailPiece& p) {
    const EdgeEnds e = edgeEnds(p.edge);
    const double h0 = slopeHeight(p.slope, e.x0, e.y0), h1 = slopeHeight(p.slope, e.x1, e.y1);
    auto at = [&](double t, double lift) {
        return Vec3{e.x0 + (e.x1 - e.x0) * t, e.y0 + (e.y1 - e.y0) * t, h0 + (h1 - h0) * t + lift};
    };
    const double H = st.height;
    // Back post, rails, middle post, front post: rails pass behind the posts they meet.
    drawPost(c, st, e.x0, e.y0, h0, H);
    if (p.kind == RailPiece::Kind::Barrier) {
        const Vec3 a = at(0.06, H * 0.25), b = at(0.94, H * 0.25);
        const Vec3 along{b.x - a.x, b.y - a.y, b.h - a.h};
        const Vec3 across = p.edge == EdgeNE || p.edge == EdgeSW ? Vec3{0, 0.02, 0} : Vec3{0.02, 0, 0};
        c.drawPrism({a.x - across.x / 2, a.y - across.y / 2, a.h}, along, across, {0, 0, H * 0.6},
                    st.railRamp, st.railShade - 1, 0);
    }
    if (st.kind == RailingStyle::Kind::Rope) {
        // A rope sagging between the posts, in short straight pieces.
        auto ropeSpan = [&](double t0, double t1) {
            constexpr int kPieces = 8;
            for (int i = 0; i < kPieces; ++i) {
                const double u0 = double(i) / kPieces, u1 = double(i + 1) / kPieces;
                const double s0 = 0.18 * 4 * u0 * (1 - u0), s1 = 0.18 * 4 * u1 * (1 - u1);
                c.drawBeam(at(t0 + (t1 - t0) * u0, H * (0.8 - s0)), at(t0 + (t1 - t0) * u1, H * (0.8 - s1)),
                           kRail, st.railRamp, st.railShade, 0);
            }
        };
        if (p.middlePost) {
            ropeSpan(0, 0.5);
            ropeSpan(0.5, 1);
        } else {
            ropeSpan(0, 1);
        }
    } else {
        c.drawBeam(at(0, H * 0.4), at(1, H * 0.4), kRail, st.railRamp, st.railShade - 1, 0);
        c.drawBeam(at(0, H * 0.92), at(1, H * 0.92), kRail, st.railRamp, st.railShade, 0);
    }
    if (p.middlePost) {
        const Vec3 m = at(0.5, 0);
        drawPost(c, st, m.x, m.y, m.h, H);
    }
    drawPost(c, st, e.x1, e.y1, h1, H);
}

}  // namespace

RailPiece pathRailingPiece(int index) {
    using K = RailPiece::Kind;
    switch (index) {
        case 0:
            return {K::Edge, EdgeNE, CornerN, Slope::Flat, true};
        case 1:
            return {K::Edge, EdgeNW, CornerN, Slope::Flat, true};
        case 2:
            return {K::Edge, EdgeNE, CornerN, Slope::Flat, false};
        case 3:
            return {K::Edge, EdgeNW, CornerN, Slope::Flat, false};
        case 4:
            return {K::Edge, EdgeNE, CornerN, Slope::RiseSE, true};
        case 5:
            return {K::Edge, EdgeNE, CornerN, Slope::RiseNW, true};
        case 6:
            return {K::Edge, EdgeSE, CornerN, Slope::Flat, true};
        case 7:
            return {K::Edge, EdgeSW, CornerN, Slope::Flat, true};
        case 8:
            return {K::Edge, EdgeNW, CornerN, Slope::RiseNE, true};
        case 9:
            return {K::Edge, EdgeNW, CornerN, Slope::RiseSW, true};
        case 10:
            return {K::Post, EdgeNE, CornerN};
        case 11:
            return {K::Post, EdgeNE, CornerE};
        case 12:
            return {K::Post, EdgeNE, CornerS};
        default:
            return {K::Post, EdgeNE, CornerW};
    }
}

RailPiece queueRailingPiece(int index) {
    using K = RailPiece::Kind;
    static constexpr int kEdges[4] = {EdgeNE, EdgeNW, EdgeSE, EdgeSW};
    static constexpr int kCorners[4] = {CornerN, CornerE, CornerS, CornerW};
    if (index < 4) return {K::Edge, kEdges[index], CornerN, Slope::Flat, true};
    if (index < 12) {
        // Each edge on the two ramps that climb along it.
        static constexpr struct {
            int edge;
            Slope slope;
        } kRamps[8] = {{EdgeNW, Slope::RiseNE}, {EdgeNW, Slope::RiseSW}, {EdgeNE, Slope::RiseNW},
                       {EdgeNE, Slope::RiseSE}, {EdgeSE, Slope::RiseNE}, {EdgeSE, Slope::RiseSW},
                       {EdgeSW, Slope::RiseNW}, {EdgeSW, Slope::RiseSE}};
        return {K::Edge, kRamps[index - 4].edge, CornerN, kRamps[index - 4].slope, true};
    }
    if (index < 16) return {K::Post, EdgeNE, kCorners[index - 12]};
    switch (index) {
        case 16:
            return {K::Barrier, EdgeSE, CornerN, Slope::Flat, false};
        case 17:
            return {K::Sign, EdgeNE, CornerS};
        case 18:
            return {K::Barrier, EdgeNE, CornerN, Slope::Flat, false};
        case 19:
            return {K::Barrier, EdgeNW, CornerN, Slope::Flat, false};
        case 20:
            return {K::Barrier, EdgeSW, CornerN, Slope::Flat, false};
        default:
            return {K::Sign, EdgeNE, CornerW};
    }
}

SpriteData drawRailing(const RailingStyle& st, const RailPiece& p) {
    IsoCanvas c;
    switch (p.kind) {
        case RailPiece::Kind::Edge:
        case RailPiece::Kind::Barrier:
            drawEdge(c, st, p);
            break;
        case RailPiece::Kind::Post: {
            const Vec3 q = cornerPoint(p.corner);
            drawPost(c, st, q.x, q.y, 0, st.height);
            break;
        }
        case RailPiece::Kind::Sign: {
            const Vec3 q = cornerPoint(p.corner);
            drawPost(c, st, q.x, q.y, 0, st.height * 1.5);
            // A board facing the viewer's left, above the railing.
            c.drawPrism({q.x - 0.005, q.y - 0.16, st.height * 0.95}, {0.03, 0, 0}, {0, 0.32, 0},
                        {0, 0, st.height * 0.55}, st.railRamp, st.railShade + 2, 0);
            break;
        }
    }
    return c.toSprite(true);
}

std::vector<SpriteData> drawPathRailings(const RailingStyle& style) {
    std::vector<SpriteData> out;
    for (int i = 0; i < 14; ++i) out.push_back(drawRailing(style, pathRailingPiece(i)));
    return out;
}

std::vector<SpriteData> drawQueueRailings(const RailingStyle& style) {
    std::vector<SpriteData> out;
    for (int i = 0; i < 22; ++i) out.push_back(drawRailing(style, queueRailingPiece(i)));
    return out;
}

}  // namespace trellisor::workspace
