// Expectations files of the headless runner: end-state fields and picture hashes that a run must
// reproduce, which is how a replay is checked ("NAME VALUE" and "picture FRAME HASH" lines).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// An ordered list of end-state fields, as the runner reports them (values as in its JSON line,
// strings without their quotes).
using Fields = std::vector<std::pair<std::string, std::string>>;

struct Expectations {
    Fields fields;                        // in file order
    std::map<int, std::string> pictures;  // frame -> 16 lower-case hex digits
};

// FNV-1a, 64 bits, over a picture given as 0xRRGGBB per pixel, row by row from the top left,
// three bytes R, G, B per pixel; as 16 lower-case hex digits.
std::string picture_hash(const std::vector<uint32_t>& pixels);

// Parses a file's text. Every NAME must be one of `known`; a frame or a field given twice, a
// malformed line or a file expecting nothing is refused with the 1-based line (0 for the whole
// file) and the reason.
bool parse_expectations(const std::string& text, const Fields& known, Expectations& out, int& bad_line,
                        std::string& why);

// The text of a file expecting every field of `fields` and the given pictures; `command` is
// quoted in its heading so that it can be made again.
std::string format_expectations(const Fields& fields, const std::map<int, std::string>& pictures,
                                const std::string& command);

// The first difference between a run and what was expected, or "" when there is none. The
// particle setting comes first (the pictures depend on it), then the pictures in frame order,
// then the other fields in file order. `frames` is the number of frames the run presented.
std::string first_difference(const Expectations& want, const Fields& got,
                             const std::map<int, std::string>& got_pictures, int frames);
