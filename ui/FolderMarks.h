#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "schemas/FolderCheck.h"

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

    // kFolderChecked: a check on the thread pool ended; an older one than the latest of
    // its control is dropped.
    void onChecked(LPARAM result);

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
        unsigned check = 0;   // the latest; an older result is dropped
        bool pending = true;  // not checked since the text changed
    };

    Entry& entryOf(HWND control);
    void check(Entry& entry);
    void markAs(Entry& entry, FolderMark mark);

    Describe describe_;
    FileSystem fileSystem_;
    HWND window_ = nullptr;  // set from the first frame on
    std::vector<Entry> entries_;
};
