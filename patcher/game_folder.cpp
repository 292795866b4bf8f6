#include "patcher/game_folder.h"

#include <utility>

#include "platform/platform_services.h"

Text gameFolder;

Text gameFolderFor(const wchar_t* runDirectory) {
    Text folder(runDirectory);
    folder.append(L"\\");
    return folder;
}

void resolveGameFolder() {
    Text folder = gameFolderFor(runDirectory().c_str());
    gameFolder = std::move(folder);
}

void releaseGameFolder() {
    gameFolder.release();
}
