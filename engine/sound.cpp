// Sound: strict WAV decoding, conversion to the mixer's format, six reserved channels that cut
// off their previous sound, free voices that overlap, and a model of the voices sounding.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "engine/engine.h"
#include "engine/engine_internal.h"
#include "engine/headless.h"

struct TSound::Impl {
    std::vector<uint8_t> pcm;      // the file's samples (U8 or S16LSB), kept to rebuild the chunk
    std::vector<uint8_t> samples;  // in the mixer's format; the chunk points into it
    Mix_Chunk* chunk = nullptr;
    double duration_ms = 0;
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

uint32_t le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t le32(const uint8_t* p) { return le16(p) | le16(p + 2) << 16; }

struct WavInfo {
    int rate = 0, channels = 0, bits = 0;
    size_t data_offset = 0, data_bytes = 0;
};

// RIFF/WAVE with a PCM "fmt " chunk of 8 or 16 bits, 1 or 2 channels, before the "data" chunk.
// Chunks are walked by their lengths (odd lengths padded to even); a chunk that runs past the
// end of the file is a truncated file and fails.
bool parse_wav(const std::vector<uint8_t>& b, WavInfo& out) {
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0)
        return false;
    bool have_fmt = false;
    size_t at = 12;
    while (at + 8 <= b.size()) {
        const uint8_t* id = b.data() + at;
        const size_t len = le32(b.data() + at + 4);
        const size_t body = at + 8;
        if (len > b.size() - body) return false;
        if (std::memcmp(id, "fmt ", 4) == 0) {
            if (len < 16) return false;
            const uint8_t* f = b.data() + body;
            if (le16(f) != 1) return false;  // PCM only
            out.channels = int(le16(f + 2));
            out.rate = int(le32(f + 4));
            out.bits = int(le16(f + 14));
            if (out.channels != 1 && out.channels != 2) return false;
            if (out.bits != 8 && out.bits != 16) return false;
            if (out.rate <= 0) return false;
            have_fmt = true;
        } else if (std::memcmp(id, "data", 4) == 0) {
            if (!have_fmt) return false;
            out.data_offset = body;
            out.data_bytes = len;
            return true;
        }
        at = body + len + (len & 1);
    }
    return false;
}

// Converts the file's samples to the mixer's format (SDL's converter) and wraps them in a chunk
// that the sound owns. Without a device there is nothing to do.
bool make_chunk(TSound* s) {
    TSound::Impl& im = *s->impl;
    if (!g_audio || im.pcm.empty()) return true;
    SDL_AudioCVT cvt;
    const SDL_AudioFormat src = s->bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    const int built = SDL_BuildAudioCVT(&cvt, src, Uint8(s->channels), s->rate, g_mix_format,
                                        Uint8(g_mix_channels), g_mix_rate);
    if (built < 0) return false;
    if (built == 0) {
        im.samples = im.pcm;
    } else {
        cvt.len = int(im.pcm.size());
        im.samples.assign(im.pcm.size() * size_t(cvt.len_mult), 0);
        std::memcpy(im.samples.data(), im.pcm.data(), im.pcm.size());
        cvt.buf = im.samples.data();
        if (SDL_ConvertAudio(&cvt) != 0) return false;
        im.samples.resize(size_t(cvt.len_cvt));
    }
    im.chunk = Mix_QuickLoad_RAW(im.samples.data(), Uint32(im.samples.size()));
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
            Mix_MasterVolume(g_muted ? 0 : MIX_MAX_VOLUME);
        } else {
            // The audio subsystem stays up until the end: stopping it waits for SDL's device
            // watcher, a tenth of a second of the start-up on a machine without sound.
            std::fprintf(stderr, "cinder-arc: no sound: %s\n", Mix_GetError());
            g_audio_subsystem = true;
        }
    }
    // Sounds loaded under an earlier start-up are brought to this mixer.
    for (TSound* s : g_sounds) make_chunk(s);
}

void sound_close() {
    if (g_audio) {
        Mix_HaltChannel(-1);
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
    std::string native = game_file_path(path);
    for (char& c : native)
        if (c == '\\') c = '/';
    std::ifstream in(native, std::ios::binary);
    if (!in) return nullptr;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    WavInfo w;
    if (!parse_wav(bytes, w)) return nullptr;
    const size_t frame_bytes = size_t(w.channels) * size_t(w.bits / 8);
    const size_t frames = w.data_bytes / frame_bytes;
    if (frames > size_t(INT32_MAX)) return nullptr;

    TSound* s = new TSound();
    s->path = path;
    s->rate = w.rate;
    s->channels = w.channels;
    s->bits = w.bits;
    s->frames = int(frames);
    s->impl = new TSound::Impl();
    s->impl->duration_ms = double(frames) * 1000.0 / double(w.rate);
    const uint8_t* data = bytes.data() + w.data_offset;
    s->impl->pcm.assign(data, data + frames * frame_bytes);
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
    if (g_audio) Mix_MasterVolume(on ? 0 : MIX_MAX_VOLUME);
}

namespace headless {

const std::vector<SoundEvent>& sound_log() { return g_sound_log; }
void clear_sound_log() { g_sound_log.clear(); }

std::vector<Voice> voices_playing() {
    forget_ended_voices(engine_detail::now_ms());
    return g_voices;
}

}  // namespace headless
