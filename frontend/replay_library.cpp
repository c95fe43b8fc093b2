// The replay library's files: their header, the folder's list, pruning, and keeping each START game.
#include "frontend/replay_library.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "core/entities.h"
#include "core/game_flow.h"
#include "core/module_state.h"
#include "core/objects.h"
#include "core/scroll.h"
#include "core/stage_map.h"
#include "core/tables.h"
#include "engine/engine.h"
#include "frontend/input.h"
#include "frontend/menus.h"
#include "frontend/practice.h"
#include "frontend/settings_file.h"

// The game being kept: its input bytes so far, when it began, and the file it went to.
#define LIBRARY_STATE(X)                         \
    X(uint8_t, library_recording, 0)             \
    X(std::vector<uint8_t>, library_input, {})   \
    X(int64_t, library_started_at, 0)            \
    X(int32_t, library_play_frames, 0)           \
    X(std::string, library_ending, "unfinished") \
    X(std::string, library_file, "")             \
    X(uint8_t, library_awaiting_name, 0)         \
    X(std::string, library_stage_hash, "")

LIBRARY_STATE(CINDER_DEFINE_STATE)

void reset_replay_library_state() { LIBRARY_STATE(CINDER_RESET_STATE); }

namespace {

const char* const kFields[] = {"play-version", "stage-hash", "difficulty", "ship", "kind",
                               "start",        "gun",        "lives",      "time", "date",
                               "score",        "frames",     "ended",      "name", "input"};
constexpr size_t kFieldCount = sizeof kFields / sizeof kFields[0];

std::string hex16(uint64_t v) {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
    return buf;
}

// A whole number of at most 18 digits (a leading minus allowed), or false.
bool parse_number(const std::string& text, int64_t& out) {
    if (text.empty() || text.size() > 18) return false;
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
    }
    out = text[0] == '-' ? -v : v;
    return true;
}

// The letters the name entry offers: codes 48 to 90.
bool name_ok(const std::string& name) {
    if (name.size() > 3) return false;
    return std::all_of(name.begin(), name.end(), [](char c) { return c >= 48 && c <= 90; });
}

std::string local_date(int64_t seconds, const char* format) {
    const std::time_t t = std::time_t(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    char buf[40];
    std::strftime(buf, sizeof buf, format, &local);
    return buf;
}

std::string path_of(const std::string& file) { return std::string(kLibraryFolder) + "/" + file; }

// A new name that sorts by date: YYYY-MM-DD-HHMMSS.rep, a number added within one second.
std::string free_library_name(int64_t seconds) {
    const std::string base = local_date(seconds, "%Y-%m-%d-%H%M%S");
    std::string name = base + ".rep";
    for (int n = 2; file_type(path_of(name)) != 0 && n < 1000; ++n)
        name = base + "-" + std::to_string(n) + ".rep";
    return name;
}

void save_kept_game() {
    if (library_input.empty()) return;
    ReplayInfo info;
    info.play_version = kPlayVersion;
    info.stage_hash = library_stage_hash;
    info.difficulty = library_input[0];
    info.ship = game_mode == 1 || library_ending != "unfinished" ? ship_choice : 0;
    if (practice_active == 1) {
        info.kind = "practice";
        info.start = kPracticeStarts[practice_start % kPracticeStartCount].name;
        info.gun = practice_gun;
        info.lives = practice_lives;
    }
    info.time = library_started_at;
    info.date = local_date(library_started_at, "%Y-%m-%d %H:%M");
    info.score = score;
    info.frames = library_play_frames;
    info.ended = library_ending;
    if (library_awaiting_name == 1 || library_ending != "unfinished") {
        const std::string entered = hiscore_letter1 + hiscore_letter2 + hiscore_letter3;
        if (hiscore_rank >= 1 && hiscore_rank <= 10) info.name = entered;
    }
    if (library_file.empty()) library_file = free_library_name(library_started_at);
    const std::string path = path_of(library_file);
    if (!make_folder(kLibraryFolder) || !write_file_safely(path, encode_replay(info, library_input))) {
        std::fprintf(stderr, "cinder-arc: cannot write %s; replays are not being kept, the game goes on\n",
                     path.c_str());
        library_recording = 0;
        return;
    }
    prune_library();
}

}  // namespace

std::vector<uint8_t> encode_replay(const ReplayInfo& info, const std::vector<uint8_t>& input) {
    std::string head = std::string(kLibraryMagic) + " " + std::to_string(kLibraryFormat) + "\n";
    const std::string values[kFieldCount] = {std::to_string(info.play_version),
                                             info.stage_hash,
                                             std::to_string(info.difficulty),
                                             std::to_string(info.ship),
                                             info.kind,
                                             info.start,
                                             std::to_string(info.gun),
                                             std::to_string(info.lives),
                                             std::to_string(info.time),
                                             info.date,
                                             std::to_string(info.score),
                                             std::to_string(info.frames),
                                             info.ended,
                                             info.name.empty() ? "-" : info.name,
                                             std::to_string(input.size())};
    for (size_t i = 0; i < kFieldCount; ++i) head += std::string(kFields[i]) + " " + values[i] + "\n";
    std::vector<uint8_t> bytes(head.begin(), head.end());
    bytes.insert(bytes.end(), input.begin(), input.end());
    return bytes;
}

ReplayInfo decode_replay_header(const std::vector<uint8_t>& head, int64_t file_size) {
    ReplayInfo info;
    auto fail = [&info](const std::string& why) {
        info.problem = why;
        return info;
    };
    if (file_size <= 0) return fail("empty");
    // Lines up to the one that gives the input's length; each must be the field expected there.
    const size_t reach = std::min(head.size(), size_t(kLibraryHeaderMax));
    std::vector<std::string> lines;
    size_t at = 0;
    while (lines.size() < kFieldCount + 1) {
        size_t end = at;
        while (end < reach && head[end] != '\n') ++end;
        if (end >= reach) {
            // Ours when its first line says so: then cut short, or its header runs on too long.
            const bool ours =
                !lines.empty() && lines[0].compare(0, std::string(kLibraryMagic).size(), kLibraryMagic) == 0;
            if (!ours) return fail("not a replay");
            return fail(int64_t(reach) == file_size ? "cut short" : "a damaged header");
        }
        lines.emplace_back(reinterpret_cast<const char*>(head.data()) + at, end - at);
        at = end + 1;
    }
    const std::string magic = std::string(kLibraryMagic) + " ";
    if (lines[0].compare(0, magic.size(), magic) != 0) return fail("not a replay");
    int64_t format = 0;
    if (!parse_number(lines[0].substr(magic.size()), format)) return fail("not a replay");
    if (format != kLibraryFormat)
        return fail("format " + std::to_string(format) + ", not " + std::to_string(kLibraryFormat));
    std::string values[kFieldCount];
    for (size_t i = 0; i < kFieldCount; ++i) {
        const std::string key = std::string(kFields[i]) + " ";
        const std::string& line = lines[i + 1];
        if (line.compare(0, key.size(), key) != 0) return fail(std::string("no ") + kFields[i]);
        values[i] = line.substr(key.size());
    }
    int64_t play_version = 0, difficulty = 0, ship = 0, gun = 0, lives = 0, time = 0, score = 0, frames = 0,
            input = 0;
    if (!parse_number(values[0], play_version) || values[1].size() != 16 ||
        !parse_number(values[2], difficulty) || difficulty < 0 || difficulty > 2 ||
        !parse_number(values[3], ship) || ship < 0 || ship > 2 ||
        (values[4] != "game" && values[4] != "practice") || practice_start_index(values[5]) < 0 ||
        !parse_number(values[6], gun) || gun < 0 || gun > kMaxGun || !parse_number(values[7], lives) ||
        lives < kMinLives || lives > kMaxLives || !parse_number(values[8], time) || values[9].size() > 20 ||
        !parse_number(values[10], score) || score < 0 || score > INT32_MAX ||
        !parse_number(values[11], frames) || frames < 0 || frames > INT32_MAX ||
        (values[12] != "won" && values[12] != "lost" && values[12] != "unfinished") ||
        !(values[13] == "-" || name_ok(values[13])) || !parse_number(values[14], input))
        return fail("a damaged header");
    if (input < 1 || input > kLibraryInputMax) return fail("too long");
    if (int64_t(at) + input > file_size) return fail("cut short");
    if (int64_t(at) + input < file_size) return fail("longer than its input");
    info.play_version = int(play_version);
    info.stage_hash = values[1];
    info.difficulty = int(difficulty);
    info.ship = int(ship);
    info.kind = values[4];
    info.start = values[5];
    info.gun = int(gun);
    info.lives = int(lives);
    info.time = time;
    info.date = values[9];
    info.score = int32_t(score);
    info.frames = int32_t(frames);
    info.ended = values[12];
    info.name = values[13] == "-" ? "" : values[13];
    info.input_offset = int64_t(at);
    info.input_size = input;
    return info;
}

ReplayInfo read_replay_info(const std::string& path) {
    ReplayInfo info;
    const std::string problem = file_problem(path);
    if (!problem.empty()) {
        info.problem = problem;
        return info;
    }
    const int64_t size = file_size(path);
    if (size > kLibraryHeaderMax + kLibraryInputMax) {
        info.problem = "too big";
        return info;
    }
    std::vector<uint8_t> head;
    if (TStream* in = read_file(path)) {
        // Only the header's reach: a list of a thousand files reads no input bytes.
        const std::string text = read_string(in, int(std::min<int64_t>(size, kLibraryHeaderMax)));
        head.assign(text.begin(), text.end());
        const bool failed = stream_failed(in);
        close_stream(in);
        if (failed) {
            info.problem = "cannot be read";
            return info;
        }
    } else {
        info.problem = "cannot be opened";
        return info;
    }
    return decode_replay_header(head, size);
}

bool is_library_replay(const std::string& path) {
    const std::string magic = kLibraryMagic;
    if (file_type(path) != 1 || file_size(path) < int64_t(magic.size())) return false;
    std::string start;
    if (TStream* in = read_file(path)) {
        start = read_string(in, int(magic.size()));
        close_stream(in);
    }
    return start == magic;
}

std::string running_fingerprint() {
    if (library_stage_hash.empty()) {
        // FNV-1a over the stage file as the game reads it (its first 64 KB: a stage is 11250 bytes).
        uint64_t h = 0xcbf29ce484222325ull;
        const std::string path = stage_file_path(1);
        const int64_t size = std::min<int64_t>(file_size(path), 65536);
        if (TStream* in = read_file(path)) {
            for (int64_t i = 0; i < size; ++i) {
                h ^= uint64_t(read_byte(in));
                h *= 0x100000001b3ull;
            }
            close_stream(in);
        }
        library_stage_hash = hex16(h);
    }
    return std::to_string(kPlayVersion) + "-" + library_stage_hash;
}

std::string replay_fingerprint(const ReplayInfo& info) {
    return std::to_string(info.play_version) + "-" + info.stage_hash;
}

std::vector<ReplayInfo> library_list() {
    std::vector<ReplayInfo> list;
    for (const std::string& name : folder_entries(kLibraryFolder, kLibraryScanLimit)) {
        if (name.size() < 5 || name.compare(name.size() - 4, 4, ".rep") != 0) continue;
        ReplayInfo info = read_replay_info(path_of(name));
        info.file = name;
        list.push_back(std::move(info));
    }
    // Oldest first: by the time in the header, and by name (which holds the date) for the rest.
    std::sort(list.begin(), list.end(), [](const ReplayInfo& a, const ReplayInfo& b) {
        return a.time != b.time ? a.time < b.time : a.file < b.file;
    });
    return list;
}

bool replay_behind_table_row(const ReplayInfo& info) {
    if (!info.problem.empty() || info.kind != "game" || info.ended == "unfinished" || info.name.empty())
        return false;
    HiscoreTable t;
    if (!hiscore_table(info.difficulty, t)) return false;
    for (size_t row = 0; row < 10; ++row)
        if ((*t.scores)[row] == info.score && (*t.ships)[row] == info.ship && (*t.names)[row] == info.name)
            return true;
    return false;
}

int prune_library() {
    std::vector<ReplayInfo> list = library_list();
    size_t ordinary = 0;
    for (const ReplayInfo& info : list)
        if (info.problem.empty() && !replay_behind_table_row(info)) ++ordinary;
    int removed = 0;
    // Oldest first; unreadable files are the player's to look at and are left alone.
    for (const ReplayInfo& info : list) {
        if (ordinary <= kLibraryLimit) break;
        if (!info.problem.empty() || replay_behind_table_row(info)) continue;
        if (remove_file(path_of(info.file))) ++removed;
        --ordinary;
    }
    return removed;
}

void library_game_started() {
    library_recording = 1;
    library_input.clear();
    library_started_at = int64_t(std::time(nullptr));
    library_play_frames = 0;
    library_ending = "unfinished";
    library_file.clear();
    library_awaiting_name = 0;
    running_fingerprint();
}

void library_step_recorded(bool written) {
    if (library_recording != 1) return;
    // replay.txt refused the step and said so: the library does not keep a game it lost part of.
    if (!written) {
        library_recording = 0;
        return;
    }
    if (library_ending != "unfinished" && library_awaiting_name == 0) return;
    if (library_input.empty()) library_input.push_back(setting_difficulty);
    library_input.push_back(uint8_t(input_move * 10 + input_button));
    if (game_mode == 1) ++library_play_frames;
}

void library_note_ending() {
    if (library_recording != 1 || replay_mode != 0) return;
    // Won when the second boss form came and is gone; lost otherwise.
    bool boss_left = false;
    if (enemy_list) enemy_list->walk_kind(kind_t_boss, [&boss_left](TObject*) { boss_left = true; });
    library_ending = scroll_pos <= kSecondBossScrollPos && !boss_left ? "won" : "lost";
}

void library_game_ended() {
    if (library_recording != 1 || library_ending == "unfinished") return;
    // A new table row: the name entry's steps are kept too, and the file is written again with
    // the name when it ends.
    library_awaiting_name = new_hiscore;
    save_kept_game();
}

void library_name_entry_ended() {
    if (library_recording != 1) return;
    if (library_awaiting_name == 1) save_kept_game();
    library_awaiting_name = 0;
    library_recording = 0;
}

void library_program_ends() {
    if (library_recording != 1) return;
    if (library_ending == "unfinished" || library_awaiting_name == 1) save_kept_game();
    library_recording = 0;
}
