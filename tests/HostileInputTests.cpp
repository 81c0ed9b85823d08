// The whole program (start, use, close) against registry contents that another
// program or a damaged profile could leave, with the registry checked byte for byte.
#include <map>
#include <optional>

#include "CodePage.h"
#include "ImportHook.h"
#include "RegistrySandbox.h"
#include "WindowHarness.h"
#include "store/AnsiText.h"
#include "store/RegistryString.h"

namespace {

std::string utf16(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// What a value holds after the program wrote text to it: the ANSI count with no
// terminator, which the registry then completes with one.
std::string writtenBytes(const std::wstring& text) {
    return text.empty() ? std::string() : utf16(text) + std::string(2, '\0');
}

std::vector<std::wstring> allValueNames() {
    std::vector<std::wstring> names = {kIdeSystemValue, kIdeCommonValue};
    for (int i = 0; i < kSchemaCount; ++i) {
        names.push_back(L"SysPath" + std::to_wstring(i));
        names.push_back(L"ComPath" + std::to_wstring(i));
    }
    return names;
}

struct Content {
    const char* label;
    DWORD type;
    std::string bytes;                  // raw data
    bool unicodeCall;                   // written through RegSetValueExW (bytes are UTF-16) or the ANSI call
    std::optional<std::wstring> shown;  // the text the program reads; nothing for the default
};

const std::wstring kLong64 = L"C:\\" + std::wstring(64 * 1024, L'x');
const std::wstring kLong1M = L"C:\\" + std::wstring(1024 * 1024, L'y');

class HostileContentTest : public RegistrySandbox, public ::testing::WithParamInterface<Content> {
protected:
    void putEverywhere(const Content& c) {
        for (const auto& name : allValueNames()) {
            if (c.unicodeCall)
                putRawWide(name, c.type, c.bytes);
            else
                putRaw(name, c.type, c.bytes);
        }
    }
};

}  // namespace

TEST_P(HostileContentTest, ShowsWhatTheRulesSayAndStoresBackWithoutLoss) {
    const Content& c = GetParam();
    putEverywhere(c);
    std::map<std::wstring, std::string> before;
    for (const auto& name : allValueNames()) before[name] = getRaw(name)->bytes;

    const std::wstring schemaText = c.shown.value_or(L"leer");
    // "Standard" is seeded from the IDE's value (default "") only where it reads as unset.
    const bool seeded = schemaText == L"leer";
    const std::wstring standardText = seeded ? c.shown.value_or(L"") : schemaText;
    {
        TestWindow window;
        ASSERT_TRUE(window.handle());
        EXPECT_EQ(window.text(kCurSys), L"SystemModule: " + c.shown.value_or(L"leer"));
        EXPECT_EQ(window.text(kCurCom), L"Gemeinsame Module: " + c.shown.value_or(L"leer"));
        EXPECT_EQ(window.text(kSystemPath), standardText);
        EXPECT_EQ(window.text(kCommonPath), standardText);
        for (int i = 1; i < kSchemaCount; ++i) {
            window.select(i);
            EXPECT_EQ(window.text(kSystemPath), schemaText) << "schema " << i;
            EXPECT_EQ(window.text(kCommonPath), schemaText) << "schema " << i;
        }
        window.select(0);
        window.close();
        EXPECT_FALSE(IsWindow(window.handle()));
        EXPECT_TRUE(window.messages.empty());
    }

    const bool storable = toAnsiExact(schemaText).has_value();
    for (const auto& name : allValueNames()) {
        const std::string after = getRaw(name)->bytes;
        const bool standard = name == L"SysPath0" || name == L"ComPath0";
        const bool schema = (name.rfind(L"SysPath", 0) == 0 || name.rfind(L"ComPath", 0) == 0) && !standard;
        if (schema && storable)
            EXPECT_EQ(after, writtenBytes(schemaText)) << testing::PrintToString(name);
        else if (standard && seeded && toAnsiExact(standardText))
            EXPECT_EQ(after, writtenBytes(standardText)) << testing::PrintToString(name);
        else
            EXPECT_EQ(after, before[name]) << testing::PrintToString(name);  // untouched
    }
}

INSTANTIATE_TEST_SUITE_P(
    RegistryContents, HostileContentTest,
    ::testing::Values(Content{"Dword", REG_DWORD, std::string("\x2A\0\0\0", 4), false, {}},
                      Content{"ExpandSz", REG_EXPAND_SZ, std::string("C:\\x\0", 5), false, {}},
                      Content{"Binary", REG_BINARY, "C:\\x", false, {}},
                      Content{"MultiSz", REG_MULTI_SZ, std::string("C:\\x\0D:\\y\0\0", 11), false, {}},
                      Content{"ZeroBytes", REG_SZ, "", false, {}},
                      Content{"LoneNul", REG_SZ, std::string(1, '\0'), false, L""},
                      Content{"NoTerminator", REG_SZ, utf16(L"C:\\Modul"), true, L"C:\\Modul"},
                      Content{"OddByteCount", REG_SZ, utf16(L"C:\\Modul") + "x", true, L"C:\\Modul"},
                      Content{"Text64KiB", REG_SZ, std::string(kLong64.begin(), kLong64.end()), false, kLong64},
                      Content{"Text1MiB", REG_SZ, std::string(kLong1M.begin(), kLong1M.end()), false, kLong1M},
                      Content{"OutsideCodePage", REG_SZ, utf16(L"C:\\" + foreignText()) + std::string(2, '\0'), true,
                              L"C:\\" + foreignText()}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(RegistrySandbox, RefusedWritesLeaveEverythingAsItWasAndAreShownTruthfully) {
    putRaw(kIdeSystemValue, REG_SZ, "C:\\alt\\System");
    putRaw(kIdeCommonValue, REG_SZ, "C:\\alt\\Gemeinsam");
    putRaw(L"SysPath2", REG_SZ, "C:\\Schema2");
    setIdeKeyWritable(false);
    {
        TestWindow window;
        ASSERT_TRUE(window.handle());
        window.select(2);
        EXPECT_EQ(window.text(kSystemPath), L"C:\\Schema2");
        window.setText(kCommonPath, L"D:\\neu");
        window.click(kSave);
        // Nothing to report: the labels show what the registry really holds.
        EXPECT_TRUE(window.messages.empty());
        EXPECT_EQ(window.text(kCurSys), L"SystemModule: C:\\alt\\System");
        EXPECT_EQ(window.text(kCurCom), L"Gemeinsame Module: C:\\alt\\Gemeinsam");
        window.close();
        EXPECT_FALSE(IsWindow(window.handle()));
    }
    setIdeKeyWritable(true);
    EXPECT_EQ(getRaw(L"SysPath2")->bytes, writtenBytes(L"C:\\Schema2"));
    EXPECT_FALSE(getRaw(L"ComPath2"));
    EXPECT_FALSE(getRaw(L"SysPath0"));  // the seeding could not store either
    EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, kIdeSystemValue, L""), L"C:\\alt\\System");
}

TEST_F(RegistrySandbox, TwoCopiesEachKeepTheOthersChange) {
    {
        TestWindow first, second;
        ASSERT_TRUE(first.handle() && second.handle());
        first.select(1);
        first.setText(kSystemPath, L"C:\\Erste");
        second.select(2);
        second.setText(kSystemPath, L"C:\\Zweite");
        first.close();
        EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"SysPath1", L""), L"C:\\Erste");
        second.close();
        EXPECT_FALSE(IsWindow(first.handle()) || IsWindow(second.handle()));
    }
    EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"SysPath1", L""), L"C:\\Erste");
    EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"SysPath2", L""), L"C:\\Zweite");
}

namespace {

std::vector<std::pair<HKEY, std::string>> keysOpened;
ImportHook* openHook = nullptr;
ImportHook* createHook = nullptr;
ImportHook* watchHook = nullptr;

LONG WINAPI recordingOpen(HKEY hive, LPCSTR subkey, PHKEY key) {
    keysOpened.emplace_back(hive, subkey ? subkey : "");
    return openHook->original<decltype(&RegOpenKeyA)>()(hive, subkey, key);
}

LONG WINAPI recordingCreate(HKEY hive, LPCSTR subkey, PHKEY key) {
    keysOpened.emplace_back(hive, subkey ? subkey : "");
    return createHook->original<decltype(&RegCreateKeyA)>()(hive, subkey, key);
}

// The watch on the IDE's key, which opens it for notification only.
LONG WINAPI recordingWatch(HKEY hive, LPCSTR subkey, DWORD options, REGSAM access, PHKEY key) {
    keysOpened.emplace_back(hive, subkey ? subkey : "");
    EXPECT_EQ(access, static_cast<REGSAM>(KEY_NOTIFY));
    return watchHook->original<decltype(&RegOpenKeyExA)>()(hive, subkey, options, access, key);
}

}  // namespace

TEST_F(RegistrySandbox, EveryRegistryAccessIsTheOneKeyBelowTheCurrentUser) {
    ImportHook open("advapi32.dll", "RegOpenKeyA", reinterpret_cast<void*>(&recordingOpen));
    ImportHook create("advapi32.dll", "RegCreateKeyA", reinterpret_cast<void*>(&recordingCreate));
    ImportHook watch("advapi32.dll", "RegOpenKeyExA", reinterpret_cast<void*>(&recordingWatch));
    ASSERT_TRUE(open.installed() && create.installed() && watch.installed());
    openHook = &open;
    createHook = &create;
    watchHook = &watch;
    keysOpened.clear();
    {
        TestWindow window;
        finishStart();
        window.select(3);
        window.setText(kSystemPath, L"C:\\Sys");
        window.setText(kCommonPath, L"C:\\Com");
        window.click(kSave);
        window.close();
    }
    openHook = createHook = watchHook = nullptr;
    // Start: 12 reads, 2 seeding reads and 2 writes, the IDE's 2 values read once for labels
    // and caption; after the first frame the watch, then the IDE's 2 values and the 10 of
    // schemas 1 to 5 read again; apply: 2 writes and 2 reads; close: the 8 values left
    // unchanged read again, 10 writes.
    EXPECT_EQ(keysOpened.size(), 53u);
    const std::string ideKey(std::begin(kIdeKey), std::end(kIdeKey) - 1);
    for (const auto& [hive, subkey] : keysOpened) {
        EXPECT_EQ(hive, HKEY_CURRENT_USER);
        EXPECT_EQ(subkey, ideKey);
    }
}
