#include "tests/support/tool_driver.h"

#include <gtest/gtest.h>

std::wstring toolExePath() {
    return windowsPathOf(TESSARIL_EXE_UNIX);
}

std::wstring browserLogPath() {
    return windowsPathOf(TESSARIL_WINE_ROOT_UNIX "/browser.log");
}

static std::wstring textOf(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

WindowFacts factsOf(HWND window) {
    WindowFacts facts = {};
    facts.window = window;
    wchar_t className[256] = {};
    GetClassNameW(window, className, 256);
    facts.className = className;
    facts.text = textOf(window);
    GetWindowRect(window, &facts.rect);
    facts.style = GetWindowLongW(window, GWL_STYLE);
    facts.exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    facts.id = GetDlgCtrlID(window);
    return facts;
}

RECT rectInParent(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<HWND> childrenOf(HWND window) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

void settle(DWORD milliseconds) {
    Sleep(milliseconds);
}

namespace {

struct Search {
    DWORD processId;
    const wchar_t* className; // null: any
    const wchar_t* text;      // null: any
    HWND found;
};

BOOL CALLBACK findTopLevel(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    const WindowFacts facts = factsOf(window);
    if ((search->className && facts.className != search->className) ||
        (search->text && facts.text != search->text))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND findTopLevelWindow(DWORD processId, const wchar_t* className, const wchar_t* text) {
    Search search = {processId, className, text, nullptr};
    EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

RunningTool::RunningTool(const std::wstring& folder, const std::wstring& workingFolder) {
    const std::wstring exe = folder + L"Tessaril.exe";
    if (!CopyFileW(toolExePath().c_str(), exe.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy the program, error " << GetLastError();
        return;
    }
    std::wstring commandLine = L"\"" + exe + L"\"";
    const std::wstring startIn = workingFolder.empty() ? folder : workingFolder;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        startIn.c_str(), &startup, &process_)) {
        ADD_FAILURE() << "cannot start the program, error " << GetLastError();
        return;
    }
    WaitForInputIdle(process_.hProcess, 15000);
    const bool shown = waitUntil(
        [&] {
            return (window_ = findTopLevelWindow(processId(), nullptr, L"Tessaril")) != nullptr;
        },
        15000);
    EXPECT_TRUE(shown) << "the window did not appear";
    if (shown) {
        waitUntil([&] { return GetForegroundWindow() == window_; }, 5000);
        settle(300);
    }
}

RunningTool::~RunningTool() {
    if (process_.hProcess) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 10000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

HWND RunningTool::focus() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(process_.dwThreadId, &info) ? info.hwndFocus : nullptr;
}

HWND RunningTool::control(const wchar_t* caption) const {
    for (HWND child : childrenOf(window_)) {
        if (textOf(child) == caption)
            return child;
    }
    ADD_FAILURE() << "no control with that caption";
    return nullptr;
}

bool RunningTool::messageBoxShown() const {
    return findTopLevelWindow(processId(), L"#32770", nullptr) != nullptr;
}

MessageBoxSeen RunningTool::waitForMessageBox(DWORD milliseconds) const {
    MessageBoxSeen seen;
    if (!waitUntil([&] { return (seen.box = findTopLevelWindow(processId(), L"#32770", nullptr)); },
                   milliseconds))
        return seen;
    settle(300); // let it finish drawing
    seen.title = textOf(seen.box);
    seen.text = textOf(GetDlgItem(seen.box, 0xFFFF));
    for (HWND child : childrenOf(seen.box)) {
        const WindowFacts facts = factsOf(child);
        if (!(facts.style & WS_VISIBLE))
            continue;
        if (_wcsicmp(facts.className.c_str(), L"Button") == 0)
            seen.buttons.push_back(child);
        // The box may keep an empty icon control: an icon counts only if it has an image.
        if (_wcsicmp(facts.className.c_str(), L"Static") == 0 &&
            (facts.style & SS_TYPEMASK) == SS_ICON && SendMessageW(child, STM_GETICON, 0, 0))
            seen.hasIcon = true;
    }
    return seen;
}

void RunningTool::dismiss(const MessageBoxSeen& box) const {
    HWND ok = GetDlgItem(box.box, IDOK);
    ASSERT_NE(ok, nullptr);
    clickAt(centreOf(ok));
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(box.box); })) << "the message stayed";
    settle(200);
}

bool RunningTool::waitForExit(DWORD milliseconds, DWORD* exitCode) const {
    if (WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0)
        return false;
    GetExitCodeProcess(process_.hProcess, exitCode);
    return true;
}

POINT centreOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

static void sendMouse(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void moveMouseTo(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    // A real move, so that the window under the pointer sees it.
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    Sleep(50);
}

void mouseButton(POINT screen, DWORD downFlag, DWORD upFlag) {
    moveMouseTo(screen);
    sendMouse(downFlag);
    Sleep(30);
    sendMouse(upFlag);
    Sleep(30);
}

void clickAt(POINT screen) {
    mouseButton(screen, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

void leftDownAt(POINT screen) {
    moveMouseTo(screen);
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(30);
}

void leftUpAt(POINT screen) {
    moveMouseTo(screen);
    sendMouse(MOUSEEVENTF_LEFTUP);
    Sleep(30);
}

static void sendKey(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
    Sleep(20);
}

void pressKey(WORD key, std::initializer_list<WORD> modifiers) {
    for (WORD modifier : modifiers)
        sendKey(modifier, false);
    sendKey(key, false);
    sendKey(key, true);
    for (auto it = modifiers.end(); it != modifiers.begin();)
        sendKey(*--it, true);
}

COLORREF screenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

COLORREF clientPixel(HWND window, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(window, &point);
    return screenPixel(point.x, point.y);
}

void clearBrowserLog() {
    DeleteFileW(browserLogPath().c_str());
}

std::vector<std::string> browserLog() {
    std::vector<std::string> lines;
    HANDLE file = CreateFileW(browserLogPath().c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return lines;
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read)
        content.append(buffer, read);
    CloseHandle(file);
    size_t start = 0;
    for (size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(content.substr(start, end - start));
    return lines;
}

std::vector<std::string> waitForBrowserLog(size_t count, DWORD milliseconds) {
    waitUntil([&] { return browserLog().size() >= count; }, milliseconds);
    settle(1500); // the shell starts the browser asynchronously: later extra pages show up too
    return browserLog();
}
