// Keyboard (Windows virtual-key codes), focus and close requests, and the game pad: from SDL's
// events in the window backend, from the headless controls otherwise.
#include <SDL.h>

#include <array>
#include <cstring>

#include "engine/engine.h"
#include "engine/engine_internal.h"
#include "engine/headless.h"

namespace {

// Virtual-key codes of the generic modifiers and of their left/right keys.
constexpr int kShift = 16, kControl = 17, kAlt = 18;
constexpr int kLShift = 160, kRShift = 161, kLControl = 162, kRControl = 163, kLAlt = 164, kRAlt = 165;

struct Keyboard {
    std::array<uint8_t, 256> down{};
    std::array<int, 256> hits{};
    std::array<int, 256> alt_hits{};  // the presses made while Alt was held

    void press(int vk) {
        if (vk <= 0 || vk > 255 || down[size_t(vk)]) return;  // a repeat of a held key is no hit
        down[size_t(vk)] = 1;
        ++hits[size_t(vk)];
        if (down[kAlt] && vk != kAlt && vk != kLAlt && vk != kRAlt) ++alt_hits[size_t(vk)];
    }
    void release(int vk) {
        if (vk > 0 && vk <= 255) down[size_t(vk)] = 0;
    }
    void clear() {
        down.fill(0);
        hits.fill(0);
        alt_hits.fill(0);
    }
};

Keyboard g_keys;
bool g_close_requested = false;
bool g_focused = true;

// The generic modifier is held while either of its two keys is.
int generic_of(int vk) {
    switch (vk) {
        case kLShift:
        case kRShift:
            return kShift;
        case kLControl:
        case kRControl:
            return kControl;
        case kLAlt:
        case kRAlt:
            return kAlt;
        default:
            return 0;
    }
}

int partner_of(int vk) {
    switch (vk) {
        case kLShift:
            return kRShift;
        case kRShift:
            return kLShift;
        case kLControl:
            return kRControl;
        case kRControl:
            return kLControl;
        case kLAlt:
            return kRAlt;
        case kRAlt:
            return kLAlt;
        default:
            return 0;
    }
}

void key_pressed(int vk) {
    g_keys.press(vk);
    if (int g = generic_of(vk)) g_keys.press(g);
}

void key_released(int vk) {
    g_keys.release(vk);
    if (int g = generic_of(vk))
        if (!g_keys.down[size_t(partner_of(vk))]) g_keys.release(g);
}

// --- Game pad ---------------------------------------------------------------------------------

struct PadSample {
    float x = 0, y = 0;
    uint32_t buttons = 0;
};

SDL_GameController* g_controller = nullptr;
SDL_Joystick* g_joystick = nullptr;  // the plain joystick when the device is no known controller
SDL_JoystickID g_pad_id = -1;
bool g_pad_subsystem = false;
PadSample g_pad;              // the last sample (window) or the scripted state (headless)
bool g_headless_pad = false;  // a scripted pad is plugged in
int g_pad_sample_ms = 0;
bool g_pad_sampled = false;

float axis_value(int raw) {
    // (raw - min) * 2 / (max - min) - 1 over SDL's axis range -32768 .. 32767.
    return float(double(raw + 32768) * 2.0 / 65535.0 - 1.0);
}

void close_pad() {
    if (g_controller) SDL_GameControllerClose(g_controller);
    if (g_joystick) SDL_JoystickClose(g_joystick);
    g_controller = nullptr;
    g_joystick = nullptr;
    g_pad_id = -1;
    g_pad = PadSample{};
    g_pad_sampled = false;
}

void open_pad(int device_index) {
    if (g_controller || g_joystick) return;
    if (SDL_IsGameController(device_index)) {
        g_controller = SDL_GameControllerOpen(device_index);
        if (g_controller) g_pad_id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(g_controller));
    }
    if (!g_controller) {
        g_joystick = SDL_JoystickOpen(device_index);
        if (g_joystick) g_pad_id = SDL_JoystickInstanceID(g_joystick);
    }
}

void open_first_pad() {
    for (int i = 0; i < SDL_NumJoysticks() && !g_controller && !g_joystick; ++i) open_pad(i);
}

void read_pad() {
    PadSample s;
    if (g_controller) {
        s.x = axis_value(SDL_GameControllerGetAxis(g_controller, SDL_CONTROLLER_AXIS_LEFTX));
        s.y = axis_value(SDL_GameControllerGetAxis(g_controller, SDL_CONTROLLER_AXIS_LEFTY));
        if (SDL_GameControllerGetButton(g_controller, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) s.x = -1;
        if (SDL_GameControllerGetButton(g_controller, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) s.x = 1;
        if (SDL_GameControllerGetButton(g_controller, SDL_CONTROLLER_BUTTON_DPAD_UP)) s.y = -1;
        if (SDL_GameControllerGetButton(g_controller, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) s.y = 1;
        // Button bits in the order of a classic pad: face buttons, shoulders, back/start, sticks.
        static const SDL_GameControllerButton kOrder[] = {SDL_CONTROLLER_BUTTON_A,
                                                          SDL_CONTROLLER_BUTTON_B,
                                                          SDL_CONTROLLER_BUTTON_X,
                                                          SDL_CONTROLLER_BUTTON_Y,
                                                          SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
                                                          SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
                                                          SDL_CONTROLLER_BUTTON_BACK,
                                                          SDL_CONTROLLER_BUTTON_START,
                                                          SDL_CONTROLLER_BUTTON_LEFTSTICK,
                                                          SDL_CONTROLLER_BUTTON_RIGHTSTICK};
        for (size_t i = 0; i < sizeof kOrder / sizeof kOrder[0]; ++i)
            if (SDL_GameControllerGetButton(g_controller, kOrder[i])) s.buttons |= 1u << i;
    } else if (g_joystick) {
        if (SDL_JoystickNumAxes(g_joystick) > 0) s.x = axis_value(SDL_JoystickGetAxis(g_joystick, 0));
        if (SDL_JoystickNumAxes(g_joystick) > 1) s.y = axis_value(SDL_JoystickGetAxis(g_joystick, 1));
        if (SDL_JoystickNumHats(g_joystick) > 0) {
            const Uint8 hat = SDL_JoystickGetHat(g_joystick, 0);
            if (hat & SDL_HAT_LEFT) s.x = -1;
            if (hat & SDL_HAT_RIGHT) s.x = 1;
            if (hat & SDL_HAT_UP) s.y = -1;
            if (hat & SDL_HAT_DOWN) s.y = 1;
        }
        const int n = SDL_JoystickNumButtons(g_joystick);
        for (int i = 0; i < n && i < 32; ++i)
            if (SDL_JoystickGetButton(g_joystick, i)) s.buttons |= 1u << i;
    }
    g_pad = s;
}

// A port is read at most once per millisecond; port 0 is the first device plugged in.
const PadSample* pad_sample(int port) {
    if (port != 0) return nullptr;
    if (engine_detail::is_headless()) return &g_pad;
    const int now = engine_detail::now_ms();
    if (!g_pad_sampled || now != g_pad_sample_ms) {
        engine_detail::pump_events();
        read_pad();
        g_pad_sampled = true;
        g_pad_sample_ms = now;
    }
    return &g_pad;
}

// --- Key mapping ------------------------------------------------------------------------------

int vk_from_keycode(SDL_Keycode k) {
    if (k >= SDLK_a && k <= SDLK_z) return 65 + int(k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9) return 48 + int(k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12) return 112 + int(k - SDLK_F1);
    if (k >= SDLK_F13 && k <= SDLK_F24) return 124 + int(k - SDLK_F13);
    if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return 97 + int(k - SDLK_KP_1);
    switch (k) {
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        case SDLK_CLEAR:
            return 12;
        case SDLK_RETURN:
        case SDLK_RETURN2:
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_PAUSE:
            return 19;
        case SDLK_CAPSLOCK:
            return 20;
        case SDLK_ESCAPE:
            return 27;
        case SDLK_SPACE:
            return 32;
        case SDLK_PAGEUP:
            return 33;
        case SDLK_PAGEDOWN:
            return 34;
        case SDLK_END:
            return 35;
        case SDLK_HOME:
            return 36;
        case SDLK_LEFT:
            return 37;
        case SDLK_UP:
            return 38;
        case SDLK_RIGHT:
            return 39;
        case SDLK_DOWN:
            return 40;
        case SDLK_PRINTSCREEN:
            return 44;
        case SDLK_INSERT:
            return 45;
        case SDLK_DELETE:
            return 46;
        case SDLK_LGUI:
            return 91;
        case SDLK_RGUI:
            return 92;
        case SDLK_APPLICATION:
            return 93;
        case SDLK_KP_0:
            return 96;
        case SDLK_KP_MULTIPLY:
            return 106;
        case SDLK_KP_PLUS:
            return 107;
        case SDLK_KP_MINUS:
            return 109;
        case SDLK_KP_PERIOD:
            return 110;
        case SDLK_KP_DIVIDE:
            return 111;
        case SDLK_NUMLOCKCLEAR:
            return 144;
        case SDLK_SCROLLLOCK:
            return 145;
        case SDLK_LSHIFT:
            return kLShift;
        case SDLK_RSHIFT:
            return kRShift;
        case SDLK_LCTRL:
            return kLControl;
        case SDLK_RCTRL:
            return kRControl;
        case SDLK_LALT:
            return kLAlt;
        case SDLK_RALT:
            return kRAlt;
        case SDLK_SEMICOLON:
            return 186;
        case SDLK_EQUALS:
            return 187;
        case SDLK_COMMA:
            return 188;
        case SDLK_MINUS:
            return 189;
        case SDLK_PERIOD:
            return 190;
        case SDLK_SLASH:
            return 191;
        case SDLK_BACKQUOTE:
            return 192;
        case SDLK_LEFTBRACKET:
            return 219;
        case SDLK_BACKSLASH:
            return 220;
        case SDLK_RIGHTBRACKET:
            return 221;
        case SDLK_QUOTE:
            return 222;
        default:
            return 0;
    }
}

// Keys whose layout gives a character outside ASCII (an umlaut, an accent) are named by their
// place on a US keyboard instead.
int vk_from_scancode(SDL_Scancode s) {
    if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z) return 65 + int(s - SDL_SCANCODE_A);
    if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9) return 49 + int(s - SDL_SCANCODE_1);
    switch (s) {
        case SDL_SCANCODE_0:
            return 48;
        case SDL_SCANCODE_SEMICOLON:
            return 186;
        case SDL_SCANCODE_EQUALS:
            return 187;
        case SDL_SCANCODE_COMMA:
            return 188;
        case SDL_SCANCODE_MINUS:
            return 189;
        case SDL_SCANCODE_PERIOD:
            return 190;
        case SDL_SCANCODE_SLASH:
            return 191;
        case SDL_SCANCODE_GRAVE:
            return 192;
        case SDL_SCANCODE_LEFTBRACKET:
            return 219;
        case SDL_SCANCODE_BACKSLASH:
            return 220;
        case SDL_SCANCODE_RIGHTBRACKET:
            return 221;
        case SDL_SCANCODE_APOSTROPHE:
            return 222;
        case SDL_SCANCODE_NONUSBACKSLASH:
            return 226;
        default:
            return 0;
    }
}

int vk_of(const SDL_Keysym& sym) {
    const int vk = vk_from_keycode(sym.sym);
    return vk ? vk : vk_from_scancode(sym.scancode);
}

void handle(const SDL_Event& e) {
    switch (e.type) {
        case SDL_KEYDOWN:
            if (g_focused) key_pressed(vk_of(e.key.keysym));
            break;
        case SDL_KEYUP:
            key_released(vk_of(e.key.keysym));
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
                e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                g_focused = e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
                g_keys.clear();
            } else if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                g_close_requested = true;
            }
            break;
        case SDL_QUIT:
            g_close_requested = true;
            break;
        case SDL_JOYDEVICEADDED:
            // Sent for controllers too; the first device to appear becomes port 0.
            if (!g_controller && !g_joystick) open_pad(e.jdevice.which);
            break;
        case SDL_JOYDEVICEREMOVED:
            if (e.jdevice.which == g_pad_id) {
                close_pad();
                open_first_pad();
            }
            break;
        default:
            break;
    }
}

}  // namespace

namespace engine_detail {

void pump_events() {
    if (!initialised() || is_headless()) return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) handle(e);
}

void input_open() {
    g_keys.clear();
    g_close_requested = false;
    g_focused = true;
    g_pad = PadSample{};
    g_pad_sampled = false;
    g_headless_pad = false;
    if (!is_headless()) {
        g_pad_subsystem = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
        // Devices present at start-up arrive as "added" events with the first pump.
    }
}

void input_close() {
    close_pad();
    if (g_pad_subsystem) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    g_pad_subsystem = false;
}

}  // namespace engine_detail

int key_down(int key) {
    engine_detail::pump_events();
    if (key < 0 || key > 255) return 0;
    return g_keys.down[size_t(key)];
}

int key_hit(int key) {
    engine_detail::pump_events();
    if (key < 0 || key > 255) return 0;
    const int n = g_keys.hits[size_t(key)];
    g_keys.hits[size_t(key)] = 0;
    return n;
}

int key_hit_alt(int key) {
    engine_detail::pump_events();
    if (key < 0 || key > 255) return 0;
    const int n = g_keys.alt_hits[size_t(key)];
    g_keys.alt_hits[size_t(key)] = 0;
    return n;
}

int app_terminate() {
    engine_detail::pump_events();
    const bool asked = g_close_requested || engine_detail::take_termination_signal();
    g_close_requested = false;
    return asked ? 1 : 0;
}

float joy_x(int port) {
    const PadSample* s = pad_sample(port);
    return s ? s->x : 0.0f;
}

float joy_y(int port) {
    const PadSample* s = pad_sample(port);
    return s ? s->y : 0.0f;
}

int joy_connected(int port) {
    if (port != 0) return 0;
    if (engine_detail::is_headless()) return g_headless_pad ? 1 : 0;
    engine_detail::pump_events();  // a pad plugged in or pulled out arrives as an event
    return g_controller || g_joystick ? 1 : 0;
}

int app_focused() {
    engine_detail::pump_events();
    return g_focused ? 1 : 0;
}

int joy_down(int button, int port) {
    const PadSample* s = pad_sample(port);
    if (!s || button < 0 || button > 31) return 0;
    return (s->buttons >> button) & 1u;
}

namespace headless {

void set_keys_held(const std::array<bool, 256>& held) {
    if (!g_focused) return;  // an unfocused window receives no keys
    // The modifiers first, as a player holds them before the key they change.
    for (int vk : {kShift, kControl, kAlt, kLShift, kRShift, kLControl, kRControl, kLAlt, kRAlt})
        if (held[size_t(vk)]) g_keys.press(vk);
    for (int vk = 1; vk < 256; ++vk) {
        if (held[size_t(vk)]) {
            g_keys.press(vk);
        } else {
            g_keys.release(vk);
        }
    }
}

void set_focus(bool focused) {
    g_focused = focused;
    g_keys.clear();
}

void request_close() { g_close_requested = true; }

void set_pad(float x, float y, uint32_t buttons) {
    g_headless_pad = true;
    g_pad.x = x;
    g_pad.y = y;
    g_pad.buttons = buttons;
}

void unplug_pad() {
    g_headless_pad = false;
    g_pad = PadSample{};
}

}  // namespace headless
