#include "schemas/ActiveSchema.h"

#include <windows.h>


namespace {

std::wstring_view withoutTrailingBackslash(std::wstring_view folder) {
    const bool driveRoot = folder.size() == 3 && folder[1] == L':';
    if (!driveRoot && folder.size() > 1 && folder.back() == L'\\') folder.remove_suffix(1);
    return folder;
}

}  // namespace

bool sameFolder(std::wstring_view a, std::wstring_view b) {
    for (std::wstring_view text : {a, b})
        if (text.empty() || text == kUnset) return false;
    a = withoutTrailingBackslash(a);
    b = withoutTrailingBackslash(b);
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::vector<int> matchingSchemas(const SchemaTable& table, const ActiveFolders& active) {
    std::vector<int> matches;
    for (int i = 0; i < kSchemaCount; ++i)
        if (sameFolder(table.sysPaths[i], active.system) && sameFolder(table.comPaths[i], active.common))
            matches.push_back(i);
    return matches;
}
