// Keyboard (Windows virtual-key codes), focus and close requests, and the game pad: from SDL's
// events in the window backend, from the headless controls otherwise.
#include <SDL.h>

#include <array>
#include <cstring>

#include "engine/engine.h"
#include "engine/engine_internal.h"
#include "engine/headless.h"
#include "engine/keys.h"
#include "engine/pad_buttons.h"

namespace {

struct Keyboard {
    std::array<uint8_t, 256> down{};
    std::array<int, 256> hits{};
    std::array<int, 256> alt_hits{};  // the presses made while Alt was held

    void press(int key) {
        if (key <= 0 || key > 255 || down[size_t(key)]) return;  // a repeat of a held key is no hit
        down[size_t(key)] = 1;
        ++hits[size_t(key)];
        if (down[vk::kAlt] && key != vk::kAlt && key != vk::kLeftAlt && key != vk::kRightAlt)
            ++alt_hits[size_t(key)];
    }
    void release(int key) {
        if (key > 0 && key <= 255) down[size_t(key)] = 0;
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

// Each left or right modifier key, its generic key and its partner on the other side: the generic
// key is held while either of the two is.
struct SidedKey {
    int key, generic, partner;
};
constexpr SidedKey kSidedKeys[] = {
    {vk::kLeftShift, vk::kShift, vk::kRightShift},
    {vk::kRightShift, vk::kShift, vk::kLeftShift},
    {vk::kLeftControl, vk::kControl, vk::kRightControl},
    {vk::kRightControl, vk::kControl, vk::kLeftControl},
    {vk::kLeftAlt, vk::kAlt, vk::kRightAlt},
    {vk::kRightAlt, vk::kAlt, vk::kLeftAlt},
};

const SidedKey* sided(int key) {
    for (const SidedKey& s : kSidedKeys)
        if (s.key == key) return &s;
    return nullptr;
}

void key_pressed(int key) {
    g_keys.press(key);
    if (const SidedKey* s = sided(key)) g_keys.press(s->generic);
}

void key_released(int key) {
    g_keys.release(key);
    if (const SidedKey* s = sided(key))
        if (!g_keys.down[size_t(s->partner)]) g_keys.release(s->generic);
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
        for (size_t i = 0; i < std::size(engine_detail::kPadButtons); ++i)
            if (SDL_GameControllerGetButton(g_controller, engine_detail::kPadButtons[i]))
                s.buttons |= 1u << i;
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

// --- Key translation ------------------------------------------------------------------------------

// Keys whose SDL codes count up together with their virtual-key codes: first..last are the keys
// first_key, first_key + 1, ...
struct KeyRun {
    int first, last, first_key;
};
struct KeyPair {
    int code, key;
};

constexpr KeyRun kKeycodeRuns[] = {
    {SDLK_a, SDLK_z, vk::kA},
    {SDLK_0, SDLK_9, vk::k0},
    {SDLK_F1, SDLK_F12, vk::kF1},
    {SDLK_F13, SDLK_F24, vk::kF13},
    {SDLK_KP_1, SDLK_KP_9, vk::kKeypad0 + 1},
};
constexpr KeyPair kKeycodes[] = {
    {SDLK_BACKSPACE, vk::kBackspace},
    {SDLK_TAB, vk::kTab},
    {SDLK_CLEAR, vk::kClear},
    {SDLK_RETURN, vk::kEnter},
    {SDLK_RETURN2, vk::kEnter},
    {SDLK_KP_ENTER, vk::kEnter},
    {SDLK_PAUSE, vk::kPause},
    {SDLK_CAPSLOCK, vk::kCapsLock},
    {SDLK_ESCAPE, vk::kEscape},
    {SDLK_SPACE, vk::kSpace},
    {SDLK_PAGEUP, vk::kPageUp},
    {SDLK_PAGEDOWN, vk::kPageDown},
    {SDLK_END, vk::kEnd},
    {SDLK_HOME, vk::kHome},
    {SDLK_LEFT, vk::kLeft},
    {SDLK_UP, vk::kUp},
    {SDLK_RIGHT, vk::kRight},
    {SDLK_DOWN, vk::kDown},
    {SDLK_PRINTSCREEN, vk::kPrintScreen},
    {SDLK_INSERT, vk::kInsert},
    {SDLK_DELETE, vk::kDelete},
    {SDLK_LGUI, vk::kLeftWindows},
    {SDLK_RGUI, vk::kRightWindows},
    {SDLK_APPLICATION, vk::kApplication},
    {SDLK_KP_0, vk::kKeypad0},
    {SDLK_KP_MULTIPLY, vk::kKeypadMultiply},
    {SDLK_KP_PLUS, vk::kKeypadPlus},
    {SDLK_KP_MINUS, vk::kKeypadMinus},
    {SDLK_KP_PERIOD, vk::kKeypadPeriod},
    {SDLK_KP_DIVIDE, vk::kKeypadDivide},
    {SDLK_NUMLOCKCLEAR, vk::kNumLock},
    {SDLK_SCROLLLOCK, vk::kScrollLock},
    {SDLK_LSHIFT, vk::kLeftShift},
    {SDLK_RSHIFT, vk::kRightShift},
    {SDLK_LCTRL, vk::kLeftControl},
    {SDLK_RCTRL, vk::kRightControl},
    {SDLK_LALT, vk::kLeftAlt},
    {SDLK_RALT, vk::kRightAlt},
    {SDLK_SEMICOLON, vk::kSemicolon},
    {SDLK_EQUALS, vk::kEquals},
    {SDLK_COMMA, vk::kComma},
    {SDLK_MINUS, vk::kMinus},
    {SDLK_PERIOD, vk::kPeriod},
    {SDLK_SLASH, vk::kSlash},
    {SDLK_BACKQUOTE, vk::kBackquote},
    {SDLK_LEFTBRACKET, vk::kLeftBracket},
    {SDLK_BACKSLASH, vk::kBackslash},
    {SDLK_RIGHTBRACKET, vk::kRightBracket},
    {SDLK_QUOTE, vk::kQuote},
};

// Keys whose layout gives a character outside ASCII (an umlaut, an accent) are named by their
// place on a US keyboard instead.
constexpr KeyRun kScancodeRuns[] = {
    {SDL_SCANCODE_A, SDL_SCANCODE_Z, vk::kA},
    {SDL_SCANCODE_1, SDL_SCANCODE_9, vk::k0 + 1},
};
constexpr KeyPair kScancodes[] = {
    {SDL_SCANCODE_0, vk::k0},
    {SDL_SCANCODE_SEMICOLON, vk::kSemicolon},
    {SDL_SCANCODE_EQUALS, vk::kEquals},
    {SDL_SCANCODE_COMMA, vk::kComma},
    {SDL_SCANCODE_MINUS, vk::kMinus},
    {SDL_SCANCODE_PERIOD, vk::kPeriod},
    {SDL_SCANCODE_SLASH, vk::kSlash},
    {SDL_SCANCODE_GRAVE, vk::kBackquote},
    {SDL_SCANCODE_LEFTBRACKET, vk::kLeftBracket},
    {SDL_SCANCODE_BACKSLASH, vk::kBackslash},
    {SDL_SCANCODE_RIGHTBRACKET, vk::kRightBracket},
    {SDL_SCANCODE_APOSTROPHE, vk::kQuote},
    {SDL_SCANCODE_NONUSBACKSLASH, vk::kIsoBackslash},
};

template <size_t R, size_t P>
int translate(const KeyRun (&runs)[R], const KeyPair (&pairs)[P], int code) {
    for (const KeyRun& r : runs)
        if (code >= r.first && code <= r.last) return r.first_key + (code - r.first);
    for (const KeyPair& p : pairs)
        if (code == p.code) return p.key;
    return 0;
}

int vk_of(const SDL_Keysym& sym) {
    const int key = translate(kKeycodeRuns, kKeycodes, int(sym.sym));
    return key ? key : translate(kScancodeRuns, kScancodes, int(sym.scancode));
}

// Key presses taken from the window so far (not repeats), for the present log: the count as the
// frame's first pump left it, which is what the frame's input step sees (later pumps in the
// same frame only fill the keys for the next).
int g_key_presses_taken = 0;
int g_presses_at_frame_input = 0;
bool g_frame_input_open = false;

void handle(const SDL_Event& e) {
    switch (e.type) {
        case SDL_KEYDOWN:
            if (g_focused) key_pressed(vk_of(e.key.keysym));
            if (!e.key.repeat) ++g_key_presses_taken;
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

int key_presses_seen_by_frame() { return g_presses_at_frame_input; }
void open_frame_input() { g_frame_input_open = true; }

void pump_events() {
    if (!initialised() || is_headless()) return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) handle(e);
    if (g_frame_input_open) {
        g_frame_input_open = false;
        g_presses_at_frame_input = g_key_presses_taken;
    }
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
    for (int key : {vk::kShift, vk::kControl, vk::kAlt, vk::kLeftShift, vk::kRightShift, vk::kLeftControl,
                    vk::kRightControl, vk::kLeftAlt, vk::kRightAlt})
        if (held[size_t(key)]) g_keys.press(key);
    for (int key = 1; key < 256; ++key) {
        if (held[size_t(key)]) {
            g_keys.press(key);
        } else {
            g_keys.release(key);
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
