#include <windows.h>

#include "platform/text.h"

namespace {

// A text the program cannot allocate leaves it nothing sensible to do: end it plainly.
[[noreturn]] void outOfMemory() {
    FatalAppExitW(0, L"内存不足。");
    ExitProcess(ERROR_NOT_ENOUGH_MEMORY);
}

} // namespace

Text::Text(Text&& other) noexcept
    : data_(other.data_), length_(other.length_), capacity_(other.capacity_) {
    other.data_ = nullptr;
    other.length_ = other.capacity_ = 0;
}

Text& Text::operator=(Text&& other) noexcept {
    if (this != &other) {
        release();
        data_ = other.data_;
        length_ = other.length_;
        capacity_ = other.capacity_;
        other.data_ = nullptr;
        other.length_ = other.capacity_ = 0;
    }
    return *this;
}

void Text::reserve(size_t count) {
    if (count < capacity_)
        return;
    size_t capacity = capacity_ ? capacity_ : 32;
    while (capacity <= count)
        capacity *= 2;
    HANDLE heap = GetProcessHeap();
    const size_t bytes = capacity * sizeof(wchar_t);
    void* grown = data_ ? HeapReAlloc(heap, 0, data_, bytes) : HeapAlloc(heap, 0, bytes);
    if (!grown)
        outOfMemory();
    data_ = static_cast<wchar_t*>(grown);
    capacity_ = capacity;
}

Text& Text::append(const wchar_t* text) {
    return append(text, text ? lstrlenW(text) : 0);
}

Text& Text::append(const wchar_t* text, size_t count) {
    reserve(length_ + count);
    if (count)
        CopyMemory(data_ + length_, text, count * sizeof(wchar_t));
    length_ += count;
    data_[length_] = L'\0';
    return *this;
}

Text& Text::appendNumber(unsigned long value) {
    wchar_t digits[12];
    size_t at = sizeof digits / sizeof digits[0];
    do {
        digits[--at] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value);
    return append(digits + at, sizeof digits / sizeof digits[0] - at);
}

void Text::setLength(size_t count) {
    if (!data_)
        return;
    length_ = count < capacity_ ? count : capacity_ - 1;
    data_[length_] = L'\0';
}

wchar_t* Text::bufferFor(size_t count) {
    reserve(count);
    return data_;
}

void Text::release() {
    if (data_)
        HeapFree(GetProcessHeap(), 0, data_);
    data_ = nullptr;
    length_ = capacity_ = 0;
}

bool Text::equals(const wchar_t* text) const {
    const wchar_t* mine = c_str();
    if (!text)
        text = L"";
    while (*mine && *mine == *text) {
        ++mine;
        ++text;
    }
    return *mine == *text;
}
