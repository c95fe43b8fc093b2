// Key names: Windows virtual keys in any case, second names read but never written, and every
// named key read back under its name.
#include "engine/keys.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyNames, NamesReadAsVirtualKeysAndEveryNamedKeyReadsBack) {
    for (int code = 0; code < 256; ++code) {
        const std::string name = key_name(code);
        if (!name.empty()) {
            EXPECT_EQ(key_from_name(name), code) << name;
        }
    }
    EXPECT_EQ(key_from_name("f13"), -1);
    EXPECT_EQ(key_from_name("keypad"), -1);
    EXPECT_EQ(key_from_name(""), -1);

    // Windows virtual keys, in any case; a second name reads as the key it names.
    struct Case {
        const char* name;
        int code;
        const char* written;
    } cases[] = {
        {"esc", 27, "Escape"},
        {"ESCAPE", 27, "Escape"},
        {"return", 13, "Enter"},
        {"Enter", 13, "Enter"},
        {"left", 37, "Left"},
        {"UP", 38, "Up"},
        {"Right", 39, "Right"},
        {"down", 40, "Down"},
        {"a", 65, "A"},
        {"s", 83, "S"},
        {"7", 55, "7"},
        {"ctrl", 17, "Ctrl"},
        {"Keypad0", 96, "Keypad0"},
        {"keypad9", 105, "Keypad9"},
        {"f1", 112, "F1"},
        {"F12", 123, "F12"},
        {"pagedown", 34, "PageDown"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(key_from_name(c.name), c.code) << c.name;
        EXPECT_EQ(key_name(c.code), c.written) << c.name;
    }
}

}  // namespace
