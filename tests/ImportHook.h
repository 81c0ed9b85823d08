#pragma once

#include <windows.h>

// Swaps one entry of this test program's import table for the life of the object,
// so a test can see the exact arguments the code under test passes to a system
// call, or make the system change between two calls.
class ImportHook {
public:
    ImportHook(const char* dll, const char* function, void* replacement);
    ~ImportHook();
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    bool installed() const { return slot_ != nullptr; }

    template <typename Function>
    Function original() const {
        return reinterpret_cast<Function>(original_);
    }

private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};
