// data/controls.txt: parsing with line-numbered problems, the defaults, and the mute line.
#include "frontend/controls_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <sstream>

#include "core/module_state.h"
#include "engine/engine.h"
#include "frontend/settings_file.h"

#define CONTROLS_STATE(X)                       \
    X(KeyBindings, key_bindings, KeyBindings{}) \
    X(uint8_t, sound_muted, 0)
// Set when the file is there but was not read whole: M then leaves it as it is rather than put
// the defaults (or a cut-off copy) over the player's own.
#define CONTROLS_FILE_FLAGS(X) X(bool, g_keep_controls_file, false)

CONTROLS_STATE(CINDER_DEFINE_STATE)

namespace {
CONTROLS_FILE_FLAGS(CINDER_DEFINE_STATE)
}  // namespace

void reset_controls_state() {
    CONTROLS_STATE(CINDER_RESET_STATE);
    CONTROLS_FILE_FLAGS(CINDER_RESET_STATE);
}

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

// A piece of the player's line as a message shows it: control bytes (a terminal would obey
// them) as "?", and no more than a line's worth.
std::string shown(const std::string& s) {
    constexpr size_t kMost = 40;
    std::string out;
    for (size_t i = 0; i < s.size() && i < kMost; ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        out += c < 0x20 || c == 0x7f ? '?' : char(c);
    }
    return s.size() > kMost ? out + "..." : out;
}

bool is_direction(const Action& a) { return a.key != &KeyBindings::fire && a.key != &KeyBindings::hyper; }

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
    int mute_on = 0;                                // the line that set the mute choice
    std::istringstream in(text);
    std::string line;
    int number = 0;
    // A line that an action's (or the mute's) later line overrides is reported, so that a
    // player who edits the first of two never wonders why nothing changes.
    auto given_again = [&](int earlier, const std::string& what) {
        if (earlier > 0)
            problems.push_back(std::to_string(earlier) + ": " + what + " is given again on line " +
                               std::to_string(number) + ", which counts");
    };
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
            if (v == "yes" || v == "no") {
                muted = v == "yes";
                given_again(mute_on, "mute");
                mute_on = number;
            } else {
                problem("mute is yes or no, not \"" + shown(value) + "\"");
            }
            continue;
        }
        const auto a = std::find_if(std::begin(kActions), std::end(kActions),
                                    [&](const Action& x) { return action == x.name; });
        if (a == std::end(kActions)) {
            problem("unknown action \"" + shown(trim(t.substr(0, eq))) + "\"");
            continue;
        }
        const int code = key_from_name(value);
        if (code < 0) {
            problem("unknown key \"" + shown(value) + "\"");
            continue;
        }
        if (std::find(std::begin(kReservedKeys), std::end(kReservedKeys), code) != std::end(kReservedKeys)) {
            problem(shown(value) + " is kept for the game itself");
            continue;
        }
        // Enter confirms in the menus: a direction on it would confirm at every step of the
        // cursor, and the entries below the first could never be reached.
        if (code == vk::kEnter && is_direction(*a)) {
            problem("Enter confirms in the menus and cannot be " + std::string(a->name));
            continue;
        }
        const size_t i = size_t(a - std::begin(kActions));
        given_again(set_on[i], a->name);
        keys.*(a->key) = code;
        set_on[i] = number;
    }
    // Two actions on one key would leave one of them out of reach, and Alt with Enter is the
    // full-screen switch, which playing would set off: the later line gives way, and as the
    // defaults are six different keys, neither Alt nor Enter, this always ends.
    auto clash = [&](size_t i, size_t j) {
        const int a = keys.*kActions[i].key, b = keys.*kActions[j].key;
        return a == b || (a == vk::kAlt && b == vk::kEnter) || (a == vk::kEnter && b == vk::kAlt);
    };
    while (true) {
        size_t give_way = std::size(kActions), other = 0;
        for (size_t i = 0; i < std::size(kActions); ++i)
            for (size_t j = 0; j < std::size(kActions); ++j)
                if (i != j && clash(i, j) && set_on[i] > 0 &&
                    (give_way == std::size(kActions) || set_on[i] > set_on[give_way])) {
                    give_way = i;
                    other = j;
                }
        if (give_way == std::size(kActions)) break;
        const Action& a = kActions[give_way];
        const int code = keys.*a.key;
        const std::string why = code == keys.*kActions[other].key
                                    ? key_name(code) + " is another action's key"
                                    : key_name(code) + " with " + key_name(keys.*kActions[other].key) +
                                          " would switch full screen";
        problems.push_back(std::to_string(set_on[give_way]) + ": " + why + "; " + a.name + " stays on " +
                           key_name(KeyBindings{}.*a.key));
        keys.*a.key = KeyBindings{}.*a.key;
        set_on[give_way] = 0;
    }
    return keys;
}

std::string with_mute_line(const std::string& text, bool muted) {
    // The last mute line is the one the reader goes by: it takes the choice, the earlier ones go.
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    size_t last = SIZE_MAX;
    while (std::getline(in, line)) {
        if (is_mute_line(line)) last = lines.size();
        lines.push_back(line);
    }
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i == last)
            out += std::string("mute = ") + (muted ? "yes" : "no") + "\n";
        else if (!is_mute_line(lines[i]))
            out += lines[i] + "\n";
    }
    if (last == SIZE_MAX) out += std::string("mute = ") + (muted ? "yes" : "no") + "\n";
    return out;
}

namespace {

constexpr int64_t kMostBytes = 1 << 20;  // far beyond any hand-written file

// "" with the whole file in `text`, else why it cannot be used (the end of a one-line message).
std::string read_text(std::string& text) {
    text.clear();
    if (std::string problem = file_problem(kControlsPath); !problem.empty()) return problem;
    const int64_t size = file_size(kControlsPath);
    if (size > kMostBytes) return "is larger than 1 MiB";
    TStream* in = read_file(kControlsPath);
    if (!in) return "cannot be opened";
    text = read_string(in, int(size));
    const bool failed = stream_failed(in);
    close_stream(in);
    if (failed) text.clear();
    return failed ? "cannot be read" : "";
}

bool write_text(const std::string& text) {
    return make_folder("data") &&
           write_file_safely(kControlsPath, std::vector<uint8_t>(text.begin(), text.end()));
}

}  // namespace

void load_controls() {
    // A temporary file left by an interrupted save is of no use (never a folder of that name,
    // which remove_file leaves alone: the save then says what is in the way).
    remove_file(std::string(kControlsPath) + ".tmp");
    std::string text;
    g_keep_controls_file = false;
    if (file_type(kControlsPath) == 0) {
        // Written for the player to edit; when it cannot be, the defaults hold and the failed
        // save of the settings at the end says what is wrong with data/.
        text = default_controls_text();
        write_text(text);
    } else if (const std::string why = read_text(text); !why.empty()) {
        std::fprintf(stderr, "cinder-arc: %s %s; the default keys are used and it is left as it is\n",
                     kControlsPath, why.c_str());
        g_keep_controls_file = true;
        text.clear();
    }
    std::vector<std::string> problems;
    key_bindings = parse_controls(text, sound_muted, problems);
    for (const std::string& p : problems)
        std::fprintf(stderr, "cinder-arc: %s:%s (line ignored)\n", kControlsPath, p.c_str());
    set_mute(sound_muted != 0);
}

bool save_mute_choice() {
    // The start said once that the file is left as it is; the choice holds for this session.
    if (g_keep_controls_file) return false;
    std::string text;
    if (file_type(kControlsPath) == 0) {
        text = default_controls_text();
    } else if (const std::string why = read_text(text); !why.empty()) {
        std::fprintf(stderr, "cinder-arc: %s %s; the mute choice is not saved in it\n", kControlsPath,
                     why.c_str());
        g_keep_controls_file = true;
        return false;
    }
    if (write_text(with_mute_line(text, sound_muted != 0))) return true;
    std::fprintf(stderr, "cinder-arc: could not save the mute choice in %s\n", kControlsPath);
    return false;
}
