#pragma once

#include <windows.h>

#include <string_view>

#include "store/KernelHandle.h"
#include "store/RegistryKey.h"

// Tells when the values of one registry key change: event() is signalled at the next
// change after arm(), once; arm again after each signal. The key is opened for
// notification only, and nothing is read or written through it.
class KeyWatch {
public:
    KeyWatch();

    // False when the key does not exist (or cannot be watched); then nothing is armed.
    bool arm(HKEY hive, std::wstring_view subkey);

    HANDLE event() const { return event_.get(); }

private:
    UniqueKernelHandle event_;
    UniqueRegKey key_;
};
