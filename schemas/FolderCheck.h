#pragma once

#include <functional>
#include <string>
#include <string_view>

// Why a folder text, in a path box or as the IDE's value, would not give the IDE a
// module folder: told before anyone applies it.

// What a path names itself. Link: a junction, a mount point, a symbolic link, any
// reparse point, and what cannot be read, which may be one.
enum class PathEntry { Missing, Plain, Link };

// The file system as the check asks it: the program's is systemFileSystem()
// (ui/FolderPicker.h), tests give their own.
struct FileSystem {
    std::function<bool(const std::wstring& path)> isFolder;
    std::function<bool(const std::wstring& path)> exists;  // a file or a folder
    // Read on the disk the path's last name is on: a link is not followed.
    std::function<PathEntry(const std::wstring& path)> entryAt;
    std::wstring systemDrive;  // the Windows folder's root, as "C:\"; "" if unknown
};

enum class FolderMark { None, InvalidText, Missing, NoMarker };

// None for a module folder, and for "leer" and the empty text, which name no folder.
FolderMark folderMark(std::wstring_view text, const FileSystem& fs);

// What the window shows for the mark; "" for None.
const wchar_t* markText(FolderMark mark);

// Whether folderMark may wait on a drive, so that it must not run on the window's
// thread: on any drive but the system's (were that one asleep, all of Windows would
// wait), and behind a link on the system drive, which may lead to any other disk or a
// share. A network share, a card reader, and a USB or second disk that has spun down,
// fixed drives too, may take seconds. False where it asks no drive at all. Asks the
// system drive for each folder on the way, up to the first link.
bool mayBeSlow(std::wstring_view text, const FileSystem& fs);
