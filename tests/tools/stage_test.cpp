// The stage compiler and the map tiles: the shipped stage's rules, the compiler's rejections, and
// the joining invariants of the tiles it picks.
#include "stage.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "assetgen.h"
#include "canvas.h"
#include "tiles.h"

namespace {

namespace fs = std::filesystem;
using gen::kStageColumns;
using gen::kStageRows;
using namespace gen::tiles;

const std::string kAssets = std::string(CINDER_SOURCE_DIR) + "/assets";

fs::path scratch_dir(const std::string& name) {
    fs::path p = fs::temp_directory_path() / ("cinder_stage_" + name + "_" + std::to_string(getpid()));
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

std::vector<uint8_t> read_all(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Map {
    std::vector<uint8_t> bytes;
    int tile(int c, int r) const { return bytes[size_t(r * kStageColumns + c) * 2]; }
    int code(int c, int r) const { return bytes[size_t(r * kStageColumns + c) * 2 + 1]; }
    const TileInfo& info(int c, int r) const { return catalogue()[size_t(tile(c, r))]; }
};

bool inside(int c, int r) { return c >= 0 && c < kStageColumns && r >= 0 && r < kStageRows; }

// Everything a deck joins: its own plating and whatever fittings lie in it.
bool deck_class(const TileInfo& t) {
    switch (t.family) {
        case Family::Deck:
        case Family::DeckPlain:
        case Family::Rust:
        case Family::Pad:
        case Family::Fixture:
        case Family::Prop:
            return true;
        default:
            return false;
    }
}

bool standing(const TileInfo& t) {
    if (t.family == Family::Fixture)
        return t.variant == uint8_t(Fixture::HatchRound) || t.variant == uint8_t(Fixture::HatchSquare) ||
               t.variant == uint8_t(Fixture::Vent);
    return t.family == Family::Deck || t.family == Family::DeckPlain || t.family == Family::Rust ||
           t.family == Family::Pad;
}

// The joining invariant of every tile in a compiled map: a deck tile's mask says exactly which of
// its neighbours are deck (beyond the map counts as deck), and a link joins exactly the sides
// where its own kind or a deck lies.
void expect_joined(const Map& m) {
    static const int dc[8] = {0, 1, 1, 1, 0, -1, -1, -1}, dr[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
    for (int r = 0; r < kStageRows; ++r)
        for (int c = 0; c < kStageColumns; ++c) {
            const TileInfo& t = m.info(c, r);
            if (t.family == Family::Deck) {
                for (int i = 0; i < 8; ++i) {
                    int cc = c + dc[i], rr = r + dr[i];
                    bool joined = !inside(cc, rr) || deck_class(m.info(cc, rr));
                    bool diagonal = i % 2 == 1;
                    uint8_t bit = uint8_t(1 << i);
                    // A diagonal only counts where both of its sides are joined.
                    if (diagonal && reduce_mask(uint8_t(t.mask | bit)) != uint8_t(t.mask | bit)) continue;
                    ASSERT_EQ(bool(t.mask & bit), joined)
                        << "deck tile at column " << c << ", row " << r << ", direction " << i;
                }
            }
            if (t.family == Family::DeckPlain) {
                for (int i = 0; i < 8; ++i) {
                    int cc = c + dc[i], rr = r + dr[i];
                    ASSERT_TRUE(!inside(cc, rr) || deck_class(m.info(cc, rr)))
                        << "plain deck without rims at column " << c << ", row " << r << " faces open sky";
                }
            }
            if (t.family == Family::Pipe || t.family == Family::Girder) {
                const int lc[4] = {0, 1, 0, -1}, lr[4] = {-1, 0, 1, 0};
                for (int i = 0; i < 4; ++i) {
                    int cc = c + lc[i], rr = r + lr[i];
                    if (!inside(cc, rr)) continue;
                    const TileInfo& n = m.info(cc, rr);
                    bool partner = n.family == t.family || deck_class(n);
                    ASSERT_EQ(bool(t.mask & (1 << i)), partner)
                        << "link at column " << c << ", row " << r << ", side " << i;
                }
            }
        }
}

class ShippedStage : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        fs::path dir = scratch_dir("shipped");
        gen::write_stage(kAssets, dir.string());
        map_ = new Map{read_all(dir / "level/level1.txt")};
        fs::path again = scratch_dir("shipped_again");
        gen::write_stage(kAssets, again.string());
        second_ = new std::vector<uint8_t>(read_all(again / "level/level1.txt"));
        fs::remove_all(dir);
        fs::remove_all(again);
    }
    static void TearDownTestSuite() {
        delete map_;
        delete second_;
    }
    static Map* map_;
    static std::vector<uint8_t>* second_;
};
Map* ShippedStage::map_ = nullptr;
std::vector<uint8_t>* ShippedStage::second_ = nullptr;

TEST_F(ShippedStage, IsOneRecordPerCellWithValidTiles) {
    ASSERT_EQ(map_->bytes.size(), 11250u);
    for (int r = 0; r < kStageRows; ++r)
        for (int c = 0; c < kStageColumns; ++c) {
            EXPECT_LT(map_->tile(c, r), 120);
            EXPECT_LE(map_->code(c, r), 12);
        }
}

TEST_F(ShippedStage, TwoRunsWriteTheSameBytes) { EXPECT_EQ(map_->bytes, *second_); }

TEST_F(ShippedStage, RowsOnScreenAtTheStartAndRow359HoldNoObjects) {
    for (int r = 359; r < kStageRows; ++r)
        for (int c = 0; c < kStageColumns; ++c) EXPECT_EQ(map_->code(c, r), 0) << "row " << r;
}

TEST_F(ShippedStage, NoEnemiesWhereTheBossesFight) {
    for (int r = 0; r < kStageRows; ++r) {
        if (!((r >= 118 && r <= 187) || r <= 10)) continue;
        for (int c = 0; c < kStageColumns; ++c) {
            int code = map_->code(c, r);
            EXPECT_FALSE(code >= 6 && code <= 12) << "code " << code << " at column " << c << ", row " << r;
        }
    }
}

TEST_F(ShippedStage, GroundObjectsStandOnDeck) {
    for (int r = 0; r < kStageRows; ++r)
        for (int c = 0; c < kStageColumns; ++c) {
            int code = map_->code(c, r);
            if (!gen::is_ground_object(code)) continue;
            // 32-pixel objects sit on the top-right corner of their cell.
            bool large = code == 2 || code == 4 || code == 5 || code == 7 || code == 11;
            for (int q = 0; q < (large ? 4 : 1); ++q) {
                int cc = c + q % 2, rr = r - q / 2;
                ASSERT_TRUE(inside(cc, rr));
                EXPECT_TRUE(standing(map_->info(cc, rr))) << "code " << code << " at column " << c << ", row "
                                                          << r << " covers tile " << map_->tile(cc, rr);
            }
        }
}

TEST_F(ShippedStage, StructuresJoin) { expect_joined(*map_); }

TEST_F(ShippedStage, UsesEveryObjectAndSendsWavesFromBothSides) {
    std::set<int> codes;
    bool left = false, right = false;
    for (int r = 0; r < kStageRows; ++r)
        for (int c = 0; c < kStageColumns; ++c) {
            int code = map_->code(c, r);
            codes.insert(code);
            if (code >= 8 && code <= 10) (c * 16 + 8 >= 120 ? right : left) = true;
        }
    for (int code = 1; code <= 12; ++code) EXPECT_TRUE(codes.count(code)) << "code " << code;
    EXPECT_TRUE(left);
    EXPECT_TRUE(right);
}

// ---- the compiler on small sources

const char* kLegend =
    "; legend\n"
    "terrain . sky\nterrain # deck\nterrain % rust\nterrain = pipe\nterrain + girder\n"
    "terrain P pad\nterrain o hatch_round\nterrain F fan\n"
    "object . 0\nobject p 1\nobject C 4\nobject t 6\nobject E 7\nobject 4 8\n"
    "grid\n";

struct Source {
    std::vector<std::string> rows =
        std::vector<std::string>(kStageRows, std::string(15, '.') + " " + std::string(15, '.'));
    // Lays `terrain` (and `objects`, when given) over the row from column `c`.
    void set(int r, int c, const std::string& terrain, const std::string& objects = "") {
        for (size_t i = 0; i < terrain.size(); ++i) rows[size_t(r)][size_t(c) + i] = terrain[i];
        for (size_t i = 0; i < objects.size(); ++i) rows[size_t(r)][size_t(16 + c) + i] = objects[i];
    }
    std::string text() const {
        std::string s = kLegend;
        for (const std::string& r : rows) s += r + "\n";
        return s;
    }
};

// The 1-based line of grid row r in Source::text().
int line_of(int r) { return 16 + r + 1; }

Map compile(const Source& s) { return Map{gen::compile_stage(s.text(), "test.txt")}; }

void expect_rejected(const std::string& text, const std::string& where, const std::string& what) {
    try {
        gen::compile_stage(text, "test.txt");
        ADD_FAILURE() << "accepted; expected " << what;
    } catch (const std::runtime_error& e) {
        std::string msg = e.what();
        EXPECT_NE(msg.find(where), std::string::npos) << msg;
        EXPECT_NE(msg.find(what), std::string::npos) << msg;
    }
}
void expect_rejected(const Source& s, int row, const std::string& what) {
    expect_rejected(s.text(), "test.txt:" + std::to_string(line_of(row)) + ":", what);
}

TEST(StageCompiler, AcceptsAnEmptySkyStage) {
    Map m = compile(Source{});
    EXPECT_EQ(m.bytes, std::vector<uint8_t>(11250, 0));
}

TEST(StageCompiler, RejectsCharactersNotInTheLegend) {
    Source s;
    s.set(40, 3, "#X#");
    expect_rejected(s, 40, "terrain 'X'");
    Source o;
    o.set(41, 3, "###", ".q.");
    expect_rejected(o, 41, "object 'q'");
}

TEST(StageCompiler, RejectsRowsOfTheWrongShape) {
    Source short_row;
    short_row.rows[7] = std::string(14, '.') + " " + std::string(15, '.');
    expect_rejected(short_row, 7, "15 terrain cells");
    Source no_space;
    no_space.rows[8] = std::string(31, '.');
    expect_rejected(no_space, 8, "15 terrain cells");
    Source trailing;
    trailing.rows[9] += "x";
    expect_rejected(trailing, 9, "15 terrain cells");
    Source commented;
    commented.rows[9] += "   ; a note";
    EXPECT_NO_THROW(compile(commented));
}

TEST(StageCompiler, RejectsTheWrongNumberOfRows) {
    Source fewer;
    fewer.rows.pop_back();
    expect_rejected(fewer.text(), "test.txt:", "374 rows");
    Source more;
    more.rows.push_back(more.rows.back());
    expect_rejected(more.text(), "test.txt:" + std::to_string(line_of(375)) + ":", "more than 375 rows");
}

TEST(StageCompiler, RejectsARowMarkerThatIsOff) {
    std::string text = Source{}.text();
    size_t grid = text.find("grid\n") + 5;
    EXPECT_NO_THROW(gen::compile_stage(std::string(text).insert(grid, "@0 top\n"), "test.txt"));
    expect_rejected(std::string(text).insert(grid, "@3 top\n"), "test.txt:17:", "next row is 0");
}

TEST(StageCompiler, RejectsGroundObjectsOffTheDeck) {
    Source on_sky;
    on_sky.set(100, 5, "...", ".t.");
    expect_rejected(on_sky, 100, "must stand on deck, not sky");
    Source on_pipe;
    on_pipe.set(100, 4, "#=#", ".t.");
    expect_rejected(on_pipe, 100, "not pipe");
    // A large object covers its cell, the one to the right and the two above them.
    Source half_off;
    half_off.set(99, 4, "#..");
    half_off.set(100, 4, "###", "C..");
    expect_rejected(half_off, 100, "column 5, row 99");
    half_off.set(99, 4, "###");
    EXPECT_NO_THROW(compile(half_off));
    Source at_edge;
    at_edge.set(99, 13, "##");
    at_edge.set(100, 13, "##", ".C");
    expect_rejected(at_edge, 100, "2 x 2 cells");
    Source overlapping;
    overlapping.set(99, 4, "####");
    overlapping.set(100, 4, "####", "CC..");
    expect_rejected(overlapping, 100, "overlaps");
}

TEST(StageCompiler, RejectsObjectsInTheHeldRows) {
    for (int row : {359, 366, 374}) {
        Source s;
        s.set(row, 4, "###", ".p.");
        expect_rejected(s, row, "rows 359 to 374");
    }
    Source fine;
    fine.set(358, 4, "###", ".p.");
    EXPECT_NO_THROW(compile(fine));
}

TEST(StageCompiler, KeepsEnemiesOutOfTheBossRowsButNotContainers) {
    for (int row : {0, 10, 118, 187}) {
        Source s;
        s.set(row, 4, "###", ".t.");
        expect_rejected(s, row, "boss");
    }
    Source trigger;
    trigger.set(150, 0, ".", "4");
    expect_rejected(trigger, 150, "boss");
    Source container;
    container.set(150, 4, "###", ".p.");
    container.set(11, 4, "###", ".t.");
    container.set(188, 4, "###", ".t.");
    EXPECT_NO_THROW(compile(container));
}

TEST(StageCompiler, WantsWaveTriggersNearAnEdge) {
    Source middle;
    middle.set(200, 7, ".", "4");
    expect_rejected(middle, 200, "columns 0-3");
    Source sides;
    sides.set(200, 3, ".", "4");
    sides.set(210, 11, ".", "4");
    EXPECT_NO_THROW(compile(sides));
}

TEST(StageCompiler, RejectsFittingsThatCannotJoin) {
    Source rust_at_edge;
    rust_at_edge.set(50, 3, "###");
    rust_at_edge.set(51, 3, "##%");
    rust_at_edge.set(52, 3, "###");
    expect_rejected(rust_at_edge, 51, "wholly inside a deck");
    Source thin_pad;
    for (int r = 50; r < 55; ++r) thin_pad.set(r, 3, "#####");
    thin_pad.set(52, 4, "PPP");
    expect_rejected(thin_pad, 52, "2 x 2");
    Source lone_pipe;
    lone_pipe.set(60, 6, "=");
    expect_rejected(lone_pipe, 60, "joins nothing");
    Source half_fan;
    for (int r = 50; r < 55; ++r) half_fan.set(r, 3, "#####");
    half_fan.set(51, 4, "FF");
    expect_rejected(half_fan, 51, "whole 2 x 2");
}

TEST(StageCompiler, PicksEdgesCornersAndInnerCorners) {
    // An L of deck:   ###
    //                 ###
    //                 ##.
    Source s;
    s.set(20, 5, "###");
    s.set(21, 5, "###");
    s.set(22, 5, "##");
    Map m = compile(s);
    EXPECT_EQ(m.tile(5, 20), deck_tile(kE | kSE | kS));
    EXPECT_EQ(m.tile(7, 20), deck_tile(kS | kSW | kW));
    EXPECT_EQ(m.tile(6, 21), deck_tile(kN | kNE | kE | kS | kSW | kW | kNW));  // inner corner at its SE
    EXPECT_EQ(m.tile(7, 21), deck_tile(kN | kW | kNW));
    EXPECT_EQ(m.tile(6, 22), deck_tile(kN | kNW | kW));
    EXPECT_EQ(m.info(6, 20).family, Family::Deck);
    expect_joined(m);
}

TEST(StageCompiler, DecksRunOnPastTheMapEdges) {
    Source s;
    s.set(0, 0, "##");
    s.set(374, 13, "##");
    Map m = compile(s);
    EXPECT_EQ(m.tile(0, 0), deck_tile(kN | kNE | kE | kW | kNW));
    EXPECT_EQ(m.tile(14, 374), deck_tile(kS | kSW | kW | kE | kSE));
}

TEST(StageCompiler, LinksJoinTheirOwnKindAndDecks) {
    Source s;
    s.set(30, 2, "#==#+#");
    s.set(31, 7, "=");  // hangs below the girder's east deck
    Map m = compile(s);
    EXPECT_EQ(m.tile(3, 30), pipe_tile(kLinkE | kLinkW));
    EXPECT_EQ(m.tile(6, 30), girder_tile(kLinkE | kLinkW));
    EXPECT_EQ(m.tile(7, 31), pipe_tile(kLinkN));
    // A pipe running into the side of the map continues there; one along the side does not grow an arm.
    Source edge;
    edge.set(40, 0, "==#");
    edge.set(41, 0, "#");
    edge.set(42, 0, "=");
    Map e = compile(edge);
    EXPECT_EQ(e.tile(0, 40), pipe_tile(kLinkE | kLinkW | kLinkS));
    EXPECT_EQ(e.tile(0, 42), pipe_tile(kLinkN));
    expect_joined(e);
}

TEST(StageCompiler, VariesLargeSurfacesWithoutRepeatingALookSideBySide) {
    Source s;
    for (int r = 100; r < 140; ++r) s.set(r, 0, std::string(15, '#'));
    for (int r = 110; r < 120; ++r) s.set(r, 3, "%%%%%%%%%");
    Map m = compile(s);
    std::set<int> looks;
    for (int r = 101; r < 139; ++r)
        for (int c = 0; c < 15; ++c) {
            const TileInfo& t = m.info(c, r);
            looks.insert(m.tile(c, r));
            bool extra = t.family == Family::DeckPlain || t.family == Family::Rust;
            if (extra && c > 0) {
                EXPECT_NE(m.tile(c, r), m.tile(c - 1, r)) << c << "," << r;
            }
            if (extra) {
                EXPECT_NE(m.tile(c, r), m.tile(c, r - 1)) << c << "," << r;
            }
        }
    EXPECT_GE(looks.size(), size_t(kDeckVariants + kRustVariants - 2));
    expect_joined(m);
}

TEST(StageCompiler, TellsEach2x2FittingItsQuarter) {
    Source s;
    for (int r = 60; r < 66; ++r) s.set(r, 2, "######");
    s.set(61, 3, "FF");
    s.set(62, 3, "FFFF");
    s.set(63, 5, "FF");
    Map m = compile(s);
    EXPECT_EQ(m.tile(3, 61), prop_tile(Prop::Fan, 0));
    EXPECT_EQ(m.tile(4, 62), prop_tile(Prop::Fan, 3));
    EXPECT_EQ(m.tile(5, 62), prop_tile(Prop::Fan, 0));
    EXPECT_EQ(m.tile(6, 63), prop_tile(Prop::Fan, 3));
}

// ---- the tiles themselves

TEST(TileCatalogue, HoldsEveryDeckShapeOnceWithinTheStrip) {
    std::set<int> deck;
    for (int m = 0; m < 256; ++m) {
        int t = deck_tile(uint8_t(m));
        ASSERT_GT(t, 0);
        ASSERT_LT(t, kCount);
        EXPECT_EQ(catalogue()[size_t(t)].mask, reduce_mask(uint8_t(m)));
        deck.insert(t);
    }
    EXPECT_EQ(deck.size(), 47u);
    std::set<int> others;
    for (int m = 1; m < 16; ++m) {
        others.insert(pipe_tile(uint8_t(m)));
        others.insert(girder_tile(uint8_t(m)));
    }
    for (int v = 1; v < kDeckVariants; ++v) others.insert(deck_variant_tile(v));
    for (int v = 0; v < kRustVariants; ++v) others.insert(rust_tile(v));
    for (int i = 0; i < 9; ++i) others.insert(pad_tile(i / 3, i % 3));
    for (int p = 0; p < int(Prop::Count); ++p)
        for (int q = 0; q < 4; ++q) others.insert(prop_tile(Prop(p), q));
    for (int f = 0; f < int(Fixture::Count); ++f) others.insert(fixture_tile(Fixture(f)));
    for (int t : others) {
        EXPECT_FALSE(deck.count(t)) << t;
        EXPECT_LT(t, kCount);
    }
    EXPECT_EQ(others.size(), size_t(30 + kDeckVariants - 1 + kRustVariants + 9 + 12 + int(Fixture::Count)));
}

class Tileset : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { strip_ = new gen::Canvas(gen::make_tileset(kAssets)); }
    static void TearDownTestSuite() { delete strip_; }
    static gen::Rgb px(int tile, int x, int y) {
        return strip_->get((tile % 10) * 16 + x, (tile / 10) * 16 + y);
    }
    static gen::Canvas* strip_;
};
gen::Canvas* Tileset::strip_ = nullptr;

TEST_F(Tileset, IsTenColumnsOfTwelveRows) {
    EXPECT_EQ(strip_->w, 160);
    EXPECT_EQ(strip_->h, 192);
}

TEST_F(Tileset, OpenSkyIsWhollyTransparent) {
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(px(kSky, x, y), gen::kKey);
}

// Where a deck joins a neighbour its border is solid (no gaps between joined cells); where two
// neighbouring sides are open the corner is rounded off into transparency.
TEST_F(Tileset, DeckBordersAreSolidWhereTheyJoinAndCornersRoundWhereTheyDoNot) {
    for (int m = 0; m < 256; ++m) {
        uint8_t r = reduce_mask(uint8_t(m));
        if (r != m) continue;
        int t = deck_tile(r);
        for (int i = 0; i < 16; ++i) {
            if (r & kN) {
                ASSERT_NE(px(t, i, 0), gen::kKey) << "tile " << t;
            }
            if (r & kS) {
                ASSERT_NE(px(t, i, 15), gen::kKey) << "tile " << t;
            }
            if (r & kW) {
                ASSERT_NE(px(t, 0, i), gen::kKey) << "tile " << t;
            }
            if (r & kE) {
                ASSERT_NE(px(t, 15, i), gen::kKey) << "tile " << t;
            }
        }
        EXPECT_EQ(px(t, 0, 0) == gen::kKey, !(r & kN) && !(r & kW)) << "tile " << t;
        EXPECT_EQ(px(t, 15, 15) == gen::kKey, !(r & kS) && !(r & kE)) << "tile " << t;
        EXPECT_NE(px(t, 8, 8), gen::kKey);
    }
}

TEST_F(Tileset, LinksReachExactlyTheSidesTheyJoin) {
    for (int m = 1; m < 16; ++m)
        for (int t : {pipe_tile(uint8_t(m)), girder_tile(uint8_t(m))}) {
            bool n = false, e = false, s = false, w = false;
            for (int i = 0; i < 16; ++i) {
                n = n || px(t, i, 0) != gen::kKey;
                e = e || px(t, 15, i) != gen::kKey;
                s = s || px(t, i, 15) != gen::kKey;
                w = w || px(t, 0, i) != gen::kKey;
            }
            EXPECT_EQ(n, bool(m & kLinkN)) << "tile " << t;
            EXPECT_EQ(e, bool(m & kLinkE)) << "tile " << t;
            EXPECT_EQ(s, bool(m & kLinkS)) << "tile " << t;
            EXPECT_EQ(w, bool(m & kLinkW)) << "tile " << t;
            // Nothing reaches the corners: a link never touches a diagonal neighbour.
            EXPECT_EQ(px(t, 0, 0), gen::kKey);
            EXPECT_EQ(px(t, 15, 15), gen::kKey);
        }
}

TEST_F(Tileset, FittingsFillTheirCells) {
    std::vector<int> full;
    for (int v = 1; v < kDeckVariants; ++v) full.push_back(deck_variant_tile(v));
    for (int v = 0; v < kRustVariants; ++v) full.push_back(rust_tile(v));
    for (int i = 0; i < 9; ++i) full.push_back(pad_tile(i / 3, i % 3));
    for (int f = 0; f < int(Fixture::Count); ++f) full.push_back(fixture_tile(Fixture(f)));
    for (int p = 0; p < int(Prop::Count); ++p)
        for (int q = 0; q < 4; ++q) full.push_back(prop_tile(Prop(p), q));
    for (int t : full)
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) ASSERT_NE(px(t, x, y), gen::kKey) << "tile " << t;
}

TEST(TileSources, NameTheFileOfAMissingFrame) {
    fs::path dir = scratch_dir("tiles");
    fs::create_directories(dir / "tiles");
    for (const char* f : {"deck.txt", "links.txt", "fixtures.txt"})
        fs::copy_file(kAssets + "/tiles/" + f, dir / "tiles" / f);
    std::ofstream(dir / "tiles/links.txt") << "palette\n. key\nend\n";
    try {
        gen::make_tileset(dir.string());
        ADD_FAILURE() << "a tileset without pipes was made";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("links.txt: no frame named pipe_h"), std::string::npos)
            << e.what();
    }
    fs::remove_all(dir);
}

}  // namespace
