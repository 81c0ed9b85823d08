#include "schemas/FolderCheck.h"

#include "schemas/FolderText.h"
#include "schemas/SchemaTable.h"

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
    return isValidFolderText(text) && !sameFolder(driveRootOf(text), fs.systemDrive);
}
