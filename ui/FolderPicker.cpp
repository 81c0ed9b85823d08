#include "ui/FolderPicker.h"

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>

#include "schemas/FolderText.h"
#include "store/UniqueHandle.h"

namespace {

constexpr DWORD kPathBufferLength = 512;

// A drive without its medium (an empty card reader, a floppy drive) answers "not
// there" instead of the system's "no disk" box, for this thread, until it goes.
class CriticalErrorsFailed {
public:
    CriticalErrorsFailed() : set_(SetThreadErrorMode(GetThreadErrorMode() | SEM_FAILCRITICALERRORS, &previous_)) {}
    ~CriticalErrorsFailed() {
        if (set_) SetThreadErrorMode(previous_, nullptr);
    }
    CriticalErrorsFailed(const CriticalErrorsFailed&) = delete;
    CriticalErrorsFailed& operator=(const CriticalErrorsFailed&) = delete;

private:
    DWORD previous_ = 0;
    bool set_;
};

// The root of the drive Windows runs from, "" where it cannot be asked. The shared
// Windows folder's: on a terminal server GetWindowsDirectoryW may name a user's own.
std::wstring systemDrive() {
    wchar_t windows[MAX_PATH];
    const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
    return length > 0 && length < MAX_PATH ? driveRootOf(windows) : std::wstring();
}

}  // namespace

std::wstring showFolderDialog(HWND owner, const std::wstring& title) {
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    UniqueItemIdList list(SHBrowseForFolderW(&info));
    if (!list) return std::wstring();

    // The Unicode calls: the ANSI ones put "?" in place of characters the code page
    // lacks, giving a wrong path that the file search would even read as a wildcard.
    std::wstring buffer(kPathBufferLength, L' ');
    if (!SHGetPathFromIDListEx(list.get(), buffer.data(), kPathBufferLength, GPFIDL_DEFAULT)) return std::wstring();
    buffer.resize(std::min(buffer.find(L'\0'), buffer.size()));
    return buffer;
}

std::wstring browseFolder(HWND owner, const std::wstring& title, const FolderDialog& dialog) {
    return trimSpaces(dialog(owner, title));
}

bool fileExists(const std::wstring& path) {
    // Characters the file search reads as wildcards cannot be part of a real name;
    // without them the search takes the path literally.
    if (path.empty() || path.find_first_of(L"*?<>\"") != std::wstring::npos) return false;
    WIN32_FIND_DATAW found;
    UniqueFindHandle search(FindFirstFileW(path.c_str(), &found));
    return static_cast<bool>(search);
}

std::wstring folderOfDroppedItem(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES) return std::wstring();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return path;
    return folderOfFile(path);
}

FileSystem systemFileSystem() {
    return {[](const std::wstring& path) {
                const CriticalErrorsFailed quiet;
                const DWORD attributes = GetFileAttributesW(path.c_str());
                return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
            },
            [](const std::wstring& path) {
                const CriticalErrorsFailed quiet;
                return fileExists(path);
            },
            [](const std::wstring& path) {
                // The attributes of a link itself, read where the link is: its target is not asked.
                const DWORD attributes = GetFileAttributesW(path.c_str());
                if (attributes != INVALID_FILE_ATTRIBUTES)
                    return attributes & FILE_ATTRIBUTE_REPARSE_POINT ? PathEntry::Link : PathEntry::Plain;
                const DWORD error = GetLastError();
                return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME
                           ? PathEntry::Missing
                           : PathEntry::Link;
            },
            systemDrive()};
}
