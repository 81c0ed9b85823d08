#pragma once

#include <windows.h>

#include <string>

#include "schemas/MessageBox.h"
#include "schemas/SchemaTable.h"
#include "ui/Drops.h"
#include "ui/FolderMarks.h"
#include "ui/FolderPicker.h"
#include "ui/Form.h"

// One path row of the frame "Modulschema": the box, its "..." button, the folder
// dialog's title and the schema field the box writes through to.
struct PathRow {
    ControlId boxId;
    HWND FormControls::*box;
    ControlId buttonId;
    HWND FormControls::*button;
    const wchar_t* dialogTitle;
    SchemaPaths SchemaTable::*paths;
};

inline constexpr PathRow kPathRows[] = {
    {kSystemPath, &FormControls::systemPath, kGetSysPath, &FormControls::getSysPath, kSystemFolderTitle,
     &SchemaTable::sysPaths},
    {kCommonPath, &FormControls::commonPath, kGetComPath, &FormControls::getComPath, kCommonFolderTitle,
     &SchemaTable::comPaths},
};

// What a command of the frame changed, for the rest of the window to follow.
enum class SchemaChange { None, Edited, Applied };

// The frame "Modulschema": the schema list, the two path rows, browsing, drops, and
// applying the shown pair.
class SchemaPanel {
public:
    SchemaPanel(const FormControls& controls, SchemaTable& table, FolderMarks& marks, const ShowMessage& showMessage,
                const FolderDialog& folderDialog);

    // The list's entries, and boxes that take a path of any length.
    void prepareControls();

    // The style bits a control of the frame is created with: the window opens on
    // "Standard", so the path rows start disabled rather than being disabled at once.
    static DWORD creationState(ControlId id);

    // The boxes show the selected schema; editing is off for "Standard".
    void onSchemaSelected();

    SchemaChange onCommand(int id, int code);

    // A folder dropped onto a path box that can be edited goes into it.
    void onDrop(const DroppedFolder& dropped);

    // What another copy stored takes the place of every entry this copy has not
    // changed; the boxes show it where its schema is shown.
    void takeStored();

private:
    int selected() const;
    void onBrowse(const PathRow& row);
    void offerFolder(HWND box, const std::wstring& folder);
    bool apply();
    void completeFolders();

    const FormControls& controls_;
    SchemaTable& table_;
    FolderMarks& marks_;
    const ShowMessage& showMessage_;
    const FolderDialog& folderDialog_;
    bool completesFolders_ = false;
};
