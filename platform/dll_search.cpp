#include "platform/dll_search.h"

#include "platform/text.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

void restrictDllSearchToSystemFolder() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        kernel ? reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories"))
               : nullptr);
    // Where it is missing the program still runs, with the system's default search order
    // less the current folder; loadSystemLibrary names full paths either way.
    if (setDefaultDllDirectories)
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
}

HMODULE loadSystemLibrary(const wchar_t* fileName) {
    HMODULE loaded = GetModuleHandleW(fileName);
    if (loaded)
        return loaded;
    Text path;
    const UINT length = GetSystemDirectoryW(path.bufferFor(MAX_PATH), MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    path.setLength(length);
    path.append(L"\\").append(fileName);
    return LoadLibraryW(path.c_str());
}
