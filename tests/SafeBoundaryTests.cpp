// Failures inside the window: a control that cannot be made, or something thrown by
// a handler, must leave no half window, no crash and nothing written.
#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "ImportHook.h"
#include "RegistrySandbox.h"
#include "WindowHarness.h"
#include "schemas/SchemaTable.h"
#include "store/RegistryString.h"

namespace {

ImportHook* createHook = nullptr;
ControlId failingControl{};

HWND WINAPI failingCreate(DWORD exStyle, LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int width,
                          int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    if (parent && menu == reinterpret_cast<HMENU>(static_cast<INT_PTR>(failingControl))) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return createHook->original<decltype(&CreateWindowExW)>()(exStyle, className, text, style, x, y, width, height,
                                                              parent, menu, instance, param);
}

// As a 1 MiB path might end on a machine short of memory.
LONG WINAPI throwingQuery(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD) {
    throw std::bad_alloc();
}

class SafeBoundaryTest : public RegistrySandbox {
protected:
    void SetUp() override {
        RegistrySandbox::SetUp();
        putRaw(L"SysPath1", REG_SZ, "C:\\Eins");  // something a failed start must not touch
    }

    void expectNoWindowAndNothingWritten() {
        EXPECT_EQ(FindWindowW(kWindowClass, nullptr), nullptr);
        EXPECT_EQ(valueNames(), std::vector<std::wstring>{L"SysPath1"});
        EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"SysPath1", L""), L"C:\\Eins");
    }

    static std::vector<std::wstring> valueNames() {
        std::vector<std::wstring> names;
        UniqueRegKey key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kIdeKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return names;
        wchar_t name[256];
        for (DWORD i = 0, length = 256;
             RegEnumValueW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
             ++i, length = 256)
            names.emplace_back(name, length);
        return names;
    }
};

}  // namespace

TEST_F(SafeBoundaryTest, AControlThatCannotBeMadeFailsTheWholeWindow) {
    for (const ControlDefinition& row : kForm) {
        ImportHook hook("user32.dll", "CreateWindowExW", reinterpret_cast<void*>(&failingCreate));
        ASSERT_TRUE(hook.installed());
        createHook = &hook;
        failingControl = row.id;
        {
            TestWindow window;
            EXPECT_EQ(window.handle(), nullptr) << "control " << row.id;
        }
        createHook = nullptr;
        expectNoWindowAndNothingWritten();
    }
}

TEST_F(SafeBoundaryTest, SomethingThrownWhileLoadingLeavesNoWindow) {
    {
        ImportHook hook("advapi32.dll", "RegQueryValueExA", reinterpret_cast<void*>(&throwingQuery));
        ASSERT_TRUE(hook.installed());
        TestWindow window;
        EXPECT_EQ(window.handle(), nullptr);
    }
    expectNoWindowAndNothingWritten();
}

TEST_F(SafeBoundaryTest, SomethingThrownByAHandlerEndsOnlyThatHandler) {
    TestWindow window;
    ASSERT_TRUE(window.handle());
    window.select(2);
    window.setText(kSystemPath, L"C:\\Zwei");
    window.throwFromMessage = true;  // the refusal of "leer" below throws
    window.click(kSave);
    EXPECT_TRUE(IsWindow(window.handle()));
    EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, kIdeSystemValue, L"<fehlt>"), L"<fehlt>");

    window.throwFromMessage = false;
    window.close();  // still stores as usual
    EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"SysPath2", L"<fehlt>"), L"C:\\Zwei");
}
