// Fuzz target: a replay file chosen with REPLAY and played through the whole game it drives.
// Properties: REPLAY starts exactly when the file holds a difficulty byte; the difficulty becomes
// the file's (NORMAL for one without a table) and an empty file leaves the player's; every frame
// gives a keypad direction 1..9 and a button digit 0..9 (the two digits of a byte 10..93); the
// playback position never passes the file; playback writes nothing; and the game returns to the
// front end when the replayed game ends.
#include <algorithm>

#include "core/game_flow.h"
#include "frontend/input.h"
#include "frontend/menus.h"
#include "frontend/settings_file.h"
#include "tests/fuzz/game_support.h"

namespace {

constexpr int kDown = 40, kA = 65;
// A replay's game runs until its ships are gone, which can take far longer than its input: frames
// are capped a little past the end of the file's input (where the last input repeats).
constexpr size_t kMostFrames = 3000, kFramesPastInput = 300;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::start_game("replay", false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::filesystem::create_directories("replay");
    fuzz::write_bytes(kReplayPath, data, size);
    reset_all_state();
    fuzz::empty_lists();
    setting_difficulty = 2;
    // Down to REPLAY (three rows, one every 15 frames), then A.
    fuzz::hold({kDown});
    for (int i = 0; i < 45; ++i) run_frame();
    fuzz::hold({});
    run_frame();
    fuzz::hold({kA});
    run_frame();
    fuzz::hold({});
    try {
        FUZZ_CHECK((replay_mode == 1) == (size >= 1));
        if (size == 0) {
            // Still on REPLAY in the main menu, the player's difficulty kept.
            FUZZ_CHECK(menu_screen == 1 && menu_cursor == 4 && game_mode == 0 && setting_difficulty == 2);
            return 0;
        }
        FUZZ_CHECK(menu_screen == 4);  // the ship selection, played back from the next frame
        const int want_difficulty = data[0] <= 2 ? data[0] : 1;
        bool played = false;
        for (size_t frame = 0; frame < std::min(kMostFrames, size + kFramesPastInput) && replay_mode == 1;
             ++frame) {
            run_frame();
            FUZZ_CHECK(input_move >= 1 && input_move <= 9 && input_button <= 9);
            FUZZ_CHECK(setting_difficulty == want_difficulty);
            FUZZ_CHECK(replay_size == std::clamp<int64_t>(int64_t(size), 1, replay_capacity - 1));
            FUZZ_CHECK(replay_pos >= 1 && replay_pos <= std::max(replay_size, 2));
            played = played || game_mode == 1;
        }
        // The replayed game has ended: back at the high-score page, nothing entered.
        if (replay_mode == 0) FUZZ_CHECK(played && game_mode == 0 && new_hiscore == 0);
    } catch (const ProgramExit&) {
        FUZZ_CHECK(false);  // a replay ended the program
    }
    FUZZ_CHECK(fuzz::read_bytes(kReplayPath) == std::vector<uint8_t>(data, data + size));
    fuzz::empty_lists();
    return 0;
}
