// The ship's weapons, run from its update: the main gun, the second weapon and the hyper field.
#pragma once

#include <array>
#include <cstdint>

struct t_player;

// One main-gun shot: its offset from the ship's centre and its direction.
struct GunShot {
    int dx, dy;
    float angle;
};

// One row of the main-gun table: the volley fired while at most `cap` t_shot1 are on screen.
struct GunRow {
    int cap;
    int count;
    std::array<GunShot, 5> shots;
};

inline constexpr float kShot1Speed = 3.5f;
inline constexpr uint8_t kShot1Delay = 9;  // frames between volleys of a held button
inline constexpr float kShot2Speed = 2.0f;
inline constexpr uint8_t kHyperFrames = 150;
inline constexpr int kHyperCatchSize = 40;  // half-size of the square that catches bullets

// The main-gun row for a ship kind (1 or 2) and power (low 0-49, middle 50-99, full 100); nullptr
// for any other ship kind.
const GunRow* gun_row(uint8_t ship, uint8_t power);

// The second weapon's volley of a ship kind, and the frames until its next volley.
struct SecondVolley {
    uint8_t delay;
    int count;
    std::array<GunShot, 4> shots;
};
const SecondVolley* second_volley(uint8_t ship);

void fire_main_gun(t_player& ship);
void fire_second_weapon(t_player& ship);
void start_hyper_field(t_player& ship);
void run_hyper_field(t_player& ship);
