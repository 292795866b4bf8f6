// Owners for the Windows handles the program creates: each frees what it holds, once.
#pragma once

#include <windows.h>

// A kernel handle that knows both of Windows' invalid values.
class KernelHandle {
  public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    KernelHandle(KernelHandle&& other) noexcept : handle_(other.handle_) {
        other.handle_ = nullptr;
    }
    KernelHandle& operator=(KernelHandle&& other) noexcept {
        if (this != &other) {
            close();
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    ~KernelHandle() { close(); }

    bool valid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    // Closing a handle that was only read from cannot lose data; the result is not needed.
    void close() {
        if (valid())
            CloseHandle(handle_);
        handle_ = nullptr;
    }

  private:
    HANDLE handle_ = nullptr;
};

// A GDI object (font, brush, pen, bitmap) deleted with its owner.
template <typename T> class GdiObject {
  public:
    GdiObject() = default;
    explicit GdiObject(T object) : object_(object) {}
    GdiObject(GdiObject&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            reset(other.object_);
            other.object_ = nullptr;
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { reset(nullptr); }

    T get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    void reset(T object) {
        if (object_)
            DeleteObject(object_);
        object_ = object;
    }

  private:
    T object_ = nullptr;
};

// Selects an object into a DC and puts the previous one back.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A memory DC compatible with another.
class MemoryDC {
  public:
    explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC() {
        if (dc_)
            DeleteDC(dc_);
    }
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintScope {
  public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(window_, &paint_); }
    HDC dc() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_;
    HDC dc_;
};
