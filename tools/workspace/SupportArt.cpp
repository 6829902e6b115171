// Support drawing: the piece tables of the two support layouts and each piece's solids.
#include "workspace/SupportArt.h"

#include <cmath>

#include "workspace/SurfaceArt.h"

namespace trellisor::workspace {

namespace {

using K = SupportPiece::Kind;
constexpr double kDeck = 0.25;  // deck depth in levels, under the surface
constexpr double kTop = 1 - kDeck;

// Building blocks that fill the sprites no scene names.
SupportPiece fillerPiece(int index) {
    static constexpr SupportPiece kCycle[14] = {
        {K::Post, CornerN},    {K::Post, CornerE},    {K::Post, CornerS},    {K::Post, CornerW},
        {K::Beam, EdgeNE},     {K::Beam, EdgeSE},     {K::Beam, EdgeSW},     {K::Beam, EdgeNW},
        {K::Footing, CornerN}, {K::Footing, CornerE}, {K::Footing, CornerS}, {K::Footing, CornerW},
        {K::Column, 3},        {K::Deck, 0}};
    return kCycle[index % 14];
}

Slope slopeOf(int k) {
    static constexpr Slope kSlopes[4] = {Slope::RiseNE, Slope::RiseSE, Slope::RiseSW, Slope::RiseNW};
    return kSlopes[k & 3];
}

Vec3 corner(int c, double inset) {
    switch (c) {
        case CornerE:
            return {1 - inset, inset, 0};
        case CornerS:
            return {1 - inset, 1 - inset, 0};
        case CornerW:
            return {inset, 1 - inset, 0};
        default:
            return {inset, inset, 0};
    }
}

struct Drawer {
    IsoCanvas& c;
    const SupportStyle& st;
    bool poles() const { return st.kind == SupportStyle::Kind::Poles; }
    double postHalf() const { return poles() ? 0.045 : 0.04; }

    void post(double x, double y, double h0, double h1, int part, int shadeLift = 0) {
        const double w = postHalf();
        c.drawBox({x - w, y - w, h0}, {x + w, y + w, h1}, st.ramp, st.shade + shadeLift, part);
    }
    void footing(double x, double y, int part) {
        c.drawBox({x - 0.08, y - 0.08, 0}, {x + 0.08, y + 0.08, 0.12}, 0, 6, part);  // concrete
    }
    // Diagonal braces across one upright face of a column.
    void braces(int face, double h0, double h1, int part) {
        const double t = 0.025;
        if (face == 1) {  // the SE face, x = 0.9
            c.drawBeam({0.9, 0.12, h0 + 0.05}, {0.9, 0.88, h1 - 0.05}, t, st.ramp, st.shade - 1, part);
            c.drawBeam({0.9, 0.88, h0 + 0.05}, {0.9, 0.12, h1 - 0.05}, t, st.ramp, st.shade - 1, part);
        } else {  // the SW face, y = 0.9
            c.drawBeam({0.12, 0.9, h0 + 0.05}, {0.88, 0.9, h1 - 0.05}, t, st.ramp, st.shade - 1, part);
            c.drawBeam({0.88, 0.9, h0 + 0.05}, {0.12, 0.9, h1 - 0.05}, t, st.ramp, st.shade - 1, part);
        }
    }
    void column(int braced, double base, int part) {
        if (poles()) {
            footing(0.5, 0.5, part);
            post(0.5, 0.5, base, base + kTop, part);
            return;
        }
        // Back posts, the braces behind the front posts, then the front posts.
        post(0.1, 0.1, base, base + kTop, part);
        post(0.9, 0.1, base, base + kTop, part);
        post(0.1, 0.9, base, base + kTop, part);
        if (braced & 1) braces(1, base, base + kTop, part);
        if (braced & 2) braces(2, base, base + kTop, part);
        post(0.9, 0.9, base, base + kTop, part);
    }
    std::uint8_t deckTop(double x, double y) const {
        if (poles()) {  // chequer plate
            const int stud = (int(x * 16) + int(y * 16)) % 3 == 0;
            return rampShade(st.deckRamp, st.deckShade + (stud ? 1 : 0));
        }
        const double f = x * 6 - std::floor(x * 6);  // planks across the tile
        return rampShade(st.deckRamp, st.deckShade + (f < 0.14 ? -3 : f > 0.8 ? 1 : 0));
    }
    // The deck under a flat tile or a ramp whose surface is at `level`.
    void deck(Slope slope, double level, int part) {
        Vec3 o{0, 0, level - kDeck}, a{1, 0, 0}, b{0, 1, 0};
        switch (slope) {
            case Slope::Flat:
                break;
            case Slope::RiseNE:
                o.h += 1, b.h = -1;
                break;
            case Slope::RiseSE:
                a.h = 1;
                break;
            case Slope::RiseSW:
                b.h = 1;
                break;
            case Slope::RiseNW:
                o.h += 1, a.h = -1;
                break;
        }
        c.drawPrism(o, a, b, {0, 0, kDeck}, st.ramp, st.shade, part);
        c.fillSurface(
            slope, level, [&](double x, double y) { return deckTop(x, y); }, part);
    }
    // Posts under a ramp's high edge, and a short post under its middle.
    void slopePosts(Slope slope, int part) {
        double ax = 0, ay = 0, bx = 0, by = 0;  // the high edge's ends, inset
        switch (slope) {
            case Slope::RiseNE:
                ax = 0.1, ay = 0.1, bx = 0.9, by = 0.1;
                break;
            case Slope::RiseSE:
                ax = 0.9, ay = 0.1, bx = 0.9, by = 0.9;
                break;
            case Slope::RiseSW:
                ax = 0.1, ay = 0.9, bx = 0.9, by = 0.9;
                break;
            default:
                ax = 0.1, ay = 0.1, bx = 0.1, by = 0.9;
                break;
        }
        if (poles()) {
            const double mx = (ax + bx) / 2, my = (ay + by) / 2;
            footing(mx, my, part);
            post(mx, my, 0, slopeHeight(slope, mx, my) - kDeck, part);
            return;
        }
        const double ha = slopeHeight(slope, ax, ay) - kDeck, hb = slopeHeight(slope, bx, by) - kDeck;
        post(ax, ay, 0, ha, part);
        c.drawBeam({ax, ay, 0.1}, {bx, by, hb - 0.1}, 0.025, st.ramp, st.shade - 1, part);
        post(bx, by, 0, hb, part);
        const double cx = 0.5, cy = 0.5, hc = slopeHeight(slope, cx, cy) - kDeck;
        post(cx, cy, 0, hc, part, -1);
    }
    // Deck first when the posts stand under the near (SE or SW) edge, posts first under a far one.
    void slopeAssembly(Slope slope, int deckPart, int postsPart) {
        const bool postsInFront = slope == Slope::RiseSE || slope == Slope::RiseSW;
        if (!postsInFront) slopePosts(slope, postsPart);
        deck(slope, 0, deckPart);
        if (postsInFront) slopePosts(slope, postsPart);
    }
};

}  // namespace

SupportPiece trestlePiece(int index) {
    if (index < 4) return {K::Column, index};
    if (index >= 16 && index < 20) return {K::SlopeWhole, 0, slopeOf(index - 16)};
    if (index == 23) return {K::Column, 1};
    if (index == 35) return {K::Column, 2};
    if (index == 49 || index == 50) return {K::Deck, 0};
    if (index >= 51 && index < 55) return {K::SlopeDeck, 0, slopeOf(index - 51)};
    if (index >= 55 && index < 59) return {K::SlopePosts, 0, slopeOf(index - 55)};
    return fillerPiece(index);
}

SupportPiece polePiece(int index) {
    if (index == 1) return {K::HungColumn, 0};
    if (index == 0 || index == 2 || index == 3) return {K::Column, 0};
    if (index == 15) return {K::Deck, 0};
    if (index >= 16 && index < 20) return {K::SlopeWhole, 0, slopeOf(index - 16)};
    if (index == 35) return {K::Pole, 0};
    if (index == 41) return {K::PoleCap, 0};
    return fillerPiece(index);
}

SpriteData drawSupport(const SupportStyle& st, const SupportPiece& p) {
    IsoCanvas c;
    Drawer d{c, st};
    int keep = -1;  // the part cut into the sprite (all by default)
    switch (p.kind) {
        case K::Column:
            d.column(p.param, 0, 0);
            break;
        case K::Deck:
            d.deck(Slope::Flat, 0, 0);
            break;
        case K::HungColumn:
            d.column(p.param, -1, 0);
            d.deck(Slope::Flat, 0, 0);
            break;
        case K::SlopeWhole:
            d.slopeAssembly(p.slope, 0, 0);
            break;
        case K::SlopeDeck:
        case K::SlopePosts:
            // Drawn together and cut apart, so the two sprites never overlap and the scenes
            // may draw them in either order.
            d.slopeAssembly(p.slope, 0, 1);
            keep = p.kind == K::SlopeDeck ? 0 : 1;
            break;
        case K::Post: {
            const Vec3 q = corner(p.param, 0.1);
            d.post(q.x, q.y, 0, kTop, 0);
            break;
        }
        case K::Beam: {
            static constexpr double kEnds[4][4] = {
                {0, 0.1, 1, 0.1}, {0.9, 0, 0.9, 1}, {0, 0.9, 1, 0.9}, {0.1, 0, 0.1, 1}};
            const int e = p.param == EdgeNE ? 0 : p.param == EdgeSE ? 1 : p.param == EdgeSW ? 2 : 3;
            c.drawBeam({kEnds[e][0], kEnds[e][1], kTop - 0.1}, {kEnds[e][2], kEnds[e][3], kTop - 0.1}, 0.05,
                       st.ramp, st.shade, 0);
            break;
        }
        case K::Footing: {
            const Vec3 q = corner(p.param, 0.1);
            d.footing(q.x, q.y, 0);
            break;
        }
        case K::Pole:
            d.post(0, 0, 0, kTop, 0);
            break;
        case K::PoleCap:
            c.drawBox({-0.07, -0.07, kTop - 0.12}, {0.07, 0.07, kTop}, st.ramp, st.shade + 1, 0);
            break;
    }
    return c.toSprite(st.rowCoded, keep);
}

std::vector<SpriteData> drawSupports(const SupportStyle& style, int count) {
    std::vector<SpriteData> out;
    for (int i = 0; i < count; ++i) {
        const SupportPiece p = style.kind == SupportStyle::Kind::Trestle ? trestlePiece(i) : polePiece(i);
        out.push_back(drawSupport(style, p));
    }
    return out;
}

}  // namespace trellisor::workspace
