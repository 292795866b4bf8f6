// Game folders for tests: a temporary folder with the marker and the three movie files,
// and whole-file reads to compare before and after.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "patcher/movie_patch_table.h"

using Bytes = std::vector<uint8_t>;

Bytes readWholeFile(const std::wstring& path);
void writeWholeFile(const std::wstring& path, const Bytes& bytes);

// Deterministic filler bytes, never equal to the table's bytes by accident at the offsets.
Bytes fillerBytes(size_t count, uint32_t seed);

// The content of a movie file as the game ships it: filler with the game bytes at the offset.
Bytes shippedMovieFile(const MoviePatch& patch, size_t length = 8192);

// `file` with the chosen column of `patch` written at its offset.
Bytes withColumn(Bytes file, const MoviePatch& patch, MovieState state);

// A temporary game folder, removed with its owner. `name` may hold any characters.
class GameFolder {
  public:
    explicit GameFolder(const std::wstring& name = L"game");
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    // The folder with one trailing backslash.
    const std::wstring& path() const { return path_; }
    std::wstring moviePath(unsigned row) const;

    void addMarker();
    // Writes the three movie files as the game ships them.
    void addShippedMovies();

    Bytes movie(unsigned row) const { return readWholeFile(moviePath(row)); }
    void setMovie(unsigned row, const Bytes& bytes) const { writeWholeFile(moviePath(row), bytes); }

  private:
    std::wstring path_;
};
