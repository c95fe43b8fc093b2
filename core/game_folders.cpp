// Finding the game's files: the working directory, an installation's share folder, or the
// executable's own folder.
#include "core/game_folders.h"

#include "core/asset_table.h"
#include "engine/engine.h"

namespace {

// Two files every game folder holds; check_asset_files names any other that is missing.
bool holds_game_files(const std::string& folder) {
    return file_type(folder + kImageTable[0].file) == 1 && file_type(folder + kStageFile) == 1;
}

}  // namespace

void locate_game_files() {
    set_game_files_folder("");
    if (holds_game_files("")) return;
    const std::string here = current_folder(), exe = executable_folder();
    const std::string share = exe.empty() ? std::string() : exe + "../share/" + kAppFolderName + "/";
    if (!share.empty() && holds_game_files(share)) {
        const std::string user = user_data_folder(kAppFolderName);
        if (user.empty() || !change_folder(user))
            fatal_error("no per-user folder to keep settings, replays and screenshots in (" +
                        std::string(engine_last_error()) + ")");
        set_game_files_folder(share);
        return;
    }
    if (!exe.empty() && holds_game_files(exe) && change_folder(exe)) return;
    std::string looked = here.empty() ? std::string("the working directory") : here;
    if (!exe.empty()) looked += ", " + exe + " and " + share;
    fatal_error(std::string("the game's files (") + kImageTable[0].file + ", " + kStageFile +
                ", ...) are not in " + looked);
}
