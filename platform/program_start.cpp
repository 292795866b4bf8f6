#include "platform/program_start.h"

#include <windows.h>
#include <objbase.h>

#include "platform/dll_search.h"
#include "platform/platform_services.h"

ProgramStart::ProgramStart() {
    restrictDllSearchToSystemFolder();
    // Without COM the shell still opens addresses in most cases; the program carries on.
    comStarted_ =
        SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    // With its trailing backslash, so that a drive root is "C:\" and not "C:".
    Text folder = runDirectory();
    folder.append(L"\\");
    SetCurrentDirectoryW(folder.c_str());
}

ProgramStart::~ProgramStart() {
    if (comStarted_)
        CoUninitialize();
}
