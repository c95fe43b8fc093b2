// An animation played once: a run of frames of one image, drifting in a straight line.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct TImage;

struct t_effect : TObject {
    TImage* image = nullptr;
    float x = 0, y = 0;
    float angle = 0;  // drift direction, degrees
    float speed = 0;  // drift per frame
    uint8_t frame = 0;
    uint8_t last_frame = 0;
    uint8_t delay = 0;  // extra frames each animation frame is held
    uint8_t tag = 0;    // kept for whoever made it; nothing reads it
    uint8_t delay_count = 0;

    static void create(TImage* image, float x, float y, float angle, float speed, uint8_t first_frame,
                       uint8_t last_frame, uint8_t delay, uint8_t tag);
    void update() override;

  protected:
    t_effect() : TObject(kind_t_effect) {}
};
