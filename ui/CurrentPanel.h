#pragma once

#include <windows.h>

#include <string>

#include "schemas/ActiveSchema.h"
#include "schemas/SchemaTable.h"
#include "ui/FolderMarks.h"
#include "ui/Form.h"

// The caption where it fits in room pixels of font, otherwise its longest start that
// fits when ended with "…".
std::wstring fittedCaption(HFONT font, std::wstring caption, int room);

// The frame "Aktuell": the IDE's two active folders in CurSys and CurCom, and a caption
// that names the schemas whose folders they are ("Aktuell – Standard, Schema 2"), or
// "Aktuell" alone.
class CurrentPanel {
public:
    CurrentPanel(const FormControls& controls, const SchemaTable& table, FolderMarks& marks);

    // Reads the IDE's pair once and shows it: at start, after applying, and when the key
    // changed.
    void show();

    // The caption again after the table changed (the values stay as read).
    void tableChanged();

    // Fits the caption to the frame again after its font or width changed.
    void fitCaption();

private:
    const FormControls& controls_;
    const SchemaTable& table_;
    FolderMarks& marks_;
    ActiveFolders active_;
    std::wstring wholeCaption_;  // before fitting
    std::wstring shownCaption_;  // as the frame has it
};
