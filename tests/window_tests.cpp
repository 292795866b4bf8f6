// The main window as a player sees it: where it opens, how it is framed, its controls, and
// what its buttons do to the game files.
#include <gtest/gtest.h>

#include "tests/support/game_files.h"
#include "tests/support/tool_driver.h"

namespace {

struct ControlExpectation {
    const wchar_t* className;
    const wchar_t* caption;
    RECT rect; // in the window's client area
};

TEST(MainWindow, OpensCentredWithItsFrameAndFiveControlsInOrder) {
    GameFolder folder;
    RunningTool tool(folder.path());
    ASSERT_NE(tool.window(), nullptr);
    const WindowFacts window = factsOf(tool.window());

    // Where the window starts on each screen size the tests run on.
    struct Placement {
        int screenWidth, screenHeight, left, top;
    };
    const Placement placements[] = {
        {1024, 768, 331, 265}, {1366, 768, 502, 265}, {1920, 1080, 779, 421}, {320, 240, -20, 1},
    };
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const Placement* expected = nullptr;
    for (const Placement& placement : placements) {
        if (placement.screenWidth == screenWidth && placement.screenHeight == screenHeight)
            expected = &placement;
    }
    ASSERT_NE(expected, nullptr) << "no expectation for a " << screenWidth << "x" << screenHeight
                                 << " screen";
    EXPECT_EQ(window.rect.left, expected->left);
    EXPECT_EQ(window.rect.top, expected->top);
    EXPECT_EQ(window.rect.right - window.rect.left, 361);
    EXPECT_EQ(window.rect.bottom - window.rect.top, 238);

    EXPECT_EQ(window.text, L"Tessaril");
    const LONG wanted = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_VISIBLE;
    const LONG unwanted = WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_POPUP | WS_CHILD |
                          WS_DISABLED | WS_VSCROLL | WS_HSCROLL;
    EXPECT_EQ(window.style & wanted, wanted);
    EXPECT_EQ(window.style & unwanted, 0);
    // Nothing but what the system adds to every framed window by itself.
    EXPECT_EQ(window.exStyle & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_EQ(GetWindow(tool.window(), GW_OWNER), nullptr);

    const ControlExpectation controls[] = {
        {L"TransLabel", L"更多轩辕剑6好工具好秘籍尽在：Korvan第一单机游戏论坛", {18, 180, 347, 200}},
        {L"TransLabel", L"方法原理:@Lunwick", {32, 144, 152, 164}},
        {L"TransLabel", L"程序制作:@Berrisa", {224, 144, 320, 164}},
        {L"Button", L"恢复开场动画", {200, 56, 296, 88}},
        {L"Button", L"关闭开场动画", {48, 56, 144, 88}},
    };
    const std::vector<HWND> children = childrenOf(tool.window());
    ASSERT_EQ(children.size(), std::size(controls));
    for (size_t i = 0; i < children.size(); ++i) {
        const WindowFacts child = factsOf(children[i]);
        SCOPED_TRACE(i);
        EXPECT_EQ(_wcsicmp(child.className.c_str(), controls[i].className), 0);
        EXPECT_EQ(child.text, controls[i].caption);
        const RECT rect = rectInParent(children[i]);
        EXPECT_EQ(rect.left, controls[i].rect.left);
        EXPECT_EQ(rect.top, controls[i].rect.top);
        EXPECT_EQ(rect.right, controls[i].rect.right);
        EXPECT_EQ(rect.bottom, controls[i].rect.bottom);
        EXPECT_TRUE(child.style & WS_VISIBLE);
        EXPECT_FALSE(child.style & WS_DISABLED);
        const bool button = controls[i].className == std::wstring(L"Button");
        EXPECT_EQ((child.style & WS_TABSTOP) != 0, button);
        if (button) {
            EXPECT_EQ(child.style & BS_TYPEMASK, BS_PUSHBUTTON);
            EXPECT_EQ(child.style & (BS_CENTER | BS_VCENTER | BS_MULTILINE),
                      BS_CENTER | BS_VCENTER | BS_MULTILINE);
        }
    }
    EXPECT_EQ(tool.focus(), tool.control(L"关闭开场动画"));
}

} // namespace
