// The skin of the program's push buttons: every push button of the thread, those that exist
// and those created later (the OK buttons of message boxes too), is painted in the skin's
// look while it is on. Buttons keep their behaviour; only their painting changes.
#pragma once

#include <windows.h>

// 1, 2 or 3 switches the skin on with that scheme; any other value switches it off and gives
// the buttons their plain look back. Only scheme 2's look is drawn; 1 and 3 draw it too.
void setSkinScheme(int scheme);

// The look of one skinned button in scheme 2.
namespace skin {
constexpr COLORREF border = RGB(55, 98, 6);
constexpr COLORREF faceTop = RGB(252, 252, 251);
constexpr COLORREF faceBottom = RGB(236, 225, 201);
constexpr COLORREF pressed = RGB(239, 227, 206);
constexpr COLORREF hotBandTop = RGB(255, 240, 207);
constexpr COLORREF hotBandBottom = RGB(229, 151, 0);
constexpr COLORREF bandTop = RGB(255, 255, 255);
constexpr COLORREF bandBottom = RGB(226, 223, 214);
} // namespace skin
