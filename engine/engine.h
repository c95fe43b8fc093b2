// The engine facade: every platform service the game uses (screen, images, sound, input, clock,
// random numbers, number conversions, files). Only engine/ sources include SDL; no SDL type
// appears in this header, so the game code above it stays platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Start-up and backends
// ---------------------------------------------------------------------------------------------

enum class Backend {
    window,   // real SDL window, accelerated renderer, SDL2_mixer audio, real keyboard and pad
    headless  // off-screen software renderer, no audio device, virtual clock, scripted input
};

// Initialises the engine's modules for the chosen backend. Must be called before any other facade
// call; calling it again with the same backend does nothing and returns true. Returns false
// (after printing one line naming the SDL error) on failure. The window backend runs silently
// when no audio device opens.
bool engine_init(Backend backend);
// The last SDL error text, for the one line a failed start-up prints.
const char* engine_last_error();
void engine_shutdown();
Backend engine_backend();

// Thrown by end_program() and by the headless runner's frame limit: unwinds to main(), which
// exits with `code`. The game itself never catches it.
struct ProgramExit {
    int code;
    const char* reason;  // "quit", "frames", ...
};

// Ends the program at once with exit code 0 (the game's "QUIT"). Nothing is saved here.
[[noreturn]] void end_program();

// Prints "cinder-arc: <message>" to stderr, runs the exit hook and ends the program with exit
// code 1 (missing asset, screen that cannot open, broken stage file, ...). Never returns.
[[noreturn]] void fatal_error(const std::string& message);
// What every way out that does not pass the game's own save runs first (fatal_error, and the
// top-level handlers of unexpected failures): the game's save of the player's settings and high
// scores, set once they are loaded. Runs at most once; nullptr for nothing.
void set_exit_hook(void (*hook)());
void run_exit_hook();
// The signal (SIGHUP, SIGINT or SIGTERM) received last, 0 if none. Each one asks the program to
// end: app_terminate reports it as it reports a closed window.
int termination_signal();

// ---------------------------------------------------------------------------------------------
// Graphics
// ---------------------------------------------------------------------------------------------

// A loaded picture, cut into equal frames. Fields are read-only for the game.
struct TImage {
    std::string path;
    int width = 0, height = 0;  // of one frame
    int frame_count = 0;
    int flags = 0;
    float handle_x = 0, handle_y = 0;
    struct Impl;
    Impl* impl = nullptr;
};

// Kept and applied to the window when it opens (may be called before graphics).
void app_title(const std::string& title);
// Opens the screen (640x480 or 320x240; depth 0 = a resizable window, 32 = desktop full screen),
// the picture scaled by the largest whole factor that fits the renderer's real output (at least
// 1x), centred, black around it, fitted again every frame. Reopening keeps every loaded image
// usable. Returns false when it cannot be opened (see engine_last_error). hertz 75: flip paces at
// 75 per second (0: no pacing).
bool graphics(int width, int height, int depth, int hertz, int flags);
// Switches the open window between a window (false) and full screen (true) at once, keeping the
// renderer and every image. The headless screen only notes the mode. false when the system
// refused.
bool set_full_screen(bool on);
bool full_screen();
void hide_mouse();
void cls();
// Empties the picture being drawn without beginning another frame: for several game steps drawn
// one after the other into one presented frame, of which only the last is shown.
void clear_picture();
// While on, drawing calls draw nothing (the picture they make would be cleared unseen): the steps
// of a frame that runs several, but for the last.
void set_unseen_drawing(bool on);
// Presents the frame. flip(-1) with software pacing (always in a window) first waits for the
// frame's slot on the 13, 13, 14 ms schedule of 75 per second, then presents; a late frame moves
// the schedule to now.
void flip(int sync);
// On: each frame waits in cls until its work can just be done before its slot (the margin that
// recent frames' work and present needed), so that the input it reads is as fresh as it can be.
// Off (the default): the frame begins at once and waits in flip. Headless it stays off unless
// headless::allow_late_start.
void set_late_start(bool on);

void set_mask_color(int r, int g, int b);
void auto_mid_handle(int on);
void auto_image_flags(int flags);  // -1 leaves the setting unchanged

// Both return nullptr when the file is missing, undecodable or (strips) has too few cells.
TImage* load_image(const std::string& path, int flags);
TImage* load_anim_image(const std::string& path, int cell_w, int cell_h, int first, int count, int flags);

void draw_image(TImage* image, float x, float y, int frame);
void set_rotation(float degrees);
void set_scale(float sx, float sy);
void set_color(int r, int g, int b);
void draw_rect(float x, float y, float w, float h);
void draw_text(const std::string& text, float x, float y);

// The picture drawn so far in the current frame (what flip will present), read back at the
// screen's own size. grab_picture keeps it as an image of one frame, handle at its centre, to be
// drawn like any other (the same image is refilled by every call). save_picture_png writes it as a
// PNG file; false (with engine_last_error) when it cannot.
TImage* grab_picture();
bool save_picture_png(const std::string& path);
// Writes w x h pixels (0xAARRGGBB, rows top to bottom) as a PNG, with its alpha or opaque. Needs
// no engine_init. false (with engine_last_error) when it cannot.
bool write_png(const std::string& path, int w, int h, const std::vector<uint32_t>& argb, bool alpha);

// ---------------------------------------------------------------------------------------------
// Sound
// ---------------------------------------------------------------------------------------------

struct TSound {
    std::string path;
    int rate = 0, channels = 0, bits = 0;
    int frames = 0;  // sample frames
    struct Impl;
    Impl* impl = nullptr;
};

struct TChannel {
    int id = 0;  // 1-based reserved voice
};

TSound* load_sound(const std::string& path, int flags);  // nullptr on failure
TChannel* alloc_channel();
// Plays on `channel` (cutting off whatever it plays) or, with nullptr, on a free voice (more
// voices are added rather than a sound dropped). Returns `channel` (nullptr for a free voice).
TChannel* play_sound(TSound* sound, TChannel* channel);
// Silences every voice and the music, playing and to come (true), or gives them their volume back.
void set_mute(bool on);
// The effects' and the music's volumes, 0 (silent) to 10 (as made); values outside are clamped.
void set_volumes(int sound, int music);

// One piece of music, streamed from its file while it plays (OGG Vorbis).
struct TMusic {
    std::string path;
    struct Impl;
    Impl* impl = nullptr;
};

// nullptr (with engine_last_error) for a file that is missing or not music the mixer plays.
// Headless the file is not read (nothing plays there): every path gives a piece.
TMusic* load_music(const std::string& path);
// Makes `music` the piece that plays (nullptr: none), looping or once. A piece already playing
// or waiting to play is left alone; otherwise the one playing fades out over fade_ms, and the new
// one then fades in over fade_ms. Never waits: the hand-over is done by the frames' flips.
void play_music(TMusic* music, bool loop, int fade_ms);

// ---------------------------------------------------------------------------------------------
// Input, window, time
// ---------------------------------------------------------------------------------------------

// Windows virtual-key codes (65..90 letters, 48..57 digits, 37..40 arrows, 27 Escape, 13 Enter,
// 32 Space, 16/17/18 Shift/Ctrl/Alt and 160..165 their left/right keys, 112..123 F1..F12).
// These three calls first take in the window's pending events. Losing or regaining the focus
// clears every key and hit count.
int key_down(int key);
int key_hit(int key);  // presses since the last call for this key
// Presses of `key` made while Alt was held, since the last call for this key (a chord such as
// Alt+Enter may be pressed and released within one frame).
int key_hit_alt(int key);
int app_terminate();  // 1 once after a close request (or a SIGHUP, SIGINT or SIGTERM)
int app_focused();    // 1 while the window has the input focus
// Port 0 is the first game pad plugged in (a known controller, else a plain joystick); axes
// -1..+1 (the d-pad or hat gives -1/+1 too), button 0 = A / first button, 1 = B / second.
// Without a pad everything reads 0.
float joy_x(int port);
float joy_y(int port);
int joy_down(int button, int port);
// 1 while a pad is plugged in at the port (the headless backend: since the last set_pad).
int joy_connected(int port);
// Milliseconds: the steady clock since engine_init in the window, the headless backend's virtual
// clock (from 0, moved on by flip's pacing) otherwise.
int millisecs();

// ---------------------------------------------------------------------------------------------
// Random numbers, maths and number conversions
// ---------------------------------------------------------------------------------------------

void seed_rnd(int seed);
int rnd_state();
double rnd_unit();
double rnd(double a, double b);
double sin_deg(double degrees);
double cos_deg(double degrees);
double atan2_deg(double y, double x);

// Int(x): truncation toward zero, for every float-to-whole-number conversion of the game. NaN
// and values outside the int range give INT_MIN (as the x86 conversion does).
int to_int(double x);
std::string int_to_text(int64_t value);
std::string float_to_text(double value);  // "%#.9g"
int text_to_int(const std::string& text);

// ---------------------------------------------------------------------------------------------
// Files and streams (paths relative to the working directory; "\" is read as "/")
// ---------------------------------------------------------------------------------------------

struct TStream;

// 0 nothing, 1 a regular file, 2 a folder, 3 anything else (a named pipe, a device, a socket):
// only a regular file counts as a file, since reading the others can block or never end.
int file_type(const std::string& path);
// What is at `path` in words, for messages: "nothing", "a file", "a folder", "a named pipe",
// "a device", "a socket" or "a special file".
std::string file_kind(const std::string& path);
// "" for a regular file, else the end of a one-line message: "not found", "is a folder, not a
// file", "is a named pipe, not a file", ...
std::string file_problem(const std::string& path);
int64_t file_size(const std::string& path);  // -1 when there is no such regular file
// Both open regular files only (never blocking in the open), else nullptr.
TStream* read_file(const std::string& path);
// Creates or empties the file; nullptr for a folder, a named pipe or a socket there. A symbolic
// link there is replaced by a new file: no write ever reaches what a link points to.
TStream* write_file(const std::string& path);
// A file made afresh (exclusively, never through a link): anything but a folder already at
// `path` (a temporary an interrupted save left, a link) is removed first. nullptr on failure.
TStream* create_new_file(const std::string& path);
// Writes `bytes` to `path` through `path`.tmp (made by create_new_file, synced to the device)
// and a rename, so `path` is either the old file or the new one whatever happens. false (with
// engine_last_error) when any step fails; `path` is then untouched and no temporary is left.
bool write_file_safely(const std::string& path, const std::vector<uint8_t>& bytes);
// An existing regular file for update (read and write, not emptied, never through a link) when
// writeable, else for reading.
TStream* open_stream(const std::string& path, int readable, int writeable);
void seek_stream(TStream* stream, int64_t position);
// Hands written data to the system (so it survives the program ending at any moment) and frees
// the stream. Returns false when any read or write on the stream (or the flush) failed, so
// callers that must not lose data can tell. Cheap enough to run every frame.
bool close_stream(TStream* stream);
// Waits until the data written so far is on the storage device, so that it survives a power
// loss too: for a file about to be renamed over the one it replaces. Returns false on failure.
bool sync_stream(TStream* stream);
// A read or write the system refused leaves this set (the program goes on). Every stream call
// accepts nullptr and does nothing (returning 0, "" or false).
bool stream_failed(TStream* stream);
int read_byte(TStream* stream);  // 0 at the end of the file; read_int/read_string pad with zeros
int read_int(TStream* stream);
std::string read_string(TStream* stream, int n);
void write_byte(TStream* stream, int value);
void write_int(TStream* stream, int value);
void write_string(TStream* stream, const std::string& text);
bool make_folder(const std::string& path);  // true when it exists afterwards
// The names of the entries of a folder in the working directory (no "." or ".."), in no order, at
// most `limit` of them; empty when it is missing or cannot be read.
std::vector<std::string> folder_entries(const std::string& folder, size_t limit);
// The files that come with the game may live apart from the working directory (an installed
// game): a relative path that does not exist in the working directory is then read from this
// folder by file_type, file_size, read_file, load_image and load_sound. Writing (and opening for
// update) always uses the working directory. "" (the default) turns it off.
void set_game_files_folder(const std::string& folder);
// `path` as it will be read: itself, or its place in the game files folder.
std::string game_file_path(const std::string& path);
bool change_folder(const std::string& folder);  // the working directory
std::string current_folder();
// The folder of the running executable, ending in "/"; "" when the system cannot tell.
std::string executable_folder();
// The per-user folder for what the game writes (created when missing, ending in "/"), e.g.
// ~/.local/share/cinder-arc/; "" when there is none.
std::string user_data_folder(const std::string& app);
bool rename_file(const std::string& from, const std::string& to);  // replaces `to` atomically
// Removes a file or special file (never a folder); true when nothing is left at `path`.
bool remove_file(const std::string& path);
// The names of what a folder holds (files, folders, links alike), sorted; none when it cannot be
// listed.
std::vector<std::string> folder_entries(const std::string& folder);
