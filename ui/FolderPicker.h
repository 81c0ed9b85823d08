#pragma once

#include <windows.h>

#include <string>

// The folder chosen in the system's folder dialog, owned by owner and starting at
// the desktop, trimmed of leading and trailing spaces; "" when cancelled or when
// the choice is not a file-system folder.
std::wstring browseFolder(HWND owner, const std::wstring& title);

// True when a file or a folder exists at exactly this path.
bool fileExists(const std::wstring& path);

// The folder text with the marker file name joined on, as the module test uses it.
std::wstring markerFilePath(const std::wstring& folder);
