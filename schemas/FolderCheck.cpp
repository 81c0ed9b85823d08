#include "schemas/FolderCheck.h"

#include <algorithm>
#include <vector>

#include "schemas/FolderText.h"
#include "schemas/SchemaTable.h"

namespace {

// The folders Windows passes on the way from the root to a valid text's folder: "/"
// separates as "\" does, and ".." goes back up before any disk is asked, so
// "C:\Fehlt\..\Link" passes C:\Link, not C:\Fehlt.
std::vector<std::wstring> foldersOnTheWay(std::wstring_view text) {
    std::vector<std::wstring_view> names;
    for (size_t start = driveRootOf(text).size(); start <= text.size();) {
        const size_t end = std::min(text.find_first_of(L"\\/", start), text.size());
        const std::wstring_view name = text.substr(start, end - start);
        if (name == L"..") {
            if (!names.empty()) names.pop_back();
        } else if (!name.empty() && name != L".") {
            names.push_back(name);
        }
        start = end + 1;
    }
    std::vector<std::wstring> folders;
    std::wstring path = driveRootOf(text);
    for (const std::wstring_view name : names) {
        if (!folders.empty()) path += L'\\';
        folders.push_back(path += name);
    }
    return folders;
}

// Whether the way to a folder passes a link. It reads each folder's own entry from the
// root down and stops at the first link, never looking through it; a missing folder
// ends the way, as nothing lies behind it.
bool passesALink(std::wstring_view text, const FileSystem& fs) {
    for (const std::wstring& folder : foldersOnTheWay(text)) {
        const PathEntry entry = fs.entryAt(folder);
        if (entry != PathEntry::Plain) return entry == PathEntry::Link;
    }
    return false;
}

}  // namespace

FolderMark folderMark(std::wstring_view text, const FileSystem& fs) {
    if (text.empty() || text == kUnset) return FolderMark::None;
    // What applying refuses is never looked up: "\\server\..." would reach the network.
    if (!isValidFolderText(text)) return FolderMark::InvalidText;
    if (!fs.isFolder(std::wstring(text))) return FolderMark::Missing;
    if (!fs.exists(markerFileIn(text))) return FolderMark::NoMarker;
    return FolderMark::None;
}

const wchar_t* markText(FolderMark mark) {
    switch (mark) {
        case FolderMark::InvalidText: return L"Ungültige Pfadangabe";
        case FolderMark::Missing: return L"Ordner nicht gefunden";
        case FolderMark::NoMarker: return L"Keine \"modules.txt\" im Ordner";
        case FolderMark::None: break;
    }
    return L"";
}

bool mayBeSlow(std::wstring_view text, const FileSystem& fs) {
    return isValidFolderText(text) && (!sameFolder(driveRootOf(text), fs.systemDrive) || passesALink(text, fs));
}
