// Input step: the keyboard and game-pad rules, replay recording and replay playback.
#include "frontend/input.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/game_flow.h"
#include "core/module_state.h"
#include "core/tables.h"
#include "engine/engine.h"
#include "engine/keys.h"
#include "frontend/controls_file.h"
#include "frontend/practice.h"
#include "frontend/replay_library.h"
#include "frontend/settings_file.h"

#define INPUT_STATE(X)            \
    X(uint8_t, input_move, 5)     \
    X(uint8_t, input_button, 0)   \
    X(int32_t, replay_pos, 1)     \
    X(uint8_t, replay_mode, 0)    \
    X(uint8_t, replay_running, 0) \
    X(int32_t, replay_size, 0)    \
    X(uint8_t, replay_at_end, 0)  \
    X(std::string, replay_source, kReplayPath)

INPUT_STATE(CINDER_DEFINE_STATE)

void reset_input_state() { INPUT_STATE(CINDER_RESET_STATE); }

namespace {

// Keypad code of a direction: the diagonals first, then left over right and up over down.
uint8_t move_code(bool left, bool up, bool right, bool down) {
    if (left && up) return 7;
    if (left && down) return 1;
    if (right && up) return 9;
    if (right && down) return 3;
    if (left) return 4;
    if (right) return 6;
    if (up) return 8;
    if (down) return 2;
    return 5;
}

uint8_t button_code(bool first, bool second) { return first && second ? 3 : first ? 1 : second ? 2 : 0; }

void read_keyboard() {
    const KeyBindings& k = key_bindings;
    input_move = move_code(key_down(k.left), key_down(k.up), key_down(k.right), key_down(k.down));
    // Enter confirms in the menus too (Alt+Enter switches full screen instead).
    const bool enter = game_mode == 0 && key_down(vk::kEnter) && !key_down(vk::kAlt);
    input_button = button_code(key_down(k.fire) || enter, key_down(k.hyper));
}

void read_live_input() {
    // With no pad plugged in the keyboard drives the game whatever CONTROL says, so a GAMEPAD
    // setting saved without a pad cannot lock the player out; a pad plugged in takes over.
    if (setting_control == 0 || (setting_control == 1 && !joy_connected(0))) {
        read_keyboard();
    } else if (setting_control == 1) {
        const float x = joy_x(0), y = joy_y(0);
        const bool left = x<-0.5f, up = y<-0.5f, right = x> 0.5f, down = y> 0.5f;
        input_move = move_code(left, up, right, down);
        input_button = button_code(joy_down(0, 0), joy_down(1, 0));
    }
}

void stop_recording(const char* why) {
    std::fprintf(stderr, "cinder-arc: %s %s; recording stopped, the game goes on\n", why, kReplayPath);
    replay_running = 0;
}

void record_step() {
    if (replay_pos == 1) {
        // A fresh file holding the difficulty the game is played at.
        TStream* out = make_folder("replay") ? write_file(kReplayPath) : nullptr;
        if (!out) return stop_recording("cannot create");
        write_byte(out, setting_difficulty);
        if (!close_stream(out)) return stop_recording("cannot write");
    }
    // One byte per step at its own offset, so the file on disk is complete after every step.
    TStream* out = open_stream(kReplayPath, 1, 1);
    if (!out) return stop_recording("cannot open");
    seek_stream(out, replay_pos);
    write_byte(out, input_move * 10 + input_button);  // both are single digits
    if (!close_stream(out)) return stop_recording("cannot write");
    ++replay_pos;
}

// Loads the whole file into the buffer: entry i holds the byte at file offset i - 1. A file longer
// than the buffer is read up to its end; playback then repeats the last entry read.
void load_replay() {
    std::fill(replay_data.begin(), replay_data.end(), 0);
    const int64_t reach = int64_t(replay_data.size()) - 1;
    // A library file holds the same bytes after its header; one whose header does not read plays
    // nothing (its page said why). The last game's file is always the bare bytes, whatever they
    // begin with: its first byte is a difficulty, and one beyond the tables plays at NORMAL.
    int64_t offset = 0, size = file_size(replay_source);
    bool unreadable = false;
    practice_active = 0;
    if (replay_source != kReplayPath && is_library_replay(replay_source)) {
        const ReplayInfo info = read_replay_info(replay_source);
        unreadable = !info.problem.empty();
        // A practice run plays back from its own point, gun level and ships.
        if (!unreadable && info.kind == "practice") {
            practice_active = 1;
            practice_start = uint8_t(practice_start_index(info.start));
            practice_gun = uint8_t(info.gun);
            practice_lives = uint8_t(info.lives);
        }
        offset = unreadable ? 0 : info.input_offset;
        size = unreadable ? 0 : info.input_size;
    }
    replay_size = int32_t(std::clamp<int64_t>(size, 1, reach));
    replay_at_end = 0;
    bool read = false;
    // An empty file holds no difficulty: the setting stays as the player left it.
    const bool has_difficulty = size >= 1;
    if (TStream* in = unreadable ? nullptr : read_file(replay_source)) {
        seek_stream(in, offset);
        const int difficulty = read_byte(in);
        for (int32_t i = 2; i <= replay_size; ++i) replay_data[size_t(i)] = read_byte(in);
        read = !stream_failed(in);
        close_stream(in);
        // A difficulty no table or stage value exists for plays at NORMAL.
        if (read && has_difficulty)
            setting_difficulty =
                difficulty >= 0 && difficulty <= 2 ? uint8_t(difficulty) : kDefaultDifficulty;
    }
    if (!read) {
        std::fill(replay_data.begin(), replay_data.end(), 0);
        std::fprintf(stderr, "cinder-arc: cannot read %s; the replay runs without input\n",
                     replay_source.c_str());
    }
    replay_pos = 2;
}

void playback_step() {
    if (replay_data.size() < 3) return;  // the buffer is made at start-up
    if (replay_pos == 1) load_replay();
    const size_t at = std::min(size_t(std::max(replay_pos, 0)), replay_data.size() - 1);
    decode_replay_byte(replay_data[at], input_move, input_button);
    if (at >= size_t(replay_size)) replay_at_end = 1;
    if (replay_pos < replay_size) ++replay_pos;
}

}  // namespace

bool replay_available() {
    const int type = file_type(replay_source);
    if (type == 0) return false;
    std::string why;
    if (type != 1) {
        why = "is " + file_kind(replay_source) + ", not a file";
    } else if (file_size(replay_source) < 1) {
        why = "is empty";
    }
    if (why.empty()) return true;
    std::fprintf(stderr, "cinder-arc: %s %s; there is no replay to play\n", replay_source.c_str(),
                 why.c_str());
    return false;
}

void decode_replay_byte(int32_t code, uint8_t& move, uint8_t& button) {
    if (code >= 10 && code <= 93) {
        move = uint8_t(code / 10);
        button = uint8_t(code % 10);
    } else {
        move = 5;
        button = 0;
    }
}

void input_step() {
    if (replay_mode == 0) read_live_input();
    if (replay_running != 1) return;
    if (replay_mode == 0 && practice_active == 1) {
        // A practice run is kept in the library only: replay.txt holds the last START game.
        library_step_recorded(true);
        ++replay_pos;
    } else if (replay_mode == 0) {
        const int32_t before = replay_pos;
        record_step();
        library_step_recorded(replay_pos != before);
    } else if (replay_mode == 1)
        playback_step();
}
