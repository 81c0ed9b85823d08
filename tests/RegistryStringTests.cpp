#include <algorithm>
#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "CodePage.h"
#include "ImportHook.h"
#include "RegistrySandbox.h"
#include "schemas/SchemaTable.h"
#include "store/AnsiText.h"
#include "store/KeyWatch.h"
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
class RegistryStringTest : public RegistrySandbox {};

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

TEST_F(RegistryStringTest, MissingValueOrKeyGivesTheDefault) {
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

TEST_F(RegistryStringTest, WritesAnsiByteCountWithoutTerminator) {
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

TEST_F(RegistryStringTest, EmptyTextIsAZeroByteValueThatReadsAsDefault) {
    EXPECT_TRUE(save(L"SysPath1", L""));
    auto raw = getRaw(L"SysPath1");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw->bytes.size(), 0u);
    EXPECT_EQ(read(L"SysPath1", L"leer"), L"leer");
}

TEST_F(RegistryStringTest, WritingCreatesTheKeyPath) {
    deleteIdeKey();
    ASSERT_FALSE(keyExists());
    EXPECT_TRUE(save(L"ComPath2", L"D:\\Gemeinsam"));
    EXPECT_EQ(read(L"ComPath2"), L"D:\\Gemeinsam");
}

TEST_F(RegistryStringTest, RoundTripsLongAndAnsiTexts) {
    const std::wstring texts[] = {L"C:\\Programme\\\u00C4\u00D6\u00DC\u00E4\u00F6\u00FC\u00DF",
                                  L" C:\\ mit Leerzeichen ", L"leer", L"C:\\" + std::wstring(64 * 1024, L'x')};
    for (const auto& text : texts) {
        if (!ansiHolds(text)) continue;
        EXPECT_TRUE(save(L"SysPath3", text));
        EXPECT_EQ(read(L"SysPath3"), text);
    }
}

TEST_F(RegistryStringTest, NeverWritesTextTheCodePageCannotHold) {
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
TEST_F(RegistryStringTest, TextOutsideTheCodePageReadsAsStoredAndIsNeverOverwritten) {
    for (const std::wstring& text : {L"C:\\" + foreignText(), foreignText() + L":\\x"}) {
        putWide(L"SysPath1", text);
        const auto before = getRaw(L"SysPath1");
        const std::wstring shown = read(L"SysPath1");
        EXPECT_EQ(shown, text);
        EXPECT_FALSE(save(L"SysPath1", shown));
        EXPECT_EQ(getRaw(L"SysPath1")->bytes, before->bytes);
    }
}

TEST_F(RegistryStringTest, RefusedWriteReportsFalse) {
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

ImportHook* notifyHook = nullptr;
int notifyRequests = 0;

LSTATUS WINAPI countingNotify(HKEY key, BOOL subtree, DWORD filter, HANDLE event, BOOL async) {
    ++notifyRequests;
    return notifyHook->original<decltype(&RegNotifyChangeKeyValue)>()(key, subtree, filter, event, async);
}

class KeyWatchTest : public RegistrySandbox {};

}  // namespace

// A value that grows between the size probe and the read must not fall back to the
// default: the window would show "leer" and store it over the real value at close.
TEST_F(RegistryStringTest, ValueGrowingDuringReadIsReadAgain) {
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

// A request waits until the key changes or its handle closes: arming again must not pile up another.
TEST_F(KeyWatchTest, ArmingAgainWhileARequestWaitsAsksNothingMore) {
    putWide(kIdeSystemValue, L"C:\\Alt");
    ImportHook hook("advapi32.dll", "RegNotifyChangeKeyValue", reinterpret_cast<void*>(&countingNotify));
    ASSERT_TRUE(hook.installed());
    notifyHook = &hook;
    KeyWatch watch;
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(watch.arm(HKEY_CURRENT_USER, kIdeKey));
    EXPECT_EQ(notifyRequests, 1) << "a second request while the first waits";
}

// Random registry contents and random texts with a fixed seed, so a failure can be
// replayed.
namespace {

constexpr unsigned kSeed = 20261207;
constexpr int kRounds = 3000;

// Characters that matter to the rules: drive syntax, spaces, ANSI umlauts, characters
// the code page lacks, wildcards and NUL.
constexpr wchar_t kAlphabet[] = {L'C',      L'c',      L':',      L'\\', L' ', L'a', L'1',
                                 L'\u00FC', L'\u0416', L'\u0141', L'?',  L'/', L'\0'};

std::wstring randomText(std::mt19937& random, size_t maxLength) {
    std::uniform_int_distribution<size_t> length(0, maxLength);
    std::uniform_int_distribution<size_t> pick(0, std::size(kAlphabet) - 1);
    std::wstring text(length(random), L' ');
    for (auto& c : text) c = kAlphabet[pick(random)];
    return text;
}

class PropertyTest : public RegistrySandbox {};

}  // namespace

TEST_F(PropertyTest, ReadingAnyContentGivesTheDefaultOrATextWithoutNul) {
    std::mt19937 random(kSeed);
    const DWORD types[] = {REG_SZ,     REG_SZ,    REG_SZ,    REG_EXPAND_SZ, REG_MULTI_SZ,
                           REG_BINARY, REG_DWORD, REG_QWORD, REG_NONE};
    std::uniform_int_distribution<size_t> pickType(0, std::size(types) - 1);
    std::uniform_int_distribution<int> byte(0, 255), coin(0, 1);
    std::uniform_int_distribution<size_t> length(0, 64);

    for (int round = 0; round < kRounds; ++round) {
        const DWORD type = types[pickType(random)];
        std::string bytes(length(random), '\0');
        for (auto& b : bytes) b = static_cast<char>(coin(random) ? byte(random) : 'a' + byte(random) % 26);
        if (coin(random))
            putRaw(L"Value", type, bytes);
        else
            putRawWide(L"Value", type, bytes);

        const std::wstring text = regGetString(HKEY_CURRENT_USER, kIdeKey, L"Value", L"\u2205");
        if (text == L"\u2205") continue;
        ASSERT_EQ(type, static_cast<DWORD>(REG_SZ)) << "round " << round;
        ASSERT_EQ(text.find(L'\0'), std::wstring::npos) << "round " << round;
    }
}

TEST_F(PropertyTest, AStringWrittenByAnotherProgramReadsBackAsWritten) {
    std::mt19937 random(kSeed + 1);
    for (int round = 0; round < kRounds; ++round) {
        std::wstring text = randomText(random, 12);
        text.resize(std::min(text.find(L'\0'), text.size()));
        if (text.empty()) continue;  // an empty string is a lone NUL: covered elsewhere
        putWide(L"Value", text);
        ASSERT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"Value", L"\u2205"), text) << "round " << round;
        // And what we write reads back the same, or is refused when it cannot be exact.
        const bool written = regSaveString(HKEY_CURRENT_USER, kIdeKey, L"Own", text);
        ASSERT_EQ(written, toAnsiExact(text).has_value()) << "round " << round;
        if (written) {
            ASSERT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"Own", L""), text);
        }
    }
}
