#include "ui/IdeKeyWatch.h"

#include "ui/WindowIds.h"

namespace {

constexpr UINT kWatchRetryMs = 1000;
constexpr UINT kModalLoopMs = 200;

}  // namespace

void IdeKeyWatch::arm(std::wstring_view key) {
    if (watch_.arm(HKEY_CURRENT_USER, key))
        KillTimer(window_, kWatchRetryTimer);
    else
        SetTimer(window_, kWatchRetryTimer, kWatchRetryMs, nullptr);
}

void IdeKeyWatch::enterModalLoop() {
    if (modalLoops_++ == 0) SetTimer(window_, kModalLoopTimer, kModalLoopMs, nullptr);
}

void IdeKeyWatch::leaveModalLoop() {
    if (modalLoops_ > 0 && --modalLoops_ == 0) KillTimer(window_, kModalLoopTimer);
}
