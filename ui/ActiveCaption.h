#pragma once

#include <windows.h>

#include <string>

#include "schemas/ActiveSchema.h"
#include "schemas/SchemaTable.h"

// The caption of the frame "Aktuell" names the schemas whose folders the IDE has
// active, "Aktuell – Standard, Schema 2", or is "Aktuell" alone when none has them.
// Screen readers announce it as the group's name.
class ActiveCaption {
public:
    ActiveCaption();

    // The IDE's values as just read: at start, after applying, and when the IDE's key
    // changed.
    void setActive(HWND frame, const SchemaTable& table, ActiveFolders active);

    // The caption for the values last read, after the table changed.
    void show(HWND frame, const SchemaTable& table);

    // Fits the caption to the frame again after its font or width changed.
    void fit(HWND frame);

private:
    ActiveFolders active_;
    std::wstring whole_;  // before fitting
    std::wstring shown_;  // as the frame has it
};
