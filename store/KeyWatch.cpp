#include "store/KeyWatch.h"

#include "store/AnsiText.h"

namespace {

constexpr DWORD kChanges = REG_NOTIFY_CHANGE_LAST_SET | REG_NOTIFY_CHANGE_NAME;

}  // namespace

KeyWatch::KeyWatch() : event_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

bool KeyWatch::arm(HKEY hive, std::wstring_view subkey) {
    if (!event_) return false;
    // The handle may belong to a key deleted since: then open the key anew, if it is there.
    if (key_ && RegNotifyChangeKeyValue(key_.get(), FALSE, kChanges, event_.get(), TRUE) == ERROR_SUCCESS)
        return true;
    key_.reset();
    const auto subkeyAnsi = toAnsiExact(subkey);
    HKEY opened = nullptr;
    if (!subkeyAnsi || RegOpenKeyExA(hive, subkeyAnsi->c_str(), 0, KEY_NOTIFY, &opened) != ERROR_SUCCESS)
        return false;
    UniqueRegKey key(opened);
    if (RegNotifyChangeKeyValue(key.get(), FALSE, kChanges, event_.get(), TRUE) != ERROR_SUCCESS) return false;
    key_ = std::move(key);
    return true;
}
