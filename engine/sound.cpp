// Sound: strict WAV decoding, conversion to the mixer's format, six reserved channels that cut
// off their previous sound, free voices that overlap, a model of the voices sounding, and the
// music's hand-overs with their fades.
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/engine.h"
#include "engine/engine_internal.h"
#include "engine/headless.h"
#include "engine/wav.h"

struct TSound::Impl {
    std::vector<uint8_t> pcm;      // the file's samples (U8 or S16LSB), kept to rebuild the chunk
    std::vector<uint8_t> samples;  // in the mixer's format; the chunk points into it
    Mix_Chunk* chunk = nullptr;
    double duration_ms = 0;
};

struct TMusic::Impl {
    Mix_Music* music = nullptr;  // opened while a device is open
};

namespace {

constexpr int kReservedChannels = 6;
constexpr int kFreeVoices = 16;  // voices for channel-less sounds at first; more are added on demand

bool g_audio = false;            // a device is open and the mixer runs
bool g_audio_subsystem = false;  // SDL's audio is up without a device (none opened)
bool g_muted = false;
int g_mix_rate = 0, g_mix_channels = 0;
Uint16 g_mix_format = 0;
int g_channels_allocated = 0;  // TChannels handed out
int g_reserved = 0;            // mixer channels 0 .. g_reserved - 1 are kept for TChannels
// Sounds and channels live until the program ends. Their registries are never destroyed, so they
// stay reachable to the very end (also for leak checkers) whoever holds the pointers.
std::vector<TSound*>& g_sounds = *new std::vector<TSound*>();
std::vector<TChannel*>& g_channels = *new std::vector<TChannel*>();
std::vector<headless::Voice> g_voices;
std::vector<headless::SoundEvent> g_sound_log;
std::vector<TMusic*>& g_musics = *new std::vector<TMusic*>();

// The volumes, 0..10 of what the files hold.
int g_sound_volume = 10;
int g_music_volume = 10;

// The music: the piece sounding, and (while it fades out until g_fade_end_ms) the one to follow.
TMusic* g_playing = nullptr;
bool g_playing_loops = false;
bool g_fading_out = false;
int g_fade_end_ms = 0;
TMusic* g_waiting = nullptr;
bool g_waiting_loops = false;
int g_fade_ms = 0;
// The last request: asking again for a piece played once that has ended does not start it anew.
TMusic* g_requested = nullptr;
bool g_requested_loops = false;

int mixer_volume(int tenths) { return g_muted ? 0 : tenths * MIX_MAX_VOLUME / 10; }

void apply_volumes() {
    if (!g_audio) return;
    Mix_MasterVolume(mixer_volume(g_sound_volume));
    Mix_VolumeMusic(mixer_volume(g_music_volume));
}

bool open_music(TMusic* m) {
    if (!g_audio || m->impl->music) return true;
    // Read where the game files are (an installed game, or the page, keeps them apart).
    m->impl->music = Mix_LoadMUS(game_file_path(m->path).c_str());
    if (!m->impl->music)
        engine_detail::set_last_error(std::string("not music the mixer plays: ") + Mix_GetError());
    return m->impl->music != nullptr;
}

void start_music(TMusic* m, bool loops, int fade_ms) {
    g_playing = m;
    g_playing_loops = loops;
    g_fading_out = false;
    if (g_audio && m && m->impl->music) Mix_FadeInMusic(m->impl->music, loops ? -1 : 1, fade_ms);
}

}  // namespace

namespace engine_detail {

static_assert(kMixerFormatS16 == AUDIO_S16LSB);

bool convert_for_mixer(const std::vector<uint8_t>& pcm, int bits, int channels, int rate, uint16_t to_format,
                       int to_channels, int to_rate, std::vector<uint8_t>& out) {
    out.clear();
    if (pcm.empty()) return true;  // a sound of no frames stays silent in any format
    const SDL_AudioFormat from = bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    SDL_AudioCVT cvt;
    const int built = SDL_BuildAudioCVT(&cvt, from, Uint8(channels), rate, SDL_AudioFormat(to_format),
                                        Uint8(to_channels), to_rate);
    if (built < 0) return false;
    if (built == 0) {
        out = pcm;
        return true;
    }
    // SDL converts in place in a buffer of the input's size times its worst-case growth, which
    // follows the ratio of the rates. With the rates and lengths parse_wav allows that is at most
    // some tens of megabytes; anything beyond is refused rather than attempted.
    constexpr size_t kMostConversionBytes = size_t(256) << 20;
    if (cvt.len_mult <= 0 || pcm.size() > kMostConversionBytes / size_t(cvt.len_mult)) {
        SDL_SetError("the conversion would need more than %u MB", unsigned(kMostConversionBytes >> 20));
        return false;
    }
    cvt.len = int(pcm.size());
    out.assign(pcm.size() * size_t(cvt.len_mult), 0);
    std::memcpy(out.data(), pcm.data(), pcm.size());
    cvt.buf = out.data();
    if (SDL_ConvertAudio(&cvt) != 0) {
        out.clear();
        return false;
    }
    out.resize(size_t(cvt.len_cvt));
    out.shrink_to_fit();
    return true;
}

}  // namespace engine_detail

namespace {

// Converts the file's samples to the mixer's format and wraps them in a chunk that the sound
// owns. Without a device there is nothing to do.
bool make_chunk(TSound* s) {
    TSound::Impl& im = *s->impl;
    if (!g_audio || im.pcm.empty()) return true;
    if (!engine_detail::convert_for_mixer(im.pcm, s->bits, s->channels, s->rate, g_mix_format, g_mix_channels,
                                          g_mix_rate, im.samples)) {
        engine_detail::set_last_error(std::string("cannot convert the samples: ") + SDL_GetError());
        return false;
    }
    im.chunk = Mix_QuickLoad_RAW(im.samples.data(), Uint32(im.samples.size()));
    if (!im.chunk) engine_detail::set_last_error(std::string("cannot make a sound: ") + Mix_GetError());
    return im.chunk != nullptr;
}

void forget_ended_voices(int now) {
    size_t keep = 0;
    for (const headless::Voice& v : g_voices)
        if (double(now) < double(v.start_ms) + v.sound->impl->duration_ms) g_voices[keep++] = v;
    g_voices.resize(keep);
}

void start_free_voice(Mix_Chunk* chunk) {
    if (Mix_PlayChannel(-1, chunk, 0) >= 0) return;
    // Every free voice is busy: add voices rather than drop the sound.
    const int n = Mix_AllocateChannels(-1);
    Mix_AllocateChannels(n + 8);
    Mix_PlayChannel(-1, chunk, 0);
}

}  // namespace

namespace engine_detail {

void sound_open(bool with_device) {
    g_audio = false;
    g_channels_allocated = 0;
    g_reserved = 0;
    g_voices.clear();
    g_sound_log.clear();
    // Without a device (or with none that opens) everything is accepted and nothing sounds.
    const bool device = with_device && SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (with_device && !device) std::fprintf(stderr, "cinder-arc: no sound: %s\n", SDL_GetError());
    if (device) {
        if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) == 0) {
            int freq = 0, channels = 0;
            Uint16 format = 0;
            Mix_QuerySpec(&freq, &format, &channels);
            g_mix_rate = freq;
            g_mix_format = format;
            g_mix_channels = channels;
            Mix_AllocateChannels(kReservedChannels + kFreeVoices);
            Mix_ReserveChannels(kReservedChannels);
            g_reserved = kReservedChannels;
            g_audio = true;
            apply_volumes();
        } else {
            // The audio subsystem stays up until the end: stopping it waits for SDL's device
            // watcher, a tenth of a second of the start-up on a machine without sound.
            std::fprintf(stderr, "cinder-arc: no sound: %s\n", Mix_GetError());
            g_audio_subsystem = true;
        }
    }
    // Sounds and music loaded under an earlier start-up are brought to this mixer.
    for (TSound* s : g_sounds) make_chunk(s);
    for (TMusic* m : g_musics) open_music(m);
    g_playing = g_waiting = g_requested = nullptr;
    g_fading_out = false;
}

// Ends a fade-out that has run its time and starts the piece waiting for it; forgets a piece
// played once that has ended. The mixer's own fade has finished by then: halting first keeps
// the start from waiting on it.
void music_tick() {
    const int now = now_ms();
    if (g_fading_out && now - g_fade_end_ms >= 0) {
        if (g_audio) Mix_HaltMusic();
        g_playing = nullptr;
        g_fading_out = false;
        TMusic* next = g_waiting;
        g_waiting = nullptr;
        if (next) start_music(next, g_waiting_loops, g_fade_ms);
    }
    if (g_audio && g_playing && !g_fading_out && !g_playing_loops && !Mix_PlayingMusic()) g_playing = nullptr;
}

void sound_close() {
    if (g_audio) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        for (TMusic* m : g_musics) {
            if (m->impl->music) Mix_FreeMusic(m->impl->music);
            m->impl->music = nullptr;
        }
        for (TSound* s : g_sounds) {
            if (s->impl->chunk) Mix_FreeChunk(s->impl->chunk);
            s->impl->chunk = nullptr;
        }
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    } else if (g_audio_subsystem) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    g_audio = false;
    g_audio_subsystem = false;
    g_voices.clear();
}

}  // namespace engine_detail

TSound* load_sound(const std::string& path, int /*flags: the game never loops*/) {
    std::vector<uint8_t> bytes;
    std::string why = engine_detail::read_regular_file(path, engine_detail::kMaxSoundFileBytes, bytes);
    engine_detail::WavInfo w;
    if (why.empty()) why = engine_detail::parse_wav(bytes.data(), bytes.size(), w);
    if (!why.empty()) {
        engine_detail::set_last_error(why);
        return nullptr;
    }
    TSound* s = new TSound();
    s->path = path;
    s->rate = w.rate;
    s->channels = w.channels;
    s->bits = w.bits;
    s->frames = int(w.frames);
    s->impl = new TSound::Impl();
    s->impl->duration_ms = double(w.frames) * 1000.0 / double(w.rate);
    const uint8_t* data = bytes.data() + w.data_offset;
    s->impl->pcm.assign(data, data + w.data_bytes);
    if (!make_chunk(s)) {
        delete s->impl;
        delete s;
        return nullptr;
    }
    g_sounds.push_back(s);
    return s;
}

TChannel* alloc_channel() {
    TChannel* c = new TChannel();
    g_channels.push_back(c);
    c->id = ++g_channels_allocated;
    if (g_audio && c->id > g_reserved) {
        // More channels than the six of the game: reserve the next mixer channel as well.
        const int n = Mix_AllocateChannels(-1);
        if (n < c->id + kFreeVoices) Mix_AllocateChannels(c->id + kFreeVoices);
        Mix_ReserveChannels(c->id);
        g_reserved = c->id;
    }
    return c;
}

TChannel* play_sound(TSound* sound, TChannel* channel) {
    if (!sound || !sound->impl) return channel;
    const int now = engine_detail::now_ms();
    forget_ended_voices(now);
    const int id = channel ? channel->id : 0;
    if (id > 0) {
        for (size_t i = 0; i < g_voices.size(); ++i) {
            if (g_voices[i].channel == id) {
                g_voices.erase(g_voices.begin() + long(i));
                break;
            }
        }
    }
    g_voices.push_back(headless::Voice{sound, id, now});
    if (engine_detail::is_headless())
        g_sound_log.push_back(headless::SoundEvent{sound, id, engine_detail::current_frame()});

    if (g_audio && sound->impl->chunk) {
        if (id > 0) {
            Mix_HaltChannel(id - 1);
            Mix_PlayChannel(id - 1, sound->impl->chunk, 0);
        } else {
            start_free_voice(sound->impl->chunk);
        }
    }
    return channel;
}

// The master volume covers voices added later too.
void set_mute(bool on) {
    g_muted = on;
    apply_volumes();
}

void set_volumes(int sound, int music) {
    g_sound_volume = std::clamp(sound, 0, 10);
    g_music_volume = std::clamp(music, 0, 10);
    apply_volumes();
}

TMusic* load_music(const std::string& path) {
    // Only the first bytes: the mixer streams the rest while the piece plays. Headless nothing
    // plays, and the pieces are only names for the tests to follow.
    std::vector<uint8_t> head;
    const std::string why =
        engine_detail::is_headless() ? "" : engine_detail::read_regular_file(path, 64, head);
    if (!why.empty()) {
        engine_detail::set_last_error(why);
        return nullptr;
    }
    TMusic* m = new TMusic();
    m->path = path;
    m->impl = new TMusic::Impl();
    if (!open_music(m)) {
        delete m->impl;
        delete m;
        return nullptr;
    }
    g_musics.push_back(m);
    return m;
}

void play_music(TMusic* music, bool loop, int fade_ms) {
    engine_detail::music_tick();
    if (music == g_requested && (!music || loop == g_requested_loops)) return;
    g_requested = music;
    g_requested_loops = loop;
    fade_ms = std::max(fade_ms, 0);
    g_fade_ms = fade_ms;
    if (!g_playing) {
        if (music) start_music(music, loop, fade_ms);
        return;
    }
    g_waiting = music;
    g_waiting_loops = loop;
    if (!g_fading_out) {
        g_fading_out = true;
        g_fade_end_ms = engine_detail::now_ms() + fade_ms;
        if (g_audio) Mix_FadeOutMusic(fade_ms);
    }
    engine_detail::music_tick();  // a fade of 0 ms hands over at once
}

namespace headless {

MusicState music_state() {
    engine_detail::music_tick();
    return MusicState{g_playing, g_playing_loops, g_fading_out, g_fade_end_ms, g_waiting};
}
int sound_volume() { return g_sound_volume; }
int music_volume() { return g_music_volume; }
bool muted() { return g_muted; }

const std::vector<SoundEvent>& sound_log() { return g_sound_log; }
void clear_sound_log() { g_sound_log.clear(); }

std::vector<Voice> voices_playing() {
    forget_ended_voices(engine_detail::now_ms());
    return g_voices;
}

}  // namespace headless
