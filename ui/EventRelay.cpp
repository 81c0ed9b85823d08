#include "ui/EventRelay.h"

bool EventRelay::arm(HANDLE event, HWND window, UINT message) {
    stop();
    window_ = window;
    message_ = message;
    // The callback only posts, so it runs on the wait thread itself.
    HANDLE wait = nullptr;
    if (!RegisterWaitForSingleObject(&wait, event, post, this, INFINITE, WT_EXECUTEONLYONCE | WT_EXECUTEINWAITTHREAD))
        return false;
    wait_.reset(wait);
    return true;
}

void CALLBACK EventRelay::post(void* relay, BOOLEAN) {
    const auto* self = static_cast<const EventRelay*>(relay);
    PostMessageW(self->window_, self->message_, 0, 0);
}
