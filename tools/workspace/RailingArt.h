// Path and queue railings: posts and rails standing on tile edges, flat or following
// a ramp, plus corner posts, end barriers and signs.
#pragma once

#include <vector>

#include "workspace/IsoCanvas.h"
#include "workspace/SpriteEncoding.h"
#include "workspace/SurfaceArt.h"

namespace trellisor::workspace {

struct RailingStyle {
    enum class Kind { Fence, Rope } kind = Kind::Fence;
    int postRamp = 17;
    int postShade = 6;
    int railRamp = 17;
    int railShade = 7;
    double height = 0.7;  // in levels
};

// One railing sprite. A railing stands centred on its edge, so the sprite for a
// tile's far (NE or NW) edge, drawn in the neighbouring cell, also closes this
// tile's near side.
struct RailPiece {
    enum class Kind { Edge, Post, Barrier, Sign } kind = Kind::Edge;
    int edge = EdgeNE;     // TileEdge for Edge and Barrier
    int corner = CornerN;  // TileCorner for Post and Sign
    Slope slope = Slope::Flat;
    bool middlePost = true;
    bool operator==(const RailPiece&) const = default;
};

// Path railings (14): 0 NE, 1 NW, 2 NE open, 3 NW open, 4 NE rising SE, 5 NE rising NW,
// 6 SE, 7 SW, 8 NW rising NE, 9 NW rising SW, 10-13 posts at N, E, S, W.
RailPiece pathRailingPiece(int index);
// Queue railings (22): 0-3 NE, NW, SE, SW; 4-11 the edges on ramps; 12-15 posts;
// 16 SE barrier and 17 sign at S (the end of a queue); 18-20 barriers NE, NW, SW; 21 sign at W.
RailPiece queueRailingPiece(int index);

SpriteData drawRailing(const RailingStyle& style, const RailPiece& piece);
std::vector<SpriteData> drawPathRailings(const RailingStyle& style);   // 14 sprites
std::vector<SpriteData> drawQueueRailings(const RailingStyle& style);  // 22 sprites

}  // namespace trellisor::workspace
