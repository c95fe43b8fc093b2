// Where the game's files are read from and where it writes: the working directory, the folder of
// the files that come with the game, the executable's folder and the per-user folder.
#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "engine/engine.h"

namespace fs = std::filesystem;

namespace {

std::string g_game_files;  // "" or a folder ending in "/"

std::string with_slash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string native(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

}  // namespace

void set_game_files_folder(const std::string& folder) { g_game_files = with_slash(folder); }

std::string game_file_path(const std::string& path) {
    if (g_game_files.empty() || path.empty()) return path;
    const std::string p = native(path);
    std::error_code ec;
    if (p[0] == '/' || fs::exists(p, ec)) return path;
    const std::string there = g_game_files + p;
    return fs::exists(there, ec) ? there : path;
}

bool change_folder(const std::string& folder) {
    std::error_code ec;
    fs::current_path(native(folder), ec);
    return !ec;
}

std::string current_folder() {
    std::error_code ec;
    const fs::path p = fs::current_path(ec);
    return ec ? std::string() : with_slash(p.string());
}

std::string executable_folder() {
    char* base = SDL_GetBasePath();
    if (!base) return std::string();
    std::string folder = with_slash(base);
    SDL_free(base);
    return folder;
}

std::string user_data_folder(const std::string& app) {
    // The XDG rules make a relative (or empty) XDG_DATA_HOME invalid, to be ignored: taken as it
    // is, the per-user files would land wherever the game happened to be started from.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] != '/') ::unsetenv("XDG_DATA_HOME");
    // No organisation: the folder is named after the game alone (~/.local/share/cinder-arc/).
    char* pref = SDL_GetPrefPath("", app.c_str());
    if (!pref) return std::string();
    std::string folder = with_slash(pref);
    SDL_free(pref);
    return folder;
}

std::vector<std::string> folder_entries(const std::string& folder, size_t limit) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(native(folder), ec);
    // A folder being changed while it is read ends the list early rather than failing it.
    for (; !ec && it != fs::directory_iterator() && names.size() < limit; it.increment(ec))
        names.push_back(it->path().filename().string());
    return names;
}
