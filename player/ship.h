// The player's ship: fly-in, steering, weapons and hyper field, hits, pick-ups and its drawing.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct TImage;

// Frames left of the power-info picture shown over the ship when its gun reaches a new level.
extern uint8_t powerinfo_timer;

// One ship per life, in player_list. Other code reads x, y (enemies aim at it), power, hypers
// and hyper_timer (the HUD).
struct t_player : TObject {
    float x = 120.0f;
    float y = 270.0f;  // below the bottom edge: a new ship flies in
    float speed = 0;   // movement per frame on one axis
    float hit_size = 1.0f;
    uint8_t shot1_delay = 35;  // frames until the main gun may fire
    uint8_t shot2_delay = 35;  // frames until the second weapon may fire
    uint8_t power = 0;         // 0..100, one step per power-up
    uint8_t ship = 0;          // 1 or 2
    TImage* image = nullptr;   // 3 frames: banking left, level, banking right
    uint8_t exhaust_delay = 0;
    uint8_t exhaust_frame = 0;
    uint8_t start_timer = 225;  // 225..151 flying in, 150..1 protected, 0 can be hit
    uint8_t hypers = 3;         // hyper fields left
    uint8_t hyper_timer = 0;    // frames left of the running hyper field

    // A fresh ship (nothing carries over from the one that was lost), appended to player_list.
    static void create(uint8_t kind, TImage* ship_image, float ship_speed);
    void update() override;

  protected:
    t_player() : TObject(kind_t_player) {}

  private:
    void fly_in();
    void steer();
    void test_hits();
    void die();
    void collect_pickups();
    void draw_ship();
};

// The ship's own game-wide values at their new-game state (powerinfo_timer, and item_index of the
// pick-ups).
void reset_player_state();
