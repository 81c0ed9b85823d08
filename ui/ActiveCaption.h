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

    // Reads the IDE's values again, then shows the caption: at start, after applying,
    // and when the IDE's key changed.
    void refresh(HWND frame, const SchemaTable& table);

    // The caption for the values last read, after the table changed.
    void show(HWND frame, const SchemaTable& table);

    // Fits the caption to the frame again after its font or width changed.
    void fit(HWND frame);

private:
    ActiveFolders active_;
    std::wstring whole_;  // before fitting
    std::wstring shown_;  // as the frame has it
};
