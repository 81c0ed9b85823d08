#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "schemas/FolderCheck.h"

struct PooledFolderCheck;

// Marks on folder texts that would not give the IDE a module folder (the path boxes,
// and the IDE's values in "Aktuell"): the text in red, the reason first in the tip, and
// the reason as the description screen readers read after the name. Nothing is stored.
class FolderMarks {
public:
    // Gives a control the description screen readers read; "" takes it away.
    using Describe = std::function<void(HWND control, const std::wstring& description)>;

    FolderMarks(Describe describe, FileSystem fileSystem);

    // From the first frame on: texts set before it are checked then, not at the start.
    void start(HWND window);

    // The folder text a control now shows: checked at once, or, as typed, once typing
    // pauses.
    void show(HWND control, const std::wstring& text);
    void typed(HWND control, const std::wstring& text);

    // Every text again: a drive came or went, or the user is back in the window.
    void checkAll();

    // Typing paused: the texts typed since are checked.
    void checkTyped();

    // kFolderChecked: the check on the thread pool for the control in lParam ended. Its
    // mark is dropped where the text changed or a newer mark of the text is shown.
    void onChecked(LPARAM control);

    // WM_DEVICECHANGE: a drive that came or went is checked again.
    void onDeviceChange(WPARAM event);

    // WM_CTLCOLOREDIT and WM_CTLCOLORSTATIC: the system's colours, then red for a marked
    // folder.
    LRESULT onControlColour(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;

    // The reason for a control's mark, or nullptr.
    const wchar_t* reasonFor(HWND control) const;

private:
    struct Entry {
        HWND control;
        std::wstring text;
        FolderMark mark = FolderMark::None;
        unsigned check = 0;   // counts the checks, so that an older mark never replaces a newer one
        unsigned shown = 0;   // the check the mark is from; 0 since the text changed
        bool pending = true;  // not checked since the text changed
        bool again = false;   // asked while the pool looked: once more when it ends
        std::shared_ptr<PooledFolderCheck> looking;  // the one check on the pool, if any
    };

    Entry& entryOf(HWND control);
    void check(Entry& entry);
    void markAs(Entry& entry, FolderMark mark);

    Describe describe_;
    FileSystem fileSystem_;
    HWND window_ = nullptr;  // set from the first frame on
    std::vector<Entry> entries_;
};
