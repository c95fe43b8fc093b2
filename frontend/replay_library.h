// The replay library: every game started with START kept as a file of its own in replay/, a short
// text header (what a list and a faithful playback need) before the input bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char* kLibraryFolder = "replay";
inline constexpr const char* kLibraryMagic = "CINDER-ARC REPLAY";
inline constexpr int kLibraryFormat = 1;
// Raised whenever a rule of play changes, so that a replay made by another version can be told.
inline constexpr int kPlayVersion = 1;
// Ordinary replays kept; the oldest beyond it are removed (never one behind a high-score row).
inline constexpr size_t kLibraryLimit = 200;
// At most this many entries of the folder are looked at, so a flooded folder cannot stall a page.
inline constexpr size_t kLibraryScanLimit = 5000;
inline constexpr int kLibraryHeaderMax = 512;        // a longer header is not a replay of ours
inline constexpr int64_t kLibraryInputMax = 199999;  // the playback buffer's reach

struct ReplayInfo {
    std::string file;     // name inside the library folder
    std::string problem;  // "" for a readable replay, else why not, for its one line
    int play_version = 0;
    std::string stage_hash;       // 16 hex digits
    int difficulty = 1;           // 0..2
    int ship = 0;                 // 1, 2; 0 when the game ended before a ship was chosen
    std::string kind = "game";    // game (START) or practice
    std::string start = "stage";  // a name of kPracticeStarts
    int gun = 0;                  // practice: the first ship's gun level, 0..2
    int lives = 3;                // practice: ships in reserve at the start, 1..5
    int64_t time = 0;             // seconds since 1970, for sorting
    std::string date;             // local "YYYY-MM-DD HH:MM"
    int32_t score = 0;
    int32_t frames = 0;                        // frames of play
    std::string ended = "unfinished";          // won, lost or unfinished
    std::string name;                          // the name entered for a high-score row, "" for none
    int64_t input_offset = 0, input_size = 0;  // where the replay.txt-style bytes lie
};

// The file image: the header, then `input` (a difficulty byte and one byte per step).
std::vector<uint8_t> encode_replay(const ReplayInfo& info, const std::vector<uint8_t>& input);
// The header of a file of `file_size` bytes whose first bytes are `head` (at most
// kLibraryHeaderMax of them are looked at); `problem` says what is wrong with it, in a few words.
ReplayInfo decode_replay_header(const std::vector<uint8_t>& head, int64_t file_size);
// The same from a file: missing, special, short, garbage or huge files only get their problem.
ReplayInfo read_replay_info(const std::string& path);
// Whether the file begins as a library replay does (a plain replay.txt never does).
bool is_library_replay(const std::string& path);

// What decides play in this build: "PLAYVERSION-STAGEHASH", and the same for a replay's header.
std::string running_fingerprint();
std::string replay_fingerprint(const ReplayInfo& info);

// Every .rep file of the library folder, oldest first, unreadable ones included.
std::vector<ReplayInfo> library_list();
// Whether a high-score row holds this replay's game (same table, score, ship and name).
bool replay_behind_table_row(const ReplayInfo& info);
// Removes the oldest ordinary replays beyond kLibraryLimit; returns how many went.
int prune_library();

// The recording's side of the library, called by the game as a START game goes on.
void library_game_started();
void library_step_recorded(bool written);  // after each recording step: whether replay.txt took it
void library_note_ending();                // the game is over, its world not yet cleared: won or lost
void library_game_ended();                 // after the score was entered: the file is written
void library_name_entry_ended();
void library_program_ends();  // the program is leaving: a game still running is kept unfinished

void reset_replay_library_state();
