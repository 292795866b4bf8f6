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
        {1024, 768, 331, 265},
        {1366, 768, 502, 265},
        {1920, 1080, 779, 421},
        {320, 240, -20, 1},
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
        {L"TransLabel",
         L"更多轩辕剑6好工具好秘籍尽在：Korvan第一单机游戏论坛",
         {18, 180, 347, 200}},
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

// A message as the patcher shows it: one OK button, no icon, no owner, and the window takes
// no input while it is shown.
void expectPlainTaskModalBox(const RunningTool& tool, const MessageBoxSeen& box) {
    ASSERT_NE(box.box, nullptr) << "no message box";
    EXPECT_EQ(box.buttons.size(), 1u);
    EXPECT_NE(GetDlgItem(box.box, IDOK), nullptr);
    EXPECT_FALSE(box.hasIcon);
    EXPECT_EQ(GetWindow(box.box, GW_OWNER), nullptr);
    EXPECT_FALSE(IsWindowEnabled(tool.window()));
}

TEST(MainWindow, TheButtonsTurnTheMoviesOffAndBackOn) {
    GameFolder folder;
    folder.addMarker();
    folder.addShippedMovies();
    Bytes shipped[moviePatchCount];
    for (unsigned row = 0; row < moviePatchCount; ++row)
        shipped[row] = folder.movie(row);
    RunningTool tool(folder.path());

    clickAt(centreOf(tool.control(L"关闭开场动画")));
    MessageBoxSeen box = tool.waitForMessageBox();
    EXPECT_EQ(box.title, L"提示");
    EXPECT_EQ(box.text, L"关闭成功");
    expectPlainTaskModalBox(tool, box);
    for (unsigned row = 0; row < moviePatchCount; ++row)
        EXPECT_EQ(folder.movie(row),
                  withColumn(shipped[row], moviePatchTable[row], MovieState::TurnedOff));
    tool.dismiss(box);
    // The window takes input again, with the focus where it was.
    EXPECT_TRUE(IsWindowEnabled(tool.window()));
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == tool.window(); }));
    EXPECT_TRUE(waitUntil([&] { return tool.focus() == tool.control(L"关闭开场动画"); }));

    clickAt(centreOf(tool.control(L"恢复开场动画")));
    box = tool.waitForMessageBox();
    EXPECT_EQ(box.title, L"提示");
    EXPECT_EQ(box.text, L"恢复成功");
    for (unsigned row = 0; row < moviePatchCount; ++row)
        EXPECT_EQ(folder.movie(row), shipped[row]);
    tool.dismiss(box);
}

TEST(MainWindow, WithoutTheGameBesideItAsksToBePutThere) {
    GameFolder folder;
    folder.addShippedMovies();
    RunningTool tool(folder.path());
    for (const wchar_t* button : {L"关闭开场动画", L"恢复开场动画"}) {
        clickAt(centreOf(tool.control(button)));
        const MessageBoxSeen box = tool.waitForMessageBox();
        EXPECT_EQ(box.title, L"注意");
        EXPECT_EQ(box.text, L"请把我放在游戏目录下运行，如果您不清楚在哪，请全盘搜索文件名SWD6.exe "
                            L"并和它放在一块");
        expectPlainTaskModalBox(tool, box);
        tool.dismiss(box);
    }
    for (unsigned row = 0; row < moviePatchCount; ++row)
        EXPECT_EQ(folder.movie(row), shippedMovieFile(moviePatchTable[row]));
}

TEST(MainWindow, SaysWhichFileWasLeftAloneAndWhy) {
    GameFolder folder;
    folder.addMarker();
    folder.addShippedMovies();
    RunningTool tool(folder.path());
    // The game holds one movie open.
    HANDLE held = CreateFileW(folder.moviePath(1).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    clickAt(centreOf(tool.control(L"关闭开场动画")));
    const MessageBoxSeen box = tool.waitForMessageBox();
    CloseHandle(held);
    EXPECT_EQ(box.title, L"注意");
    EXPECT_NE(box.text.find(L"assetbundles\\Movie\\Opening_S.unity3d：文件正被其他程序占用"),
              std::wstring::npos);
    EXPECT_NE(box.text.find(L"已修改的文件：\r\nassetbundles\\Movie\\LOGO.unity3d\r\n"
                            L"assetbundles\\Movie\\TOTEM_LOGO.unity3d"),
              std::wstring::npos);
    EXPECT_EQ(box.text.find(L"成功"), std::wstring::npos);
    expectPlainTaskModalBox(tool, box);
    EXPECT_EQ(folder.movie(1), shippedMovieFile(moviePatchTable[1]));
    tool.dismiss(box);
}

// The game folder is the folder of the program file, whatever its name holds and whatever
// folder the program was started from.
TEST(MainWindow, FindsTheGameInItsOwnFolder) {
    struct Case {
        std::wstring name;
        bool startedElsewhere;
    };
    const Case cases[] = {
        {L"轩辕剑6", false},
        // 乗 is 81 5C in code page 936: its second byte is the backslash's code.
        {L"乗", false},
        {L"game", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "folder name of " << c.name.size() << " characters"
                                        << (c.startedElsewhere ? ", started elsewhere" : ""));
        GameFolder folder(c.name);
        folder.addMarker();
        folder.addShippedMovies();
        GameFolder elsewhere(L"elsewhere");
        RunningTool tool(folder.path(), c.startedElsewhere ? elsewhere.path() : L"");

        clickAt(centreOf(tool.control(L"关闭开场动画")));
        const MessageBoxSeen box = tool.waitForMessageBox();
        EXPECT_EQ(box.text, L"关闭成功");
        for (unsigned row = 0; row < moviePatchCount; ++row)
            EXPECT_EQ(folder.movie(row), withColumn(shippedMovieFile(moviePatchTable[row]),
                                                    moviePatchTable[row], MovieState::TurnedOff));
        tool.dismiss(box);
    }
}

} // namespace
