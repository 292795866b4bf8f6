#include "platform/web_page.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/dll_search.h"

namespace {

// The longest the next address waits for the program that took the one before.
constexpr DWORD handOverLimit = 5000;

// Hands the address to the shell; returns the process it started for it, if it tells.
HANDLE handToShell(const wchar_t* address) {
    // The shell is loaded when an address is first opened, not at every start.
    using ShellExecuteExFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
    HMODULE shell = loadSystemLibrary(L"shell32.dll");
    const auto shellExecuteEx = reinterpret_cast<ShellExecuteExFunction>(
        shell ? reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteExW")) : nullptr);
    if (!shellExecuteEx)
        return nullptr;
    SHELLEXECUTEINFOW execute = {};
    execute.cbSize = sizeof execute;
    // As ShellExecute does it, with no error message of the shell's, and with the process
    // it starts, if any.
    execute.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC | SEE_MASK_NOCLOSEPROCESS;
    execute.hwnd = FindWindowW(nullptr, L"Microsoft Internet Explorer");
    execute.lpVerb = L"open";
    execute.lpFile = address;
    execute.nShow = SW_SHOWNORMAL;
    if (!shellExecuteEx(&execute))
        return nullptr;
    return execute.hProcess;
}

// Waits until a program started for an address has taken it: a browser with windows is
// ready for input, one without ends once it has passed the address on.
void waitForHandOver(HANDLE process) {
    const DWORD start = GetTickCount();
    const DWORD idle = WaitForInputIdle(process, handOverLimit);
    if (idle == WAIT_FAILED) { // a program without windows: wait for it to end
        const DWORD spent = GetTickCount() - start;
        if (spent < handOverLimit)
            WaitForSingleObject(process, handOverLimit - spent);
    }
}

} // namespace

void openWebPage(const wchar_t* address) {
    HANDLE process = handToShell(address);
    if (process)
        CloseHandle(process);
}

void openWebPagesInOrder(const wchar_t* const addresses[], unsigned count) {
    for (unsigned i = 0; i < count; ++i) {
        HANDLE process = handToShell(addresses[i]);
        if (!process)
            continue;
        if (i + 1 < count)
            waitForHandOver(process);
        CloseHandle(process);
    }
}
