// The keyboard's keys by name (Windows virtual-key codes, as key_down and key_hit take them), and
// the names that the controls file and the runner's key scripts write for them.
#pragma once

#include <string>

namespace vk {

inline constexpr int kBackspace = 8, kTab = 9, kClear = 12, kEnter = 13;
inline constexpr int kShift = 16, kControl = 17, kAlt = 18;  // held while either of its two keys is
inline constexpr int kPause = 19, kCapsLock = 20, kEscape = 27;
inline constexpr int kSpace = 32, kPageUp = 33, kPageDown = 34, kEnd = 35, kHome = 36;
inline constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
inline constexpr int kPrintScreen = 44, kInsert = 45, kDelete = 46;
// The digit and letter keys are the codes of their characters: '0' to '9' and 'A' to 'Z'.
inline constexpr int k0 = '0';
inline constexpr int kA = 'A', kB = 'B', kC = 'C', kD = 'D', kE = 'E', kF = 'F', kG = 'G', kH = 'H', kI = 'I';
inline constexpr int kJ = 'J', kK = 'K', kL = 'L', kM = 'M', kN = 'N', kO = 'O', kP = 'P', kQ = 'Q', kR = 'R';
inline constexpr int kS = 'S', kT = 'T', kU = 'U', kV = 'V', kW = 'W', kX = 'X', kY = 'Y', kZ = 'Z';
inline constexpr int kLeftWindows = 91, kRightWindows = 92, kApplication = 93;
inline constexpr int kKeypad0 = 96;  // to Keypad9 at 105
inline constexpr int kKeypadMultiply = 106, kKeypadPlus = 107, kKeypadMinus = 109;
inline constexpr int kKeypadPeriod = 110, kKeypadDivide = 111;
inline constexpr int kF1 = 112, kF11 = 122, kF12 = 123, kF13 = 124;  // F1 to F24 run from 112 to 135
inline constexpr int kNumLock = 144, kScrollLock = 145;
inline constexpr int kLeftShift = 160, kRightShift = 161, kLeftControl = 162, kRightControl = 163;
inline constexpr int kLeftAlt = 164, kRightAlt = 165;
// The punctuation keys, named by their place on a US keyboard; kIsoBackslash is the extra key
// beside the left Shift of European keyboards.
inline constexpr int kSemicolon = 186, kEquals = 187, kComma = 188, kMinus = 189, kPeriod = 190;
inline constexpr int kSlash = 191, kBackquote = 192, kLeftBracket = 219, kBackslash = 220;
inline constexpr int kRightBracket = 221, kQuote = 222, kIsoBackslash = 226;

}  // namespace vk

// The key of a name, in any case: a letter or digit ("a", "7"), Escape (or Esc), Left, Right, Up,
// Down, Space, Enter (or Return), Tab, Backspace, Shift, Ctrl, Alt, Insert, Delete, Home, End,
// PageUp, PageDown, Keypad0-Keypad9 or F1-F12. -1 for no key of that name.
int key_from_name(const std::string& name);
// The name a key is written under (a capital letter, "Keypad7", "F3", "Enter", ...), which
// key_from_name reads back; "" for a key without one.
std::string key_name(int code);
