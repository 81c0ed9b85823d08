#pragma once

#include <string>
#include <string_view>

// The rules about folder texts, each in one place: what applying takes, when two texts
// name the same folder, where the marker file of a folder is, and what the picker and
// a drop hand over. Plain text work; nothing here asks the file system.

// Any one character followed by ":\", tested as typed (no trimming), and
// representable in the ANSI code page, since the IDE reads the value as ANSI.
bool isValidFolderText(std::wstring_view text);

// Whether two folder texts name the same folder as Windows compares them: ordinal
// without case, one trailing backslash ignored except on a drive root ("C:\" is
// not "C:"). "leer" and the empty text are no folder and never match.
bool sameFolder(std::wstring_view a, std::wstring_view b);

// The root "X:\" a valid folder text starts with.
std::wstring driveRootOf(std::wstring_view text);

// The folder text with the marker file name joined on, as the folder picker tests it:
// always with a backslash between, also after a text that ends in one.
std::wstring markerFilePath(const std::wstring& folder);

// The marker file in the folder a text names, with one backslash between, also for a
// drive root ("E:\modules.txt") and a text that ends in a backslash.
std::wstring markerFileIn(std::wstring_view folder);

// The folder that holds the file at path, a drive root with its backslash (C:\);
// "" when the path names no folder.
std::wstring folderOfFile(std::wstring_view path);

// The folder the picker gave, without leading and trailing spaces.
std::wstring trimSpaces(std::wstring_view text);
