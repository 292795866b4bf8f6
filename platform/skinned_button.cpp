#include "platform/skinned_button.h"

#include "platform/handles.h"
#include "platform/text.h"

namespace {

const wchar_t originalProcProperty[] = L"Tessaril.Skin.OriginalProc";
const wchar_t hotProperty[] = L"Tessaril.Skin.Hot";

// The skin's hook on the thread: it is what makes buttons created later skinned too.
class SkinHook {
  public:
    ~SkinHook() { remove(); }
    bool on() const { return hook_ != nullptr; }
    void install(HOOKPROC procedure) {
        if (!hook_)
            hook_ = SetWindowsHookExW(WH_CBT, procedure, nullptr, GetCurrentThreadId());
    }
    void remove() {
        if (hook_)
            UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
    }

  private:
    HHOOK hook_ = nullptr;
};

SkinHook skinHook;

bool isPushButton(const wchar_t* className, LONG_PTR style) {
    const LONG_PTR type = style & BS_TYPEMASK;
    return lstrcmpiW(className, L"Button") == 0 &&
           (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

bool isPushButton(HWND window) {
    wchar_t className[16];
    return GetClassNameW(window, className, 16) &&
           isPushButton(className, GetWindowLongPtrW(window, GWL_STYLE));
}

WNDPROC originalProc(HWND button) {
    return reinterpret_cast<WNDPROC>(GetPropW(button, originalProcProperty));
}

// One channel of a vertical gradient from `top` (at step 0) to `bottom` (at step `last`).
BYTE blend(BYTE top, BYTE bottom, int step, int last) {
    return last <= 0 ? top : static_cast<BYTE>(top + (bottom - top) * step / last);
}

DWORD pixelOf(COLORREF colour) { // a 32-bit DIB pixel: blue, green, red, unused
    return GetBValue(colour) | GetGValue(colour) << 8 | GetRValue(colour) << 16;
}

DWORD gradientPixel(COLORREF top, COLORREF bottom, int step, int last) {
    return pixelOf(RGB(blend(GetRValue(top), GetRValue(bottom), step, last),
                       blend(GetGValue(top), GetGValue(bottom), step, last),
                       blend(GetBValue(top), GetBValue(bottom), step, last)));
}

struct ButtonState {
    bool pressed, hot, focused, enabled;
};

// From the edge inwards: a 1-pixel margin in the button face colour, a 1-pixel border with
// its four corners cut, a 2-pixel band and the face, each coloured by the button's state.
void paintFrame(DWORD* pixels, int width, int height, const ButtonState& state) {
    COLORREF bandTop = skin::bandTop, bandBottom = skin::bandBottom;
    if (state.pressed)
        bandTop = bandBottom = skin::pressed;
    else if (state.hot || state.focused)
        bandTop = skin::hotBandTop, bandBottom = skin::hotBandBottom;
    const COLORREF faceTop = state.pressed ? skin::pressed : skin::faceTop;
    const COLORREF faceBottom = state.pressed ? skin::pressed : skin::faceBottom;
    const DWORD margin = pixelOf(GetSysColor(COLOR_BTNFACE));
    const DWORD border = pixelOf(skin::border);

    for (int y = 0; y < height; ++y) {
        DWORD* row = pixels + y * width;
        const DWORD band = gradientPixel(bandTop, bandBottom, y - 2, height - 5);
        const DWORD face = gradientPixel(faceTop, faceBottom, y - 4, height - 9);
        for (int x = 0; x < width; ++x) {
            const int fromEdgeX = x < width - 1 - x ? x : width - 1 - x;
            const int fromEdgeY = y < height - 1 - y ? y : height - 1 - y;
            const int fromEdge = fromEdgeX < fromEdgeY ? fromEdgeX : fromEdgeY;
            DWORD pixel = margin;
            if (fromEdge == 1)
                pixel = fromEdgeX == 1 && fromEdgeY == 1 ? margin : border; // cut corners
            else if (fromEdge == 2 || fromEdge == 3)
                pixel = band;
            else if (fromEdge >= 4)
                pixel = face;
            row[x] = pixel;
        }
    }
}

void paintCaption(HWND button, HDC dc, int width, int height, const ButtonState& state) {
    const int length = GetWindowTextLengthW(button);
    if (length <= 0)
        return;
    Text caption;
    caption.setLength(GetWindowTextW(button, caption.bufferFor(length), length + 1));
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(button, WM_GETFONT, 0, 0));
    SelectedObject selected(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, state.enabled ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT));

    RECT face = {4, 4, width - 4, height - 4};
    RECT measured = face;
    const UINT format = DT_CENTER | DT_WORDBREAK | DT_HIDEPREFIX;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.length()), &measured,
              format | DT_CALCRECT);
    const int textHeight = measured.bottom - measured.top;
    RECT text = face;
    text.top = face.top + (face.bottom - face.top - textHeight) / 2;
    text.bottom = text.top + textHeight;
    if (state.pressed)
        OffsetRect(&text, 1, 1);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.length()), &text, format);
}

void paintButton(HWND button, HDC target) {
    RECT client;
    GetClientRect(button, &client);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0)
        return;
    const LRESULT buttonState = SendMessageW(button, BM_GETSTATE, 0, 0);
    const ButtonState state = {(buttonState & BST_PUSHED) != 0,
                               GetPropW(button, hotProperty) != nullptr, GetFocus() == button,
                               IsWindowEnabled(button) != FALSE};

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    MemoryDC memory(target);
    GdiObject<HBITMAP> bitmap(CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory.get() || !bitmap)
        return;
    SelectedObject selected(memory.get(), bitmap.get());
    paintFrame(static_cast<DWORD*>(bits), width, height, state);
    GdiFlush();
    paintCaption(button, memory.get(), width, height, state);
    if (state.focused) {
        RECT focus = {3, 3, width - 3, height - 3};
        SetTextColor(memory.get(), RGB(0, 0, 0));
        SetBkColor(memory.get(), RGB(255, 255, 255));
        DrawFocusRect(memory.get(), &focus);
    }
    BitBlt(target, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

void repaintNow(HWND button) {
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// Messages after which the button's own code may have drawn it in its plain look.
bool changesLook(UINT message) {
    switch (message) {
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case BM_SETCHECK:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_UPDATEUISTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
        return true;
    default:
        return false;
    }
}

void unskin(HWND button);

LRESULT CALLBACK skinnedButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC original = originalProc(button);
    if (!original)
        return DefWindowProcW(button, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: {
        PaintScope paint(button);
        paintButton(button, paint.dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        paintButton(button, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        if (!GetPropW(button, hotProperty) && !(wParam & MK_LBUTTON)) {
            SetPropW(button, hotProperty, reinterpret_cast<HANDLE>(1));
            TRACKMOUSEEVENT leave = {sizeof leave, TME_LEAVE, button, 0};
            TrackMouseEvent(&leave);
            repaintNow(button);
        }
        break;
    case WM_MOUSELEAVE:
        RemovePropW(button, hotProperty);
        repaintNow(button);
        break;
    case WM_NCDESTROY:
        unskin(button);
        return CallWindowProcW(original, button, message, wParam, lParam);
    }
    const LRESULT result = CallWindowProcW(original, button, message, wParam, lParam);
    if (changesLook(message) && IsWindowVisible(button))
        repaintNow(button);
    return result;
}

void skin(HWND button) {
    if (originalProc(button))
        return;
    const LONG_PTR original = GetWindowLongPtrW(button, GWLP_WNDPROC);
    if (!original || !SetPropW(button, originalProcProperty, reinterpret_cast<HANDLE>(original)))
        return; // the button keeps its plain look
    SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(skinnedButtonProc));
}

void unskin(HWND button) {
    const WNDPROC original = originalProc(button);
    if (!original)
        return;
    SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropW(button, originalProcProperty);
    RemovePropW(button, hotProperty);
}

LRESULT CALLBACK skinCreatedButtons(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        // The class may be given as an atom; the new window knows its name.
        HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t className[16];
        if (GetClassNameW(window, className, 16) &&
            isPushButton(className, reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->style))
            skin(window);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK applyToButton(HWND window, LPARAM on) {
    if (isPushButton(window)) {
        if (on)
            skin(window);
        else
            unskin(window);
        InvalidateRect(window, nullptr, TRUE);
    }
    return TRUE;
}

BOOL CALLBACK applyToWindowTree(HWND window, LPARAM on) {
    applyToButton(window, on);
    EnumChildWindows(window, applyToButton, on);
    return TRUE;
}

} // namespace

void setSkinScheme(int scheme) {
    const bool on = scheme >= 1 && scheme <= 3;
    if (on)
        skinHook.install(skinCreatedButtons);
    else
        skinHook.remove();
    EnumThreadWindows(GetCurrentThreadId(), applyToWindowTree, on);
}
