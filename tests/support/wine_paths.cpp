#include "tests/support/wine_paths.h"

#include <windows.h>

std::wstring windowsPathOf(const char* unixPath) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, nullptr, 0);
    std::wstring path(length > 0 ? length - 1 : 0, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, path.data(), length);
    for (wchar_t& c : path) {
        if (c == L'/')
            c = L'\\';
    }
    return L"Z:" + path;
}

std::string unixPathOf(const std::wstring& windowsPath) {
    std::string path;
    for (wchar_t c : windowsPath.substr(2)) // past "Z:"
        path += c == L'\\' ? '/' : static_cast<char>(c);
    return path;
}
