#pragma once

#include <windows.h>

#include "store/UniqueHandle.h"

struct RegKeyTraits {
    using Handle = HKEY;
    static HKEY invalid() { return nullptr; }
    static void close(HKEY key) { RegCloseKey(key); }
};
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
