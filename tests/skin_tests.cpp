// The skinned buttons as a person sees them, read from the screen's pixels.
#include <gtest/gtest.h>

#include "platform/skinned_button.h"
#include "tests/support/game_files.h"
#include "tests/support/tool_driver.h"

namespace {

const wchar_t turnOff[] = L"关闭开场动画";
const wchar_t restore[] = L"恢复开场动画";

std::string colourText(COLORREF colour) {
    char text[32];
    snprintf(text, sizeof text, "RGB(%d, %d, %d)", GetRValue(colour), GetGValue(colour),
             GetBValue(colour));
    return text;
}

#define EXPECT_PIXEL(window, x, y, colour)                                                         \
    EXPECT_EQ(colourText(clientPixel(window, x, y)), colourText(colour))                           \
        << "at (" << (x) << ", " << (y) << ")"

SIZE clientSize(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

// The frame every skinned button has, whatever its state: margin, border, cut corners.
void expectFrame(HWND button) {
    const SIZE size = clientSize(button);
    const int w = size.cx, h = size.cy;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_PIXEL(button, 0, h / 2, face);
    EXPECT_PIXEL(button, w / 2, 0, face);
    for (POINT border : {POINT{1, h / 2}, POINT{w - 2, h / 2}, POINT{w / 2, 1}, POINT{w / 2, h - 2},
                         POINT{2, 1}, POINT{1, 2}})
        EXPECT_PIXEL(button, border.x, border.y, skin::border);
    for (POINT corner : {POINT{1, 1}, POINT{w - 2, 1}, POINT{1, h - 2}, POINT{w - 2, h - 2}})
        EXPECT_PIXEL(button, corner.x, corner.y, face);
}

void expectBand(HWND button, COLORREF top, COLORREF bottom) {
    const SIZE size = clientSize(button);
    EXPECT_PIXEL(button, size.cx / 2, 2, top);
    EXPECT_PIXEL(button, size.cx / 2, size.cy - 3, bottom);
}

// How many pixels of the row just inside the band differ from the band there: the dots of
// the focus rectangle.
int focusDots(HWND button) {
    const SIZE size = clientSize(button);
    const COLORREF band = clientPixel(button, 2, 3);
    int dots = 0;
    for (int x = 8; x < size.cx - 8; ++x)
        dots += clientPixel(button, x, 3) != band;
    return dots;
}

// The bounding box of the caption's dark pixels.
RECT captionBox(HWND button) {
    const SIZE size = clientSize(button);
    RECT box = {size.cx, size.cy, -1, -1};
    for (int y = 4; y < size.cy - 4; ++y) {
        for (int x = 4; x < size.cx - 4; ++x) {
            const COLORREF c = clientPixel(button, x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 240) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x);
                box.bottom = std::max<LONG>(box.bottom, y);
            }
        }
    }
    return box;
}

struct Tool {
    GameFolder folder;
    RunningTool tool{folder.path()};
    Tool() { moveMouseTo({2, 2}); }
};

TEST(Skin, NormalAndFocusedButtons) {
    Tool t;
    const HWND focused = t.tool.control(turnOff), normal = t.tool.control(restore);
    for (HWND button : {focused, normal}) {
        expectFrame(button);
        const SIZE size = clientSize(button);
        EXPECT_PIXEL(button, 6, 4, skin::faceTop);
        EXPECT_PIXEL(button, 6, size.cy - 5, skin::faceBottom);
    }
    expectBand(normal, skin::bandTop, skin::bandBottom);
    EXPECT_EQ(focusDots(normal), 0);
    expectBand(focused, skin::hotBandTop, skin::hotBandBottom);
    EXPECT_GT(focusDots(focused), 20);

    // The focus moves: the looks swap at once.
    pressKey(VK_TAB);
    ASSERT_TRUE(waitUntil([&] { return t.tool.focus() == normal; }));
    settle(200);
    expectBand(normal, skin::hotBandTop, skin::hotBandBottom);
    expectBand(focused, skin::bandTop, skin::bandBottom);
    EXPECT_EQ(focusDots(focused), 0);
}

TEST(Skin, TheButtonUnderThePointerShowsTheOrangeBand) {
    Tool t;
    const HWND button = t.tool.control(restore);
    moveMouseTo(centreOf(button));
    EXPECT_TRUE(waitUntil([&] { return clientPixel(button, 48, 2) == skin::hotBandTop; }, 3000));
    expectBand(button, skin::hotBandTop, skin::hotBandBottom);
    moveMouseTo({2, 2});
    EXPECT_TRUE(waitUntil([&] { return clientPixel(button, 48, 2) == skin::bandTop; }, 3000));
    expectBand(button, skin::bandTop, skin::bandBottom);
}

TEST(Skin, APressedButtonIsFlatWithItsCaptionOnePixelLowerAndRight) {
    Tool t;
    const HWND button = t.tool.control(restore);
    const RECT normal = captionBox(button);
    ASSERT_GE(normal.right, normal.left) << "no caption seen";

    leftDownAt(centreOf(button));
    settle(200);
    const SIZE size = clientSize(button);
    expectFrame(button);
    expectBand(button, skin::pressed, skin::pressed);
    EXPECT_PIXEL(button, 6, 4, skin::pressed);
    EXPECT_PIXEL(button, 6, size.cy - 5, skin::pressed);
    const RECT pressed = captionBox(button);
    EXPECT_EQ(pressed.left, normal.left + 1);
    EXPECT_EQ(pressed.top, normal.top + 1);
    EXPECT_EQ(pressed.right, normal.right + 1);
    EXPECT_EQ(pressed.bottom, normal.bottom + 1);

    // Released away from the button: no click, and the button is drawn unpressed again.
    leftUpAt({2, 2});
    settle();
    EXPECT_FALSE(t.tool.messageBoxShown());
    EXPECT_PIXEL(button, 6, 4, skin::faceTop);
}

TEST(Skin, TheMessageBoxOkButtonIsSkinnedTheSameWay) {
    Tool t; // no game beside it: the button brings up the "put me in the game folder" box
    clickAt(centreOf(t.tool.control(turnOff)));
    const MessageBoxSeen box = t.tool.waitForMessageBox();
    ASSERT_NE(box.box, nullptr);
    const HWND ok = GetDlgItem(box.box, IDOK);
    ASSERT_NE(ok, nullptr);
    moveMouseTo({2, 2});
    settle(200);
    expectFrame(ok);
    const SIZE size = clientSize(ok);
    EXPECT_PIXEL(ok, 6, 4, skin::faceTop);
    EXPECT_PIXEL(ok, 6, size.cy - 5, skin::faceBottom);
    // The box gives its only button the focus.
    expectBand(ok, skin::hotBandTop, skin::hotBandBottom);
    t.tool.dismiss(box);
}

} // namespace
