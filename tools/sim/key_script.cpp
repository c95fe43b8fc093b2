// Parsing of the headless runner's key scripts.
#include "key_script.h"

#include <sstream>

#include "engine/keys.h"

namespace {

const std::array<bool, 256> kNone{};

}  // namespace

int key_code(const std::string& word) {
    if (word.empty() || word.find_first_not_of("0123456789") != std::string::npos) return key_from_name(word);
    if (word.size() > 3) return -1;
    const int value = std::stoi(word);
    return value <= 255 ? value : -1;
}

const std::array<bool, 256>& KeyScript::held_at(int frame) const {
    const std::array<bool, 256>* held = &kNone;
    for (const KeyChange& c : changes) {
        if (c.frame > frame) break;
        held = &c.held;
    }
    return *held;
}

bool parse_key_script(const std::string& text, KeyScript& out, int& bad_line, std::string& why) {
    out.changes.clear();
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        size_t hash = line.find('#');
        if (hash != std::string::npos) line.resize(hash);
        std::istringstream words(line);
        std::string word;
        if (!(words >> word)) continue;
        auto fail = [&](const std::string& reason) {
            bad_line = number;
            why = reason;
            return false;
        };
        KeyChange change;
        if (word.size() > 9 || word.find_first_not_of("0123456789") != std::string::npos)
            return fail("'" + word + "' is not a frame number");
        change.frame = std::stoi(word);
        if (!out.changes.empty() && change.frame <= out.changes.back().frame)
            return fail("frame " + word + " does not come after the previous line's");
        bool any = false, none = false;
        while (words >> word) {
            if (word == "-") {
                none = true;
                continue;
            }
            int code = key_code(word);
            if (code < 0) return fail("unknown key '" + word + "'");
            change.held[code] = true;
            any = true;
        }
        if (any == none) return fail(any ? "'-' and keys on one line" : "no keys (write '-' for none)");
        out.changes.push_back(change);
    }
    return true;
}
