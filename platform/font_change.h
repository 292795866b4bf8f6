// Changing one field of a control's font while the program runs.
#pragma once

#include <windows.h>

// Switches the underline of a label's font on and keeps every other field: the change starts
// from the label's current font or, when it has none, from the default GUI font.
void underlineLabelFont(HWND label);
