#include "ui/OtherCopies.h"

#include <string>

void takeStoredSchemas(SchemaTable& table, const FormControls& controls) {
    const int shown = static_cast<int>(SendMessageW(controls.schema, CB_GETCURSEL, 0, 0));
    if (shown < 0 || shown >= kSchemaCount) {
        table.takeStored();
        return;
    }
    const auto index = static_cast<size_t>(shown);
    const std::wstring system = table.sysPaths[index], common = table.comPaths[index];
    table.takeStored();
    // The boxes hold the shown entries, so a box changes only where its entry did; the
    // change handler writes the same text back, and the entry stays unchanged here.
    if (table.sysPaths[index] != system) SetWindowTextW(controls.systemPath, table.sysPaths[index].c_str());
    if (table.comPaths[index] != common) SetWindowTextW(controls.commonPath, table.comPaths[index].c_str());
}
