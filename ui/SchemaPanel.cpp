#include "ui/SchemaPanel.h"

#include <shlwapi.h>

#include <cstddef>
#include <iterator>
#include <string>

#include "schemas/Applying.h"
#include "schemas/FolderText.h"
#include "ui/WindowInfo.h"

namespace {

constexpr wchar_t kNoMarkerQuestion[] =
    L"Im angegebenen Ordner befindet sich keine \"modules.txt\" !"
    L"Wollen Sie den Ordner dennoch auswählen ?";

}  // namespace

SchemaPanel::SchemaPanel(const FormControls& controls, SchemaTable& table, FolderMarks& marks,
                         const ShowMessage& showMessage, const FolderDialog& folderDialog)
    : controls_(controls), table_(table), marks_(marks), showMessage_(showMessage), folderDialog_(folderDialog) {}

void SchemaPanel::prepareControls() {
    for (const wchar_t* name : kSchemaNames)
        SendMessageW(controls_.schema, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageW(controls_.schema, CB_SETMINVISIBLE, std::size(kSchemaNames), 0);
    // A stored path may be longer than the default limit (about 32 K characters),
    // which would block typing in such a box.
    for (const PathRow& row : kPathRows) SendMessageW(controls_.*row.box, EM_SETLIMITTEXT, 0, 0);
}

DWORD SchemaPanel::creationState(ControlId id) {
    for (const PathRow& row : kPathRows)
        if (id == row.boxId || id == row.buttonId) return WS_DISABLED;
    return 0;
}

int SchemaPanel::selected() const {
    return static_cast<int>(SendMessageW(controls_.schema, CB_GETCURSEL, 0, 0));
}

void SchemaPanel::onSchemaSelected() {
    const int index = selected();
    if (index < 0 || index >= kSchemaCount) return;
    // The index is already the new one, so the change handlers write these texts
    // back into the same schema.
    for (const PathRow& row : kPathRows) {
        const std::wstring& text = (table_.*row.paths)[static_cast<size_t>(index)];
        SetWindowTextW(controls_.*row.box, text.c_str());
        marks_.show(controls_.*row.box, text);
    }
    const BOOL editable = index != 0;
    for (const PathRow& row : kPathRows) {
        EnableWindow(controls_.*row.box, editable);
        EnableWindow(controls_.*row.button, editable);
    }
    if (editable) completeFolders();
}

// Enter and Esc arrive as IDOK and IDCANCEL; no control carries those ids, so they do
// nothing.
SchemaChange SchemaPanel::onCommand(int id, int code) {
    if (id == kSchema && code == CBN_SELCHANGE) onSchemaSelected();
    if (id == kSave && code == BN_CLICKED && apply()) return SchemaChange::Applied;
    for (const PathRow& row : kPathRows) {
        if (id == row.boxId && code == EN_CHANGE) {
            const std::wstring text = windowText(controls_.*row.box);
            writeThrough(table_.*row.paths, selected(), text);
            marks_.typed(controls_.*row.box, text);
            return SchemaChange::Edited;
        }
        if (id == row.buttonId && code == BN_CLICKED) onBrowse(row);
    }
    return SchemaChange::None;
}

void SchemaPanel::onBrowse(const PathRow& row) {
    HWND box = controls_.*row.box;
    // The dialog is owned by the window the box is in.
    const std::wstring folder = browseFolder(GetParent(box), row.dialogTitle, folderDialog_);
    if (!folder.empty()) offerFolder(box, folder);
}

// A module folder goes into the box at once; any other only after the user says so.
void SchemaPanel::offerFolder(HWND box, const std::wstring& folder) {
    if (!fileExists(markerFilePath(folder))) {
        const Message question{kNoMarkerQuestion, MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::No};
        if (showMessage_(question) != MessageAnswer::Yes) return;
    }
    SetWindowTextW(box, folder.c_str());
}

bool SchemaPanel::apply() {
    return applySchema(table_.regKey, windowText(controls_.systemPath), windowText(controls_.commonPath), showMessage_);
}

// The first item of a drop: a folder, or the folder of a file. A drop elsewhere than on
// a box that can be edited changes nothing.
void SchemaPanel::onDrop(const DroppedFolder& dropped) {
    if (dropped.folder.empty()) return;
    for (const PathRow& row : kPathRows) {
        HWND box = controls_.*row.box;
        const RECT rect = rectInParent(box);
        if (PtInRect(&rect, dropped.point) && IsWindowEnabled(box)) offerFolder(box, dropped.folder);
    }
}

void SchemaPanel::takeStored() {
    table_.takeStored();
    const int shown = selected();
    if (shown < 0 || shown >= kSchemaCount) return;
    // The boxes hold the shown entries, so a box changes only where its entry did; the
    // change handler writes the same text back, and the entry stays as taken.
    for (const PathRow& row : kPathRows) {
        const std::wstring& now = (table_.*row.paths)[static_cast<size_t>(shown)];
        if (windowText(controls_.*row.box) != now) SetWindowTextW(controls_.*row.box, now.c_str());
    }
}

// Folder names complete from the file system as the user types, as in the Run dialog.
// Set up when the boxes can first be typed in, not at the start, which it would slow.
// Where the system cannot complete, the boxes stay plain boxes.
void SchemaPanel::completeFolders() {
    if (completesFolders_) return;
    completesFolders_ = true;
    for (const PathRow& row : kPathRows) SHAutoComplete(controls_.*row.box, SHACF_FILESYS_DIRS);
}
