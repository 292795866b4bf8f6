// Removing a temporary folder with everything below it, read-only files included.
#pragma once

#include <string>

void removeTree(const std::wstring& path);
