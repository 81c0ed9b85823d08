#pragma once

#include <windows.h>

#include <string_view>

#include "store/KeyWatch.h"

// The watch on the IDE's key, for the whole window: when another program (the IDE, a
// second copy, a registry editor) changes the key, "Aktuell" shows what it holds now and
// the schemas take what another copy stored. The program's loop waits for event() besides
// messages; the loops of a message box, a dialog, a menu or a move do not, so while one
// runs, the window's kModalLoopTimer looks. A thread that waited would commit 2 MiB under
// Wine.
class IdeKeyWatch {
public:
    // The window whose timers serve the watch; its handle is set before the watch is used.
    explicit IdeKeyWatch(const HWND& window) : window_(window) {}

    // Watches for the next change; while the key is missing, the window's
    // kWatchRetryTimer looks for it about once a second. Armed before the key is read,
    // so that no change is missed.
    void arm(std::wstring_view key);

    // Signalled, until arm() runs again, when the key has changed.
    HANDLE event() const { return watch_.event(); }
    bool changed() const { return watch_.changed(); }

    // While a loop of a message box, a dialog, a menu or a move runs; nested.
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
    const HWND& window_;
    KeyWatch watch_;
    int modalLoops_ = 0;
};
