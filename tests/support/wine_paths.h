// Paths between the Unix side, where the build names its files, and the Windows programs
// that Wine runs, which see the Unix root as drive Z:.
#pragma once

#include <string>

// "/work/build/x.exe" as "Z:\work\build\x.exe".
std::wstring windowsPathOf(const char* unixPath);

// "Z:\work\build\x.exe" as "/work/build/x.exe"; the path must be on drive Z: and ASCII.
std::string unixPathOf(const std::wstring& windowsPath);
