// The main gun's fast shot: flies straight until it leaves the play field or hits a target.
#pragma once

#include "core/objects.h"

struct t_shot1 : t_shot {
    void update() override;
    // hit_size 3, damage 10; appended to shot_list.
    static void create(float x, float y, float angle, float speed);

  protected:
    t_shot1() : t_shot(kind_t_shot1) {}
};

// The edges a player shot leaves by (there is none below: shots never fly down).
inline bool shot_off_field(float x, float y) { return y < -8.0f || x < -10.0f || x > 250.0f; }
