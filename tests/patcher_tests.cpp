// Turning the movies off and back on in real game folders, and what happens to each file
// when something stands in the way.
#include <gtest/gtest.h>

#include "patcher/movie_operations.h"
#include "tests/support/game_files.h"

namespace {

struct Installation {
    GameFolder folder;
    Bytes shipped[moviePatchCount];

    explicit Installation(const std::wstring& name = L"game") : folder(name) {
        folder.addMarker();
        folder.addShippedMovies();
        for (unsigned row = 0; row < moviePatchCount; ++row)
            shipped[row] = folder.movie(row);
    }
};

void expectAllOutcomes(const PatchReport& report, FileOutcome outcome) {
    ASSERT_TRUE(report.markerFound);
    for (unsigned row = 0; row < moviePatchCount; ++row)
        EXPECT_EQ(report.files[row].outcome, outcome) << "row " << row + 1;
}

TEST(MoviePatcher, TurnOffWritesTheTableBytesAndRestoreUndoesIt) {
    Installation game;

    const PatchReport off = patchGameFolder(game.folder.path().c_str(), MovieState::TurnedOff);
    expectAllOutcomes(off, FileOutcome::Changed);
    EXPECT_TRUE(allFilesInState(off));
    // Exactly the table's bytes at the table's offsets, and nothing else.
    Bytes expected0 = game.shipped[0];
    std::fill_n(expected0.begin() + 4388, 4, 0);
    EXPECT_EQ(game.folder.movie(0), expected0);
    Bytes expected1 = game.shipped[1];
    std::fill_n(expected1.begin() + 4412, 4, 0);
    EXPECT_EQ(game.folder.movie(1), expected1);
    Bytes expected2 = game.shipped[2];
    expected2[4326] = 0;
    EXPECT_EQ(game.folder.movie(2), expected2);

    const PatchReport again = patchGameFolder(game.folder.path().c_str(), MovieState::TurnedOff);
    expectAllOutcomes(again, FileOutcome::AlreadyWanted);
    EXPECT_TRUE(allFilesInState(again));
    EXPECT_EQ(game.folder.movie(0), expected0);
    EXPECT_EQ(game.folder.movie(1), expected1);
    EXPECT_EQ(game.folder.movie(2), expected2);

    const PatchReport back = patchGameFolder(game.folder.path().c_str(), MovieState::Restored);
    expectAllOutcomes(back, FileOutcome::Changed);
    for (unsigned row = 0; row < moviePatchCount; ++row)
        EXPECT_EQ(game.folder.movie(row), game.shipped[row]) << "row " << row + 1;
}

TEST(MoviePatcher, RestoreOnAnUntouchedInstallationWritesNothing) {
    Installation game;
    const PatchReport report = patchGameFolder(game.folder.path().c_str(), MovieState::Restored);
    expectAllOutcomes(report, FileOutcome::AlreadyWanted);
    for (unsigned row = 0; row < moviePatchCount; ++row)
        EXPECT_EQ(game.folder.movie(row), game.shipped[row]);
}

TEST(MoviePatcher, WithoutTheMarkerNoFileIsOpened) {
    GameFolder folder;
    folder.addShippedMovies();
    // Held open with no sharing: an attempt to open them would show as InUse.
    HANDLE held[moviePatchCount];
    for (unsigned row = 0; row < moviePatchCount; ++row)
        held[row] = CreateFileW(folder.moviePath(row).c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);

    const PatchReport report = patchGameFolder(folder.path().c_str(), MovieState::TurnedOff);

    for (HANDLE file : held)
        CloseHandle(file);
    EXPECT_FALSE(report.markerFound);
    EXPECT_FALSE(allFilesInState(report));
    for (unsigned row = 0; row < moviePatchCount; ++row) {
        EXPECT_EQ(report.files[row].outcome, FileOutcome::NotTried);
        EXPECT_EQ(folder.movie(row), shippedMovieFile(moviePatchTable[row]));
    }
}

TEST(MoviePatcher, ADirectoryNamedLikeTheMarkerCountsAsTheMarker) {
    GameFolder folder;
    folder.addShippedMovies();
    ASSERT_TRUE(CreateDirectoryW((folder.path() + L"SWD6.exe").c_str(), nullptr));
    const PatchReport report = patchGameFolder(folder.path().c_str(), MovieState::TurnedOff);
    expectAllOutcomes(report, FileOutcome::Changed);
}

// One row's file is in the way; the other rows are still patched, and the row's file keeps
// every byte and its length.
struct Obstacle {
    const char* name;
    FileOutcome expected;
    void (*prepare)(GameFolder& folder, unsigned row);
    bool heldOpen; // another handle holds the file open, sharing nothing, during the run
};

void keepFile(GameFolder&, unsigned) {}

const Obstacle obstacles[] = {
    {"Missing", FileOutcome::Missing,
     [](GameFolder& folder, unsigned row) { DeleteFileW(folder.moviePath(row).c_str()); }, false},
    {"HeldOpenWithoutSharing", FileOutcome::InUse, keepFile, true},
    {"ReadOnly", FileOutcome::ReadOnly,
     [](GameFolder& folder, unsigned row) {
         SetFileAttributesW(folder.moviePath(row).c_str(), FILE_ATTRIBUTE_READONLY);
     },
     false},
    {"ShorterThanItsOffset", FileOutcome::TooShort,
     [](GameFolder& folder, unsigned row) {
         folder.setMovie(row, fillerBytes(moviePatchTable[row].offset - 16, 7));
     },
     false},
    {"ForeignBytesAtTheOffset", FileOutcome::UnknownContent,
     [](GameFolder& folder, unsigned row) {
         Bytes file = folder.movie(row);
         file[moviePatchTable[row].offset] = 0x5A;
         folder.setMovie(row, file);
     },
     false},
    {"ADirectoryInItsPlace", FileOutcome::Missing,
     [](GameFolder& folder, unsigned row) {
         DeleteFileW(folder.moviePath(row).c_str());
         CreateDirectoryW(folder.moviePath(row).c_str(), nullptr);
     },
     false},
};

class MoviePatcherObstacle : public ::testing::TestWithParam<std::tuple<Obstacle, unsigned>> {};

TEST_P(MoviePatcherObstacle, LeavesThatFileAloneAndPatchesTheOthers) {
    const Obstacle& obstacle = std::get<0>(GetParam());
    const unsigned blocked = std::get<1>(GetParam());
    for (MovieState state : {MovieState::TurnedOff, MovieState::Restored}) {
        SCOPED_TRACE(state == MovieState::TurnedOff ? "turn off" : "restore");
        Installation game;
        if (state == MovieState::Restored) {
            for (unsigned row = 0; row < moviePatchCount; ++row)
                game.folder.setMovie(row, withColumn(game.shipped[row], moviePatchTable[row],
                                                     MovieState::TurnedOff));
        }
        obstacle.prepare(game.folder, blocked);
        const std::wstring blockedPath = game.folder.moviePath(blocked);
        const DWORD attributes = GetFileAttributesW(blockedPath.c_str());
        const bool isFile =
            attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        const Bytes before = isFile ? game.folder.movie(blocked) : Bytes();
        HANDLE held = obstacle.heldOpen ? CreateFileW(blockedPath.c_str(), GENERIC_READ, 0, nullptr,
                                                      OPEN_EXISTING, 0, nullptr)
                                        : INVALID_HANDLE_VALUE;
        ASSERT_EQ(obstacle.heldOpen, held != INVALID_HANDLE_VALUE);

        const PatchReport report = patchGameFolder(game.folder.path().c_str(), state);

        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        ASSERT_TRUE(report.markerFound);
        EXPECT_FALSE(allFilesInState(report));
        for (unsigned row = 0; row < moviePatchCount; ++row) {
            if (row == blocked) {
                EXPECT_EQ(report.files[row].outcome, obstacle.expected);
                if (isFile)
                    EXPECT_EQ(game.folder.movie(row), before) << "the blocked file changed";
            } else {
                EXPECT_EQ(report.files[row].outcome, FileOutcome::Changed) << "row " << row + 1;
                EXPECT_EQ(game.folder.movie(row),
                          withColumn(game.shipped[row], moviePatchTable[row], state));
            }
        }
        SetFileAttributesW(blockedPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

INSTANTIATE_TEST_SUITE_P(EachRow, MoviePatcherObstacle,
                         ::testing::Combine(::testing::ValuesIn(obstacles),
                                            ::testing::Values(0u, 1u, 2u)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_row" +
                                    std::to_string(std::get<1>(info.param) + 1);
                         });

TEST(MoviePatcher, PatchesAGameFolderWhoseNameHoldsChinese) {
    // 乗 is 81 5C in code page 936: its second byte is the backslash's code.
    for (const wchar_t* name : {L"轩辕剑6", L"乗\\游戏 目录"}) {
        GameFolder folder(L"x");
        const std::wstring game = folder.path() + name + L"\\";
        std::wstring sub = folder.path();
        for (const wchar_t* part = name; *part; ++part) {
            if (*part == L'\\')
                CreateDirectoryW(sub.c_str(), nullptr);
            sub += *part;
        }
        ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
        CreateDirectoryW((game + L"assetbundles").c_str(), nullptr);
        CreateDirectoryW((game + L"assetbundles\\Movie").c_str(), nullptr);
        writeWholeFile(game + markerFileName, Bytes{'M', 'Z'});
        for (unsigned row = 0; row < moviePatchCount; ++row)
            writeWholeFile(game + moviePatchTable[row].relativePath,
                           shippedMovieFile(moviePatchTable[row]));

        expectAllOutcomes(patchGameFolder(game.c_str(), MovieState::TurnedOff),
                          FileOutcome::Changed);
        for (unsigned row = 0; row < moviePatchCount; ++row)
            EXPECT_EQ(readWholeFile(game + moviePatchTable[row].relativePath),
                      withColumn(shippedMovieFile(moviePatchTable[row]), moviePatchTable[row],
                                 MovieState::TurnedOff));
    }
}

} // namespace
