// Supports under raised paths and queues: timber trestles or steel/concrete poles,
// drawn as columns, decks under tiles and ramps, posts, beams and footings.
#pragma once

#include <vector>

#include "workspace/IsoCanvas.h"
#include "workspace/SpriteEncoding.h"

namespace trellisor::workspace {

struct SupportStyle {
    enum class Kind { Trestle, Poles } kind = Kind::Trestle;
    int ramp = 17;  // posts, beams and deck sides
    int shade = 5;
    int deckRamp = 17;  // the deck's top, seen where no path is drawn over it
    int deckShade = 6;
    bool rowCoded = true;
};

// One support sprite.
struct SupportPiece {
    enum class Kind {
        Column,      // under a tile one level up, drawn at the ground cell; param: braced faces (1 SE, 2 SW)
        Deck,        // the structure right under a tile, drawn at the tile's cell
        HungColumn,  // deck and column together, drawn at the raised tile's cell
        SlopeDeck,   // the deck under a ramp
        SlopePosts,  // the posts under a ramp's high edge
        SlopeWhole,  // both in one sprite
        Post,        // one post at a corner; param: TileCorner
        Beam,        // a beam along an edge; param: TileEdge
        Footing,     // a footing at a corner; param: TileCorner
        Pole,        // a pole standing at the anchor
        PoleCap,     // the bracket on top of that pole
    } kind = Kind::Column;
    int param = 0;
    Slope slope = Slope::Flat;
};

// The 59-sprite set (support type bit 0 clear): 3, 23 (under a NE-SW run), 35 (under a
// NW-SE run) columns; 49 the deck; 51-54 ramp decks and 55-58 ramp posts, rising NE, SE, SW, NW.
SupportPiece trestlePiece(int index);
// The 56- and 37-sprite sets (bit 0 set): 1 a tile's deck with its pole, 3 a column,
// 15 the deck, 16-19 ramp decks with poles, 35 a pole placed by pixel, 41 its bracket.
SupportPiece polePiece(int index);

// Draws `count` sprites (59, 56 or 37) of a support set.
std::vector<SpriteData> drawSupports(const SupportStyle& style, int count);
SpriteData drawSupport(const SupportStyle& style, const SupportPiece& piece);

}  // namespace trellisor::workspace
