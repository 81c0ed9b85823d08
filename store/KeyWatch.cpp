#include "store/KeyWatch.h"

#include <utility>

#include "store/AnsiText.h"

namespace {

constexpr DWORD kChanges = REG_NOTIFY_CHANGE_LAST_SET | REG_NOTIFY_CHANGE_NAME;

bool notifyOnChange(HKEY key, HANDLE event) {
    return RegNotifyChangeKeyValue(key, FALSE, kChanges, event, TRUE) == ERROR_SUCCESS;
}

}  // namespace

// Manual reset: the signal stays until it has been seen, whichever loop looks for it.
KeyWatch::KeyWatch() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

bool KeyWatch::arm(HKEY hive, std::wstring_view subkey) {
    if (!event_) return false;
    if (waiting_ && !changed()) return true;
    ResetEvent(event_.get());
    waiting_ = false;
    // The handle may belong to a key deleted since: then open the key anew, if it is there.
    if (key_ && notifyOnChange(key_.get(), event_.get())) return waiting_ = true;
    key_.reset();
    const auto subkeyAnsi = toAnsiExact(subkey);
    HKEY opened = nullptr;
    if (!subkeyAnsi || RegOpenKeyExA(hive, subkeyAnsi->c_str(), 0, KEY_NOTIFY, &opened) != ERROR_SUCCESS) return false;
    UniqueRegKey key(opened);
    if (!notifyOnChange(key.get(), event_.get())) return false;
    key_ = std::move(key);
    return waiting_ = true;
}
