// Switching the button skin on and off in this test's own windows.
#include <gtest/gtest.h>

#include "platform/skinned_button.h"

namespace {

void pump() {
    for (int i = 0; i < 20; ++i) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

COLORREF pixelOf(HWND window, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

struct TestWindow {
    HWND window;
    TestWindow() {
        window = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"skin", WS_POPUP | WS_VISIBLE, 100, 100,
                                 300, 200, nullptr, nullptr, nullptr, nullptr);
    }
    ~TestWindow() { DestroyWindow(window); }
    HWND add(const wchar_t* className, DWORD style, int left, int top) {
        return CreateWindowExW(0, className, L"按钮", WS_CHILD | WS_VISIBLE | style, left, top, 96,
                               32, window, nullptr, nullptr, nullptr);
    }
};

TEST(SkinScheme, SkinsPushButtonsOnlyIncludingThoseCreatedLaterAndCanBeSwitchedOff) {
    TestWindow test;
    const HWND before = test.add(L"BUTTON", BS_PUSHBUTTON, 10, 10);
    pump();
    EXPECT_NE(pixelOf(before, 1, 16), skin::border) << "skinned before the skin was on";

    setSkinScheme(2);
    const HWND later = test.add(L"Button", BS_DEFPUSHBUTTON, 10, 60);
    const HWND checkBox = test.add(L"BUTTON", BS_AUTOCHECKBOX, 150, 10);
    pump();
    EXPECT_EQ(pixelOf(before, 1, 16), skin::border);
    EXPECT_EQ(pixelOf(later, 1, 16), skin::border);
    EXPECT_NE(pixelOf(checkBox, 1, 16), skin::border) << "only push buttons are skinned";

    for (int off : {0, 4, -1}) {
        setSkinScheme(off);
        const HWND plain = test.add(L"BUTTON", BS_PUSHBUTTON, 150, 60);
        pump();
        EXPECT_NE(pixelOf(before, 1, 16), skin::border) << off;
        EXPECT_NE(pixelOf(later, 1, 16), skin::border) << off;
        EXPECT_NE(pixelOf(plain, 1, 16), skin::border) << off;
        DestroyWindow(plain);
        setSkinScheme(2);
        pump();
        EXPECT_EQ(pixelOf(before, 1, 16), skin::border);
    }
    setSkinScheme(0);
}

} // namespace
