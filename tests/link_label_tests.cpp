// The three link labels as a player meets them: which press opens which page and which
// opens none, the two credit pages opened on closing, and how the labels look and point.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "tests/support/game_files.h"
#include "tests/support/tool_driver.h"

namespace {

constexpr COLORREF captionColour = RGB(0, 136, 255);

struct LabelCase {
    const wchar_t* caption;
    RECT area; // in the window's client area
    const char* page;
};

const char methodPage[] = "http://microblog.example.com/lunwick";
const char programPage[] = "http://microblog.example.com/berrisa";
const char forumPage[] = "http://korvan.example.net/forum-1107-1.html";

const LabelCase methodLabel = {L"方法原理:@Lunwick", {32, 144, 152, 164}, methodPage};
const LabelCase programLabel = {L"程序制作:@Berrisa", {224, 144, 320, 164}, programPage};
const LabelCase forumLabel = {
    L"更多轩辕剑6好工具好秘籍尽在：Korvan第一单机游戏论坛", {18, 180, 347, 200}, forumPage};
const LabelCase labels[] = {methodLabel, programLabel, forumLabel};

// An address as the browser gets it: the shell may lower-case the scheme and the host and
// add the slash of an empty path, which changes nothing about the page.
std::string normalisedAddress(const std::string& address) {
    std::string result = address;
    const size_t scheme = result.find("://");
    if (scheme == std::string::npos)
        return result;
    size_t hostEnd = result.find_first_of("/?#", scheme + 3);
    if (hostEnd == std::string::npos) {
        result += '/';
        hostEnd = result.size() - 1;
    } else if (result[hostEnd] != '/') {
        result.insert(hostEnd, "/");
    }
    for (size_t i = 0; i < hostEnd; ++i)
        result[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(result[i])));
    return result;
}

std::vector<std::string> normalised(const std::vector<std::string>& addresses) {
    std::vector<std::string> result;
    for (const std::string& address : addresses)
        result.push_back(normalisedAddress(address));
    return result;
}

std::vector<std::string> pages(std::initializer_list<const char*> addresses) {
    std::vector<std::string> result;
    for (const char* address : addresses)
        result.push_back(normalisedAddress(address));
    return result;
}

RECT screenRectOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// Where a label is on the screen, from where the window is.
RECT screenAreaOf(HWND window, const LabelCase& label) {
    RECT area = label.area;
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

POINT middleOf(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Places in a label, by its rectangle on the screen.
enum class Spot { Centre, LeftEdge, TopRightCorner, BottomLeftCorner };

const char* nameOf(Spot spot) {
    switch (spot) {
    case Spot::Centre:
        return "centre";
    case Spot::LeftEdge:
        return "left edge, blank beside a narrower caption";
    case Spot::TopRightCorner:
        return "top right corner";
    case Spot::BottomLeftCorner:
        return "bottom left corner";
    }
    return "";
}

POINT spotIn(const RECT& r, Spot spot) {
    const int middle = (r.top + r.bottom) / 2;
    switch (spot) {
    case Spot::Centre:
        return middleOf(r);
    case Spot::LeftEdge:
        return {r.left + 1, middle};
    case Spot::TopRightCorner:
        return {r.right - 1, r.top};
    case Spot::BottomLeftCorner:
        return {r.left, r.bottom - 1};
    }
    return {};
}

// The four points one pixel outside a label's edges, at the middle of each edge.
std::vector<POINT> justOutside(const RECT& r) {
    const int centreX = (r.left + r.right) / 2, centreY = (r.top + r.bottom) / 2;
    return {{r.left - 1, centreY}, {r.right, centreY}, {centreX, r.top - 1}, {centreX, r.bottom}};
}

void holdKey(WORD key, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
    Sleep(30);
}

// The pointer comes to rest on the place first, then the key goes down: when the pointer
// enters a window, Wine takes the modifier keys' state from the X server again, where keys
// sent with SendInput are not down.
void clickHolding(WORD modifier, POINT at) {
    moveMouseTo(at);
    settle(300);
    holdKey(modifier, true);
    clickAt(at);
    holdKey(modifier, false);
}

// Every visible top-level window on the desktop, of any process.
std::vector<HWND> visibleTopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM list) {
            if (IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> windowsNotIn(const std::vector<HWND>& now, const std::vector<HWND>& before) {
    std::vector<HWND> added;
    for (HWND window : now) {
        bool known = false;
        for (HWND old : before)
            known = known || old == window;
        if (!known)
            added.push_back(window);
    }
    return added;
}

// The screen's pixels in a rectangle, row by row.
std::vector<COLORREF> screenPixels(const RECT& r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    std::vector<COLORREF> pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY)) {
            GdiFlush();
            const auto* bgra = static_cast<const BYTE*>(bits);
            for (int i = 0; i < width * height; ++i)
                pixels.push_back(RGB(bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]));
        }
        SelectObject(memory, previous);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool between(int value, int a, int b) {
    return value >= (a < b ? a : b) && value <= (a < b ? b : a);
}

// A pixel of anti-aliased text: each channel between the background's and the text's.
bool blendOf(COLORREF pixel, COLORREF background, COLORREF text) {
    return between(GetRValue(pixel), GetRValue(background), GetRValue(text)) &&
           between(GetGValue(pixel), GetGValue(background), GetGValue(text)) &&
           between(GetBValue(pixel), GetBValue(background), GetBValue(text));
}

// The value under HKCU\Software\Wine\WineBrowser that names the programs Wine hands web
// addresses to, replaced for one test and put back afterwards.
class BrowsersSetting {
  public:
    explicit BrowsersSetting(const std::wstring& programs) {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", 0, nullptr, 0,
                            KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr)) {
            key_ = nullptr;
            ADD_FAILURE() << "cannot open the WineBrowser key";
            return;
        }
        wchar_t previous[2048] = {};
        DWORD size = sizeof previous - sizeof(wchar_t);
        DWORD type = 0;
        hadValue_ = RegQueryValueExW(key_, L"Browsers", nullptr, &type,
                                     reinterpret_cast<BYTE*>(previous), &size) == ERROR_SUCCESS;
        previous_ = previous;
        write(programs);
    }
    ~BrowsersSetting() {
        if (!key_)
            return;
        if (hadValue_)
            write(previous_);
        else
            RegDeleteValueW(key_, L"Browsers");
        RegCloseKey(key_);
    }
    BrowsersSetting(const BrowsersSetting&) = delete;
    BrowsersSetting& operator=(const BrowsersSetting&) = delete;

  private:
    void write(const std::wstring& value) {
        EXPECT_EQ(RegSetValueExW(key_, L"Browsers", 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }

    HKEY key_ = nullptr;
    bool hadValue_ = false;
    std::wstring previous_;
};

// The pointer a person sees is the X server's cursor, drawn from whatever the program under
// the pointer set. Under Wine cursor handles belong to one process, so a test cannot compare
// the tool's handle or read its image; the X server's current cursor image, read through the
// XFixes extension by a small script, is what is on the screen whichever process set it.
const char pointerImageScript[] = R"(import ctypes, os, sys
x11 = ctypes.CDLL("libX11.so.6")
xfixes = ctypes.CDLL("libXfixes.so.3")
class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]
x11.XOpenDisplay.restype = ctypes.c_void_p
xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
image = xfixes.XFixesGetCursorImage(x11.XOpenDisplay(None)).contents
with open(sys.argv[1] + ".part", "w") as out:
    out.write("%dx%d hot %d,%d\n" % (image.width, image.height, image.xhot, image.yhot))
    out.write(" ".join("%x" % (image.pixels[i] & 0xffffffff)
                       for i in range(image.width * image.height)))
os.rename(sys.argv[1] + ".part", sys.argv[1])
)";

// The cursor image on the screen, or an empty text when it could not be read.
std::string seenPointer() {
    static unsigned reads = 0;
    const std::wstring logPath = browserLogPath();
    const std::wstring folder = logPath.substr(0, logPath.rfind(L'\\') + 1);
    const std::wstring script = folder + L"seen-pointer.py";
    const std::wstring output = folder + L"seen-pointer-" + std::to_wstring(GetCurrentProcessId()) +
                                L"-" + std::to_wstring(++reads) + L".txt";
    writeWholeFile(script,
                   Bytes(pointerImageScript, pointerImageScript + sizeof pointerImageScript - 1));
    DeleteFileW(output.c_str());
    std::wstring commandLine = L"/usr/bin/python3 ";
    for (char c : unixPathOf(script) + " " + unixPathOf(output))
        commandLine += static_cast<wchar_t>(c);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    // Wine runs a Unix program without a process handle to wait on: the output file's
    // appearance tells that it finished.
    if (!CreateProcessW(L"Z:\\usr\\bin\\python3", commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process))
        return "";
    if (process.hProcess) {
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    if (!waitUntil([&] { return GetFileAttributesW(output.c_str()) != INVALID_FILE_ATTRIBUTES; },
                   5000))
        return "";
    const Bytes content = readWholeFile(output);
    DeleteFileW(output.c_str());
    return std::string(content.begin(), content.end());
}

// Runs this thread's messages until `milliseconds` pass, so that its own windows answer.
void pumpMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

// What the system shows for one of its own pointers: a window of the test's own with that
// class cursor, with the pointer resting on it.
std::string systemPointerImage(const wchar_t* cursorName, const wchar_t* className) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, cursorName);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, className, L"", WS_POPUP, 0, 0, 80, 80, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    if (!window)
        return "";
    ShowWindow(window, SW_SHOWNOACTIVATE);
    pumpMessages(200);
    moveMouseTo({40, 40});
    std::string image, again;
    // The same image twice in a row: the pointer has settled.
    for (int tries = 0; tries < 20 && (image.empty() || image != again); ++tries) {
        pumpMessages(150);
        image = again;
        again = seenPointer();
    }
    DestroyWindow(window);
    pumpMessages(100);
    UnregisterClassW(className, windowClass.hInstance);
    return image == again ? image : "";
}

TEST(LinkLabels, APressAnywhereInALabelOpensItsPageOnce) {
    GameFolder folder;
    RunningTool tool(folder.path());
    ASSERT_NE(tool.window(), nullptr);
    const Spot spots[] = {Spot::Centre, Spot::LeftEdge, Spot::TopRightCorner,
                          Spot::BottomLeftCorner};
    for (const LabelCase& label : labels) {
        const RECT rect = screenAreaOf(tool.window(), label);
        for (Spot spot : spots) {
            SCOPED_TRACE(::testing::Message() << label.caption << ", " << nameOf(spot));
            clearBrowserLog();
            clickAt(spotIn(rect, spot));
            EXPECT_EQ(normalised(waitForBrowserLog(1)), pages({label.page}));
        }
    }
    EXPECT_FALSE(tool.messageBoxShown());
}

TEST(LinkLabels, APressJustOutsideEveryLabelOpensNothing) {
    GameFolder folder;
    RunningTool tool(folder.path());
    ASSERT_NE(tool.window(), nullptr);
    clearBrowserLog();
    for (const LabelCase& label : labels) {
        for (POINT outside : justOutside(screenAreaOf(tool.window(), label)))
            clickAt(outside);
    }
    // A press on a label after them opens its page alone: nothing came of the others.
    clickAt(middleOf(screenAreaOf(tool.window(), methodLabel)));
    EXPECT_EQ(normalised(waitForBrowserLog(1)), pages({methodPage}));
}

// Mouse gestures on one label, and the pages each opens.
struct Gesture {
    const char* name;
    void (*perform)(const RECT& label, POINT away);
    size_t pagesOpened;
};

// In this order each gesture that opens nothing is followed by ones that open a page, so
// that one leaving the window in a state where presses are lost does not go unseen.
const Gesture gestures[] = {
    {"a press with Alt held",
     [](const RECT& label, POINT) { clickHolding(VK_MENU, spotIn(label, Spot::Centre)); }, 1},
    {"a press with Ctrl held",
     [](const RECT& label, POINT) { clickHolding(VK_CONTROL, spotIn(label, Spot::Centre)); }, 1},
    {"a press with Shift held",
     [](const RECT& label, POINT) { clickHolding(VK_SHIFT, spotIn(label, Spot::Centre)); }, 1},
    {"a right-click",
     [](const RECT& label, POINT) {
         mouseButton(spotIn(label, Spot::Centre), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
     },
     0},
    {"a middle-click",
     [](const RECT& label, POINT) {
         mouseButton(spotIn(label, Spot::Centre), MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
     },
     0},
    {"three presses at three places",
     [](const RECT& label, POINT) {
         // Far enough apart that no two of them make a double-click.
         clickAt(spotIn(label, Spot::LeftEdge));
         clickAt(spotIn(label, Spot::Centre));
         clickAt({label.right - 2, (label.top + label.bottom) / 2});
     },
     3},
    {"a double-click",
     [](const RECT& label, POINT) {
         const POINT at = spotIn(label, Spot::Centre);
         clickAt(at);
         clickAt(at);
     },
     1},
    {"a press released outside the label",
     [](const RECT& label, POINT away) {
         leftDownAt(spotIn(label, Spot::Centre));
         leftUpAt(away);
     },
     1},
};

TEST(LinkLabels, LeftPressesOpenThePageWhateverModifiersAreHeldOtherButtonsDoNot) {
    GameFolder folder;
    RunningTool tool(folder.path());
    ASSERT_NE(tool.window(), nullptr);
    const RECT label = screenAreaOf(tool.window(), forumLabel);
    const POINT away = {label.left + 40, label.bottom + 12}; // the window's empty background
    for (const Gesture& gesture : gestures) {
        SCOPED_TRACE(gesture.name);
        clearBrowserLog();
        gesture.perform(label, away);
        const std::vector<std::string> opened = waitForBrowserLog(gesture.pagesOpened);
        EXPECT_EQ(normalised(opened),
                  std::vector<std::string>(gesture.pagesOpened, normalisedAddress(forumPage)));
        EXPECT_FALSE(tool.messageBoxShown());
        EXPECT_EQ(GetForegroundWindow(), tool.window());
    }
}

TEST(LinkLabels, APressWhileAMessageIsShownOpensNothing) {
    GameFolder folder; // no SWD6.exe: the button asks to be put beside the game
    RunningTool tool(folder.path());
    ASSERT_NE(tool.window(), nullptr);
    clickAt(centreOf(tool.control(L"关闭开场动画")));
    const MessageBoxSeen box = tool.waitForMessageBox();
    ASSERT_NE(box.box, nullptr);
    EXPECT_EQ(box.title, L"注意");
    // Out of the way of the labels, as a player would drag it.
    SetWindowPos(box.box, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(waitUntil([&] {
        const RECT rect = screenRectOf(box.box);
        return rect.left == 0 && rect.top == 0;
    }));
    const RECT boxRect = screenRectOf(box.box);

    clearBrowserLog();
    for (const LabelCase& label : labels) {
        const POINT at = middleOf(screenAreaOf(tool.window(), label));
        ASSERT_FALSE(PtInRect(&boxRect, at));
        clickAt(at);
    }
    EXPECT_EQ(waitForBrowserLog(0), std::vector<std::string>());
    EXPECT_TRUE(IsWindow(box.box));

    tool.dismiss(box);
    EXPECT_FALSE(tool.messageBoxShown());
    // With the message gone the labels open their pages again.
    clearBrowserLog();
    clickAt(middleOf(screenAreaOf(tool.window(), programLabel)));
    EXPECT_EQ(normalised(waitForBrowserLog(1)), pages({programPage}));
}

POINT closeButtonOf(HWND window) {
    const RECT rect = screenRectOf(window);
    return {rect.right - GetSystemMetrics(SM_CXFIXEDFRAME) - GetSystemMetrics(SM_CXSIZE) / 2,
            rect.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYSIZE) / 2};
}

struct CloseCase {
    const char* name;
    void (*close)(HWND window);
};

const CloseCase closings[] = {
    {"the Close button",
     [](HWND window) {
         const POINT button = closeButtonOf(window);
         ASSERT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(button.x, button.y)), HTCLOSE);
         clickAt(button);
     }},
    {"Esc", [](HWND) { pressKey(VK_ESCAPE); }},
};

TEST(LinkLabels, ClosingOpensBothCreditPagesMethodAuthorFirstAndEndsWithCodeZero) {
    for (const CloseCase& closing : closings) {
        SCOPED_TRACE(closing.name);
        GameFolder folder;
        RunningTool tool(folder.path());
        ASSERT_NE(tool.window(), nullptr);
        clearBrowserLog();
        closing.close(tool.window());
        DWORD code = 12345;
        ASSERT_TRUE(tool.waitForExit(10000, &code));
        EXPECT_EQ(code, 0u);
        EXPECT_EQ(normalised(waitForBrowserLog(2)), pages({methodPage, programPage}));
    }
}

TEST(LinkLabels, WithNoProgramForAddressesNothingShowsAndClosingStillEndsWithCodeZero) {
    const BrowsersSetting noBrowser(L"/nonexistent/tessaril-no-browser");
    GameFolder folder;
    RunningTool tool(folder.path());
    ASSERT_NE(tool.window(), nullptr);
    const std::vector<HWND> shownBefore = visibleTopLevelWindows();
    clearBrowserLog();

    clickAt(middleOf(screenAreaOf(tool.window(), forumLabel)));
    // Nothing is to appear, so there is nothing to wait for: the shell gets the time it takes
    // to start a browser, as when one is there.
    settle(2000);
    EXPECT_EQ(windowsNotIn(visibleTopLevelWindows(), shownBefore), std::vector<HWND>());
    EXPECT_FALSE(tool.messageBoxShown());
    EXPECT_EQ(GetForegroundWindow(), tool.window());

    pressKey(VK_ESCAPE);
    DWORD code = 12345;
    ASSERT_TRUE(tool.waitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
    settle(2000);
    EXPECT_EQ(windowsNotIn(visibleTopLevelWindows(), shownBefore), std::vector<HWND>());
    EXPECT_EQ(browserLog(), std::vector<std::string>());
}

TEST(LinkLabels, ShowTheCaptionUnderlinedInTheLinkColourOverTheWindowBackground) {
    GameFolder folder;
    RunningTool tool(folder.path());
    ASSERT_NE(tool.window(), nullptr);
    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    for (const LabelCase& label : labels) {
        SCOPED_TRACE(label.caption);
        const RECT rect = screenAreaOf(tool.window(), label);
        const int width = rect.right - rect.left, height = rect.bottom - rect.top;
        std::vector<COLORREF> pixels;
        const auto captionDrawn = [&] {
            pixels = screenPixels(rect);
            for (COLORREF pixel : pixels) {
                if (pixel == captionColour)
                    return true;
            }
            return false;
        };
        ASSERT_TRUE(waitUntil(captionDrawn)) << "no pixel of the caption's colour";
        ASSERT_EQ(pixels.size(), static_cast<size_t>(width * height));
        const auto at = [&](int x, int y) { return pixels[y * width + x]; };

        // Nothing but the background, the caption's colour and their blends at glyph edges.
        int foreign = 0;
        for (COLORREF pixel : pixels)
            foreign += !blendOf(pixel, background, captionColour);
        EXPECT_EQ(foreign, 0);

        // The underline: the longest run of the caption's colour in one row, under the glyphs
        // and as wide as they are.
        int underlineRow = -1, underlineRun = 0, underlineStart = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0, run = 0; x < width; ++x) {
                run = at(x, y) == captionColour ? run + 1 : 0;
                if (run > underlineRun) {
                    underlineRun = run;
                    underlineRow = y;
                    underlineStart = x - run + 1;
                }
            }
        }
        ASSERT_GE(underlineRow, 0);
        int glyphsLeft = width, glyphsRight = -1, glyphsTop = height, inkAbove = 0, inkBelow = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (at(x, y) == background || y == underlineRow)
                    continue;
                (y < underlineRow ? inkAbove : inkBelow) += 1;
                if (y < underlineRow) {
                    glyphsLeft = std::min(glyphsLeft, x);
                    glyphsRight = std::max(glyphsRight, x);
                    glyphsTop = std::min(glyphsTop, y);
                }
            }
        }
        ASSERT_GE(glyphsRight, glyphsLeft) << "no glyphs above the underline";
        EXPECT_GT(inkAbove, 8 * inkBelow) << "the underline is not under the glyphs";
        EXPECT_GE(underlineRun, (glyphsRight - glyphsLeft + 1) * 9 / 10);
        EXPECT_LE(underlineStart, glyphsLeft + 2);

        // The window's background around the glyphs: the rows above and below them, and the
        // blank beside a caption narrower than its label.
        int notBackground = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool aroundGlyphs = y < glyphsTop - 1 || y > underlineRow + 2 ||
                                          x < glyphsLeft - 1 || x > glyphsRight + 1;
                notBackground += aroundGlyphs && at(x, y) != background;
            }
        }
        EXPECT_EQ(notBackground, 0);
        EXPECT_GT(glyphsTop, 1);
        EXPECT_LT(underlineRow, height - 2);
    }
}

TEST(LinkLabels, ThePointerIsTheHandOverALabelAndTheArrowElsewhere) {
    const std::string hand = systemPointerImage(IDC_HAND, L"Tessaril.Test.Hand");
    const std::string arrow = systemPointerImage(IDC_ARROW, L"Tessaril.Test.Arrow");
    ASSERT_FALSE(hand.empty()) << "the pointer's image could not be read from the X server "
                                  "(needs /usr/bin/python3 and libXfixes)";
    ASSERT_FALSE(arrow.empty());
    ASSERT_NE(hand, arrow);

    GameFolder folder;
    RunningTool tool(folder.path());
    ASSERT_NE(tool.window(), nullptr);
    struct Place {
        const char* name;
        POINT at;
        const std::string* pointer;
    };
    std::vector<Place> places;
    for (const LabelCase& label : labels) {
        const RECT rect = screenAreaOf(tool.window(), label);
        places.push_back({"label centre", spotIn(rect, Spot::Centre), &hand});
        places.push_back({"label left edge", spotIn(rect, Spot::LeftEdge), &hand});
        for (POINT outside : justOutside(rect))
            places.push_back({"beside a label", outside, &arrow});
    }
    places.push_back({"a button", centreOf(tool.control(L"关闭开场动画")), &arrow});
    for (const Place& place : places) {
        SCOPED_TRACE(::testing::Message()
                     << place.name << " at " << place.at.x << "," << place.at.y);
        moveMouseTo(place.at);
        EXPECT_TRUE(waitUntil([&] { return seenPointer() == *place.pointer; }, 5000))
            << "the pointer is not the " << (place.pointer == &hand ? "hand" : "arrow");
    }
}

} // namespace
