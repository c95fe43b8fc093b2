// Settings and high-score files: the byte layouts, the tolerant loader and the safe saver.
#include "frontend/settings_file.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "core/module_state.h"
#include "core/tables.h"
#include "engine/engine.h"

// The four settings, and the two flags set when a file was there but could not be read: the save
// then leaves that file alone rather than put the built-in values over the player's own.
#define SETTINGS_STATE(X)                              \
    X(uint8_t, setting_difficulty, kDefaultDifficulty) \
    X(uint8_t, setting_control, kDefaultControl)       \
    X(uint8_t, setting_fullscreen, kDefaultFullscreen) \
    X(uint8_t, setting_particles, kDefaultParticles)   \
    X(uint8_t, difficulty_lent, 0)                     \
    X(uint8_t, difficulty_own, kDefaultDifficulty)
#define SETTINGS_FILE_FLAGS(X)           \
    X(bool, g_keep_settings_file, false) \
    X(bool, g_keep_hiscore_file, false)

SETTINGS_STATE(CINDER_DEFINE_STATE)

namespace {
SETTINGS_FILE_FLAGS(CINDER_DEFINE_STATE)
}  // namespace

void reset_settings_state() {
    SETTINGS_FILE_FLAGS(CINDER_RESET_STATE);
    SETTINGS_STATE(CINDER_RESET_STATE);
}

namespace {

constexpr int kRecordBytes = 45, kTableBytes = 15, kNameBytes = 3;

uint8_t in_range_or(uint8_t value, int low, int high, uint8_t fallback) {
    return value >= low && value <= high ? value : fallback;
}

void put_int(std::vector<uint8_t>& out, int32_t value) {
    const uint32_t v = uint32_t(value);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(v >> shift));
}

int32_t get_int(const std::vector<uint8_t>& in, size_t at) {
    uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | in[at + size_t(k)];
    return int32_t(v);
}

// The first `max_bytes` bytes of a regular file, zero-padded to `max_bytes`; nothing when there
// is no such file or it cannot be read (the built-in values then stay, with one line saying why).
std::optional<std::vector<uint8_t>> read_padded(const char* path, int max_bytes, bool& keep) {
    keep = false;
    const int type = file_type(path);
    if (type == 0) return std::nullopt;
    TStream* in = type == 1 ? read_file(path) : nullptr;
    if (!in) {
        const std::string what = type == 1 ? "cannot be opened" : "is " + file_kind(path) + ", not a file";
        std::fprintf(stderr, "cinder-arc: %s %s; using the built-in values and leaving it as it is\n", path,
                     what.c_str());
        keep = true;
        return std::nullopt;
    }
    const int64_t size = std::clamp<int64_t>(file_size(path), 0, max_bytes);
    std::vector<uint8_t> bytes(size_t(max_bytes), 0);
    for (int64_t i = 0; i < size; ++i) bytes[size_t(i)] = uint8_t(read_byte(in));
    const bool failed = stream_failed(in);
    close_stream(in);
    if (failed) {
        std::fprintf(stderr,
                     "cinder-arc: %s cannot be read; using the built-in values and leaving it as it is\n",
                     path);
        keep = true;
        return std::nullopt;
    }
    return bytes;
}

// A temporary file left by a save that was cut off (a kill, a power loss) is of no use: the file
// it was to replace is whole. Removed so that it cannot get in the way of the next save.
void remove_stale_temp(const std::string& path) {
    const std::string temp = path + ".tmp";
    remove_file(temp);  // never a folder: one in the way is the player's, and the save says so
}

}  // namespace

void lend_difficulty(uint8_t played) {
    if (difficulty_lent == 0) difficulty_own = setting_difficulty;
    difficulty_lent = 1;
    setting_difficulty = played;
}

void return_difficulty() {
    if (difficulty_lent == 0) return;
    setting_difficulty = difficulty_own;
    difficulty_lent = 0;
}

std::array<uint8_t, kSettingsBytes> encode_settings() {
    const uint8_t difficulty = difficulty_lent == 1 ? difficulty_own : setting_difficulty;
    return {difficulty, setting_control, setting_fullscreen, setting_particles};
}

void decode_settings(const std::array<uint8_t, kSettingsBytes>& bytes) {
    // A value outside its range would leave a setting that no page can show or change back.
    setting_difficulty = in_range_or(bytes[0], 0, 2, kDefaultDifficulty);
    setting_control = in_range_or(bytes[1], 0, 1, kDefaultControl);
    setting_fullscreen = in_range_or(bytes[2], 0, 1, kDefaultFullscreen);
    setting_particles = in_range_or(bytes[3], 10, 40, kDefaultParticles);
}

std::vector<uint8_t> encode_hiscores() {
    std::vector<uint8_t> out;
    out.reserve(kHiscoreBytes);
    for (int row = 0; row < 10; ++row) {
        for (int difficulty = 0; difficulty < 3; ++difficulty) {
            HiscoreTable t;
            hiscore_table(difficulty, t);
            // Exactly three bytes whatever the text holds, so one odd name cannot shift the file.
            const std::string& name = (*t.names)[size_t(row)];
            for (int k = 0; k < kNameBytes; ++k)
                out.push_back(k < int(name.size()) ? uint8_t(name[size_t(k)]) : 0);
            put_int(out, (*t.ships)[size_t(row)]);
            put_int(out, (*t.scores)[size_t(row)]);
            put_int(out, (*t.stages)[size_t(row)]);
        }
    }
    return out;
}

void decode_hiscores(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> in(bytes);
    in.resize(kHiscoreBytes, 0);
    for (int row = 0; row < 10; ++row) {
        for (int difficulty = 0; difficulty < 3; ++difficulty) {
            HiscoreTable t;
            hiscore_table(difficulty, t);
            const size_t at = size_t(row) * kRecordBytes + size_t(difficulty) * kTableBytes;
            std::string name;
            for (int k = 0; k < kNameBytes; ++k) name += char(in[at + size_t(k)]);
            (*t.names)[size_t(row)] = name;
            (*t.ships)[size_t(row)] = get_int(in, at + 3);
            (*t.scores)[size_t(row)] = get_int(in, at + 7);
            (*t.stages)[size_t(row)] = get_int(in, at + 11);
        }
    }
}

void load_settings_and_scores() {
    remove_stale_temp(kSettingsPath);
    remove_stale_temp(kHiscorePath);
    if (auto bytes = read_padded(kSettingsPath, kSettingsBytes, g_keep_settings_file)) {
        std::array<uint8_t, kSettingsBytes> s{};
        std::copy_n(bytes->begin(), kSettingsBytes, s.begin());
        decode_settings(s);
    }
    if (auto bytes = read_padded(kHiscorePath, kHiscoreBytes, g_keep_hiscore_file)) decode_hiscores(*bytes);
}

bool save_settings_and_scores() {
    if (!make_folder("data")) {
        std::fprintf(stderr,
                     "cinder-arc: could not create the folder data; settings and high scores not saved\n");
        return false;
    }
    const std::array<uint8_t, kSettingsBytes> s = encode_settings();
    const bool settings_ok =
        g_keep_settings_file || write_file_safely(kSettingsPath, std::vector<uint8_t>(s.begin(), s.end()));
    const bool scores_ok = g_keep_hiscore_file || write_file_safely(kHiscorePath, encode_hiscores());
    if (settings_ok && scores_ok) return true;
    const std::string failed = !settings_ok && !scores_ok
                                   ? std::string(kSettingsPath) + " and " + kHiscorePath
                               : !settings_ok ? kSettingsPath
                                              : kHiscorePath;
    std::fprintf(stderr, "cinder-arc: could not save %s; the previous contents are kept\n", failed.c_str());
    return false;
}
