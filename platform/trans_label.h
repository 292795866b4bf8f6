// A transparent link-style label: one line of text in a fixed colour, centred both ways and
// cut at the label's edges, with no background of its own and the pointing hand over it.
#pragma once

#include <windows.h>

extern const wchar_t transLabelClassName[];

// The label's text colour.
constexpr COLORREF transLabelTextColour = RGB(0, 136, 255);

// Hands the label a font description (lParam: const LOGFONTW*); the label draws with a font
// made from it, with the default character set, proof quality and default pitch.
constexpr UINT transLabelSetFontDescription = WM_USER + 1;

bool registerTransLabelClass(HINSTANCE instance);
