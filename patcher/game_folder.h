// The game folder: the folder that holds the program, with one trailing backslash.
#pragma once

#include "platform/text.h"

// Empty until the first resolution; lives until releaseGameFolder.
extern Text gameFolder;

// Sets gameFolder from the program's own folder. Checks nothing.
void resolveGameFolder();

// Frees gameFolder; run once when the program ends.
void releaseGameFolder();

// The game folder for a run directory: the directory and exactly one backslash.
Text gameFolderFor(const wchar_t* runDirectory);
