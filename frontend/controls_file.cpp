// data/controls.txt: parsing with line-numbered problems, the defaults, and the mute line.
#include "frontend/controls_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <sstream>

#include "core/module_state.h"
#include "engine/engine.h"
#include "frontend/settings_file.h"

#define CONTROLS_STATE(X)                       \
    X(KeyBindings, key_bindings, KeyBindings{}) \
    X(uint8_t, sound_muted, 0)

CONTROLS_STATE(CINDER_DEFINE_STATE)

void reset_controls_state() { CONTROLS_STATE(CINDER_RESET_STATE); }

namespace {

struct Action {
    const char* name;
    int KeyBindings::*key;
};
constexpr Action kActions[] = {
    {"fire", &KeyBindings::fire},   {"hyper", &KeyBindings::hyper}, {"left", &KeyBindings::left},
    {"right", &KeyBindings::right}, {"up", &KeyBindings::up},       {"down", &KeyBindings::down},
};

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return std::string();
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

bool is_mute_line(const std::string& line) {
    const std::string t = trim(line.substr(0, line.find('#')));
    const size_t eq = t.find('=');
    return eq != std::string::npos && lower(trim(t.substr(0, eq))) == "mute";
}

}  // namespace

std::string default_controls_text() {
    std::string text =
        "# Keys of Tessel: Cinder Arc: one \"action = key\" a line; \"#\" starts a comment.\n"
        "# Actions: fire, hyper, left, right, up, down. Keys: A-Z, 0-9, Left, Right, Up, Down,\n"
        "# Space, Enter, Tab, Backspace, Shift, Ctrl, Alt, Insert, Delete, Home, End, PageUp,\n"
        "# PageDown, Keypad0-Keypad9, F1-F10. Escape, P, M, D, F11 and F12 are the game's own;\n"
        "# Enter also confirms in the menus. mute = yes or no (M switches it in the game).\n";
    const KeyBindings d;
    for (const Action& a : kActions) text += std::string(a.name) + " = " + key_name(d.*a.key) + "\n";
    return text + "mute = no\n";
}

KeyBindings parse_controls(const std::string& text, uint8_t& muted, std::vector<std::string>& problems) {
    KeyBindings keys;
    std::array<int, std::size(kActions)> set_on{};  // the line that set each action, 0: default
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string t = trim(line.substr(0, line.find('#')));
        if (t.empty()) continue;
        auto problem = [&](const std::string& why) {
            problems.push_back(std::to_string(number) + ": " + why);
        };
        const size_t eq = t.find('=');
        if (eq == std::string::npos) {
            problem("expected \"action = key\"");
            continue;
        }
        const std::string action = lower(trim(t.substr(0, eq))), value = trim(t.substr(eq + 1));
        if (action == "mute") {
            const std::string v = lower(value);
            if (v == "yes" || v == "no")
                muted = v == "yes";
            else
                problem("mute is yes or no, not \"" + value + "\"");
            continue;
        }
        const auto a = std::find_if(std::begin(kActions), std::end(kActions),
                                    [&](const Action& x) { return action == x.name; });
        if (a == std::end(kActions)) {
            problem("unknown action \"" + trim(t.substr(0, eq)) + "\"");
            continue;
        }
        const int code = key_from_name(value);
        if (code < 0) {
            problem("unknown key \"" + value + "\"");
            continue;
        }
        if (std::find(std::begin(kReservedKeys), std::end(kReservedKeys), code) != std::end(kReservedKeys)) {
            problem(value + " is kept for the game itself");
            continue;
        }
        keys.*(a->key) = code;
        set_on[size_t(a - std::begin(kActions))] = number;
    }
    // Two actions on one key would leave one of them out of reach: the later line gives way, and
    // as the defaults are six different keys this always ends.
    while (true) {
        size_t give_way = std::size(kActions);
        for (size_t i = 0; i < std::size(kActions); ++i)
            for (size_t j = 0; j < std::size(kActions); ++j)
                if (i != j && keys.*kActions[i].key == keys.*kActions[j].key && set_on[i] > 0 &&
                    (give_way == std::size(kActions) || set_on[i] > set_on[give_way]))
                    give_way = i;
        if (give_way == std::size(kActions)) break;
        const Action& a = kActions[give_way];
        problems.push_back(std::to_string(set_on[give_way]) + ": " + key_name(keys.*a.key) +
                           " is another action's key; " + a.name + " stays on " +
                           key_name(KeyBindings{}.*a.key));
        keys.*a.key = KeyBindings{}.*a.key;
        set_on[give_way] = 0;
    }
    return keys;
}

std::string with_mute_line(const std::string& text, bool muted) {
    const std::string mute = std::string("mute = ") + (muted ? "yes" : "no");
    std::istringstream in(text);
    std::string line, out;
    bool found = false;
    while (std::getline(in, line)) {
        if (is_mute_line(line) && !found) {
            line = mute;
            found = true;
        }
        out += line + "\n";
    }
    if (!found) out += mute + "\n";
    return out;
}

namespace {

bool read_text(const char* path, std::string& text) {
    TStream* in = read_file(path);
    if (!in) return false;
    const int64_t size = std::clamp<int64_t>(file_size(path), 0, 1 << 20);
    text = read_string(in, int(size));
    const bool ok = !stream_failed(in);
    close_stream(in);
    return ok;
}

bool write_text(const std::string& text) {
    return make_folder("data") &&
           write_file_safely(kControlsPath, std::vector<uint8_t>(text.begin(), text.end()));
}

}  // namespace

void load_controls() {
    std::string text;
    if (file_type(kControlsPath) == 0) {
        // Written for the player to edit; when it cannot be, the defaults hold and the failed
        // save of the settings at the end says what is wrong with data/.
        text = default_controls_text();
        write_text(text);
    } else if (!read_text(kControlsPath, text)) {
        std::fprintf(stderr, "cinder-arc: cannot read %s; the default keys are used\n", kControlsPath);
        text.clear();
    }
    std::vector<std::string> problems;
    key_bindings = parse_controls(text, sound_muted, problems);
    for (const std::string& p : problems)
        std::fprintf(stderr, "cinder-arc: %s:%s (line ignored)\n", kControlsPath, p.c_str());
    set_mute(sound_muted != 0);
}

bool save_mute_choice() {
    std::string text;
    if (file_type(kControlsPath) == 0 || !read_text(kControlsPath, text)) text = default_controls_text();
    if (write_text(with_mute_line(text, sound_muted != 0))) return true;
    std::fprintf(stderr, "cinder-arc: could not save the mute choice in %s\n", kControlsPath);
    return false;
}
