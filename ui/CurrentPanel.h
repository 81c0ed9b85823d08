#pragma once

#include <windows.h>

#include <string>

#include "schemas/ActiveSchema.h"
#include "schemas/SchemaTable.h"
#include "store/KeyWatch.h"
#include "ui/FolderMarks.h"
#include "ui/Form.h"

// The caption where it fits in room pixels of font, otherwise its longest start that
// fits when ended with "…".
std::wstring fittedCaption(HFONT font, std::wstring caption, int room);

// The frame "Aktuell": the IDE's two active folders in CurSys and CurCom, and a caption
// that names the schemas whose folders they are ("Aktuell – Standard, Schema 2"), or
// "Aktuell" alone. It follows the IDE's key through a watch on it.
class CurrentPanel {
public:
    CurrentPanel(const FormControls& controls, const SchemaTable& table, FolderMarks& marks);

    // Reads the IDE's pair once and shows it: at start, after applying, and when the key
    // changed.
    void show();

    // Watches for the next change of the key; while the key is missing, looks for it
    // about once a second. Armed before the key is read, so that no change is missed.
    void watch();

    // Signalled, until watch() runs again, when the key has changed: the program's loop
    // waits for it besides messages.
    HANDLE keyEvent() const { return watch_.event(); }

    // Whether a timer of the panel's says the key may have changed.
    bool keyMayHaveChanged(UINT_PTR timer) const;

    // While a loop of a message box, a dialog, a menu or a move runs.
    void enterModalLoop();
    void leaveModalLoop();

    // The caption again after the table changed (the values stay as read).
    void tableChanged();

    // Fits the caption to the frame again after its font or width changed.
    void fitCaption();

private:
    HWND window() const { return GetParent(controls_.frame2); }

    const FormControls& controls_;
    const SchemaTable& table_;
    FolderMarks& marks_;
    KeyWatch watch_;
    int modalLoops_ = 0;  // nested
    ActiveFolders active_;
    std::wstring wholeCaption_;  // before fitting
    std::wstring shownCaption_;  // as the frame has it
};
