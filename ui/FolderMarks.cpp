#include "ui/FolderMarks.h"

#include <dbt.h>

#include <memory>
#include <utility>

#include "ui/WindowIds.h"

namespace {

constexpr UINT kTypingPauseMs = 300;
constexpr COLORREF kMarkColour = RGB(196, 43, 28);  // reads on the window's background

// A check that runs on a thread of the system's pool: it owns copies of what it needs,
// as the window may be gone when it ends.
struct PooledCheck {
    HWND window;
    HWND control;
    unsigned check;
    std::wstring text;
    FileSystem fileSystem;
    FolderMark mark = FolderMark::None;
};

void CALLBACK runPooledCheck(PTP_CALLBACK_INSTANCE, void* context) {
    std::unique_ptr<PooledCheck> work(static_cast<PooledCheck*>(context));
    work->mark = folderMark(work->text, work->fileSystem);
    if (PostMessageW(work->window, kFolderChecked, 0, reinterpret_cast<LPARAM>(work.get()))) work.release();
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
    entry.text = text;
    check(entry);
}

void FolderMarks::typed(HWND control, const std::wstring& text) {
    Entry& entry = entryOf(control);
    if (entry.text == text) return;
    entry.text = text;
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

// A folder off the system drive (a network share, a disk that has spun down) may take
// seconds to answer: such a check runs on the system's thread pool, so that typing stays
// instant. A window whose folders are all on the system drive never starts the pool.
void FolderMarks::check(Entry& entry) {
    entry.pending = !window_;
    if (!window_) return;
    ++entry.check;
    if (!mayBeSlow(entry.text, fileSystem_)) {
        markAs(entry, folderMark(entry.text, fileSystem_));
        return;
    }
    auto work =
        std::make_unique<PooledCheck>(PooledCheck{window_, entry.control, entry.check, entry.text, fileSystem_});
    if (TrySubmitThreadpoolCallback(runPooledCheck, work.get(), nullptr)) work.release();
}

void FolderMarks::onChecked(LPARAM result) {
    const std::unique_ptr<PooledCheck> work(reinterpret_cast<PooledCheck*>(result));
    for (Entry& entry : entries_)
        if (entry.control == work->control && entry.check == work->check && entry.text == work->text)
            markAs(entry, work->mark);
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
