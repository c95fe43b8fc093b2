// cinder-arc-padcheck: the game in its real window, with pads plugged in, moved and pulled out
// through SDL's virtual joysticks at fixed frames, and keys posted as the window system's. Prints
// one line per checked frame: "FRAME game_mode menu_screen paused input_move input_button".
#include <cstdio>
#include <functional>
#include <map>

#include "core/game_flow.h"
#include "core/startup.h"
#include "engine/engine.h"
#include "engine/virtual_pad.h"
#include "frontend/input.h"
#include "frontend/menus.h"
#include "frontend/pause.h"

int main() {
    if (!engine_init(Backend::window)) return 1;
    int first = -1, second = -1, third = -1;
    constexpr uint32_t kA = 1;
    constexpr int kLeft = 37, kP = 80;
    // START and the first ship with the pad's A; play with the stick; a second pad comes and
    // goes; the first is pulled out, P resumes, Left drives; a pad plugged in again drives.
    const std::multimap<int, std::function<void()>> script = {
        {5, [&] { first = plug_virtual_pad(); }},
        {60, [&] { set_virtual_pad(first, 0, 0, kA); }},
        {61, [&] { set_virtual_pad(first, 0, 0, 0); }},
        {90, [&] { set_virtual_pad(first, 0, 0, kA); }},
        {91, [&] { set_virtual_pad(first, 0, 0, 0); }},
        {130, [&] { set_virtual_pad(first, 1, 0, 0); }},
        {150, [&] { second = plug_virtual_pad(); }},
        {151, [&] { set_virtual_pad(second, -1, 0, kA); }},
        {170, [&] { unplug_virtual_pad(second); }},
        {190, [&] { unplug_virtual_pad(first); }},
        {200, [&] { post_key(kP, true); }},
        {201, [&] { post_key(kP, false); }},
        {205, [&] { post_key(kLeft, true); }},
        {220, [&] { third = plug_virtual_pad(); }},
        {221, [&] { set_virtual_pad(third, 0, 1, 0); }},
    };
    const int checks[] = {4, 40, 120, 140, 165, 180, 195, 215, 235};
    try {
        start_up();
        for (int frame = 0; frame <= 240; ++frame) {
            auto [from, to] = script.equal_range(frame);
            for (auto it = from; it != to; ++it) it->second();
            run_frame();
            for (int c : checks)
                if (c == frame)
                    std::printf("%d %d %d %d %d %d\n", frame, int(game_mode), int(menu_screen),
                                int(game_paused), int(input_move), int(input_button));
        }
    } catch (const ProgramExit& e) {
        engine_shutdown();
        return e.code;
    }
    std::fflush(stdout);
    engine_shutdown();
    return first < 0 || third < 0 ? 1 : 0;
}
