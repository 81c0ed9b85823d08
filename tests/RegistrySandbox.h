#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "store/UniqueHandle.h"

// Removes the scratch keys of test programs that have ended without removing their own
// (killed by a time limit); run before the first test of each program.
void removeScratchKeysOfEndedProcesses();

// Each test gets a fresh scratch key that stands in for HKEY_CURRENT_USER, so the
// code under test calls the registry exactly as the program does while the
// settings of whoever runs the tests stay untouched.
class RegistrySandbox : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    struct RawValue {
        DWORD type = REG_NONE;
        std::string bytes;
    };

    // Raw access to values of the IDE's key (below the redirected HKEY_CURRENT_USER).
    void putRaw(const std::wstring& name, DWORD type, const std::string& bytes);
    // The Unicode call, as another program may write: raw UTF-16 bytes, or a text with its NUL.
    void putRawWide(const std::wstring& name, DWORD type, const std::string& bytes);
    void putWide(const std::wstring& name, const std::wstring& text);
    std::optional<RawValue> getRaw(const std::wstring& name);  // bytes as stored (UTF-16)
    bool keyExists();
    void deleteIdeKey();
    // A DACL that denies setting values, as an administrator's policy might.
    void setIdeKeyWritable(bool writable);

    std::wstring scratchPath_;
};
