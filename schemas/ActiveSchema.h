#pragma once

#include <string>
#include <vector>

#include "schemas/SchemaTable.h"

// The IDE's two active folders as stored, "leer" where a value is unset.
struct ActiveFolders {
    std::wstring system;
    std::wstring common;
};

// The indexes, ascending, of every schema whose two folders are the active ones
// (sameFolder, schemas/FolderText.h).
std::vector<int> matchingSchemas(const SchemaTable& table, const ActiveFolders& active);
