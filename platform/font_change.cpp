#include "platform/font_change.h"

#include "platform/trans_label.h"

void underlineLabelFont(HWND label) {
    HGDIOBJ current = reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0));
    if (!current)
        current = GetStockObject(DEFAULT_GUI_FONT);
    LOGFONTW description;
    if (GetObjectW(current, sizeof description, &description) != sizeof description)
        return; // no description to change: the label keeps its font
    description.lfUnderline = TRUE;
    SendMessageW(label, transLabelSetFontDescription, 0, reinterpret_cast<LPARAM>(&description));
}
