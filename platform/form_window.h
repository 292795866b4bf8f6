// A top-level window built from a fixed template: its controls, created in template order,
// its events, and the message loop that raises them. The keyboard works as in a small
// dialog: Esc closes, Tab and Shift+Tab move between tab stops, Enter and F1 do nothing.
#pragma once

#include <windows.h>

enum class ControlKind { Button, TransLabel };

struct ControlTemplate {
    ControlKind kind;
    int id;
    const wchar_t* caption;
    int left, top, width, height; // in the window's client area
};

struct FormTemplate {
    const wchar_t* className;
    const wchar_t* caption;
    int outerWidth, outerHeight; // frame and caption bar included
    const wchar_t* iconName;     // resource name of the window's icon
    int firstFocusId;            // the control that gets the focus when nothing else had it
    const ControlTemplate* controls;
    unsigned controlCount;
};

class Form;

// Handlers of the form's events; any may be null.
struct FormEvents {
    // After the controls exist, before the window is first shown.
    void (*created)(Form& form);
    // While the window is destroyed, before its controls are.
    void (*destroying)(Form& form);
    // A push button was clicked.
    void (*clicked)(Form& form, int controlId);
    // The left mouse button went down on a label: the position in the label and the
    // modifier keys held (1 Ctrl, 2 Shift, 4 Alt). The press then still reaches the label.
    void (*labelPressed)(Form& form, int controlId, int x, int y, int modifiers);
};

constexpr unsigned maxFormControls = 8;

class Form {
  public:
    Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    ~Form();

    // Builds the window, hidden, centred on the primary screen, with its controls, and
    // raises the created event. False if the window could not be created.
    bool create(HINSTANCE instance, const FormTemplate& form, const FormEvents& events);
    // Shows and activates the window; the focus goes to the first-focus control.
    void show();
    // Runs until the window has been destroyed; returns the exit code.
    int runMessageLoop();

    HWND window() const { return window_; }
    HWND control(int id) const;

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Takes the keys and presses that the form handles before the target sees them;
    // true when the message went no further.
    bool preDispatch(const MSG& message);
    int controlIdOf(HWND control, ControlKind kind) const;
    void focusRememberedControl();

    const FormTemplate* template_ = nullptr;
    FormEvents events_ = {};
    HWND window_ = nullptr;
    HWND controls_[maxFormControls] = {};
    HWND rememberedFocus_ = nullptr;
    HICON icon_ = nullptr;
};

// Where a window of that outer size starts, centred on a screen of that size; the left edge
// is negative on a screen narrower than the window.
POINT centredPosition(int screenWidth, int screenHeight, int outerWidth, int outerHeight);
