// A DLL planted under the name of a system DLL. It records each program that loads it, a
// path a line, in a file beside itself named after it with ".loaded" added; then it refuses
// to stay loaded, as it has none of the functions a program would want from the real one.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t record[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameW(self, record, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return FALSE;
    lstrcpyW(record + length, L".loaded");
    wchar_t program[MAX_PATH + 1];
    DWORD programLength = GetModuleFileNameW(nullptr, program, MAX_PATH);
    program[programLength++] = L'\n';
    HANDLE file =
        CreateFileW(record, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written;
        WriteFile(file, program, programLength * sizeof(wchar_t), &written, nullptr);
        CloseHandle(file);
    }
    return FALSE;
}
