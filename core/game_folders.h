// Where the game reads the files that come with it and where it writes its own.
#pragma once

#include <string>

inline constexpr const char* kAppFolderName = "cinder-arc";

// Run first at start-up. In a folder holding the game files (the build's game folder) nothing
// changes: the game reads and writes there. Otherwise, installed (the executable in PREFIX/bin,
// the files in PREFIX/share/cinder-arc), the files are read from there and the working directory
// becomes the per-user folder, which gets data/, replay/ and screenshots/. Otherwise, with the
// files beside the executable, the working directory becomes the executable's folder, as if
// the game had been started there. With the files in none of these places the program ends with
// one line naming every folder it looked in.
void locate_game_files();
