#pragma once

#include <windows.h>

#include "store/UniqueHandle.h"

// Events, processes and threads: closed with CloseHandle.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static HANDLE invalid() { return nullptr; }
    static void close(HANDLE handle) { CloseHandle(handle); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
