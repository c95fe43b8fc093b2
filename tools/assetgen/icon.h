// The desktop icon: the first ship on a dark rounded tile, at any of the usual icon sizes.
#pragma once

#include "canvas.h"

namespace gen {

inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// `ship` is one frame of the ship (key pixels transparent); the icon is size x size, key outside
// the tile's rounded corners. The ship grows by the largest whole factor that leaves a margin
// (halved at the smallest sizes, where it would not fit at 1x).
Canvas make_icon(const Canvas& ship, int size);

}  // namespace gen
