// The stage compiler: turns the readable stage source (what each cell is, which object sits on it)
// into the game's binary stage file, choosing every tile from its neighbours so structures join.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/object_codes.h"

namespace gen {

inline constexpr int kStageColumns = 15;
inline constexpr int kStageRows = 375;

// Object codes of the stage file, as the spawner reads them.
using ::is_enemy;
using ::is_ground_object;
using ::is_large_object;
using ::is_trigger;

// Rows whose objects never appear on their own: 360..374 are on screen when the stage starts and
// row 359 spawns in every frame of the stage banner.
inline constexpr int kFirstHeldRow = 359;
// Rows that come in while a boss is fighting: the first form over scroll 3000 down to about 1900,
// the second from scroll 120 to the end. No enemy may be placed there.
inline bool is_boss_row(int row) { return (row >= 118 && row <= 187) || (row >= 0 && row <= 10); }

// Compiles a stage source: a legend, then `grid` and 375 rows (see assets/stage/stage1.txt).
// Returns the 11250 bytes of the stage file; throws std::runtime_error naming the source line.
std::vector<uint8_t> compile_stage(const std::string& text, const std::string& name_for_errors);

// The compiled stage of `src` drawn at 1x with its tileset over a dark sky, objects marked by
// coloured frames and wave triggers by arrows at the edge they release from, into a BMP at `path`.
void write_stage_preview(const std::string& src, const std::string& path);

}  // namespace gen
