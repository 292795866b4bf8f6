// The Windows services the patcher relies on: the program's folder, files and message boxes.
// All texts are UTF-16; paths are used as given, without normalising.
#pragma once

#include <windows.h>
#include <stdint.h>

#include "platform/handles.h"
#include "platform/text.h"

// The folder of a path: everything before its last backslash, no trailing separator.
// "D:\Games\SWD6\tool.exe" gives "D:\Games\SWD6"; "C:\tool.exe" gives "C:".
Text directoryOf(const wchar_t* path);

// The full path of the program file, however long it is.
Text modulePath();

// The folder that holds the program file, without a trailing separator.
Text runDirectory();

// True when a file or a directory of that name exists.
bool fileExists(const wchar_t* path);

// An open game file; closed with its owner at the latest.
using FileHandle = KernelHandle;

// Opens an existing file to read and write, sharing it with nobody. Never creates a file.
// On failure the handle is empty and `error` holds the system's reason.
FileHandle openExistingReadWrite(const wchar_t* path, DWORD* error);

// The attributes of a file, or INVALID_FILE_ATTRIBUTES with `error` set.
DWORD fileAttributes(const wchar_t* path, DWORD* error);

bool fileSize(const FileHandle& file, uint64_t* size);
bool seekFromStart(const FileHandle& file, uint32_t offset);
// Reads exactly `count` bytes at the position; a short read is a failure.
bool readBytes(const FileHandle& file, uint8_t* bytes, DWORD count);
// Writes exactly `count` bytes at the position; a short write is a failure.
bool writeBytes(const FileHandle& file, const uint8_t* bytes, DWORD count);
// Makes the written bytes reach the disk before the file is closed.
bool flushFile(const FileHandle& file);
void closeFile(FileHandle& file);

// A message box with one OK button and no icon, task-modal, no owner; returns when dismissed.
void showMessage(const wchar_t* text, const wchar_t* title);
