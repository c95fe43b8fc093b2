// cinder-arc-sim: the whole game on the headless backend, unpaced, driven by a key script.
//   cinder-arc-sim [--dir DIR] [--frames N] [--keys FILE] [--shot F:PATH]... [--no-render]
//                  [--invulnerable]
// Prints one JSON line describing the end state (see README).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/entities.h"
#include "core/game_flow.h"
#include "core/objects.h"
#include "core/scroll.h"
#include "core/startup.h"
#include "engine/engine.h"
#include "engine/headless.h"
#include "frontend/input.h"
#include "frontend/menus.h"
#include "frontend/settings_file.h"
#include "key_script.h"
#include "player/ship.h"

namespace {

constexpr int kDefaultFrameLimit = 1000000;

[[noreturn]] void usage(const std::string& why) {
    std::fprintf(stderr, "cinder-arc-sim: %s\n", why.c_str());
    std::fprintf(
        stderr,
        "usage: cinder-arc-sim [--dir DIR] [--frames N] [--keys FILE] [--shot F:PATH]... [--no-render]\n"
        "                      [--invulnerable]\n");
    std::exit(2);
}

bool parse_count(const std::string& s, int& out) {
    if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos) return false;
    out = std::stoi(s);
    return true;
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    size_t at = size_t(p * double(v.size() - 1) + 0.5);
    return v[std::min(at, v.size() - 1)];
}

// A test and preview aid, not a way to play: every ship stays in the protected state that follows
// its fly-in (it can steer and fire, nothing hits it, and it shows its start marker), so that a
// script can reach and film every part of the stage.
void keep_ships_protected() {
    player_list->walk_kind(kind_t_player, [](TObject* object) {
        auto* ship = static_cast<t_player*>(object);
        if (ship->start_timer < 2) ship->start_timer = 2;
    });
}

size_t count_of(TList* list, uint32_t kind) {
    size_t n = 0;
    list->walk_kind(kind, [&n](TObject*) { ++n; });
    return n;
}

std::string json_float(float f) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", double(f));
    return buf;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir, keys_path;
    int frames = 0;
    bool render = true;
    bool invulnerable = false;
    std::map<int, std::string> shots;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) usage(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--dir") {
            dir = value();
        } else if (arg == "--frames") {
            if (!parse_count(value(), frames) || frames < 1) usage("--frames takes a whole number above 0");
        } else if (arg == "--keys") {
            keys_path = value();
        } else if (arg == "--shot") {
            std::string v = value();
            size_t colon = v.find(':');
            int f = 0;
            if (colon == std::string::npos || !parse_count(v.substr(0, colon), f) || colon + 1 >= v.size())
                usage("--shot takes FRAME:PATH");
            shots[f] = v.substr(colon + 1);
        } else if (arg == "--no-render") {
            render = false;
        } else if (arg == "--invulnerable") {
            invulnerable = true;
        } else {
            usage("unknown option " + arg);
        }
    }

    // Paths given on the command line are relative to where the runner was started.
    for (auto& [f, path] : shots) path = std::filesystem::absolute(path).string();
    KeyScript script;
    if (!keys_path.empty()) {
        std::ifstream in(keys_path, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cinder-arc-sim: %s: cannot read the key script\n", keys_path.c_str());
            return 2;
        }
        std::stringstream text;
        text << in.rdbuf();
        int bad_line = 0;
        std::string why;
        if (!parse_key_script(text.str(), script, bad_line, why)) {
            std::fprintf(stderr, "cinder-arc-sim: %s:%d: %s\n", keys_path.c_str(), bad_line, why.c_str());
            return 2;
        }
    }
    if (!dir.empty()) {
        std::error_code ec;
        std::filesystem::current_path(dir, ec);
        if (ec) {
            std::fprintf(stderr, "cinder-arc-sim: %s: %s\n", dir.c_str(), ec.message().c_str());
            return 2;
        }
    }

    if (!engine_init(Backend::headless)) return 1;
    headless::set_render(render);
    headless::set_frame_limit(frames > 0 ? frames : kDefaultFrameLimit);
    // Without rendering, the frames to be saved are still rasterised (each frame is drawn afresh
    // from its own draw calls, so the picture is the one a fully rendered run presents).
    headless::set_frame_hook([&](int frame) {
        if (!render) headless::set_render(shots.count(frame) != 0);
        headless::set_keys_held(script.held_at(frame));
        if (invulnerable) keep_ships_protected();
    });
    headless::set_present_hook([&](int frame) {
        auto it = shots.find(frame);
        if (it != shots.end() && !headless::save_presented_bmp(it->second))
            std::fprintf(stderr, "cinder-arc-sim: %s: cannot write the screenshot\n", it->second.c_str());
    });

    std::string ended;
    int code = 0;
    try {
        ended = main_program() == LoopEnd::escape ? "escape" : "close";
    } catch (const ProgramExit& e) {
        ended = e.reason ? e.reason : "quit";
        code = e.code;
    }

    const std::vector<double>& work = headless::frame_work_us();
    double max_us = work.empty() ? 0.0 : *std::max_element(work.begin(), work.end());
    std::printf(
        "{\"frames\":%d,\"ended\":\"%s\",\"game_mode\":%d,\"menu_screen\":%d,\"score\":%d,\"lives\":%d,"
        "\"scroll_pos\":%s,\"setting_difficulty\":%d,"
        "\"replay_pos\":%d,\"replay_mode\":%d,\"new_hiscore\":%d,\"hiscore_rank\":%d,"
        "\"counts\":{\"player\":%zu,\"shot\":%zu,\"pickup\":%zu,\"levelobject\":%zu,\"enemy\":%zu,"
        "\"boss\":%zu,\"bullet\":%zu,\"effect\":%zu},"
        "\"frame_work_us\":{\"median\":%.1f,\"p99\":%.1f,\"max\":%.1f}}\n",
        headless::frames_begun(), ended.c_str(), game_mode, menu_screen, score, lives,
        json_float(scroll_pos).c_str(), setting_difficulty, replay_pos, replay_mode, new_hiscore,
        hiscore_rank, player_list->count(), shot_list->count(), pickup_list->count(),
        levelobject_list->count(), enemy_list->count(), count_of(enemy_list, kind_t_boss),
        bullet_list->count(), effect_list->count(), percentile(work, 0.5), percentile(work, 0.99), max_us);
    std::fflush(stdout);
    engine_shutdown();
    return code;
}
