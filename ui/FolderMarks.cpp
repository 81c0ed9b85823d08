#include "ui/FolderMarks.h"

#include <dbt.h>

#include <memory>
#include <utility>

#include "ui/WindowIds.h"

// A check that runs on a thread of the system's pool, with copies of what it needs. The
// thread and the control's entry share it: whichever lets go last frees it, also when
// the window is gone before the check ends or before its message is read.
struct PooledFolderCheck {
    HWND window;
    HWND control;
    unsigned check;
    std::wstring text;
    FileSystem fileSystem;
    FolderMark mark = FolderMark::None;  // written on the pool before the message is posted
};

namespace {

constexpr UINT kTypingPauseMs = 300;
constexpr COLORREF kMarkColour = RGB(196, 43, 28);  // reads on the window's background

void CALLBACK runPooledCheck(PTP_CALLBACK_INSTANCE, void* context) {
    const std::unique_ptr<std::shared_ptr<PooledFolderCheck>> share(
        static_cast<std::shared_ptr<PooledFolderCheck>*>(context));
    PooledFolderCheck& work = **share;
    work.mark = folderMark(work.text, work.fileSystem);
    PostMessageW(work.window, kFolderChecked, 0, reinterpret_cast<LPARAM>(work.control));
}

bool highContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace

FolderMarks::FolderMarks(Describe describe, FileSystem fileSystem)
    : describe_(std::move(describe)), fileSystem_(std::move(fileSystem)) {}

void FolderMarks::start(HWND window) {
    window_ = window;
    checkAll();
}

FolderMarks::Entry& FolderMarks::entryOf(HWND control) {
    for (Entry& entry : entries_)
        if (entry.control == control) return entry;
    Entry& entry = entries_.emplace_back();
    entry.control = control;
    return entry;
}

void FolderMarks::show(HWND control, const std::wstring& text) {
    Entry& entry = entryOf(control);
    if (entry.text == text && !entry.pending) return;
    if (entry.text != text) entry.shown = 0;
    entry.text = text;
    check(entry);
}

void FolderMarks::typed(HWND control, const std::wstring& text) {
    Entry& entry = entryOf(control);
    if (entry.text == text) return;
    entry.text = text;
    entry.shown = 0;
    entry.pending = true;
    if (window_) SetTimer(window_, kTypingPauseTimer, kTypingPauseMs, nullptr);
}

void FolderMarks::checkAll() {
    for (Entry& entry : entries_) check(entry);
}

void FolderMarks::checkTyped() {
    KillTimer(window_, kTypingPauseTimer);
    for (Entry& entry : entries_)
        if (entry.pending) check(entry);
}

// A folder off the system drive or behind a link (a network share, a disk that has spun
// down) may take seconds to answer: such a check runs on the system's thread pool, so
// that typing stays instant. A window whose folders are all plain folders on the system
// drive never starts the pool. A control has one check on the pool at a time: a drive
// that does not answer holds one thread per control, however often the window asks.
void FolderMarks::check(Entry& entry) {
    entry.pending = !window_;
    if (!window_) return;
    ++entry.check;
    if (!mayBeSlow(entry.text, fileSystem_)) {
        entry.again = false;
        entry.shown = entry.check;
        markAs(entry, folderMark(entry.text, fileSystem_));
        return;
    }
    entry.again = entry.looking != nullptr;
    if (entry.again) return;
    entry.looking = std::make_shared<PooledFolderCheck>(
        PooledFolderCheck{window_, entry.control, entry.check, entry.text, fileSystem_});
    auto share = std::make_unique<std::shared_ptr<PooledFolderCheck>>(entry.looking);
    if (TrySubmitThreadpoolCallback(runPooledCheck, share.get(), nullptr))
        share.release();
    else
        entry.looking.reset();
}

void FolderMarks::onChecked(LPARAM control) {
    for (Entry& entry : entries_) {
        if (entry.control != reinterpret_cast<HWND>(control) || !entry.looking) continue;
        const std::shared_ptr<PooledFolderCheck> done = std::move(entry.looking);
        if (done->text == entry.text && done->check > entry.shown) {
            entry.shown = done->check;
            markAs(entry, done->mark);
        }
        if (entry.again) check(entry);  // with the newest text
        return;
    }
}

void FolderMarks::markAs(Entry& entry, FolderMark mark) {
    if (entry.mark == mark) return;
    entry.mark = mark;
    InvalidateRect(entry.control, nullptr, TRUE);
    describe_(entry.control, markText(mark));
}

const wchar_t* FolderMarks::reasonFor(HWND control) const {
    for (const Entry& entry : entries_)
        if (entry.control == control && entry.mark != FolderMark::None) return markText(entry.mark);
    return nullptr;
}

void FolderMarks::onDeviceChange(WPARAM event) {
    if (event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE) checkAll();
}

// Red only where the control can be used, and not in high contrast.
LRESULT FolderMarks::onControlColour(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
    const LRESULT brush = DefWindowProcW(window, message, wParam, lParam);
    const auto control = reinterpret_cast<HWND>(lParam);
    if (reasonFor(control) && IsWindowEnabled(control) && !highContrast())
        SetTextColor(reinterpret_cast<HDC>(wParam), kMarkColour);
    return brush;
}
