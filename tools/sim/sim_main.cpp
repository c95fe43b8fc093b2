// cinder-arc-sim: the whole game on the headless backend, unpaced, driven by a key script or
// playing a replay file, and checking a run against an expectations file.
//   cinder-arc-sim [--dir DIR] [--frames N] [--keys FILE | --replay FILE] [--shot F:PATH]...
//                  [--no-render] [--invulnerable] [--pad] [--hashes FILE] [--reference-draw]
//                  [--expect FILE | --record-expect FILE [--hash-at F,F,...]]
// Prints one JSON line describing the end state (see README).
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
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
#include "engine/keys.h"
#include "expectations.h"
#include "frontend/input.h"
#include "frontend/menus.h"
#include "frontend/pause.h"
#include "frontend/replay_library.h"
#include "frontend/settings_file.h"
#include "key_script.h"
#include "player/ship.h"

namespace {

constexpr int kDefaultFrameLimit = 1000000;
constexpr int kScreenW = 640, kScreenH = 480;

[[noreturn]] void usage(const std::string& why) {
    std::fprintf(stderr, "cinder-arc-sim: %s\n", why.c_str());
    std::fprintf(
        stderr,
        "usage: cinder-arc-sim [--dir DIR] [--frames N] [--keys FILE | --replay FILE] [--shot F:PATH]...\n"
        "                      [--no-render] [--invulnerable] [--pad] [--hashes FILE] [--reference-draw]\n"
        "                      [--expect FILE | --record-expect FILE [--hash-at F,F,...]]\n");
    std::exit(2);
}

// One line naming the file, exit code 2: a file the runner was given cannot be used.
[[noreturn]] void bad_file(const std::string& path, const std::string& why) {
    std::fprintf(stderr, "cinder-arc-sim: %s: %s\n", path.c_str(), why.c_str());
    std::exit(2);
}

bool read_text(const std::string& path, std::string& text) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream all;
    all << in.rdbuf();
    text = all.str();
    return !in.bad();
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

// The end state, in the order of the JSON line; the same names serve the expectations files.
Fields end_fields(const std::string& ended) {
    auto n = [](auto v) { return std::to_string(v); };
    const bool lists = player_list != nullptr;  // made at start-up
    auto count = [&](TList* l) { return lists ? n(l->count()) : "0"; };
    return {{"frames", n(headless::frames_begun())},
            {"ended", ended},
            {"game_mode", n(game_mode)},
            {"menu_screen", n(menu_screen)},
            {"score", n(score)},
            {"lives", n(lives)},
            {"scroll_pos", json_float(scroll_pos)},
            {"setting_difficulty", n(setting_difficulty)},
            {"setting_particles", n(setting_particles)},
            {"replay_pos", n(replay_pos)},
            {"replay_mode", n(replay_mode)},
            {"new_hiscore", n(new_hiscore)},
            {"hiscore_rank", n(hiscore_rank)},
            {"paused", n(game_paused)},
            {"counts.player", count(player_list)},
            {"counts.shot", count(shot_list)},
            {"counts.pickup", count(pickup_list)},
            {"counts.levelobject", count(levelobject_list)},
            {"counts.enemy", count(enemy_list)},
            {"counts.boss", lists ? n(count_of(enemy_list, kind_t_boss)) : "0"},
            {"counts.bullet", count(bullet_list)},
            {"counts.effect", count(effect_list)}};
}

// The fields as one JSON object; "counts.X" fields are gathered into a "counts" object.
std::string json_fields(const Fields& fields) {
    std::string out, counts;
    for (const auto& [name, value] : fields) {
        if (name.rfind("counts.", 0) == 0) {
            counts += (counts.empty() ? "" : ",") + ("\"" + name.substr(7) + "\":" + value);
            continue;
        }
        if (!out.empty()) out += ',';
        out += "\"" + name + "\":" + (name == "ended" ? "\"" + value + "\"" : value);
    }
    return "{" + out + ",\"counts\":{" + counts + "}";
}

// "REPLAY" chosen as a player would: Down held for frames 0-39 moves the cursor three rows, the
// button at frame 60. Keys and pad together, so that it works in either CONTROL setting.
void choose_replay_from_menu(int frame) {
    std::array<bool, 256> keys{};
    const bool down = frame < 40, button = frame >= 60 && frame < 65;
    keys[vk::kDown] = down;
    keys[vk::kA] = button;
    headless::set_keys_held(keys);
    headless::set_pad(0.0f, down ? 1.0f : 0.0f, button ? 1u : 0u);
}
constexpr int kReplayStartsBy = 200;  // a frame by which playback must have begun

// What the command line asks for.
struct Options {
    std::string dir, keys_path, replay_path, expect_path, record_path, hashes_path;
    std::string replay_fingerprint = "none", replay_start = "stage";  // a plain replay has no header
    std::set<int> hash_frames;  // the pictures to hash for --record-expect or --expect
    int frames = 0;
    bool render = true, reference_draw = false;
    bool invulnerable = false, pad = false;
    std::map<int, std::string> shots;
    std::string command = "cinder-arc-sim";  // quoted in a recorded expectations file
};

Options parse_options(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) o.command += std::string(" ") + argv[i];
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) usage(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--dir") {
            o.dir = value();
        } else if (arg == "--frames") {
            if (!parse_count(value(), o.frames) || o.frames < 1)
                usage("--frames takes a whole number above 0");
        } else if (arg == "--keys") {
            o.keys_path = value();
        } else if (arg == "--shot") {
            std::string v = value();
            size_t colon = v.find(':');
            int f = 0;
            if (colon == std::string::npos || !parse_count(v.substr(0, colon), f) || colon + 1 >= v.size())
                usage("--shot takes FRAME:PATH");
            o.shots[f] = v.substr(colon + 1);
        } else if (arg == "--no-render") {
            o.render = false;
        } else if (arg == "--invulnerable") {
            o.invulnerable = true;
        } else if (arg == "--replay") {
            o.replay_path = value();
        } else if (arg == "--expect") {
            o.expect_path = value();
        } else if (arg == "--record-expect") {
            o.record_path = value();
        } else if (arg == "--hash-at") {
            std::stringstream list(value());
            for (std::string f; std::getline(list, f, ',');) {
                int n = 0;
                if (!parse_count(f, n)) usage("--hash-at takes frame numbers separated by commas");
                o.hash_frames.insert(n);
            }
        } else if (arg == "--pad") {
            o.pad = true;
        } else if (arg == "--hashes") {
            o.hashes_path = value();
        } else if (arg == "--reference-draw") {
            o.reference_draw = true;
        } else {
            usage("unknown option " + arg);
        }
    }

    if (!o.replay_path.empty() && !o.keys_path.empty())
        usage("--replay plays the replay's input: no --keys with it");
    if (!o.replay_path.empty() && o.invulnerable) usage("--invulnerable changes play: not with --replay");
    if (!o.expect_path.empty() && !o.record_path.empty())
        usage("--expect and --record-expect exclude each other");
    if (!o.hash_frames.empty() && o.record_path.empty()) usage("--hash-at goes with --record-expect");
    // Undrawn frames all hash alike: a file of one hash repeated would only look like a check.
    if (!o.hashes_path.empty() && !o.render)
        usage("--hashes needs every picture drawn: not with --no-render");
    return o;
}

// The files the run needs, read (or opened) before it starts: any that cannot be used ends the
// runner with exit code 2 and one line naming it.
struct Inputs {
    Expectations expected;
    KeyScript script;
    FILE* hashes = nullptr;
};

Inputs read_inputs(Options& o) {
    Inputs in;
    // Paths given on the command line are relative to where the runner was started.
    for (auto& [f, path] : o.shots) path = std::filesystem::absolute(path).string();
    if (!o.record_path.empty()) o.record_path = std::filesystem::absolute(o.record_path).string();
    if (!o.replay_path.empty()) {
        std::string bytes;
        if (!read_text(o.replay_path, bytes)) bad_file(o.replay_path, "cannot read the replay");
        if (bytes.empty()) bad_file(o.replay_path, "the replay is empty (not even a difficulty byte)");
        // A library file plays its input with what its header says; a header that does not read
        // is named with its problem.
        if (bytes.compare(0, std::string(kLibraryMagic).size(), kLibraryMagic) == 0) {
            const std::vector<uint8_t> head(bytes.begin(), bytes.end());
            const ReplayInfo info = decode_replay_header(head, int64_t(bytes.size()));
            if (!info.problem.empty()) bad_file(o.replay_path, "an unreadable replay: " + info.problem);
            o.replay_fingerprint = replay_fingerprint(info);
            o.replay_start = info.start;
        }
        o.replay_path = std::filesystem::absolute(o.replay_path).string();
    }
    if (!o.expect_path.empty()) {
        std::string text;
        if (!read_text(o.expect_path, text)) bad_file(o.expect_path, "cannot read the expectations");
        int line = 0;
        std::string why;
        if (!parse_expectations(text, end_fields(""), in.expected, line, why))
            bad_file(line > 0 ? o.expect_path + ":" + std::to_string(line) : o.expect_path, why);
        for (const auto& [f, hash] : in.expected.pictures) o.hash_frames.insert(f);
    }
    if (!o.hashes_path.empty()) {
        in.hashes = std::fopen(o.hashes_path.c_str(), "w");
        if (!in.hashes) bad_file(o.hashes_path, "cannot write the picture hashes");
    }
    if (!o.keys_path.empty()) {
        std::ifstream file(o.keys_path, std::ios::binary);
        if (!file) bad_file(o.keys_path, "cannot read the key script");
        std::stringstream text;
        text << file.rdbuf();
        int bad_line = 0;
        std::string why;
        if (!parse_key_script(text.str(), in.script, bad_line, why))
            bad_file(o.keys_path + ":" + std::to_string(bad_line), why);
    }
    if (!o.dir.empty()) {
        std::error_code ec;
        std::filesystem::current_path(o.dir, ec);
        if (ec) bad_file(o.dir, ec.message());
    }
    return in;
}

// How the run went: how it ended, the end state, and the pictures hashed on the way.
struct Run {
    std::string ended;
    int code = 0;  // the game's own exit code (ProgramExit), 0 otherwise
    Fields fields;
    std::map<int, std::string> pictures;  // frame -> hash, the frames of Options::hash_frames
    int presented = 0;                    // frames presented
    std::vector<double> work_us;          // each frame's work before its present
    std::string fingerprint;              // of the game folder's rules and stage
};

// Plays the game on the headless backend as the options say, and shuts the engine down.
Run run_game(const Options& o, const Inputs& in) {
    if (!engine_init(Backend::headless)) std::exit(1);
    headless::set_render(o.render);
    if (o.pad) headless::set_pad(0, 0, 0);  // plugged in, centred, no button held
    headless::set_doubled_draws(!o.reference_draw);
    headless::set_frame_limit(o.frames > 0 ? o.frames : kDefaultFrameLimit);
    const bool replaying = !o.replay_path.empty();
    if (replaying) replay_source = o.replay_path;
    // Without rendering, the frames to be saved or hashed are still rasterised (each frame is drawn
    // afresh from its own draw calls, so the picture is the one a fully rendered run presents).
    headless::set_frame_hook([&](int frame) {
        if (!o.render) headless::set_render(o.shots.count(frame) != 0 || o.hash_frames.count(frame) != 0);
        if (replaying)
            choose_replay_from_menu(frame);
        else
            headless::set_keys_held(in.script.held_at(frame));
        if (o.invulnerable) keep_ships_protected();
    });
    Run run;
    bool playback_seen = false;
    headless::set_present_hook([&](int frame) {
        const bool hashed = o.hash_frames.count(frame) != 0;
        if (in.hashes || hashed) {
            std::vector<uint32_t> picture = headless::presented_picture();
            if (picture.empty()) picture.assign(size_t(kScreenW) * kScreenH, 0);  // nothing presented: black
            const std::string hash = picture_hash(picture);
            if (in.hashes) std::fprintf(in.hashes, "%d %s\n", frame, hash.c_str());
            if (hashed) run.pictures[frame] = hash;
        }
        auto it = o.shots.find(frame);
        if (it != o.shots.end() && !headless::save_presented_bmp(it->second))
            std::fprintf(stderr, "cinder-arc-sim: %s: cannot write the screenshot\n", it->second.c_str());
        if (!replaying) return;
        // The replay's end: its game is over (playback stops at the game's end), or its last
        // recorded step has been played (the recorder's program ended there).
        if (replay_mode == 1) playback_seen = true;
        if (playback_seen && (replay_running == 0 || replay_at_end == 1)) throw ProgramExit{0, "replay"};
        if (!playback_seen && frame >= kReplayStartsBy) throw ProgramExit{2, "no-replay"};
    });

    try {
        const LoopEnd end = run_main_program();
        run.ended = end == LoopEnd::escape ? "escape" : end == LoopEnd::close ? "close" : "signal";
    } catch (const ProgramExit& e) {
        run.ended = e.reason ? e.reason : "quit";
        run.code = e.code;
    }
    run.fields = end_fields(run.ended);
    run.fingerprint = running_fingerprint();
    run.work_us = headless::frame_work_us();
    run.presented = headless::frames_begun();
    if (in.hashes) std::fclose(in.hashes);
    engine_shutdown();
    return run;
}

// The JSON line of the end state, then the expectations file asked for, or the comparison with
// the one given. Returns the exit code.
int report(const Options& o, const Inputs& in, const Run& run) {
    if (run.ended == "no-replay") {
        std::fprintf(stderr, "cinder-arc-sim: %s: \"REPLAY\" in the main menu did not start it\n",
                     o.replay_path.c_str());
        return 2;
    }
    const std::vector<double>& work = run.work_us;
    double max_us = work.empty() ? 0.0 : *std::max_element(work.begin(), work.end());
    std::string replay;
    if (!o.replay_path.empty()) {
        replay = ",\"replay_fingerprint\":\"" + o.replay_fingerprint + "\",\"replay_start\":\"" +
                 o.replay_start + "\"";
        if (o.replay_fingerprint != "none" && o.replay_fingerprint != run.fingerprint)
            std::fprintf(
                stderr,
                "cinder-arc-sim: %s: made by another version (%s, this is %s): may not play the same\n",
                o.replay_path.c_str(), o.replay_fingerprint.c_str(), run.fingerprint.c_str());
    }
    std::printf("%s%s,\"frame_work_us\":{\"median\":%.1f,\"p99\":%.1f,\"max\":%.1f}}\n",
                json_fields(run.fields).c_str(), replay.c_str(), percentile(work, 0.5),
                percentile(work, 0.99), max_us);
    std::fflush(stdout);
    if (run.code != 0) return run.code;

    if (!o.record_path.empty()) {
        for (int f : o.hash_frames)
            if (!run.pictures.count(f))
                bad_file(o.record_path, "not written: frame " + std::to_string(f) +
                                            " was never presented (the run ended after frame " +
                                            std::to_string(run.presented - 1) + ")");
        std::ofstream out(o.record_path, std::ios::binary | std::ios::trunc);
        out << format_expectations(run.fields, run.pictures, o.command);
        out.close();
        if (!out) bad_file(o.record_path, "cannot write the expectations");
    }
    if (!o.expect_path.empty()) {
        const std::string difference = first_difference(in.expected, run.fields, run.pictures, run.presented);
        if (!difference.empty()) {
            std::fprintf(stderr, "cinder-arc-sim: %s: %s\n", o.expect_path.c_str(), difference.c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options = parse_options(argc, argv);
    const Inputs inputs = read_inputs(options);
    const Run run = run_game(options, inputs);
    return report(options, inputs, run);
}
