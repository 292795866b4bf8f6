// Where the program loads DLLs from. The folder beside the program is a game folder that
// may hold anything, so no DLL is ever loaded from it by name.
#pragma once

#include <windows.h>

// Restricts the DLL search of the process to the system folder, where Windows can
// (SetDefaultDllDirectories, looked up at run time so that older systems still start), and
// takes the current folder out of the search everywhere.
void restrictDllSearchToSystemFolder();

// Loads a DLL of the system folder by its full path; null if it cannot be loaded.
// The module stays loaded for the rest of the process.
HMODULE loadSystemLibrary(const wchar_t* fileName);
