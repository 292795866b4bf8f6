#include "tests/support/game_files.h"

#include "tests/support/file_tree.h"

#include <gtest/gtest.h>

Bytes readWholeFile(const std::wstring& path) {
    Bytes bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot read " << std::string(path.begin(), path.end());
        return bytes;
    }
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size()))
        ADD_FAILURE() << "short read";
    CloseHandle(file);
    return bytes;
}

void writeWholeFile(const std::wstring& path, const Bytes& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot write, error " << GetLastError();
    DWORD written = 0;
    if (!bytes.empty())
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

Bytes fillerBytes(size_t count, uint32_t seed) {
    Bytes bytes(count);
    uint32_t state = seed * 2654435761u + 12345u;
    for (auto& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        // 0x80..0xFF: never 0x00 (the turned-off bytes) nor a game byte below 0x80.
        byte = static_cast<uint8_t>(0x80 | (state >> 24));
    }
    return bytes;
}

Bytes shippedMovieFile(const MoviePatch& patch, size_t length) {
    return withColumn(fillerBytes(length, patch.offset), patch, MovieState::Restored);
}

Bytes withColumn(Bytes file, const MoviePatch& patch, MovieState state) {
    const uint8_t* column = bytesFor(patch, state);
    for (unsigned i = 0; i < patch.length && patch.offset + i < file.size(); ++i)
        file[patch.offset + i] = column[i];
    return file;
}

GameFolder::GameFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    std::wstring base = std::wstring(temp) + L"tessaril-" + std::to_wstring(GetCurrentProcessId()) +
                        L"-" + std::to_wstring(++counter);
    CreateDirectoryW(base.c_str(), nullptr);
    path_ = base + L"\\" + name + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
    CreateDirectoryW((path_ + L"assetbundles").c_str(), nullptr);
    CreateDirectoryW((path_ + L"assetbundles\\Movie").c_str(), nullptr);
}

GameFolder::~GameFolder() {
    removeTree(path_.substr(0, path_.rfind(L'\\', path_.size() - 2)));
}

std::wstring GameFolder::moviePath(unsigned row) const {
    return path_ + moviePatchTable[row].relativePath;
}

void GameFolder::addMarker() {
    writeWholeFile(path_ + markerFileName, Bytes{'M', 'Z'});
}

void GameFolder::addShippedMovies() {
    for (unsigned row = 0; row < moviePatchCount; ++row)
        setMovie(row, shippedMovieFile(moviePatchTable[row]));
}
