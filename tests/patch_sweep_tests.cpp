// A generated sweep over what a movie file may hold: lengths around the patched range and
// the bytes that stand there. A file is written only when it is long enough and holds one of
// the two known byte strings; every other byte of every file stays as it was.
#include <gtest/gtest.h>

#include <set>

#include "patcher/movie_operations.h"
#include "tests/support/game_files.h"

namespace {

struct Case {
    unsigned row;
    size_t length;
    Bytes atOffset; // what the file holds at the offset, as far as it is long enough
    MovieState state;
    std::string label;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.label;
}

std::vector<Case> sweepCases() {
    std::vector<Case> cases;
    for (unsigned row = 0; row < moviePatchCount; ++row) {
        const MoviePatch& patch = moviePatchTable[row];
        const Bytes game(patch.gameBytes, patch.gameBytes + patch.length);
        const Bytes off(patch.turnedOffBytes, patch.turnedOffBytes + patch.length);
        std::vector<std::pair<std::string, Bytes>> contents = {
            {"game", game}, {"off", off}, {"other", Bytes(patch.length, 0x11)}};
        if (patch.length > 1) {
            Bytes gameThenOff = game, offThenGame = off;
            gameThenOff.back() = off.back();
            offThenGame.front() = game.front();
            contents.push_back({"gameHead", gameThenOff});
            contents.push_back({"offHead", offThenGame});
        }
        const size_t end = patch.offset + patch.length;
        const std::set<size_t> lengths = {
            0, size_t(patch.offset) - 1, patch.offset, end - 1, end, end + 1, end + 4096};
        for (size_t length : lengths) {
            for (const auto& content : contents) {
                for (MovieState state : {MovieState::TurnedOff, MovieState::Restored}) {
                    cases.push_back({row, length, content.second, state,
                                     "row" + std::to_string(row + 1) + "_len" +
                                         std::to_string(length) + "_" + content.first +
                                         (state == MovieState::TurnedOff ? "_off" : "_on")});
                }
            }
        }
    }
    return cases;
}

class PatchSweep : public ::testing::TestWithParam<Case> {};

TEST_P(PatchSweep, WritesOnlyAKnownByteStringInALongEnoughFile) {
    const Case& c = GetParam();
    const MoviePatch& patch = moviePatchTable[c.row];
    GameFolder folder;
    folder.addMarker();
    folder.addShippedMovies();

    Bytes file = fillerBytes(c.length, c.row + 100);
    for (size_t i = 0; i < c.atOffset.size() && patch.offset + i < file.size(); ++i)
        file[patch.offset + i] = c.atOffset[i];
    folder.setMovie(c.row, file);

    const PatchReport report = patchGameFolder(folder.path().c_str(), c.state);

    const uint8_t* wanted = bytesFor(patch, c.state);
    const uint8_t* other = bytesFor(
        patch, c.state == MovieState::TurnedOff ? MovieState::Restored : MovieState::TurnedOff);
    FileOutcome expected;
    Bytes expectedFile = file;
    if (c.length < patch.offset + patch.length) {
        expected = FileOutcome::TooShort;
    } else if (std::equal(c.atOffset.begin(), c.atOffset.end(), wanted)) {
        expected = FileOutcome::AlreadyWanted;
    } else if (std::equal(c.atOffset.begin(), c.atOffset.end(), other)) {
        expected = FileOutcome::Changed;
        std::copy(wanted, wanted + patch.length, expectedFile.begin() + patch.offset);
    } else {
        expected = FileOutcome::UnknownContent;
    }
    EXPECT_EQ(report.files[c.row].outcome, expected);
    EXPECT_EQ(folder.movie(c.row), expectedFile);
    EXPECT_EQ(allFilesInState(report),
              expected == FileOutcome::Changed || expected == FileOutcome::AlreadyWanted);
}

INSTANTIATE_TEST_SUITE_P(Generated, PatchSweep, ::testing::ValuesIn(sweepCases()),
                         [](const auto& info) { return info.param.label; });

} // namespace
