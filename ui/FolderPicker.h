#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "schemas/FolderCheck.h"

// A folder dialog: the chosen folder's path as the shell gives it, or "" when the
// user cancels or picks something that is not a file-system folder.
using FolderDialog = std::function<std::wstring(HWND owner, const std::wstring& title)>;

// The system's folder dialog, owned by owner and starting at the desktop.
std::wstring showFolderDialog(HWND owner, const std::wstring& title);

// The folder chosen in the dialog, trimmed of leading and trailing spaces.
std::wstring browseFolder(HWND owner, const std::wstring& title, const FolderDialog& dialog = showFolderDialog);

// True when a file or a folder exists at exactly this path.
bool fileExists(const std::wstring& path);

// The folder that an item dropped from the file manager stands for: a folder itself,
// or the folder that holds a file; "" for anything that is not in the file system.
std::wstring folderOfDroppedItem(const std::wstring& path);

// The file system as the folder check asks it, with the system's "no disk" box off
// for each call: an empty card reader answers "nothing there".
FileSystem systemFileSystem();
