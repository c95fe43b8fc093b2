// data/volume.txt: parsing with line-numbered problems, the defaults, loading and saving.
#include "frontend/volume_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "core/module_state.h"
#include "engine/engine.h"
#include "frontend/settings_file.h"

// g_volume_file_saved: the values as the file holds them (or, missing, as the defaults give
// them); the file is written only when the player has changed one.
#define VOLUME_STATE(X)                           \
    X(uint8_t, music_volume, kDefaultMusicVolume) \
    X(uint8_t, sound_volume, kDefaultSoundVolume) \
    X(uint8_t, late_start, kDefaultLateStart)     \
    X(bool, g_keep_volume_file, false)            \
    X(std::string, g_volume_file_saved, "")

VOLUME_STATE(CINDER_DEFINE_STATE)

void reset_volume_state() { VOLUME_STATE(CINDER_RESET_STATE); }

namespace {

std::string trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// 0..10 written as digits only; -1 for anything else.
int volume_value(const std::string& v) {
    if (v.empty() || v.size() > 2 ||
        !std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    const int n = std::atoi(v.c_str());
    return n <= 10 ? n : -1;
}

}  // namespace

void parse_volume_file(const std::string& text, std::vector<std::string>& problems) {
    music_volume = kDefaultMusicVolume;
    sound_volume = kDefaultSoundVolume;
    late_start = kDefaultLateStart;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string t = trim(line.substr(0, line.find('#')));
        if (t.empty()) continue;
        auto problem = [&](const std::string& what) {
            problems.push_back(std::to_string(number) + ": " + what);
        };
        const size_t eq = t.find('=');
        if (eq == std::string::npos) {
            problem("expected 'key = value'");
            continue;
        }
        const std::string key = trim(t.substr(0, eq)), value = trim(t.substr(eq + 1));
        if (key == "music" || key == "sound") {
            const int v = volume_value(value);
            if (v < 0) {
                problem(key + " is 0 to 10, not '" + value + "'");
                continue;
            }
            (key == "music" ? music_volume : sound_volume) = uint8_t(v);
        } else if (key == "late_start") {
            if (value != "yes" && value != "no") {
                problem("late_start is yes or no, not '" + value + "'");
                continue;
            }
            late_start = value == "yes" ? 1 : 0;
        } else {
            problem("unknown key '" + key + "'");
        }
    }
}

std::string volume_file_text() {
    return "# Volumes from 0 (silent) to 10, changed on the settings page. late_start = yes reads the\n"
           "# keys as late in each frame as its work allows; no reads them at the frame's start.\n"
           "music = " +
           std::to_string(music_volume) + "\nsound = " + std::to_string(sound_volume) +
           "\nlate_start = " + (late_start != 0 ? "yes" : "no") + "\n";
}

void load_volume_file() {
    g_keep_volume_file = false;
    std::vector<std::string> problems;
    const int type = file_type(kVolumePath);
    std::string text;
    if (type != 0) {
        TStream* in = type == 1 ? read_file(kVolumePath) : nullptr;
        bool ok = in != nullptr;
        if (in) {
            text = read_string(in, int(std::clamp<int64_t>(file_size(kVolumePath), 0, 1 << 16)));
            ok = !stream_failed(in);
            close_stream(in);
        }
        if (!ok) {
            std::fprintf(stderr,
                         "cinder-arc: %s cannot be read; using the default volumes and leaving it as it is\n",
                         kVolumePath);
            g_keep_volume_file = true;
            text.clear();
        }
    }
    parse_volume_file(text, problems);
    if (!problems.empty())
        std::fprintf(
            stderr, "cinder-arc: %s:%s%s; the default stands for what could not be read\n", kVolumePath,
            problems.front().c_str(),
            problems.size() > 1 ? (" (and " + std::to_string(problems.size() - 1) + " more)").c_str() : "");
    g_volume_file_saved = problems.empty() ? volume_file_text() : "";
    apply_volume_settings();
}

bool save_volume_file() {
    if (g_keep_volume_file) return false;
    const std::string text = volume_file_text();
    if (text == g_volume_file_saved) return true;
    if (make_folder("data") &&
        write_file_safely(kVolumePath, std::vector<uint8_t>(text.begin(), text.end()))) {
        g_volume_file_saved = text;
        return true;
    }
    std::fprintf(stderr, "cinder-arc: could not save the volumes in %s\n", kVolumePath);
    return false;
}

void apply_volume_settings() {
    set_volumes(sound_volume, music_volume);
    set_late_start(late_start != 0);
}
