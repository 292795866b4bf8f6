// Keys and focus in the main window: Esc closes, Tab moves between the two buttons, Space
// clicks the focused one, and Enter, F1 and Alt with a letter do nothing.
#include <gtest/gtest.h>

#include "tests/support/game_files.h"
#include "tests/support/tool_driver.h"

namespace {

const wchar_t turnOff[] = L"关闭开场动画";
const wchar_t restore[] = L"恢复开场动画";

struct Tool {
    GameFolder folder;
    RunningTool tool{folder.path()};
};

TEST(Keyboard, EscAndAltF4CloseTheWindowAndTheProgramEndsWithCodeZero) {
    for (bool alt : {false, true}) {
        SCOPED_TRACE(alt ? "Alt+F4" : "Esc");
        Tool t;
        ASSERT_NE(t.tool.window(), nullptr);
        if (alt)
            pressKey(VK_F4, {VK_MENU});
        else
            pressKey(VK_ESCAPE);
        DWORD code = 12345;
        ASSERT_TRUE(t.tool.waitForExit(10000, &code));
        EXPECT_EQ(code, 0u);
    }
}

TEST(Keyboard, CloseFromTheSystemMenuEndsTheProgram) {
    Tool t;
    ASSERT_NE(t.tool.window(), nullptr);
    PostMessageW(t.tool.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = 12345;
    ASSERT_TRUE(t.tool.waitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
}

TEST(Keyboard, TabAlternatesTheFocusBetweenTheButtons) {
    Tool t;
    const HWND first = t.tool.control(turnOff), second = t.tool.control(restore);
    ASSERT_EQ(t.tool.focus(), first);
    pressKey(VK_TAB);
    EXPECT_TRUE(waitUntil([&] { return t.tool.focus() == second; }, 3000));
    pressKey(VK_TAB);
    EXPECT_TRUE(waitUntil([&] { return t.tool.focus() == first; }, 3000));
    pressKey(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(waitUntil([&] { return t.tool.focus() == second; }, 3000));
    pressKey(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(waitUntil([&] { return t.tool.focus() == first; }, 3000));
}

TEST(Keyboard, KeysThatDoNothing) {
    struct Keys {
        const char* name;
        WORD key;
        std::initializer_list<WORD> modifiers;
    };
    const Keys keys[] = {
        {"Shift+Esc", VK_ESCAPE, {VK_SHIFT}},
        {"Enter", VK_RETURN, {}},
        {"F1", VK_F1, {}},
        {"Alt+K", 'K', {VK_MENU}},
        {"Alt+R", 'R', {VK_MENU}},
    };
    Tool t;
    for (bool onSecond : {false, true}) {
        if (onSecond) {
            pressKey(VK_TAB);
            ASSERT_TRUE(waitUntil([&] { return t.tool.focus() == t.tool.control(restore); }));
        }
        const HWND focused = t.tool.focus();
        for (const Keys& k : keys) {
            SCOPED_TRACE(k.name);
            pressKey(k.key, k.modifiers);
            settle();
            EXPECT_TRUE(IsWindowVisible(t.tool.window()));
            EXPECT_FALSE(t.tool.messageBoxShown());
            EXPECT_EQ(t.tool.focus(), focused);
            DWORD code;
            EXPECT_FALSE(t.tool.waitForExit(0, &code));
        }
    }
}

TEST(Keyboard, SpaceClicksTheFocusedButton) {
    Tool t;
    t.folder.addMarker();
    t.folder.addShippedMovies();
    const Bytes shipped = t.folder.movie(0);

    pressKey(VK_SPACE);
    MessageBoxSeen box = t.tool.waitForMessageBox();
    EXPECT_EQ(box.text, L"关闭成功");
    EXPECT_NE(t.folder.movie(0), shipped);
    t.tool.dismiss(box);

    pressKey(VK_TAB);
    ASSERT_TRUE(waitUntil([&] { return t.tool.focus() == t.tool.control(restore); }));
    pressKey(VK_SPACE);
    box = t.tool.waitForMessageBox();
    EXPECT_EQ(box.text, L"恢复成功");
    EXPECT_EQ(t.folder.movie(0), shipped);
    t.tool.dismiss(box);
}

TEST(Keyboard, FocusComesBackToTheButtonThatHadItWhenTheWindowIsActivatedAgain) {
    Tool t;
    pressKey(VK_TAB);
    ASSERT_TRUE(waitUntil([&] { return t.tool.focus() == t.tool.control(restore); }));

    // Another program's window takes the activation.
    WNDCLASSW otherClass = {};
    otherClass.lpfnWndProc = DefWindowProcW;
    otherClass.hInstance = GetModuleHandleW(nullptr);
    otherClass.lpszClassName = L"TessarilTestOtherWindow";
    RegisterClassW(&otherClass);
    HWND other = CreateWindowExW(0, otherClass.lpszClassName, L"other", WS_OVERLAPPEDWINDOW, 0, 0,
                                 200, 100, nullptr, nullptr, otherClass.hInstance, nullptr);
    ShowWindow(other, SW_SHOW);
    SetForegroundWindow(other);
    EXPECT_TRUE(waitUntil([&] {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        return GetForegroundWindow() == other;
    }));
    DestroyWindow(other);

    // Activated again by a click on its caption bar.
    RECT frame;
    GetWindowRect(t.tool.window(), &frame);
    clickAt({frame.left + 60, frame.top + GetSystemMetrics(SM_CYFRAME) + 4});
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == t.tool.window(); }));
    EXPECT_TRUE(waitUntil([&] { return t.tool.focus() == t.tool.control(restore); }, 3000));
}

TEST(Keyboard, DoubleClickOnTheCaptionBarDoesNotMaximise) {
    Tool t;
    RECT before, after;
    GetWindowRect(t.tool.window(), &before);
    const POINT caption = {before.left + 60, before.top + GetSystemMetrics(SM_CYFRAME) + 4};
    clickAt(caption);
    clickAt(caption);
    settle();
    GetWindowRect(t.tool.window(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_FALSE(IsZoomed(t.tool.window()));
}

} // namespace
