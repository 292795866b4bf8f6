// Drives the real Tessaril.exe from a test, as a person would: started in a game folder,
// seen through its windows, message boxes and pixels, and worked with mouse and keys.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/wine_paths.h"

// The program under test and the stand-in browser's log, as the build named them.
std::wstring toolExePath();
std::wstring browserLogPath();

struct WindowFacts {
    HWND window;
    std::wstring className;
    std::wstring text;
    RECT rect; // on the screen
    LONG style, exStyle;
    int id;
};

WindowFacts factsOf(HWND window);
// A child's rectangle relative to its parent's client area.
RECT rectInParent(HWND child);
std::vector<HWND> childrenOf(HWND window); // in creation order

struct MessageBoxSeen {
    HWND box = nullptr;
    std::wstring title;
    std::wstring text;
    std::vector<HWND> buttons;
    bool hasIcon = false;
};

// Waits until `condition` holds or `milliseconds` pass; returns whether it held.
template <typename Condition> bool waitUntil(Condition condition, DWORD milliseconds = 10000) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > milliseconds)
            return false;
        Sleep(20);
    }
}

// Gives the tool time to handle what was sent to it, for checks that nothing happened.
void settle(DWORD milliseconds = 400);

class RunningTool {
  public:
    // Copies the program into `folder` (which ends in a backslash) and starts it there, with
    // `workingFolder` as the folder it is started from (the game folder if empty). Waits until
    // its main window is shown and idle.
    explicit RunningTool(const std::wstring& folder, const std::wstring& workingFolder = L"");
    ~RunningTool();
    RunningTool(const RunningTool&) = delete;
    RunningTool& operator=(const RunningTool&) = delete;

    HWND window() const { return window_; }
    DWORD processId() const { return process_.dwProcessId; }
    HANDLE process() const { return process_.hProcess; }
    // The control that has the keyboard focus in the tool's thread.
    HWND focus() const;
    HWND control(const wchar_t* caption) const;

    // The tool's message box once it is shown, or an empty one after the timeout.
    MessageBoxSeen waitForMessageBox(DWORD milliseconds = 10000) const;
    bool messageBoxShown() const;
    // Clicks the OK button of a box with the mouse and waits until the box is gone.
    void dismiss(const MessageBoxSeen& box) const;

    // Waits for the process to end; false on timeout.
    bool waitForExit(DWORD milliseconds, DWORD* exitCode) const;

  private:
    PROCESS_INFORMATION process_ = {};
    HWND window_ = nullptr;
};

// Input, as from a real mouse and keyboard.
POINT centreOf(HWND window);
void moveMouseTo(POINT screen);
void mouseButton(POINT screen, DWORD downFlag, DWORD upFlag); // press and release there
void clickAt(POINT screen);
void leftDownAt(POINT screen);
void leftUpAt(POINT screen);
// Presses and releases `key` with the given modifier keys (VK_CONTROL, VK_SHIFT, VK_MENU).
void pressKey(WORD key, std::initializer_list<WORD> modifiers = {});

// The colour a person sees at a point of the screen.
COLORREF screenPixel(int x, int y);
// The colour at a point of a window's client area.
COLORREF clientPixel(HWND window, int x, int y);

// The stand-in browser's record of the addresses the shell handed it.
void clearBrowserLog();
std::vector<std::string> browserLog();
// Waits until the log holds `count` addresses, then a little longer so that late extra
// ones are seen too; returns the log.
std::vector<std::string> waitForBrowserLog(size_t count, DWORD milliseconds = 10000);
