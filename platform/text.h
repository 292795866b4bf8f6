// A growable UTF-16 text that owns its buffer. The program's texts are short and few;
// this keeps the C++ run-time library's string classes, and what they pull in, out of it.
#pragma once

#include <stddef.h>

class Text {
  public:
    Text() = default;
    explicit Text(const wchar_t* text) { append(text); }
    Text(Text&& other) noexcept;
    Text& operator=(Text&& other) noexcept;
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    ~Text() { release(); }

    Text& append(const wchar_t* text);
    Text& append(const wchar_t* text, size_t count);
    Text& append(const Text& text) { return append(text.c_str(), text.length()); }
    Text& appendNumber(unsigned long value);

    // Sets the length after the buffer of bufferFor was filled, or cuts the text short.
    void setLength(size_t count);
    // Frees the buffer; the text is empty afterwards.
    void release();
    // Makes room for `count` characters and a terminator; returns the buffer to fill, whose
    // length the caller then sets with setLength.
    wchar_t* bufferFor(size_t count);

    const wchar_t* c_str() const { return data_ ? data_ : L""; }
    size_t length() const { return length_; }
    bool empty() const { return length_ == 0; }
    bool holdsBuffer() const { return data_ != nullptr; }
    bool equals(const wchar_t* text) const;

  private:
    void reserve(size_t count);

    wchar_t* data_ = nullptr;
    size_t length_ = 0;
    size_t capacity_ = 0;
};
