#include <string>

#include "RegistrySandbox.h"

namespace {

bool keyOpens(const std::wstring& key) {
    UniqueRegKey opened;
    return RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
}

}  // namespace

// A test program killed by its time limit leaves its scratch key: the next program to
// start removes it, and the keys of programs still running stay.
TEST(ScratchKeys, ThoseOfEndedProgramsAreRemovedAtStart) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"reg.exe query HKCU\\Software";
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                               &startup, &process));
    WaitForSingleObject(process.hProcess, 20000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::wstring left = L"Software\\TrelvaneTests\\" + std::to_wstring(process.dwProcessId) + L"_1";
    const std::wstring running = L"Software\\TrelvaneTests\\" + std::to_wstring(GetCurrentProcessId()) + L"_0";
    for (const std::wstring& key : {left, running}) {
        UniqueRegKey made;
        ASSERT_EQ(
            RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_READ, nullptr, made.put(), nullptr),
            ERROR_SUCCESS);
    }

    removeScratchKeysOfEndedProcesses();
    EXPECT_FALSE(keyOpens(left));
    EXPECT_TRUE(keyOpens(running));
    RegDeleteTreeW(HKEY_CURRENT_USER, running.c_str());
}
