// The map tile catalogue: which of the 120 frames of img_tileset1 shows what, shared by the tile
// painter (make_tileset) and the stage compiler, so a tile number means the same thing to both.
#pragma once

#include <array>
#include <cstdint>

namespace gen::tiles {

inline constexpr int kCount = 120;
inline constexpr int kSky = 0;  // wholly transparent: the cloud layers show through

// Neighbour bits of a cell, clockwise from the top. A deck tile's mask says which neighbours are
// deck too; a link's or a pad's four-bit mask says which sides it joins.
enum : uint8_t { kN = 1, kNE = 2, kE = 4, kSE = 8, kS = 16, kSW = 32, kW = 64, kNW = 128 };
enum : uint8_t { kLinkN = 1, kLinkE = 2, kLinkS = 4, kLinkW = 8 };

enum class Family : uint8_t {
    Sky,
    Deck,       // plating with its rims: mask = reduced eight-neighbour mask
    DeckPlain,  // a fully enclosed deck cell's extra looks: variant 1..
    Rust,       // rust plating, only inside a deck: variant 0..
    Pipe,       // mask = the sides it joins
    Girder,     // mask = the sides it joins
    Pad,        // landing pad slice: variant = row * 3 + column of the 3 x 3 pad picture
    Fixture,    // one-cell fitting inside a deck: variant = Fixture
    Prop,       // 2 x 2 fitting inside a deck: variant = Prop * 4 + quadrant
    Spare,      // not used by the stage; painted as plain deck
};

enum class Fixture : uint8_t { HatchRound, HatchSquare, Vent, Beacon, Crates, Count };
enum class Prop : uint8_t { Fan, Tank, Solar, Count };

struct TileInfo {
    Family family = Family::Sky;
    uint8_t mask = 0;
    uint8_t variant = 0;
};

inline constexpr int kDeckVariants = 8;  // the enclosed deck look plus seven others
inline constexpr int kRustVariants = 4;

// Clears each diagonal bit whose two neighbouring sides are not both set: such a corner cannot
// change the picture, so 256 masks fold into the 47 shapes a joined surface can have.
uint8_t reduce_mask(uint8_t mask8);

const std::array<TileInfo, kCount>& catalogue();

int deck_tile(uint8_t mask8);        // any mask; reduced here
int deck_variant_tile(int variant);  // 0 = the enclosed deck tile, 1..kDeckVariants-1 the others
int rust_tile(int variant);
int pipe_tile(uint8_t mask4);       // 1..15
int girder_tile(uint8_t mask4);     // 1..15
int pad_tile(int row, int column);  // row, column 0..2 of the 3 x 3 pad picture
int fixture_tile(Fixture f);
int prop_tile(Prop p, int quadrant);  // quadrant 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right

}  // namespace gen::tiles
