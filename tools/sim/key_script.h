// Key scripts of the headless runner: "FRAME KEY KEY ..." lines saying which keys are held from
// that frame on ("FRAME -" for none); keys by name or by virtual-key number; "#" starts a comment.
#pragma once

#include <array>
#include <string>
#include <vector>

struct KeyChange {
    int frame = 0;
    std::array<bool, 256> held{};
};

struct KeyScript {
    std::vector<KeyChange> changes;  // in frame order
    // The keys held during `frame`: the last change at or before it (none before the first).
    const std::array<bool, 256>& held_at(int frame) const;
};

// Parses a script. On a malformed line returns false with its 1-based number and the reason.
bool parse_key_script(const std::string& text, KeyScript& out, int& bad_line, std::string& why);

// Virtual-key code of a number 0..255 or of a key name (key_from_name: "left", "a", "esc", ...);
// -1 if none.
int key_code(const std::string& name);
