// The wave marker.
#include "player/trigger.h"

#include "core/entities.h"
#include "enemies/enemy3.h"

namespace {

constexpr uint8_t kFliers = 3;
constexpr float kRightSideFrom = 120.0f;
// Just outside the left or right edge of the 240-unit map, 32 units below the top.
constexpr float kLeftEntryX = -8.0f, kRightEntryX = 248.0f, kEntryY = 32.0f;

}  // namespace

void t_trigger::create(float x, float y, uint8_t count, uint8_t interval, uint8_t kind) {
    auto* t = new t_trigger;
    t->x = x;
    t->y = y;
    t->count = count;
    t->interval = interval;
    t->kind = kind;
    levelobject_list->append(t);
}

// The first release comes on the first update, the next ones every interval + 1 updates.
void t_trigger::update() {
    if (wait > 0) {
        --wait;
        return;
    }
    --count;
    wait = interval;
    if (kind == kFliers) t_enemy3::create(x >= kRightSideFrom ? kRightEntryX : kLeftEntryX, kEntryY);
    if (count == 0) levelobject_list->remove(this);
}
