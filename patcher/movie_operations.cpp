#include "patcher/movie_operations.h"

#include "patcher/game_folder.h"
#include "patcher/patch_messages.h"
#include "platform/platform_services.h"

namespace {

bool sameBytes(const uint8_t* a, const uint8_t* b, unsigned count) {
    for (unsigned i = 0; i < count; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

FileReport outcome(FileOutcome kind, DWORD error = ERROR_SUCCESS) {
    return {kind, error};
}

FileReport openFailure(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return outcome(FileOutcome::Missing, error);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return outcome(FileOutcome::InUse, error);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return outcome(FileOutcome::NoPermission, error);
    default:
        return outcome(FileOutcome::OpenFailed, error);
    }
}

FileReport patchFile(const wchar_t* path, const MoviePatch& patch, MovieState state) {
    DWORD error;
    const DWORD attributes = fileAttributes(path, &error);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return openFailure(error);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return outcome(FileOutcome::Missing);
    // Windows refuses to open a read-only file for writing; some systems (Wine as root)
    // would not, so the attribute is honoured here the same way everywhere.
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return outcome(FileOutcome::ReadOnly);

    FileHandle file = openExistingReadWrite(path, &error);
    if (!file.valid())
        return openFailure(error);

    uint64_t size;
    if (!fileSize(file, &size))
        return outcome(FileOutcome::ReadFailed, GetLastError());
    if (size < static_cast<uint64_t>(patch.offset) + patch.length)
        return outcome(FileOutcome::TooShort);

    uint8_t current[maxPatchLength];
    if (!seekFromStart(file, patch.offset) || !readBytes(file, current, patch.length))
        return outcome(FileOutcome::ReadFailed, GetLastError());

    const uint8_t* wanted = bytesFor(patch, state);
    const MovieState other =
        state == MovieState::TurnedOff ? MovieState::Restored : MovieState::TurnedOff;
    if (sameBytes(current, wanted, patch.length))
        return outcome(FileOutcome::AlreadyWanted);
    if (!sameBytes(current, bytesFor(patch, other), patch.length))
        return outcome(FileOutcome::UnknownContent);

    if (!seekFromStart(file, patch.offset) || !writeBytes(file, wanted, patch.length) ||
        !flushFile(file))
        return outcome(FileOutcome::WriteFailed, GetLastError());
    closeFile(file);
    return outcome(FileOutcome::Changed);
}

} // namespace

bool allFilesInState(const PatchReport& report) {
    if (!report.markerFound)
        return false;
    for (const FileReport& file : report.files) {
        if (file.outcome != FileOutcome::Changed && file.outcome != FileOutcome::AlreadyWanted)
            return false;
    }
    return true;
}

PatchReport patchGameFolder(const wchar_t* folder, MovieState state) {
    PatchReport report;
    for (FileReport& file : report.files)
        file = outcome(FileOutcome::NotTried);

    report.markerFound = fileExists(Text(folder).append(markerFileName).c_str());
    if (!report.markerFound)
        return report;

    for (unsigned row = 0; row < moviePatchCount; ++row) {
        const MoviePatch& patch = moviePatchTable[row];
        report.files[row] =
            patchFile(Text(folder).append(patch.relativePath).c_str(), patch, state);
    }
    return report;
}

void applyMovieState(MovieState state, const wchar_t* successText) {
    resolveGameFolder();
    const PatchReport report = patchGameFolder(gameFolder.c_str(), state);
    const PatchMessage message = patchMessage(report, state, successText);
    showMessage(message.text.c_str(), message.title);
}

void turnOffOpeningMovies() {
    applyMovieState(MovieState::TurnedOff, L"关闭成功");
}

void restoreOpeningMovies() {
    applyMovieState(MovieState::Restored, L"恢复成功");
}
