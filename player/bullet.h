// The enemies' bullet: flies straight and animates until it leaves the field, hits the ship or is
// caught by a hyper field.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct TImage;

struct t_bullet : TObject {
    float x = 0, y = 0;
    float angle = 0;  // degrees
    float speed = 0;
    float hit_size = 0;
    TImage* image = nullptr;  // one of the three 8-frame bullet images
    uint8_t frame = 0;
    uint8_t frame_delay = 0;

    static void create(float x, float y, float angle, float speed, float hit_size, TImage* image);
    void update() override;

  protected:
    t_bullet() : TObject(kind_t_bullet) {}
};
