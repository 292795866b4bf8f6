// Tessaril's only window: two buttons that turn the opening movies off and back on, and
// three link labels.
#pragma once

#include <windows.h>

class Form;

// Resource name of the program's icon.
constexpr const wchar_t* programIconName = L"DEFAULT_ICON";

// Switches the button skin on and underlines the three labels; runs before the window is
// first shown.
void prepareMainWindow(Form& mainWindow);

// Builds and shows the window, runs it until it is closed, and returns the exit code.
int runMainWindow(HINSTANCE instance);
