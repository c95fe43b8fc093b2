// cinder-arc: the game in its window. Run from the game folder (gfx/, sfx/, level/ beside it).
#include "core/startup.h"
#include "engine/engine.h"

int main() {
    if (!engine_init(Backend::window)) return 1;
    int code = 0;
    try {
        run_main_program();
    } catch (const ProgramExit& e) {
        code = e.code;
    }
    engine_shutdown();
    return code;
}
