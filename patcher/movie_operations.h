// Turning the opening movies off and back on: patching a game folder, and the two button
// operations that patch the program's own folder and tell the player what happened.
#pragma once

#include <windows.h>

#include "patcher/movie_patch_table.h"

// What happened to one file of the table.
enum class FileOutcome : unsigned char {
    NotTried,       // the marker was missing, so no file was opened
    Changed,        // the wanted bytes were written
    AlreadyWanted,  // the file already held the wanted bytes; nothing written
    Missing,        // no such file
    InUse,          // another program holds it open
    ReadOnly,       // the file is marked read-only
    NoPermission,   // access denied
    OpenFailed,     // could not be opened for another reason (see `error`)
    TooShort,       // shorter than the patched range; left untouched
    UnknownContent, // neither known byte string at the offset; left untouched
    ReadFailed,     // the bytes at the offset could not be read
    WriteFailed,    // the write or the flush failed
};

struct FileReport {
    FileOutcome outcome;
    DWORD error; // the system's error code where one explains the outcome, else 0
};

struct PatchReport {
    bool markerFound;
    FileReport files[moviePatchCount]; // in table order
};

// True when every file ends in the wanted state.
bool allFilesInState(const PatchReport& report);

// Writes the chosen column of the table into the files of `folder`, which ends in a
// backslash. A file is written only when it is long enough and holds one of the two known
// byte strings at its offset; one file is open at a time, and a failing file does not stop
// the ones after it.
PatchReport patchGameFolder(const wchar_t* folder, MovieState state);

// Patches the program's own folder and shows the outcome in a message box.
void applyMovieState(MovieState state, const wchar_t* successText);

void turnOffOpeningMovies();
void restoreOpeningMovies();
