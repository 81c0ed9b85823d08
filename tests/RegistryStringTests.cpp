#include <vector>

#include "CodePage.h"
#include "ImportHook.h"
#include "RegistrySandbox.h"
#include "schemas/SchemaTable.h"
#include "store/AnsiText.h"
#include "store/RegistryString.h"

namespace {

std::wstring read(const std::wstring& name, const std::wstring& defaultText = L"dflt") {
    return regGetString(HKEY_CURRENT_USER, kIdeKey, name, defaultText);
}

bool save(const std::wstring& name, const std::wstring& value) {
    return regSaveString(HKEY_CURRENT_USER, kIdeKey, name, value);
}

struct StoredCase {
    const char* label;
    DWORD type;
    std::string bytes;  // as another program writes them through the ANSI call
    std::wstring expected;
};

class RegistryReadTest : public RegistrySandbox, public ::testing::WithParamInterface<StoredCase> {};

}  // namespace

TEST_P(RegistryReadTest, ReadsStoredValueOrDefault) {
    const StoredCase& c = GetParam();
    if (!ansiHolds(c.expected)) GTEST_SKIP() << "the ANSI code page lacks these characters";
    putRaw(L"Value", c.type, c.bytes);
    EXPECT_EQ(read(L"Value"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    StoredValues, RegistryReadTest,
    ::testing::Values(StoredCase{"TextWithTerminator", REG_SZ, std::string("C:\\Module", 10), L"C:\\Module"},
                      StoredCase{"TextWithoutTerminator", REG_SZ, "C:\\Module", L"C:\\Module"},
                      StoredCase{"ZeroBytesIsDefault", REG_SZ, "", L"dflt"},
                      StoredCase{"LoneNulIsEmpty", REG_SZ, std::string(1, '\0'), L""},
                      StoredCase{"TextEndsAtFirstNul", REG_SZ, std::string("C:\\A\0junk", 9), L"C:\\A"},
                      StoredCase{"AnsiUmlauts", REG_SZ, ansiBytes(L"C:\\M\u00FCll\\\u00C4rger"),
                                 L"C:\\M\u00FCll\\\u00C4rger"},
                      StoredCase{"ExpandSzIsDefault", REG_EXPAND_SZ, std::string("C:\\x", 5), L"dflt"},
                      StoredCase{"DwordIsDefault", REG_DWORD, std::string("\x01\x00\x00\x00", 4), L"dflt"},
                      StoredCase{"BinaryIsDefault", REG_BINARY, "C:\\x", L"dflt"},
                      StoredCase{"MultiSzIsDefault", REG_MULTI_SZ, std::string("C:\\x\0\0", 6), L"dflt"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(RegistrySandbox, MissingValueOrKeyGivesTheDefault) {
    EXPECT_FALSE(keyExists());
    EXPECT_EQ(read(L"SysPath1", L"leer"), L"leer");
    EXPECT_EQ(read(L"SysPath1", L""), L"");
    putRaw(L"Other", REG_SZ, "x");
    EXPECT_EQ(read(L"SysPath1", L"leer"), L"leer");
}

namespace {

std::vector<DWORD> writtenSizes;
ImportHook* setValueHook = nullptr;

LONG WINAPI recordingSetValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
    writtenSizes.push_back(size);
    return setValueHook->original<decltype(&RegSetValueExA)>()(key, name, reserved, type, data, size);
}

}  // namespace

TEST_F(RegistrySandbox, WritesAnsiByteCountWithoutTerminator) {
    ImportHook hook("advapi32.dll", "RegSetValueExA", reinterpret_cast<void*>(&recordingSetValue));
    ASSERT_TRUE(hook.installed());
    setValueHook = &hook;
    writtenSizes.clear();
    // One byte a character on single-byte code pages; more where the code page is UTF-8.
    const std::wstring umlauts = ansiHolds(L"C:\\M\u00FCll") ? L"C:\\M\u00FCll" : L"C:\\Muell";
    EXPECT_TRUE(save(L"SysPath1", L"C:\\Module"));
    EXPECT_TRUE(save(L"SysPath2", umlauts));
    EXPECT_TRUE(save(L"SysPath3", L""));
    setValueHook = nullptr;
    const auto umlautBytes = static_cast<DWORD>(ansiBytes(umlauts).size());
    EXPECT_EQ(writtenSizes, (std::vector<DWORD>{9, umlautBytes, 0}));
    if (GetACP() == 1252) {
        EXPECT_EQ(umlautBytes, 7u);
    }

    // The registry keeps the terminator the count leaves out, so it reads back whole.
    auto raw = getRaw(L"SysPath1");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(read(L"SysPath1"), L"C:\\Module");
    EXPECT_EQ(read(L"SysPath2"), umlauts);
}

TEST_F(RegistrySandbox, EmptyTextIsAZeroByteValueThatReadsAsDefault) {
    EXPECT_TRUE(save(L"SysPath1", L""));
    auto raw = getRaw(L"SysPath1");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw->bytes.size(), 0u);
    EXPECT_EQ(read(L"SysPath1", L"leer"), L"leer");
}

TEST_F(RegistrySandbox, WritingCreatesTheKeyPath) {
    deleteIdeKey();
    ASSERT_FALSE(keyExists());
    EXPECT_TRUE(save(L"ComPath2", L"D:\\Gemeinsam"));
    EXPECT_EQ(read(L"ComPath2"), L"D:\\Gemeinsam");
}

TEST_F(RegistrySandbox, RoundTripsLongAndAnsiTexts) {
    const std::wstring texts[] = {L"C:\\Programme\\\u00C4\u00D6\u00DC\u00E4\u00F6\u00FC\u00DF",
                                  L" C:\\ mit Leerzeichen ", L"leer", L"C:\\" + std::wstring(64 * 1024, L'x')};
    for (const auto& text : texts) {
        if (!ansiHolds(text)) continue;
        EXPECT_TRUE(save(L"SysPath3", text));
        EXPECT_EQ(read(L"SysPath3"), text);
    }
}

TEST_F(RegistrySandbox, NeverWritesTextTheCodePageCannotHold) {
    ASSERT_TRUE(save(L"SysPath1", L"C:\\alt"));
    // Without the exact test these would be stored as "C:\?" or silently as "L".
    for (const std::wstring& text : {L"C:\\" + foreignText(), foreignText()}) {
        EXPECT_FALSE(save(L"SysPath1", text));
        EXPECT_FALSE(save(L"SysPath2", text));
    }
    EXPECT_EQ(read(L"SysPath1"), L"C:\\alt");
    EXPECT_FALSE(getRaw(L"SysPath2"));
}

// Written by another program through the Unicode calls: the ANSI read alone would
// give "C:\???" or "C:\Lodz", and storing that back would corrupt the value.
TEST_F(RegistrySandbox, TextOutsideTheCodePageReadsAsStoredAndIsNeverOverwritten) {
    for (const std::wstring& text : {L"C:\\" + foreignText(), foreignText() + L":\\x"}) {
        putWide(L"SysPath1", text);
        const auto before = getRaw(L"SysPath1");
        const std::wstring shown = read(L"SysPath1");
        EXPECT_EQ(shown, text);
        EXPECT_FALSE(save(L"SysPath1", shown));
        EXPECT_EQ(getRaw(L"SysPath1")->bytes, before->bytes);
    }
}

TEST_F(RegistrySandbox, RefusedWriteReportsFalse) {
    ASSERT_TRUE(save(L"SysPath1", L"C:\\alt"));
    setIdeKeyWritable(false);
    EXPECT_FALSE(save(L"SysPath1", L"C:\\neu"));
    EXPECT_FALSE(save(L"SysPath2", L"C:\\neu"));
    setIdeKeyWritable(true);
    EXPECT_EQ(read(L"SysPath1"), L"C:\\alt");
    EXPECT_FALSE(getRaw(L"SysPath2"));
}

namespace {

ImportHook* queryHook = nullptr;
int queryCalls = 0;

// Lets the probe through, then lets "another program" grow the value before the read.
LONG WINAPI growingQuery(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
    if (++queryCalls == 2) {
        const std::wstring longer = L"C:\\" + std::wstring(300, L'b');
        RegSetValueExW(key, L"SysPath4", 0, REG_SZ, reinterpret_cast<const BYTE*>(longer.c_str()),
                       static_cast<DWORD>((longer.size() + 1) * sizeof(wchar_t)));
    }
    return queryHook->original<decltype(&RegQueryValueExA)>()(key, name, reserved, type, data, size);
}

}  // namespace

// A value that grows between the size probe and the read must not fall back to the
// default: the window would show "leer" and store it over the real value at close.
TEST_F(RegistrySandbox, ValueGrowingDuringReadIsReadAgain) {
    ASSERT_TRUE(save(L"SysPath4", L"C:\\a"));
    ImportHook hook("advapi32.dll", "RegQueryValueExA", reinterpret_cast<void*>(&growingQuery));
    ASSERT_TRUE(hook.installed());
    queryHook = &hook;
    queryCalls = 0;
    const std::wstring text = read(L"SysPath4");
    queryHook = nullptr;
    EXPECT_EQ(text, L"C:\\" + std::wstring(300, L'b'));
    EXPECT_EQ(queryCalls, 3);  // probe, read that found more data, read again
}

// The system's "Unicode UTF-8 for worldwide language support" option makes the ANSI
// code page 65001; the conversions must then be exact UTF-8 both ways.
TEST(AnsiText, Utf8CodePageRoundTripsAndRefusesBrokenSurrogates) {
    const std::wstring text = L"C:\\J\u00F6rg\\\u041C\u043E\u0434\u0443\u043B\u0438";
    const auto bytes = toAnsiExact(text, CP_UTF8);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, "C:\\J\xC3\xB6rg\\\xD0\x9C\xD0\xBE\xD0\xB4\xD1\x83\xD0\xBB\xD0\xB8");
    EXPECT_EQ(fromAnsi(*bytes, CP_UTF8), text);
    for (const std::wstring& broken :
         {std::wstring(L"C:\\\xD800"), std::wstring(L"C:\\\xDC00x"), std::wstring(L"\xDBFF")})
        EXPECT_FALSE(toAnsiExact(broken, CP_UTF8)) << "a broken surrogate was converted";
}

TEST(AnsiText, SingleByteCodePageRefusesWhatItLacks) {
    EXPECT_EQ(toAnsiExact(L"C:\\M\u00FCll", 1252), std::optional<std::string>("C:\\M\xFCll"));
    EXPECT_EQ(fromAnsi("C:\\M\xFCll", 1252), L"C:\\M\u00FCll");
    EXPECT_FALSE(toAnsiExact(L"C:\\\u041C", 1252));  // would be "?"
    EXPECT_FALSE(toAnsiExact(L"C:\\\u0141", 1252));  // would be "L" by best fit
}

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
