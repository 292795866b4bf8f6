#include "platform/form_window.h"

#include <windowsx.h>

#include "platform/trans_label.h"

namespace {

constexpr DWORD formStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD buttonStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
constexpr DWORD labelStyle = WS_CHILD | WS_VISIBLE;

int heldModifiers() {
    int modifiers = 0;
    if (GetKeyState(VK_CONTROL) < 0)
        modifiers |= 1;
    if (GetKeyState(VK_SHIFT) < 0)
        modifiers |= 2;
    if (GetKeyState(VK_MENU) < 0)
        modifiers |= 4;
    return modifiers;
}

bool registerFormClass(HINSTANCE instance, const FormTemplate& form, HICON icon,
                       WNDPROC procedure) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = form.className;
    return RegisterClassExW(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

POINT centredPosition(int screenWidth, int screenHeight, int outerWidth, int outerHeight) {
    // Integer division truncates toward zero, also for a screen narrower than the window.
    return {(screenWidth - outerWidth) / 2, (screenHeight - outerHeight) / 2};
}

Form::~Form() {
    if (window_)
        DestroyWindow(window_);
    if (icon_)
        DestroyIcon(icon_);
}

bool Form::create(HINSTANCE instance, const FormTemplate& form, const FormEvents& events) {
    template_ = &form;
    events_ = events;
    icon_ = static_cast<HICON>(LoadImageW(instance, form.iconName, IMAGE_ICON, 48, 48, 0));
    if (!registerFormClass(instance, form, icon_, windowProc) || !registerTransLabelClass(instance))
        return false;

    const POINT at = centredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                     form.outerWidth, form.outerHeight);
    window_ = CreateWindowExW(0, form.className, form.caption, formStyle, at.x, at.y,
                              form.outerWidth, form.outerHeight, nullptr, nullptr, instance, this);
    if (!window_)
        return false;
    // Some systems shrink a new window to fit a small screen; the form keeps its size.
    RECT outer;
    if (GetWindowRect(window_, &outer) &&
        (outer.right - outer.left != form.outerWidth ||
         outer.bottom - outer.top != form.outerHeight || outer.left != at.x || outer.top != at.y))
        SetWindowPos(window_, nullptr, at.x, at.y, form.outerWidth, form.outerHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    if (icon_) {
        SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    }
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

    for (unsigned i = 0; i < form.controlCount && i < maxFormControls; ++i) {
        const ControlTemplate& c = form.controls[i];
        const bool button = c.kind == ControlKind::Button;
        controls_[i] = CreateWindowExW(
            0, button ? L"BUTTON" : transLabelClassName, c.caption,
            button ? buttonStyle : labelStyle, c.left, c.top, c.width, c.height, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
        // Labels draw in the default GUI font when they are given none.
        if (controls_[i] && button)
            SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    if (events_.created)
        events_.created(*this);
    return true;
}

void Form::show() {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

HWND Form::control(int id) const {
    for (unsigned i = 0; i < template_->controlCount && i < maxFormControls; ++i) {
        if (template_->controls[i].id == id)
            return controls_[i];
    }
    return nullptr;
}

int Form::controlIdOf(HWND control, ControlKind kind) const {
    if (!control)
        return 0;
    for (unsigned i = 0; i < template_->controlCount && i < maxFormControls; ++i) {
        if (controls_[i] == control && template_->controls[i].kind == kind)
            return template_->controls[i].id;
    }
    return 0;
}

int Form::runMessageLoop() {
    MSG message;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (got == -1)
            return 1;
        if (preDispatch(message))
            continue;
        // Alt with a letter chooses nothing: no caption has a mnemonic, and the window has no
        // menu to open. Alt+F4 and Alt+Space still reach the system.
        const bool altLetter =
            message.message == WM_SYSKEYDOWN && ((message.wParam >= 'A' && message.wParam <= 'Z') ||
                                                 (message.wParam >= '0' && message.wParam <= '9'));
        if (!altLetter)
            TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool Form::preDispatch(const MSG& message) {
    if (!window_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd)))
        return false;
    if (message.message == WM_LBUTTONDOWN) {
        const int label = controlIdOf(message.hwnd, ControlKind::TransLabel);
        if (label && events_.labelPressed)
            events_.labelPressed(*this, label, GET_X_LPARAM(message.lParam),
                                 GET_Y_LPARAM(message.lParam), heldModifiers());
        return false; // the press still reaches the label
    }
    if (message.message != WM_KEYDOWN)
        return false;
    switch (message.wParam) {
    case VK_ESCAPE:
        if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0)
            return false;
        SendMessageW(window_, WM_CLOSE, 0, 0);
        return true;
    case VK_TAB: {
        HWND next = GetNextDlgTabItem(window_, GetFocus(), GetKeyState(VK_SHIFT) < 0);
        if (next)
            SetFocus(next);
        return true;
    }
    case VK_RETURN:
    case VK_F1:
        return true;
    default:
        return false;
    }
}

void Form::focusRememberedControl() {
    HWND target = rememberedFocus_;
    rememberedFocus_ = nullptr;
    if (!target || !IsWindow(target) || !IsChild(window_, target))
        target = control(template_->firstFocusId);
    if (target)
        SetFocus(target);
}

LRESULT CALLBACK Form::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Form* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    return form ? form->handle(message, wParam, lParam)
                : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Form::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int button = controlIdOf(reinterpret_cast<HWND>(lParam), ControlKind::Button);
        if (button && HIWORD(wParam) == BN_CLICKED && events_.clicked)
            events_.clicked(*this, button);
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window_, focus))
                rememberedFocus_ = focus;
        }
        break;
    case WM_SETFOCUS:
        focusRememberedControl();
        return 0;
    case WM_GETMINMAXINFO: {
        // Let the window keep its size on a screen smaller than it.
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        if (template_) {
            if (limits->ptMaxTrackSize.x < template_->outerWidth)
                limits->ptMaxTrackSize.x = template_->outerWidth;
            if (limits->ptMaxTrackSize.y < template_->outerHeight)
                limits->ptMaxTrackSize.y = template_->outerHeight;
        }
        return 0;
    }
    case WM_DESTROY:
        if (events_.destroying)
            events_.destroying(*this);
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        HWND window = window_;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}
