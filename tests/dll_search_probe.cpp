// Loads what Tessaril loads after it starts, the same way: the window machinery's DLLs when
// a window is shown, and the shell through loadSystemLibrary. Started with "restricted" it
// first restricts the DLL search as Tessaril does; without, it shows what a program that
// does not would load from its own folder.
// Exit code: 0 when the window was shown and the shell loaded, 1 without the window, 2
// without the shell.
#include <windows.h>

#include <cwchar>

#include "platform/dll_search.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    if (wcscmp(commandLine, L"restricted") == 0)
        restrictDllSearchToSystemFolder();

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"Tessaril.DllSearchProbe";
    RegisterClassW(&windowClass);
    HWND window =
        CreateWindowW(windowClass.lpszClassName, L"DLL search probe", WS_OVERLAPPEDWINDOW,
                      CW_USEDEFAULT, CW_USEDEFAULT, 361, 238, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    const DWORD start = GetTickCount();
    for (MSG message; GetTickCount() - start < 500; Sleep(10)) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    const bool shellLoaded = loadSystemLibrary(L"shell32.dll") != nullptr;
    DestroyWindow(window);
    return shellLoaded ? 0 : 2;
}
