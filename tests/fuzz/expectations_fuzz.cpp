// Fuzz target: the runner's expectations files. Properties: a file read, written out again by
// format_expectations, reads back the same fields and pictures, and a run that reproduces them
// shows no difference; a refused one names a line it has (0 for the whole file) and why.
#include <algorithm>

#include "tests/fuzz/fuzz_support.h"
#include "tools/sim/expectations.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Fields known = {{"frames", ""}, {"ended", ""}, {"game_mode", ""},         {"menu_screen", ""},
                          {"score", ""},  {"lives", ""}, {"setting_particles", ""}, {"counts.player", ""}};
    Expectations want;
    int bad_line = -1;
    std::string why;
    if (!parse_expectations(text, known, want, bad_line, why)) {
        const long lines = long(std::count(text.begin(), text.end(), '\n')) + 1;
        FUZZ_CHECK(bad_line >= 0 && bad_line <= lines && !why.empty());
        return 0;
    }
    Expectations again;
    FUZZ_CHECK(parse_expectations(format_expectations(want.fields, want.pictures, "cinder-arc-sim"), known,
                                  again, bad_line, why));
    FUZZ_CHECK(again.fields == want.fields && again.pictures == want.pictures);
    int frames = 0;
    for (const auto& [frame, hash] : want.pictures) frames = std::max(frames, frame + 1);
    FUZZ_CHECK(first_difference(want, want.fields, want.pictures, frames).empty());
    return 0;
}
