// The stage compiler and its preview: parses the legend and grid of assets/stage/, checks that every
// object stands where it can, picks each cell's tile from its neighbours and writes level1.txt.
#include "stage.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "assetgen.h"
#include "canvas.h"
#include "tiles.h"

namespace gen {

namespace {

using namespace tiles;

enum class Kind : uint8_t {
    Sky,
    Deck,
    Rust,
    Pipe,
    Girder,
    Pad,
    HatchRound,
    HatchSquare,
    Vent,
    Beacon,
    Crates,
    Fan,
    Tank,
    Solar,
};

struct KindInfo {
    const char* name;
    Kind kind;
    bool deck;      // part of a deck surface: decks join it and draw no rim towards it
    bool interior;  // must lie wholly inside a deck (its picture has no rim of its own)
    bool stand;     // ground objects may stand on it
};

constexpr KindInfo kKinds[] = {
    {"sky", Kind::Sky, false, false, false},
    {"deck", Kind::Deck, true, false, true},
    {"rust", Kind::Rust, true, true, true},
    {"pipe", Kind::Pipe, false, false, false},
    {"girder", Kind::Girder, false, false, false},
    {"pad", Kind::Pad, true, true, true},
    {"hatch_round", Kind::HatchRound, true, true, true},
    {"hatch_square", Kind::HatchSquare, true, true, true},
    {"vent", Kind::Vent, true, true, true},
    {"beacon", Kind::Beacon, true, true, false},
    {"crates", Kind::Crates, true, true, false},
    {"fan", Kind::Fan, true, true, false},
    {"tank", Kind::Tank, true, true, false},
    {"solar", Kind::Solar, true, true, false},
};

const KindInfo& info(Kind k) { return kKinds[int(k)]; }

bool is_prop(Kind k) { return k == Kind::Fan || k == Kind::Tank || k == Kind::Solar; }

struct Source {
    std::string name;
    std::map<char, Kind> terrain;
    std::map<char, int> objects;
    Kind kind[kStageRows][kStageColumns]{};
    int code[kStageRows][kStageColumns]{};
    char object_char[kStageRows][kStageColumns]{};
    int line[kStageRows]{};
};

[[noreturn]] void fail(const std::string& name, int line, const std::string& what) {
    throw std::runtime_error(name + ":" + std::to_string(line) + ": " + what);
}

std::string trim_comment(const std::string& s) {
    std::string t = s.substr(0, s.find(';'));
    size_t a = t.find_first_not_of(" \t"), b = t.find_last_not_of(" \t");
    return a == std::string::npos ? "" : t.substr(a, b - a + 1);
}

void parse_legend_line(Source& src, const std::string& text, int line_no) {
    std::istringstream words(text);
    std::string what, ch, value;
    words >> what >> ch >> value;
    std::string extra;
    if (ch.size() != 1 || value.empty() || (words >> extra))
        fail(src.name, line_no, "a legend line is 'terrain C kind' or 'object C code'");
    char c = ch[0];
    if (c == ';' || c == '@') fail(src.name, line_no, "';' and '@' cannot stand for a cell");
    if (what == "terrain") {
        if (src.terrain.count(c)) fail(src.name, line_no, std::string("terrain '") + c + "' is given twice");
        for (const KindInfo& k : kKinds)
            if (value == k.name) {
                src.terrain[c] = k.kind;
                return;
            }
        fail(src.name, line_no, "unknown terrain kind '" + value + "'");
    }
    if (what == "object") {
        if (src.objects.count(c)) fail(src.name, line_no, std::string("object '") + c + "' is given twice");
        char* end = nullptr;
        long code = std::strtol(value.c_str(), &end, 10);
        if (*end != '\0' || code < 0 || code > kLastObjectCode)
            fail(src.name, line_no, "object codes are 0 (nothing) to 12, not '" + value + "'");
        src.objects[c] = int(code);
        return;
    }
    fail(src.name, line_no, "expected 'terrain', 'object' or 'grid', found '" + what + "'");
}

// A grid row: 15 terrain characters, one space, 15 object characters, then optionally
// blanks and a ';' comment.
void parse_grid_line(Source& src, const std::string& line, int row, int line_no) {
    constexpr size_t kWidth = kStageColumns * 2 + 1;
    bool shaped = line.size() >= kWidth && line[kStageColumns] == ' ';
    if (shaped) {
        std::string rest = line.substr(kWidth);
        size_t first = rest.find_first_not_of(" \t");
        shaped = first == std::string::npos || (first > 0 && rest[first] == ';');
    }
    if (!shaped)
        fail(src.name, line_no,
             "row " + std::to_string(row) + ": a row is 15 terrain cells, a space and 15 object cells");
    for (int c = 0; c < kStageColumns; ++c) {
        char t = line[size_t(c)], o = line[size_t(kStageColumns + 1 + c)];
        auto ti = src.terrain.find(t);
        if (ti == src.terrain.end())
            fail(src.name, line_no,
                 "column " + std::to_string(c) + ": terrain '" + t + "' is not in the legend");
        auto oi = src.objects.find(o);
        if (oi == src.objects.end())
            fail(src.name, line_no,
                 "column " + std::to_string(c) + ": object '" + o + "' is not in the legend");
        src.kind[row][c] = ti->second;
        src.code[row][c] = oi->second;
        src.object_char[row][c] = o;
    }
    src.line[row] = line_no;
}

void parse(Source& src, const std::string& text) {
    std::istringstream in(text);
    std::string line;
    int line_no = 0, rows = 0;
    bool in_grid = false;
    while (std::getline(in, line)) {
        ++line_no;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!in_grid) {
            std::string t = trim_comment(line);
            if (t.empty()) continue;
            if (t == "grid") {
                in_grid = true;
                continue;
            }
            parse_legend_line(src, t, line_no);
            continue;
        }
        std::string t = trim_comment(line);
        if (t.empty()) continue;
        if (t[0] == '@') {
            // "@N note": the next row must be row N, so a person editing the grid sees where they are.
            char* end = nullptr;
            long n = std::strtol(t.c_str() + 1, &end, 10);
            if (end == t.c_str() + 1) fail(src.name, line_no, "a marker is '@' and a row number");
            if (n != rows)
                fail(src.name, line_no,
                     "marker says row " + std::to_string(n) + " but the next row is " + std::to_string(rows));
            continue;
        }
        if (rows >= kStageRows) fail(src.name, line_no, "more than 375 rows");
        parse_grid_line(src, line, rows++, line_no);
    }
    if (!in_grid) fail(src.name, line_no, "no 'grid' line");
    if (rows != kStageRows)
        fail(src.name, line_no, "the grid has " + std::to_string(rows) + " rows; a stage has 375");
}

class Compiler {
  public:
    explicit Compiler(const Source& s) : s_(s) {}

    std::vector<uint8_t> run() {
        check_layout();
        check_objects();
        std::vector<uint8_t> out(size_t(kStageRows * kStageColumns * 2));
        for (int r = 0; r < kStageRows; ++r)
            for (int c = 0; c < kStageColumns; ++c) {
                int tile = pick_tile(c, r);
                out[size_t(r * kStageColumns + c) * 2] = uint8_t(tile);
                out[size_t(r * kStageColumns + c) * 2 + 1] = uint8_t(s_.code[r][c]);
            }
        return out;
    }

  private:
    const Source& s_;
    int variant_[kStageRows][kStageColumns]{};
    int quadrant_[kStageRows][kStageColumns]{};

    static bool inside(int c, int r) { return c >= 0 && c < kStageColumns && r >= 0 && r < kStageRows; }
    Kind at(int c, int r) const { return inside(c, r) ? s_.kind[r][c] : Kind::Sky; }
    // Beyond the map a deck runs on: the stage's edges are not the structures' edges.
    bool deck_at(int c, int r) const { return !inside(c, r) || info(at(c, r)).deck; }
    [[noreturn]] void fail_at(int c, int r, const std::string& what) const {
        fail(s_.name, s_.line[r], "column " + std::to_string(c) + ": " + what);
    }

    void check_layout() {
        static const int dc[8] = {0, 1, 1, 1, 0, -1, -1, -1}, dr[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
        for (int r = 0; r < kStageRows; ++r)
            for (int c = 0; c < kStageColumns; ++c) {
                const KindInfo& k = info(at(c, r));
                if (k.interior)
                    for (int i = 0; i < 8; ++i)
                        if (!deck_at(c + dc[i], r + dr[i]))
                            fail_at(c, r, std::string(k.name) + " must lie wholly inside a deck");
                if (at(c, r) == Kind::Pad) {
                    bool across = at(c - 1, r) == Kind::Pad || at(c + 1, r) == Kind::Pad;
                    bool down = at(c, r - 1) == Kind::Pad || at(c, r + 1) == Kind::Pad;
                    if (!across || !down) fail_at(c, r, "a pad is at least 2 x 2 cells");
                }
                if ((at(c, r) == Kind::Pipe || at(c, r) == Kind::Girder) && link_mask(c, r) == 0)
                    fail_at(c, r, std::string(k.name) + " joins nothing");
            }
        check_props();
    }

    // 2 x 2 fittings: read from the top left, each block must be whole; notes each cell's quadrant.
    void check_props() {
        bool used[kStageRows][kStageColumns]{};
        for (int r = 0; r < kStageRows; ++r)
            for (int c = 0; c < kStageColumns; ++c) {
                if (!is_prop(at(c, r)) || used[r][c]) continue;
                Kind k = at(c, r);
                for (int q = 0; q < 4; ++q) {
                    int cc = c + q % 2, rr = r + q / 2;
                    if (!inside(cc, rr) || at(cc, rr) != k || used[rr][cc])
                        fail_at(c, r, std::string(info(k).name) + " is a whole 2 x 2 block");
                    used[rr][cc] = true;
                    quadrant_[rr][cc] = q;
                }
            }
    }

    void check_objects() const {
        bool taken[kStageRows][kStageColumns]{};
        for (int r = 0; r < kStageRows; ++r)
            for (int c = 0; c < kStageColumns; ++c) {
                int code = s_.code[r][c];
                if (code == 0) continue;
                std::string what =
                    std::string("object '") + s_.object_char[r][c] + "' (code " + std::to_string(code) + ")";
                if (r >= kFirstHeldRow)
                    fail_at(c, r,
                            what + " in rows 359 to 374: they never appear (or appear every banner frame)");
                if (is_enemy(code) && is_boss_row(r)) fail_at(c, r, what + " in a row where a boss fights");
                if (is_trigger(code) && c > 3 && c < 11)
                    fail_at(c, r,
                            what + " is a wave trigger: place it in columns 0-3 (left) or 11-14 (right)");
                if (!is_ground_object(code)) continue;
                bool large = is_large_object(code);
                if (large && (c + 1 >= kStageColumns || r < 1))
                    fail_at(c, r, what + " is 2 x 2 cells: it covers the next column and the row above");
                for (int q = 0; q < (large ? 4 : 1); ++q) {
                    int cc = c + q % 2, rr = r - q / 2;
                    if (!info(at(cc, rr)).stand)
                        fail_at(c, r,
                                what + " must stand on deck, not " + info(at(cc, rr)).name + " (column " +
                                    std::to_string(cc) + ", row " + std::to_string(rr) + ")");
                    if (taken[rr][cc]) fail_at(c, r, what + " overlaps another object");
                    taken[rr][cc] = true;
                }
            }
    }

    bool links_to(Kind self, int c, int r) const {
        return inside(c, r) && (at(c, r) == self || info(at(c, r)).deck);
    }

    // The sides a pipe or girder joins. Beyond the map edge a link runs on only if it comes
    // straight from the other side, so edge pieces do not grow arms into nothing.
    uint8_t link_mask(int c, int r) const {
        Kind k = at(c, r);
        bool n = links_to(k, c, r - 1), e = links_to(k, c + 1, r), s = links_to(k, c, r + 1),
             w = links_to(k, c - 1, r);
        if (r == 0) n = s;
        if (r == kStageRows - 1) s = n;
        if (c == 0) w = e;
        if (c == kStageColumns - 1) e = w;
        return uint8_t((n ? kLinkN : 0) | (e ? kLinkE : 0) | (s ? kLinkS : 0) | (w ? kLinkW : 0));
    }

    static uint32_t cell_hash(int c, int r) {
        uint32_t h = uint32_t(c) * 0x9E3779B1u ^ uint32_t(r + 1) * 0x85EBCA77u;
        h ^= h >> 15;
        h *= 0x2C1B3C6Du;
        h ^= h >> 12;
        h *= 0x297A2D39u;
        h ^= h >> 15;
        return h;
    }

    // A variant by the cell's hash, never the same extra look as the cell to the left or above.
    int vary(int c, int r, int count, int plain_share16) {
        uint32_t h = cell_hash(c, r);
        int v = int(h % 16) < plain_share16 ? 0 : 1 + int((h >> 8) % uint32_t(count - 1));
        if (plain_share16 == 0) v = int((h >> 8) % uint32_t(count));
        for (int tries = 0; tries < count; ++tries) {
            bool clash = (c > 0 && at(c - 1, r) == at(c, r) && variant_[r][c - 1] == v) ||
                         (r > 0 && at(c, r - 1) == at(c, r) && variant_[r - 1][c] == v);
            if (!clash || (v == 0 && plain_share16 > 0)) break;
            v = plain_share16 > 0 ? 1 + v % (count - 1) : (v + 1) % count;
        }
        variant_[r][c] = v;
        return v;
    }

    int pick_tile(int c, int r) {
        switch (at(c, r)) {
            case Kind::Sky:
                return kSky;
            case Kind::Deck: {
                static const int dc[8] = {0, 1, 1, 1, 0, -1, -1, -1}, dr[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
                uint8_t m = 0;
                for (int i = 0; i < 8; ++i)
                    if (deck_at(c + dc[i], r + dr[i])) m |= uint8_t(1 << i);
                if (reduce_mask(m) != 255) return deck_tile(m);
                return deck_variant_tile(vary(c, r, kDeckVariants, 12));
            }
            case Kind::Rust:
                return rust_tile(vary(c, r, kRustVariants, 0));
            case Kind::Pipe:
                return pipe_tile(link_mask(c, r));
            case Kind::Girder:
                return girder_tile(link_mask(c, r));
            case Kind::Pad: {
                auto pad = [&](int cc, int rr) { return inside(cc, rr) && at(cc, rr) == Kind::Pad; };
                int col = !pad(c - 1, r) ? 0 : pad(c + 1, r) ? 1 : 2;
                int row = !pad(c, r - 1) ? 0 : pad(c, r + 1) ? 1 : 2;
                return pad_tile(row, col);
            }
            case Kind::HatchRound:
                return fixture_tile(Fixture::HatchRound);
            case Kind::HatchSquare:
                return fixture_tile(Fixture::HatchSquare);
            case Kind::Vent:
                return fixture_tile(Fixture::Vent);
            case Kind::Beacon:
                return fixture_tile(Fixture::Beacon);
            case Kind::Crates:
                return fixture_tile(Fixture::Crates);
            case Kind::Fan:
                return prop_tile(Prop::Fan, quadrant_[r][c]);
            case Kind::Tank:
                return prop_tile(Prop::Tank, quadrant_[r][c]);
            case Kind::Solar:
                return prop_tile(Prop::Solar, quadrant_[r][c]);
        }
        return kSky;
    }
};

std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path + ": cannot open");
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string stage_source(const std::string& src) { return src + "/stage/stage1.txt"; }

void frame_rect(Canvas& c, int x0, int y0, int w, int h, Rgb col) {
    for (int i = 0; i < w; ++i) {
        c.set(x0 + i, y0, col);
        c.set(x0 + i, y0 + h - 1, col);
    }
    for (int j = 0; j < h; ++j) {
        c.set(x0, y0 + j, col);
        c.set(x0 + w - 1, y0 + j, col);
    }
}

}  // namespace

std::vector<uint8_t> compile_stage(const std::string& text, const std::string& name) {
    auto src = std::make_unique<Source>();
    src->name = name;
    parse(*src, text);
    return Compiler(*src).run();
}

void write_stage(const std::string& src, const std::string& out) {
    const std::string path = stage_source(src);
    std::vector<uint8_t> bytes = compile_stage(read_text(path), path);
    std::filesystem::create_directories(out + "/level");
    const std::string dest = out + "/level/level1.txt";
    std::ofstream f(dest, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!f.flush()) throw std::runtime_error(dest + ": cannot write");
}

void write_stage_preview(const std::string& src, const std::string& path) {
    const std::string stage_path = stage_source(src);
    std::vector<uint8_t> bytes = compile_stage(read_text(stage_path), stage_path);
    Canvas tiles = make_tileset(src);
    constexpr int kGutter = 24, kCell = 16;
    Canvas out(kGutter + kStageColumns * kCell, kStageRows * kCell, hex("0f1e3d"));
    // Bands of the lighter atmosphere behind, to judge the tiles against the cloud layers too.
    for (int y = 0; y < out.h; ++y)
        for (int x = kGutter; x < out.w; ++x)
            if ((y / 320) % 3 == 1)
                out.set(x, y, hex("193a6b"));
            else if ((y / 320) % 3 == 2 && ((x / 40 + y / 40) % 2))
                out.set(x, y, hex("2a5fa0"));
    for (int r = 0; r < kStageRows; ++r) {
        Rgb tick = is_boss_row(r) ? hex("a3203c") : hex("4a566f");
        int len = r % 50 == 0 ? 16 : r % 10 == 0 ? 8 : is_boss_row(r) ? 4 : 0;
        out.fill_rect(0, r * kCell, len, 1, tick);
        if (is_boss_row(r)) out.fill_rect(kGutter - 3, r * kCell, 2, kCell, tick);
        for (int c = 0; c < kStageColumns; ++c) {
            int t = bytes[size_t(r * kStageColumns + c) * 2];
            Canvas cell(kCell, kCell);
            for (int j = 0; j < kCell; ++j)
                for (int i = 0; i < kCell; ++i)
                    cell.set(i, j, tiles.get((t % 10) * kCell + i, (t / 10) * kCell + j));
            out.blit(cell, kGutter + c * kCell, r * kCell);
        }
    }
    for (int r = 0; r < kStageRows; ++r)
        for (int c = 0; c < kStageColumns; ++c) {
            int code = bytes[size_t(r * kStageColumns + c) * 2 + 1];
            if (code == 0) continue;
            int x = kGutter + c * kCell, y = r * kCell;
            if (is_trigger(code)) {
                bool right = c * kCell + 8 >= 120;
                const auto wave = ObjectCode(code);
                int n = wave == ObjectCode::wave_of_4 ? 4 : wave == ObjectCode::wave_of_6 ? 6 : 8;
                for (int k = 0; k < n; ++k) {
                    int ax = right ? out.w - 3 - 3 * k : kGutter + 2 + 3 * k;
                    out.fill_rect(ax, y + 5, 2, 6, hex("7de3c8"));
                }
                continue;
            }
            Rgb col = hex("f08a2c");  // the gun
            switch (ObjectCode(code)) {
                case ObjectCode::power_container:
                case ObjectCode::large_power_container:
                    col = hex("b7d957");
                    break;
                case ObjectCode::container:
                case ObjectCode::large_container:
                    col = hex("c8d1de");
                    break;
                case ObjectCode::large_container_item:
                    col = hex("ffc75a");
                    break;
                case ObjectCode::turret:
                    col = hex("ff8f8f");
                    break;
                case ObjectCode::twin_turret:
                    col = hex("9a6ad6");
                    break;
                case ObjectCode::emplacement:
                    col = hex("e0455a");
                    break;
                default:
                    break;
            }
            if (is_large_object(code)) {
                frame_rect(out, x + 3, y - 13, 26, 26, col);
                frame_rect(out, x + 4, y - 12, 24, 24, col);
            } else {
                frame_rect(out, x + 3, y + 3, 10, 10, col);
                out.fill_rect(x + 6, y + 6, 4, 4, col);
            }
        }
    if (!write_bmp(path, out)) throw std::runtime_error(path + ": cannot write");
}

}  // namespace gen
