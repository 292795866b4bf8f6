// Tessaril: copied beside the game's SWD6.exe and started there, it turns the game's opening
// movies off, and back on. It takes no command line.
#include <windows.h>
#include <stdlib.h>

#include "app/main_window.h"
#include "patcher/game_folder.h"
#include "platform/program_start.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ProgramStart start;
    // The game folder starts empty and is resolved at each click; it is freed once, at exit.
    atexit(releaseGameFolder);
    return runMainWindow(instance);
}
