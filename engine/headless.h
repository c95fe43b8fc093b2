// Controls of the headless backend, for the runner and the tests: scripted keys and pad, the
// virtual clock, the frame counter and limit, the draw log, read-back of the presented picture
// and the sound log. Without a window or audio device; everything here is deterministic.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TImage;
struct TSound;
struct TMusic;

namespace headless {

// One drawing call of the current frame, as the game made it (screen pixels).
struct DrawRecord {
    enum Kind { image, rect, debug_text } kind = image;  // debug_text: a draw_text call
    const TImage* img = nullptr;
    int frame = 0;
    float x = 0, y = 0;
    float scale_x = 1, scale_y = 1, rotation = 0;
    int r = 255, g = 255, b = 255;
    float w = 0, h = 0;  // rectangles
    std::string text;    // debugging text
};

// One play_sound call; channel 0 means no channel.
struct SoundEvent {
    const TSound* sound = nullptr;
    int channel = 0;
    int frame = 0;  // the frame begun last (-1 before the first cls)
};

// A voice that is sounding at the current virtual time: started at start_ms and sounding while
// virtual_ms() < start_ms + the sound's length. A channel holds one voice at most.
struct Voice {
    const TSound* sound = nullptr;
    int channel = 0;  // 0: a free voice
    int start_ms = 0;
};

// Rasterise draws into the off-screen surface (default on). Off: only the draw log is kept.
void set_render(bool on);
bool render_enabled();

// Frames begun so far (each cls begins one). The first frame of the loop is frame 0.
int frames_begun();
// After frame `n - 1` has been presented, flip throws ProgramExit{0, "frames"}. 0: no limit.
void set_frame_limit(int n);

// Called at the start of every frame (inside cls) with the frame number, before any input is
// read in that frame: the place to feed scripted keys.
void set_frame_hook(std::function<void(int frame)> hook);
// Called inside flip after the pacing wait and the present, with the frame number.
void set_present_hook(std::function<void(int frame)> hook);

// Scripted input. A key counts a press when it goes from not held to held. While the window is
// unfocused no key is taken in (as a real unfocused window receives none).
void set_keys_held(const std::array<bool, 256>& held);
void set_focus(bool focused);  // losing or regaining focus clears every key
void request_close();
// Plugs the scripted pad in (if it was not) and sets its state. Without a call since the engine
// started (or after unplug_pad) no pad is connected.
void set_pad(float x, float y, uint32_t buttons);
void unplug_pad();

// Stands for a full screen whose display paces the presents (the probe for it needs a display),
// and reads what the renderer was last told about vsync (-1 nothing yet).
void pretend_display_pacing();
int renderer_vsync();

// Lets set_late_start take effect headless (off at start-up), and reads the margin it would use
// before the next slot (microseconds).
void allow_late_start(bool on);
double late_start_margin_us();
// The next late-start wait ends `ms` after its deadline, as on a loaded machine.
void late_wake_ms(int ms);

// The virtual clock (milliseconds), advanced only by flip's pacing wait and the late start's.
int virtual_ms();
void advance_ms(int ms);  // stands for a stall inside a frame (tests of the pacing)

// The music as the mixer has it: the piece sounding (fading in, playing, or fading out until
// fade_end_ms, nullptr for none) and the one waiting for that fade to end.
struct MusicState {
    const TMusic* playing = nullptr;
    bool looping = false;
    bool fading_out = false;
    int fade_end_ms = 0;
    const TMusic* waiting = nullptr;
};
MusicState music_state();
// The volumes last set (0..10) and whether everything is muted.
int sound_volume();
int music_volume();
bool muted();

const std::vector<DrawRecord>& draw_log();   // the current frame's calls, cleared by cls
const std::vector<SoundEvent>& sound_log();  // every play_sound since start-up
void clear_sound_log();
std::vector<Voice> voices_playing();

// The picture as last presented, read from the off-screen surface when asked (the present copies
// nothing), until the next frame clears it: 0xRRGGBB at (x, y) of the 640 x 480 screen, a BMP
// file, or the whole picture as 0xRRGGBB row by row. Without a presented picture: 0, false, an
// empty picture.
uint32_t presented_pixel(int x, int y);
bool save_presented_bmp(const std::string& path);
std::vector<uint32_t> presented_picture();

// On (the default), frames drawn at scale 2 without rotation are copied unscaled from textures
// doubled at load. Off, every frame goes through the general scaled copy: the reference that
// shows the two give the same pictures.
void set_doubled_draws(bool on);
// How such frames, untinted and of cells with no partial alpha, reach the off-screen surface:
// own (the default), copied straight in by rows or by alpha; off, through SDL's blended copy of
// the doubled texture; sdl_floor, by SDL's unblended and colour-keyed blits. The last two are the
// benchmark's side-by-side measures; all three give the same pictures.
enum class DirectDraws { own, off, sdl_floor };
void set_direct_draws(DirectDraws how);

// Wall-clock microseconds of each frame's work (from cls to the start of flip); of that, the time
// spent inside the drawing calls (cls included), where the software renderer rasterises each call
// as it is made; and the present inside flip. One entry per frame begun with cls.
const std::vector<double>& frame_work_us();
const std::vector<double>& frame_raster_us();
const std::vector<double>& frame_present_us();

}  // namespace headless
