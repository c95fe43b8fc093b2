// Test support for the player side: a fixture with a fresh world, a way to run one class's
// updates inside a list walk (as the entity pass does, so that removed objects finish their
// update), and look-ups of objects, drawings and sounds.
#pragma once

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/assets.h"
#include "core/entities.h"
#include "core/objects.h"
#include "engine/engine.h"
#include "engine/headless.h"
#include "frontend/input.h"
#include "player/ship.h"
#include "tests/support/game_fixture.h"

namespace playertest {

using headless::DrawRecord;
using headless::SoundEvent;

class PlayerTest : public testsupport::GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        reset_player_state();
        input_move = 5;
        input_button = 0;
        headless::clear_sound_log();
        cls();
    }

    // The objects of `list` that are a `kind`, in list order.
    template <class T>
    static std::vector<T*> all(TList* list, uint32_t kind) {
        std::vector<T*> out;
        list->walk_kind(kind, [&out](TObject* o) { out.push_back(static_cast<T*>(o)); });
        return out;
    }
    template <class T>
    static T* last(TList* list, uint32_t kind) {
        std::vector<T*> v = all<T>(list, kind);
        return v.empty() ? nullptr : v.back();
    }

    // Updates every `kind` object of `list` once, inside a walk; the draw log then holds this
    // update's drawings only.
    static void update(TList* list, uint32_t kind, int times = 1) {
        for (int i = 0; i < times; ++i) {
            cls();
            list->walk_kind(kind, [](TObject* o) { o->update(); });
        }
    }

    // A new ship of kind 1 (speed 1.8) or 2 (speed 1.7), still flying in.
    static t_player* new_ship(uint8_t kind = 1) {
        t_player::create(kind, kind == 1 ? img_player1 : img_player2, kind == 1 ? 1.8f : 1.7f);
        return last<t_player>(player_list, kind_t_player);
    }
    // A ship past its fly-in and protection, at (x, y).
    static t_player* active_ship(uint8_t kind = 1, float x = 120.0f, float y = 150.0f) {
        t_player* ship = new_ship(kind);
        ship->start_timer = 0;
        ship->x = x;
        ship->y = y;
        return ship;
    }
    static void update_ship(int times = 1) { update(player_list, kind_t_player, times); }

    // This update's drawings of `image`, in screen pixels.
    static std::vector<DrawRecord> drawn(const TImage* image) {
        std::vector<DrawRecord> out;
        for (const DrawRecord& r : headless::draw_log())
            if (r.kind == DrawRecord::image && r.img == image) out.push_back(r);
        return out;
    }
    static std::vector<DrawRecord> rects() {
        std::vector<DrawRecord> out;
        for (const DrawRecord& r : headless::draw_log())
            if (r.kind == DrawRecord::rect) out.push_back(r);
        return out;
    }
    // Sounds played since the test began: (sound, channel id or 0).
    static std::vector<std::pair<const TSound*, int>> sounds() {
        std::vector<std::pair<const TSound*, int>> out;
        for (const SoundEvent& e : headless::sound_log()) out.emplace_back(e.sound, e.channel);
        return out;
    }
};

}  // namespace playertest
