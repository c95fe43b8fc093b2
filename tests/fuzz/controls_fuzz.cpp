// Fuzz target: the controls file, parsed, given a mute choice, and parsed again. Properties: the
// six actions are on six different keys, none of the game's own, no direction on Enter, never
// Alt and Enter together, and each key's name reads back as that key; the text with the choice
// gives the same keys and that choice. Input: byte 0 = the choice (bit 0), then the file's text.
#include <algorithm>

#include "frontend/controls_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::vector<int> keys_of(const KeyBindings& k) { return {k.fire, k.hyper, k.left, k.right, k.up, k.down}; }

void check_keys(const KeyBindings& k) {
    const std::vector<int> keys = keys_of(k);
    for (size_t i = 0; i < keys.size(); ++i) {
        FUZZ_CHECK(key_from_name(key_name(keys[i])) == keys[i]);
        FUZZ_CHECK(std::find(std::begin(kReservedKeys), std::end(kReservedKeys), keys[i]) ==
                   std::end(kReservedKeys));
        for (size_t j = 0; j < i; ++j) FUZZ_CHECK(keys[i] != keys[j]);
    }
    for (int direction : {k.left, k.right, k.up, k.down}) FUZZ_CHECK(direction != vk::kEnter);
    const bool alt = std::count(keys.begin(), keys.end(), vk::kAlt) > 0;
    FUZZ_CHECK(!(alt && std::count(keys.begin(), keys.end(), vk::kEnter) > 0));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool muted = data[0] & 1;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    uint8_t first_mute = 2;
    std::vector<std::string> problems;
    const KeyBindings keys = parse_controls(text, first_mute, problems);
    check_keys(keys);
    for (const std::string& p : problems)
        for (char c : p) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);

    uint8_t again_mute = 2;
    problems.clear();
    const KeyBindings again = parse_controls(with_mute_line(text, muted), again_mute, problems);
    FUZZ_CHECK(keys_of(again) == keys_of(keys));
    FUZZ_CHECK(again_mute == (muted ? 1 : 0));
    return 0;
}
