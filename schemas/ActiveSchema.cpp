#include "schemas/ActiveSchema.h"

#include <windows.h>

#include "schemas/FolderText.h"

std::vector<int> matchingSchemas(const SchemaTable& table, const ActiveFolders& active) {
    std::vector<int> matches;
    for (int i = 0; i < kSchemaCount; ++i)
        if (sameFolder(table.sysPaths[i], active.system) && sameFolder(table.comPaths[i], active.common))
            matches.push_back(i);
    return matches;
}
