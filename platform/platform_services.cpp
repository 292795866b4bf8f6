#include "platform/platform_services.h"

Text directoryOf(const wchar_t* path) {
    size_t cut = 0;
    for (size_t i = 0; path[i]; ++i) {
        if (path[i] == L'\\')
            cut = i;
    }
    Text directory;
    directory.append(path, cut);
    return directory;
}

Text modulePath() {
    Text path;
    // Module paths may exceed MAX_PATH; grow until the whole path fits.
    for (DWORD size = MAX_PATH;; size *= 2) {
        wchar_t* buffer = path.bufferFor(size);
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetModuleFileNameW(nullptr, buffer, size);
        if (length == 0) {
            path.setLength(0);
            return path;
        }
        if (length < size && GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            path.setLength(length);
            return path;
        }
        if (size >= 0x10000) { // no Windows path is longer than 32767 characters
            path.setLength(0);
            return path;
        }
    }
}

Text runDirectory() {
    return directoryOf(modulePath().c_str());
}

bool fileExists(const wchar_t* path) {
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

DWORD fileAttributes(const wchar_t* path, DWORD* error) {
    const DWORD attributes = GetFileAttributesW(path);
    *error = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
    return attributes;
}

FileHandle openExistingReadWrite(const wchar_t* path, DWORD* error) {
    HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    *error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    return FileHandle(file);
}

bool fileSize(const FileHandle& file, uint64_t* size) {
    LARGE_INTEGER value;
    if (!file.valid() || !GetFileSizeEx(file.get(), &value))
        return false;
    *size = static_cast<uint64_t>(value.QuadPart);
    return true;
}

bool seekFromStart(const FileHandle& file, uint32_t offset) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    return file.valid() && SetFilePointerEx(file.get(), distance, nullptr, FILE_BEGIN);
}

bool readBytes(const FileHandle& file, uint8_t* bytes, DWORD count) {
    DWORD read = 0;
    return file.valid() && ReadFile(file.get(), bytes, count, &read, nullptr) && read == count;
}

bool writeBytes(const FileHandle& file, const uint8_t* bytes, DWORD count) {
    DWORD written = 0;
    return file.valid() && WriteFile(file.get(), bytes, count, &written, nullptr) &&
           written == count;
}

bool flushFile(const FileHandle& file) {
    return file.valid() && FlushFileBuffers(file.get());
}

void closeFile(FileHandle& file) {
    file.close();
}

void showMessage(const wchar_t* text, const wchar_t* title) {
    // The box disables the thread's windows while it is shown, so when it closes there may be
    // no enabled window left to take the activation: give it back to the window that had it.
    HWND active = GetActiveWindow();
    MessageBoxW(nullptr, text, title, MB_OK | MB_TASKMODAL);
    if (active && IsWindow(active) && GetActiveWindow() != active)
        SetForegroundWindow(active);
}
