#pragma once

#include <windows.h>

#include <string_view>

#include "store/KeyWatch.h"

// The watch on the IDE's key, for the whole window: "Aktuell" follows the key, and the
// schemas take what another copy stored. The program's loop waits for event() besides
// messages; while a loop of a message box, a dialog, a menu or a move runs instead, the
// window's kModalLoopTimer looks. A thread that waited would commit 2 MiB under Wine.
class IdeKeyWatch {
public:
    explicit IdeKeyWatch(const HWND& window) : window_(window) {}

    // Armed before the key is read, so that no change is missed; while the key is
    // missing, the window's kWatchRetryTimer looks for it about once a second.
    void arm(std::wstring_view key);

    // Signalled, until arm() runs again, when the key has changed.
    HANDLE event() const { return watch_.event(); }
    bool changed() const { return watch_.changed(); }

    // Nested, as loops may be.
    void enterModalLoop();
    void leaveModalLoop();

    // For as long as the message box or the folder dialog runs its own loop.
    class ModalLoop {
    public:
        explicit ModalLoop(IdeKeyWatch& watch) : watch_(watch) { watch_.enterModalLoop(); }
        ~ModalLoop() { watch_.leaveModalLoop(); }
        ModalLoop(const ModalLoop&) = delete;
        ModalLoop& operator=(const ModalLoop&) = delete;

    private:
        IdeKeyWatch& watch_;
    };

private:
    const HWND& window_;  // the owner's, set before the watch is used
    KeyWatch watch_;
    int modalLoops_ = 0;
};
