#pragma once

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shtypes.h>

#include <utility>

// Move-only owner of a platform handle: close releases it (RegCloseKey, FindClose, ...)
// and invalid is its "no handle" value, so every kind of handle is closed exactly once
// on every path.
template <typename Handle, auto close, INT_PTR invalid = 0>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != none(); }

    // For out-parameters of the platform call that opens the handle.
    Handle* put() {
        reset();
        return &handle_;
    }

    Handle release() { return std::exchange(handle_, none()); }

    void reset(Handle handle = none()) {
        Handle old = std::exchange(handle_, handle);
        if (old != none()) close(old);
    }

private:
    static Handle none() { return reinterpret_cast<Handle>(invalid); }

    Handle handle_ = none();
};

// One line for each kind.
inline void releaseComObject(IUnknown* object) {
    object->Release();
}
using UniqueRegKey = UniqueHandle<HKEY, RegCloseKey>;
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseHandle>;  // events, processes
using UniqueFindHandle = UniqueHandle<HANDLE, FindClose, -1>;  // never CloseHandle
using UniqueFont = UniqueHandle<HFONT, DeleteObject>;
using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;
using UniqueDrop = UniqueHandle<HDROP, DragFinish>;
using UniqueItemIdList = UniqueHandle<PIDLIST_ABSOLUTE, CoTaskMemFree>;
using UniqueComObject = UniqueHandle<IUnknown*, releaseComObject>;
using UniqueModule = UniqueHandle<HMODULE, FreeLibrary>;
