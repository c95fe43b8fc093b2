// Virtual pads and posted keys for tests of the window build (see virtual_pad.h).
#include "engine/virtual_pad.h"

#include <SDL.h>

#include <map>

#include "engine/engine.h"
#include "engine/engine_internal.h"
#include "engine/pad_buttons.h"

namespace {

std::map<int, SDL_Joystick*> g_virtual;  // by instance id: the handle that feeds each pad

// The device index of a joystick by its instance id (indices shift as devices come and go).
int device_index_of(int id) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == id) return i;
    return -1;
}

Sint16 axis(float v) { return Sint16(v < -1 ? -32768 : v > 1 ? 32767 : v < 0 ? v * 32768 : v * 32767); }

}  // namespace

int plug_virtual_pad() {
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.name = "Cinder Arc virtual pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    SDL_Joystick* joy = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    if (!joy) {
        engine_detail::set_last_error(SDL_GetError());
        return -1;
    }
    const int id = int(SDL_JoystickInstanceID(joy));
    g_virtual[id] = joy;
    return id;
}

void set_virtual_pad(int id, float x, float y, uint32_t buttons) {
    auto it = g_virtual.find(id);
    if (it == g_virtual.end()) return;
    SDL_JoystickSetVirtualAxis(it->second, SDL_CONTROLLER_AXIS_LEFTX, axis(x));
    SDL_JoystickSetVirtualAxis(it->second, SDL_CONTROLLER_AXIS_LEFTY, axis(y));
    for (size_t i = 0; i < std::size(engine_detail::kPadButtons); ++i)
        SDL_JoystickSetVirtualButton(it->second, engine_detail::kPadButtons[i], Uint8((buttons >> i) & 1u));
}

void unplug_virtual_pad(int id) {
    auto it = g_virtual.find(id);
    if (it == g_virtual.end()) return;
    SDL_JoystickClose(it->second);
    g_virtual.erase(it);
    const int index = device_index_of(id);
    if (index >= 0) SDL_JoystickDetachVirtual(index);
}

void post_key(int key, bool down) {
    SDL_Keycode code = SDLK_UNKNOWN;
    if (key >= 'A' && key <= 'Z') code = SDL_Keycode(key - 'A' + 'a');
    if (key >= '0' && key <= '9') code = SDL_Keycode(key);
    if (key >= 37 && key <= 40) {
        static const SDL_Keycode kArrows[] = {SDLK_LEFT, SDLK_UP, SDLK_RIGHT, SDLK_DOWN};
        code = kArrows[key - 37];
    }
    SDL_Event e;
    SDL_zero(e);
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = code;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(code);
    SDL_PushEvent(&e);
}
