// What the tool knows of the game: the file that marks its folder, and for each of three
// opening-movie files one place and the two byte strings that may stand there.
#pragma once

#include <stdint.h>

// The game's executable; its presence marks the folder as the game folder.
extern const wchar_t markerFileName[];

constexpr unsigned maxPatchLength = 4;

struct MoviePatch {
    const wchar_t* relativePath; // below the game folder, no leading backslash
    uint32_t offset;             // from the start of the file
    uint8_t length;              // bytes in each column
    uint8_t gameBytes[maxPatchLength];
    uint8_t turnedOffBytes[maxPatchLength]; // all zero
};

constexpr unsigned moviePatchCount = 3;

// In the order the files are written.
extern const MoviePatch moviePatchTable[moviePatchCount];

// Which column of the table a run writes.
enum class MovieState { TurnedOff, Restored };

inline const uint8_t* bytesFor(const MoviePatch& patch, MovieState state) {
    return state == MovieState::TurnedOff ? patch.turnedOffBytes : patch.gameBytes;
}
