#include "platform/trans_label.h"

#include "platform/handles.h"
#include "platform/text.h"

const wchar_t transLabelClassName[] = L"TransLabel";

namespace {

// The font a label made for itself, kept in its window data; null until it is given one.
HFONT ownFont(HWND label) {
    return reinterpret_cast<HFONT>(GetWindowLongPtrW(label, GWLP_USERDATA));
}

void replaceOwnFont(HWND label, HFONT font) {
    GdiObject<HFONT> previous(ownFont(label));
    SetWindowLongPtrW(label, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(font));
}

void setFontDescription(HWND label, const LOGFONTW& description) {
    LOGFONTW font = description;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH;
    HFONT created = CreateFontIndirectW(&font);
    if (!created)
        return; // the label keeps drawing with its previous font
    replaceOwnFont(label, created);
    InvalidateRect(label, nullptr, TRUE);
}

void paint(HWND label) {
    PaintScope paint(label);
    RECT area;
    GetClientRect(label, &area);
    // No background of its own: what shows through is the parent's plain background.
    HWND parent = GetParent(label);
    HBRUSH background =
        parent ? reinterpret_cast<HBRUSH>(GetClassLongPtrW(parent, GCLP_HBRBACKGROUND)) : nullptr;
    if (background)
        FillRect(paint.dc(), &area, background);

    const int length = GetWindowTextLengthW(label);
    if (length <= 0)
        return;
    Text caption;
    caption.setLength(GetWindowTextW(label, caption.bufferFor(length), length + 1));

    HFONT font = ownFont(label);
    SelectedObject selected(paint.dc(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(paint.dc(), TRANSPARENT);
    SetTextColor(paint.dc(), transLabelTextColour);
    DrawTextW(paint.dc(), caption.c_str(), static_cast<int>(caption.length()), &area,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
}

LRESULT CALLBACK transLabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paint(label);
        return 0;
    case WM_ERASEBKGND:
        return 1; // painted with the text, in one go
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(label, message, wParam, lParam);
        InvalidateRect(label, nullptr, TRUE);
        return result;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(ownFont(label));
    case transLabelSetFontDescription:
        if (lParam)
            setFontDescription(label, *reinterpret_cast<const LOGFONTW*>(lParam));
        return 0;
    case WM_NCDESTROY:
        replaceOwnFont(label, nullptr);
        break;
    }
    return DefWindowProcW(label, message, wParam, lParam);
}

} // namespace

bool registerTransLabelClass(HINSTANCE instance) {
    WNDCLASSEXW labelClass = {};
    labelClass.cbSize = sizeof labelClass;
    labelClass.style = CS_DBLCLKS;
    labelClass.lpfnWndProc = transLabelProc;
    labelClass.hInstance = instance;
    labelClass.hCursor = LoadCursorW(nullptr, IDC_HAND);
    labelClass.hbrBackground = nullptr;
    labelClass.lpszClassName = transLabelClassName;
    return RegisterClassExW(&labelClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
