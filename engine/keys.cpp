// Key names: the one table that the controls file and the runner's key scripts read.
#include "engine/keys.h"

#include <algorithm>
#include <cctype>

namespace {

struct Named {
    const char* name;
    int code;
};
// Where two names share a key, the first is the one it is written under.
constexpr Named kNames[] = {
    {"Escape", vk::kEscape}, {"Esc", vk::kEscape}, {"Left", vk::kLeft},           {"Right", vk::kRight},
    {"Up", vk::kUp},         {"Down", vk::kDown},  {"Space", vk::kSpace},         {"Enter", vk::kEnter},
    {"Return", vk::kEnter},  {"Tab", vk::kTab},    {"Backspace", vk::kBackspace}, {"Shift", vk::kShift},
    {"Ctrl", vk::kControl},  {"Alt", vk::kAlt},    {"Insert", vk::kInsert},       {"Delete", vk::kDelete},
    {"Home", vk::kHome},     {"End", vk::kEnd},    {"PageUp", vk::kPageUp},       {"PageDown", vk::kPageDown},
};

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

int key_from_name(const std::string& name) {
    const std::string n = lower(name);
    if (n.size() == 1 && std::isalnum(static_cast<unsigned char>(n[0])))
        return std::toupper(static_cast<unsigned char>(n[0]));
    for (const Named& k : kNames)
        if (n == lower(k.name)) return k.code;
    if (n.size() == 7 && n.compare(0, 6, "keypad") == 0 && std::isdigit(static_cast<unsigned char>(n[6])))
        return vk::kKeypad0 + (n[6] - '0');
    if (n.size() >= 2 && n.size() <= 3 && n[0] == 'f' && std::all_of(n.begin() + 1, n.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        })) {
        const int f = std::stoi(n.substr(1));
        if (f >= 1 && f <= 12) return vk::kF1 - 1 + f;
    }
    return -1;
}

std::string key_name(int code) {
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) return std::string(1, char(code));
    for (const Named& k : kNames)
        if (k.code == code) return k.name;
    if (code >= vk::kKeypad0 && code <= vk::kKeypad0 + 9)
        return "Keypad" + std::to_string(code - vk::kKeypad0);
    if (code >= vk::kF1 && code <= vk::kF12) return "F" + std::to_string(code - vk::kF1 + 1);
    return std::string();
}
