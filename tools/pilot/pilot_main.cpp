// cinder-arc-pilot: plays one game with the autopilot and keeps its replay.
//   cinder-arc-pilot --dir GAME_DIR [--difficulty 0|1|2] [--ship 1|2] [--out FILE] [--frames N] [-v]
// GAME_DIR is a game folder (gfx/, sfx/, level/); the game runs in a scratch copy of it. Prints
// one line: difficulty, ship, frames, score, hyper fields, whether the second form was destroyed,
// and each ship lost with its frame and cause.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "pilot.h"

namespace fs = std::filesystem;

namespace {

[[noreturn]] void usage(const std::string& why) {
    std::fprintf(stderr, "cinder-arc-pilot: %s\n", why.c_str());
    std::fprintf(
        stderr,
        "usage: cinder-arc-pilot --dir GAME_DIR [--difficulty 0|1|2] [--ship 1|2] [--out FILE] [--frames N] "
        "[-v]\n");
    std::exit(2);
}

int number(const std::string& s, int lo, int hi, const std::string& what) {
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (s.empty() || *end != 0 || v < lo || v > hi)
        usage(what + " takes a whole number from " + std::to_string(lo) + " to " + std::to_string(hi));
    return int(v);
}

}  // namespace

int main(int argc, char** argv) {
    PilotOptions options;
    std::string dir, out;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) usage(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--dir")
            dir = value();
        else if (arg == "--difficulty")
            options.difficulty = number(value(), 0, 2, arg);
        else if (arg == "--ship")
            options.ship = number(value(), 1, 2, arg);
        else if (arg == "--frames")
            options.frame_limit = number(value(), 1, 10000000, arg);
        else if (arg == "--out")
            out = value();
        else if (arg == "-v")
            options.verbose = true;
        else
            usage("unknown option " + arg);
    }
    if (dir.empty()) usage("--dir is needed");
    if (!out.empty()) out = fs::absolute(out).string();

    // A scratch game folder, so the pilot's settings, scores and replay touch nothing of the player's.
    const fs::path work = fs::temp_directory_path() / ("cinder-arc-pilot-" + std::to_string(getpid()));
    std::error_code ec;
    fs::remove_all(work, ec);
    fs::create_directories(work, ec);
    for (const char* part : {"gfx", "sfx", "level"})
        fs::copy(fs::path(dir) / part, work / part, fs::copy_options::recursive, ec);
    if (ec) {
        std::fprintf(stderr, "cinder-arc-pilot: %s: %s\n", dir.c_str(), ec.message().c_str());
        return 2;
    }
    fs::current_path(work);

    const PilotResult r = fly(options);
    std::printf("difficulty %d ship %d frames %d score %d hypers %d second_form_destroyed %s lives_lost %zu",
                r.difficulty, r.ship, r.frames, r.score, r.hypers_used,
                r.second_form_destroyed ? "yes" : "no", r.losses.size());
    for (const PilotLoss& l : r.losses) std::printf(" [%d %s]", l.frame, l.cause.c_str());
    std::printf("\n");
    std::fflush(stdout);
    bool kept = true;
    if (!out.empty()) {
        fs::copy_file(work / "replay" / "replay.txt", out, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            std::fprintf(stderr, "cinder-arc-pilot: %s: %s\n", out.c_str(), ec.message().c_str());
            kept = false;
        }
    }
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(work, ec);
    return kept ? 0 : 1;
}
