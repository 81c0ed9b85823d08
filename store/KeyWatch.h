#pragma once

#include <windows.h>

#include <string_view>

#include "store/UniqueHandle.h"

// Tells when the values of one registry key change: event() is signalled at the first
// change after arm() and stays so until the next arm(). The key is opened for
// notification only, and nothing is read or written through it.
class KeyWatch {
public:
    KeyWatch();

    // Watches for the next change. While the last request still waits, it is kept: a
    // second request on the same handle would be one more wait that ends only with the
    // handle. False when the key does not exist (or cannot be watched); then nothing waits.
    bool arm(HKEY hive, std::wstring_view subkey);

    bool changed() const { return WaitForSingleObject(event_.get(), 0) == WAIT_OBJECT_0; }
    HANDLE event() const { return event_.get(); }

private:
    UniqueKernelHandle event_;
    UniqueRegKey key_;
    bool waiting_ = false;  // a request is pending on key_
};
