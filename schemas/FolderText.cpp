#include "schemas/FolderText.h"

#include <windows.h>

#include <cstddef>
#include <initializer_list>

#include "schemas/SchemaTable.h"
#include "store/AnsiText.h"

namespace {

bool startsWithDriveRoot(std::wstring_view text) {
    return text.size() >= 3 && text.substr(1, 2) == L":\\";
}

// "C:\": a drive's root, which keeps its backslash ("C:" alone is that drive's current folder).
bool isDriveRoot(std::wstring_view text) {
    return text.size() == 3 && startsWithDriveRoot(text);
}

std::wstring_view withoutTrailingBackslash(std::wstring_view folder) {
    if (!isDriveRoot(folder) && folder.size() > 1 && folder.back() == L'\\') folder.remove_suffix(1);
    return folder;
}

}  // namespace

bool isValidFolderText(std::wstring_view text) {
    return startsWithDriveRoot(text) && toAnsiExact(text).has_value();
}

bool sameFolder(std::wstring_view a, std::wstring_view b) {
    for (std::wstring_view text : {a, b})
        if (text.empty() || text == kUnset) return false;
    a = withoutTrailingBackslash(a);
    b = withoutTrailingBackslash(b);
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::wstring driveRootOf(std::wstring_view text) {
    return std::wstring(text.substr(0, 3));
}

std::wstring markerFilePath(const std::wstring& folder) {
    return folder + L"\\modules.txt";
}

std::wstring markerFileIn(std::wstring_view folder) {
    // The join adds the backslash, so the one a root or a typed text ends in goes.
    if (!folder.empty() && folder.back() == L'\\') folder.remove_suffix(1);
    return markerFilePath(std::wstring(folder));
}

std::wstring folderOfFile(std::wstring_view path) {
    const size_t separator = path.find_last_of(L'\\');
    if (separator == std::wstring_view::npos) return std::wstring();
    const std::wstring_view withSeparator = path.substr(0, separator + 1);
    return std::wstring(isDriveRoot(withSeparator) ? withSeparator : path.substr(0, separator));
}

std::wstring trimSpaces(std::wstring_view text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return std::wstring();
    return std::wstring(text.substr(first, text.find_last_not_of(L' ') - first + 1));
}
