// Fuzz target: the settings and high-score files, loaded and saved again. Properties: the saved
// settings are the file's bytes where in range and the built-in values elsewhere; the saved
// high-score file is the first 450 bytes of the one read, zero-padded (or the built-in tables
// when there was none); both equal the encodings of what was read, and no temporary file stays.
// Input: byte 0 = settings length (low 3 bits), bit 6 no high-score file, bit 7 no settings file;
// then the settings bytes, then the high-score file.
#include <array>
#include <filesystem>

#include "core/tables.h"
#include "engine/engine.h"
#include "frontend/settings_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::enter_scratch_dir("settings");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace fs = std::filesystem;
    if (size == 0) return 0;
    const uint8_t head = data[0];
    const size_t settings_len = std::min<size_t>(head & 7, size - 1);
    const bool no_settings = head & 0x80, no_scores = head & 0x40;
    const uint8_t* settings = data + 1;
    const uint8_t* scores = settings + settings_len;
    const size_t scores_len = size - 1 - settings_len;

    fs::remove_all("data");
    fs::create_directories("data");
    if (!no_settings) fuzz::write_bytes(kSettingsPath, settings, settings_len);
    if (!no_scores) fuzz::write_bytes(kHiscorePath, scores, scores_len);

    reset_settings_state();
    create_hiscore_tables();
    const std::vector<uint8_t> built_in = encode_hiscores();
    load_settings_and_scores();
    const std::array<uint8_t, 4> read_settings = encode_settings();
    const std::vector<uint8_t> read_scores = encode_hiscores();
    FUZZ_CHECK(save_settings_and_scores());

    const std::vector<uint8_t> saved_settings = fuzz::read_bytes(kSettingsPath);
    const std::vector<uint8_t> saved_scores = fuzz::read_bytes(kHiscorePath);
    FUZZ_CHECK(saved_settings == std::vector<uint8_t>(read_settings.begin(), read_settings.end()));
    FUZZ_CHECK(saved_scores == read_scores);

    const int low[4] = {0, 0, 0, 10}, high[4] = {2, 1, 1, 40}, fallback[4] = {1, 0, 0, 20};
    for (size_t i = 0; i < 4; ++i) {
        const int b = !no_settings && i < settings_len ? settings[i] : 0;
        const int want = no_settings ? fallback[i] : (b >= low[i] && b <= high[i] ? b : fallback[i]);
        FUZZ_CHECK(saved_settings[i] == want);
    }
    std::vector<uint8_t> want_scores = built_in;
    if (!no_scores) {
        want_scores.assign(scores, scores + std::min<size_t>(scores_len, kHiscoreBytes));
        want_scores.resize(kHiscoreBytes, 0);
    }
    FUZZ_CHECK(saved_scores == want_scores);
    FUZZ_CHECK(!fs::exists("data/settings.dat.tmp") && !fs::exists("data/highscore.dat.tmp"));
    return 0;
}
