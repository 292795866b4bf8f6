#include "platform/web_page.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/dll_search.h"

void openWebPage(const wchar_t* address) {
    // The shell is loaded when an address is first opened, not at every start.
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    HMODULE shell = loadSystemLibrary(L"shell32.dll");
    const auto shellExecute = reinterpret_cast<ShellExecuteFunction>(
        shell ? reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteW")) : nullptr);
    if (!shellExecute)
        return;
    HWND owner = FindWindowW(nullptr, L"Microsoft Internet Explorer");
    shellExecute(owner, L"open", address, nullptr, nullptr, SW_SHOWNORMAL);
}
