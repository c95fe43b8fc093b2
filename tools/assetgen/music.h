// The music writer: plain-text scores (tempo, instruments, patterns of notes, the order of the
// patterns) rendered with the effects' synthesiser and written as OGG Vorbis files.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "synth.h"

namespace gen {

// The pieces the game plays, by file stem: music/<stem>.ogg from assets/music/<stem>.txt.
inline constexpr const char* kMusicPieces[] = {"title", "stage", "boss", "victory", "gameover"};

struct Instrument {
    synth::Part part;       // the voice; a note sets its pitch and holds it for the note's steps
    double echo_steps = 0;  // a feedback echo this many steps behind (0: none)
    double echo_feedback = 0;
};

// One step of one track: a new note (Hz; for "x" the instrument's own pitch), a held step ("-")
// or a rest (".").
struct Step {
    enum Kind { Rest, Note, Hold } kind = Rest;
    double freq = 0;
};

// A track plays the instrument named before any ':' in its name ("pad:2" plays "pad"), so one
// instrument can sound several notes at once.
std::string instrument_of(const std::string& track);

struct Pattern {
    int steps = 0;  // the longest track; shorter tracks repeat to fill it
    std::map<std::string, std::vector<Step>> tracks;
};

struct Score {
    double tempo = 140;        // beats a minute
    int steps_per_beat = 4;    // the note grid
    double loudness_db = -20;  // RMS of the whole piece, dB below full scale
    bool loop = true;          // a loop's tails ring on into its beginning, so the seam joins
    double tail = 1.0;         // seconds of ring kept after a piece that does not loop
    std::map<std::string, Instrument> instruments;
    std::map<std::string, Pattern> patterns;
    std::vector<std::string> order;
};

// The score's text; throws std::runtime_error naming the line on anything it cannot read: an
// unknown key, note or instrument, an empty order, a pattern the order names but nobody wrote.
Score parse_score(const std::string& text, const std::string& name_for_errors);

// The note's pitch in Hz from its name: C4 is middle C, A4 is 440 Hz, '#' sharpens and 'b'
// flattens. 0 for a name that is not a note.
double note_hz(const std::string& name);

double step_seconds(const Score& s);
// The piece's length in samples: its steps (and, without loop, the tail).
int piece_samples(const Score& s);

// The piece as 16-bit mono samples at synth::kRate: at loudness_db RMS unless that would put a
// peak above -1 dBFS, in which case the peak sits just under it.
std::vector<int16_t> render_score(const Score& s);

// OGG Vorbis, mono, kRate, variable bit rate at the given quality (-0.1 .. 1).
std::vector<uint8_t> ogg_vorbis_bytes(const std::vector<int16_t>& samples, float quality);

// Renders every piece of kMusicPieces into out/music/. With `pcm_dir` also the same samples as
// WAV files there, for the level and spectrum checks.
void write_music(const std::string& src, const std::string& out, const std::string& pcm_dir = "");

}  // namespace gen
