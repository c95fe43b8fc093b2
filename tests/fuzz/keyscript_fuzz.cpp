// Fuzz target: the runner's key scripts. Properties: a script read is a list of changes in
// rising frame order, each holding what held_at reports from its frame up to the next, and
// written out again as numbers it reads back the same; a refused one names a line it has.
#include <algorithm>

#include "tests/fuzz/fuzz_support.h"
#include "tools/sim/key_script.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    KeyScript script;
    int bad_line = 0;
    std::string why;
    if (!parse_key_script(text, script, bad_line, why)) {
        const long lines = long(std::count(text.begin(), text.end(), '\n')) + 1;
        FUZZ_CHECK(bad_line >= 1 && bad_line <= lines && !why.empty());
        return 0;
    }
    std::string written;
    const std::array<bool, 256> none{};
    for (size_t i = 0; i < script.changes.size(); ++i) {
        const KeyChange& c = script.changes[i];
        if (i > 0) {
            FUZZ_CHECK(c.frame > script.changes[i - 1].frame);
            FUZZ_CHECK(script.held_at(c.frame - 1) == script.changes[i - 1].held);
        } else if (c.frame > 0) {
            FUZZ_CHECK(script.held_at(c.frame - 1) == none);
        }
        FUZZ_CHECK(script.held_at(c.frame) == c.held);
        written += std::to_string(c.frame);
        for (int k = 0; k < 256; ++k)
            if (c.held[size_t(k)]) written += " " + std::to_string(k);
        written += c.held == none ? " -\n" : "\n";
    }
    KeyScript again;
    FUZZ_CHECK(parse_key_script(written, again, bad_line, why));
    FUZZ_CHECK(again.changes.size() == script.changes.size());
    for (size_t i = 0; i < again.changes.size(); ++i) {
        FUZZ_CHECK(again.changes[i].frame == script.changes[i].frame);
        FUZZ_CHECK(again.changes[i].held == script.changes[i].held);
    }
    return 0;
}
