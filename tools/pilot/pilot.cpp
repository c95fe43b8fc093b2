// The autopilot's choices and the game it plays.
#include "pilot.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/entities.h"
#include "core/game_flow.h"
#include "core/hud.h"
#include "core/objects.h"
#include "core/scroll.h"
#include "core/stage_map.h"
#include "core/startup.h"
#include "engine/engine.h"
#include "engine/headless.h"
#include "engine/keys.h"
#include "frontend/input.h"
#include "frontend/menus.h"
#include "frontend/settings_file.h"
#include "player/bonus.h"
#include "player/bonus2.h"
#include "player/bullet.h"
#include "player/powerup.h"
#include "player/ship.h"

namespace {

constexpr int kDecideEvery = 3;  // frames a choice is held
constexpr int kHorizon = 24;     // frames each choice is tried for

t_player* ship() {
    t_player* found = nullptr;
    player_list->walk_kind(kind_t_player, [&](TObject* o) { found = static_cast<t_player*>(o); });
    return found;
}

// One frame of play with the input codes set directly: what the frame loop runs after its
// input step (the copies never record anything).
void play_frame(uint8_t move, uint8_t button) {
    cls();
    input_move = move;
    input_button = button;
    play_step();
    flip(-1);
}

// Where the pilot wants to be: under the boss, else under the lowest target ahead of the ship
// (enemies of any layer and containers), drifting towards pick-ups that are near.
struct Goal {
    float x = 120.0f, y = 190.0f;
};

Goal choose_goal(const t_player& s) {
    Goal g;
    float best = 1e9f;
    auto consider = [&](float x, float y, float weight) {
        if (y < -10.0f || y > s.y - 30.0f) return;
        const float d = std::fabs(x - s.x) * weight + (s.y - y) * 0.3f;
        if (d < best) best = d, g.x = x;
    };
    enemy_list->walk_kind(kind_t_enemy, [&](TObject* o) {
        auto* e = static_cast<t_enemy*>(o);
        consider(e->x, e->y, e->layer == 1 ? 1.0f : 0.7f);
    });
    levelobject_list->walk_kind(kind_t_levelobject, [&](TObject* o) {
        auto* c = static_cast<t_levelobject*>(o);
        consider(c->x, c->y, 0.8f);
    });
    enemy_list->walk_kind(kind_t_boss, [&](TObject* o) {
        auto* b = static_cast<t_boss*>(o);
        if (b->x < 235.0f) g.x = b->x, best = -1.0f, g.y = 200.0f;
    });
    // Pick-ups within reach below or level with the ship pull it over.
    auto pick = [&](float x, float y) {
        if (std::fabs(y - s.y) < 70.0f && std::fabs(x - s.x) < 80.0f && y > 40.0f)
            g.x = x, g.y = std::max(y, 120.0f);
    };
    pickup_list->walk_kind(kind_t_powerup, [&](TObject* o) {
        pick(static_cast<t_powerup*>(o)->x, static_cast<t_powerup*>(o)->y);
    });
    pickup_list->walk_kind(kind_t_bonus2, [&](TObject* o) {
        auto* b = static_cast<t_bonus2*>(o);
        if (b->collected == 0) pick(b->x, b->y);
    });
    g.x = std::clamp(g.x, 12.0f, 228.0f);
    return g;
}

// What a tried choice came to.
struct Outcome {
    int died_at = 0;        // frame of the horizon the ship was lost in, 0 if it lived
    float closest = 99.0f;  // nearest enemy bullet to the ship over the horizon
    float x = 0, y = 0;     // the ship at the end
    int32_t score = 0;
};

float nearest_bullet(const t_player& s) {
    float d = 99.0f;
    bullet_list->walk_kind(kind_t_bullet, [&](TObject* o) {
        auto* b = static_cast<t_bullet*>(o);
        d = std::min(d, std::max(std::fabs(b->x - s.x), std::fabs(b->y - s.y)));
    });
    return d;
}

// Plays `move` (with `hyper` on its first frame) for `hold` frames, then stands still until the
// horizon, in a forked copy of the process.
Outcome try_choice(int move, int hold, bool hyper) {
    int fds[2];
    if (pipe(fds) != 0) std::abort();
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        Outcome out;
        for (int f = 1; f <= kHorizon; ++f) {
            const uint8_t m = uint8_t(f <= hold ? move : 5);
            play_frame(m, uint8_t(1 + (hyper && f == 1 ? 2 : 0)));
            const t_player* s = ship();
            if (!s) {  // a lost ship leaves the list (an extra ship only adds to lives)
                out.died_at = f;
                break;
            }
            out.closest = std::min(out.closest, nearest_bullet(*s));
            out.x = s->x, out.y = s->y;
            if (game_mode != 1) break;
        }
        out.score = score;
        if (write(fds[1], &out, sizeof out) != ssize_t(sizeof out)) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    Outcome out;
    if (read(fds[0], &out, sizeof out) != ssize_t(sizeof out)) out.died_at = 1;
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return out;
}

struct Choice {
    int move = 5;
    bool hyper = false;
};

double value_of(const Outcome& o, const Goal& g) {
    if (o.died_at > 0) return o.died_at;  // later deaths first, all below any survival
    double v = 1e6;
    v += std::min(o.closest, 14.0f) * 40.0;
    v -= std::fabs(o.x - g.x) * 6.0 + std::fabs(o.y - g.y) * 2.0;
    v += double(o.score - score) * 0.05;
    return v;
}

Choice decide(const t_player& s) {
    const Goal g = choose_goal(s);
    Choice best;
    double best_value = -1.0;
    for (int hold : {kHorizon, 8}) {
        for (int move = 1; move <= 9; ++move) {
            if (hold != kHorizon && move == 5) continue;
            const double v = value_of(try_choice(move, hold, false), g);
            if (v > best_value) best_value = v, best.move = move;
        }
    }
    // No move lives through the horizon: a hyper field, if one is left, with the best move.
    if (best_value < 1e6 && s.hypers > 0 && s.hyper_timer == 0) {
        double hyper_value = -1.0;
        int hyper_move = 5;
        for (int move = 1; move <= 9; ++move) {
            const double v = value_of(try_choice(move, kHorizon, true), g);
            if (v > hyper_value) hyper_value = v, hyper_move = move;
        }
        if (hyper_value > best_value) best = {hyper_move, true};
    }
    return best;
}

std::array<bool, 256> keys_for(int move, bool fire, bool hyper) {
    std::array<bool, 256> held{};
    const KeypadStep d = kKeypadSteps[size_t(move)];
    held[vk::kLeft] = d.dx < 0;
    held[vk::kRight] = d.dx > 0;
    held[vk::kUp] = d.dy < 0;
    held[vk::kDown] = d.dy > 0;
    held[vk::kA] = fire;
    held[vk::kS] = hyper;
    return held;
}

// Names what most likely hit a ship lost at (x, y).
std::string cause_near(float x, float y) {
    std::string cause = "bullet";
    float best = 1e9f;
    auto near = [&](float ox, float oy, float reach, const char* what) {
        const float d = std::max(std::fabs(ox - x), std::fabs(oy - y)) - reach;
        if (d < best) best = d, cause = what;
    };
    bullet_list->walk_kind(kind_t_bullet, [&](TObject* o) {
        near(static_cast<t_bullet*>(o)->x, static_cast<t_bullet*>(o)->y, 2.0f, "bullet");
    });
    enemy_list->walk_kind(kind_t_enemy, [&](TObject* o) {
        auto* e = static_cast<t_enemy*>(o);
        if (e->layer != 1) near(e->x, e->y, e->hit_size, "flier");
    });
    enemy_list->walk_kind(kind_t_boss, [&](TObject* o) {
        near(static_cast<t_boss*>(o)->x, static_cast<t_boss*>(o)->y, 30.0f, "boss");
    });
    return cause;
}

// The front end as a player works it: START, then (for ship 2) Right, then A on the ship page.
std::array<bool, 256> menu_keys(int frame, int ship_number) {
    std::array<bool, 256> held{};
    if (frame == 60 || frame == 90) held[vk::kA] = true;
    if (ship_number == 2 && frame == 70) held[vk::kRight] = true;
    return held;
}

}  // namespace

PilotResult fly(const PilotOptions& options) {
    PilotResult result;
    result.difficulty = options.difficulty;
    result.ship = options.ship;
    if (!engine_init(Backend::headless)) std::exit(1);
    headless::set_render(false);
    start_up();
    setting_difficulty = uint8_t(options.difficulty);

    Choice choice;
    int held_for = 0;
    bool played = false;
    float last_x = 120.0f, last_y = 200.0f;
    for (int frame = 0; frame < options.frame_limit; ++frame) {
        const t_player* s = game_mode == 1 ? ship() : nullptr;
        std::array<bool, 256> held = menu_keys(frame, options.ship);
        if (game_mode == 1) {
            played = true;
            held = {};
            held[vk::kA] = true;
            if (s && s->start_timer <= 150) {
                if (held_for == 0) {
                    choice = decide(*s);
                    held_for = kDecideEvery;
                    if (choice.hyper) ++result.hypers_used;
                }
                held = keys_for(choice.move, true, choice.hyper);
                choice.hyper = false;
                --held_for;
            }
        }
        if (s) last_x = s->x, last_y = s->y;
        const bool had_ship = s != nullptr;
        const int32_t boss_hp_before = [] {
            int32_t hp = 0;
            enemy_list->walk_kind(kind_t_boss1b, [&](TObject* o) { hp = static_cast<t_boss*>(o)->hp; });
            return hp;
        }();
        headless::set_keys_held(held);
        std::string cause = had_ship ? cause_near(last_x, last_y) : "";
        run_frame();
        if (had_ship && game_mode == 1 && !ship()) {
            result.losses.push_back({frame, cause});
            held_for = 0;
            if (options.verbose)
                std::fprintf(stderr, "pilot: ship lost at frame %d (%s)\n", frame, cause.c_str());
        }
        if (boss_hp_before > 0 && game_over_timer > 0) {
            bool alive = false;
            enemy_list->walk_kind(kind_t_boss1b, [&](TObject*) { alive = true; });
            if (!alive) result.second_form_destroyed = true;
        }
        result.score = score;
        result.frames = frame + 1;
        if (played && game_mode == 0) break;  // the game has ended
    }
    return result;
}
