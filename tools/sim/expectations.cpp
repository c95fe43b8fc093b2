// Reading, writing and checking the headless runner's expectations files.
#include "expectations.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

const std::string* find_field(const Fields& fields, const std::string& name) {
    for (const auto& [n, v] : fields)
        if (n == name) return &v;
    return nullptr;
}

bool whole_number(const std::string& s, int& out) {
    if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos) return false;
    out = std::stoi(s);
    return true;
}

std::string field_difference(const std::string& name, const std::string& want, const std::string& got,
                             int frames) {
    return name + " at the end of the run (after frame " + std::to_string(frames - 1) + "): expected " +
           want + ", got " + got;
}

}  // namespace

std::string picture_hash(const std::vector<uint32_t>& pixels) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (uint32_t p : pixels)
        for (int shift : {16, 8, 0}) h = (h ^ ((p >> shift) & 0xffu)) * 0x100000001b3ull;
    char text[17];
    for (int i = 15; i >= 0; --i, h >>= 4) text[i] = "0123456789abcdef"[h & 15];
    text[16] = 0;
    return text;
}

bool parse_expectations(const std::string& text, const Fields& known, Expectations& out, int& bad_line,
                        std::string& why) {
    out = {};
    std::istringstream in(text);
    std::string line;
    bad_line = 0;
    while (std::getline(in, line)) {
        ++bad_line;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;
        if (w[0] == "picture") {
            int frame = 0;
            std::string h = w.size() == 3 ? w[2] : "";
            std::transform(h.begin(), h.end(), h.begin(), [](char c) { return char(std::tolower(c)); });
            if (w.size() != 3 || !whole_number(w[1], frame) || h.size() != 16 ||
                h.find_first_not_of("0123456789abcdef") != std::string::npos) {
                why = "expected \"picture FRAME HASH\" with 16 hex digits";
                return false;
            }
            if (!out.pictures.emplace(frame, h).second) {
                why = "the picture at frame " + w[1] + " is expected twice";
                return false;
            }
            continue;
        }
        if (!find_field(known, w[0])) {
            why = "unknown field \"" + w[0] + "\"";
            return false;
        }
        if (w.size() != 2) {
            why = "expected \"NAME VALUE\"";
            return false;
        }
        if (find_field(out.fields, w[0])) {
            why = w[0] + " is expected twice";
            return false;
        }
        out.fields.push_back({w[0], w[1]});
    }
    if (out.fields.empty() && out.pictures.empty()) {
        bad_line = 0;
        why = "expects nothing";
        return false;
    }
    return true;
}

std::string format_expectations(const Fields& fields, const std::map<int, std::string>& pictures,
                                const std::string& command) {
    std::ostringstream out;
    out << "# What a run of cinder-arc-sim must reproduce: \"NAME VALUE\" for a field of its end state,\n"
           "# \"picture FRAME HASH\" for the 640 x 480 picture presented at that frame (FNV-1a, 64 bits,\n"
           "# over R, G, B of every pixel, row by row). Check with --expect; made with:\n"
        << "#   " << command << "\n";
    for (const auto& [name, value] : fields) out << name << ' ' << value << '\n';
    for (const auto& [frame, hash] : pictures) out << "picture " << frame << ' ' << hash << '\n';
    return out.str();
}

std::string first_difference(const Expectations& want, const Fields& got,
                             const std::map<int, std::string>& got_pictures, int frames) {
    auto field = [&](const std::string& name, const std::string& value) -> std::string {
        const std::string* have = find_field(got, name);
        const std::string g = have ? *have : "nothing";
        return g == value ? "" : field_difference(name, value, g, frames);
    };
    for (const auto& [name, value] : want.fields)
        if (name == "setting_particles")
            if (std::string d = field(name, value); !d.empty()) return d;
    for (const auto& [frame, hash] : want.pictures) {
        auto it = got_pictures.find(frame);
        if (it == got_pictures.end()) {
            const std::string* ended = find_field(got, "ended");
            return "the picture at frame " + std::to_string(frame) + ": expected " + hash +
                   ", but the run ended after frame " + std::to_string(frames - 1) +
                   (ended ? " (" + *ended + ")" : "");
        }
        if (it->second != hash)
            return "the picture at frame " + std::to_string(frame) + ": expected " + hash + ", got " +
                   it->second;
    }
    for (const auto& [name, value] : want.fields)
        if (name != "setting_particles")
            if (std::string d = field(name, value); !d.empty()) return d;
    return "";
}
