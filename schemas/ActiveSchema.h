#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "schemas/SchemaTable.h"

// The IDE's two active folders as stored, "leer" where a value is unset.
struct ActiveFolders {
    std::wstring system;
    std::wstring common;
};

// Whether two folder texts name the same folder as Windows compares them: ordinal
// without case, one trailing backslash ignored except on a drive root ("C:\" is
// not "C:"). "leer" and the empty text are no folder and never match.
bool sameFolder(std::wstring_view a, std::wstring_view b);

// The indexes, ascending, of every schema whose two folders are the active ones.
std::vector<int> matchingSchemas(const SchemaTable& table, const ActiveFolders& active);
