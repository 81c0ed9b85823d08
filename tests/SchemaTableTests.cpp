#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "RegistrySandbox.h"
#include "schemas/SchemaTable.h"
#include "store/RegistryString.h"

namespace {

class SchemaTableTest : public RegistrySandbox {
protected:
    SchemaTable loaded() {
        SchemaTable table;
        table.regKey = kIdeKey;
        table.getSch();
        return table;
    }
    void put(const std::wstring& name, const std::string& ansi) { putRaw(name, REG_SZ, ansi); }
    // The stored ASCII text without the terminator the registry keeps, or nullopt when
    // the value is missing; "" means zero bytes, unlike a lone terminator.
    std::optional<std::string> stored(const std::wstring& name) {
        auto raw = getRaw(name);
        if (!raw) return std::nullopt;
        EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
        std::string narrow;
        for (size_t i = 0; i + 1 < raw->bytes.size(); i += 2) narrow += raw->bytes[i];
        if (narrow.size() > 1 && narrow.back() == '\0') narrow.pop_back();
        return narrow;
    }
};

struct SeedCase {
    const char* label;
    std::optional<std::string> sysPath0, comPath0, ideSystem, ideCommon;
    std::wstring expectedSys0, expectedCom0;
    std::optional<std::string> storedSys0, storedCom0;
};

class SeedingTest : public SchemaTableTest, public ::testing::WithParamInterface<SeedCase> {};

struct CloseCase {
    const char* label;
    std::optional<std::string> atStart, other;  // "SysPath1" at load, and as another copy stores it
    std::vector<std::wstring> edits;            // this copy's texts for it, in order
    std::string stored;                         // at close; "" is zero bytes
};

void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.label;
}

class StoreAtCloseTest : public SchemaTableTest, public ::testing::WithParamInterface<CloseCase> {};

}  // namespace

TEST_P(SeedingTest, SeedsStandardHalfByHalf) {
    const SeedCase& c = GetParam();
    putRaw(L"Unrelated", REG_SZ, "x");  // the key exists in every case here
    if (c.sysPath0) put(L"SysPath0", *c.sysPath0);
    if (c.comPath0) put(L"ComPath0", *c.comPath0);
    if (c.ideSystem) put(kIdeSystemValue, *c.ideSystem);
    if (c.ideCommon) put(kIdeCommonValue, *c.ideCommon);

    const SchemaTable table = loaded();
    EXPECT_EQ(table.sysPaths[0], c.expectedSys0);
    EXPECT_EQ(table.comPaths[0], c.expectedCom0);
    EXPECT_EQ(stored(L"SysPath0"), c.storedSys0);
    EXPECT_EQ(stored(L"ComPath0"), c.storedCom0);
    for (int i = 1; i < kSchemaCount; ++i) {
        EXPECT_EQ(table.sysPaths[i], L"leer");
        EXPECT_EQ(table.comPaths[i], L"leer");
    }
    // The IDE's own values are only read.
    EXPECT_EQ(stored(kIdeSystemValue), c.ideSystem);
    EXPECT_EQ(stored(kIdeCommonValue), c.ideCommon);
}

INSTANTIATE_TEST_SUITE_P(
    Start, SeedingTest,
    ::testing::Values(
        SeedCase{"FirstRunTakesIdeValues", {}, {}, "C:\\Sys", "D:\\Com", L"C:\\Sys", L"D:\\Com", "C:\\Sys", "D:\\Com"},
        SeedCase{"FirstRunWithoutIdeValuesStoresZeroBytes", {}, {}, {}, {}, L"", L"", "", ""},
        SeedCase{"StoredLeerIsSeededAgain", "leer", "D:\\Alt", "C:\\Sys", "D:\\Com", L"C:\\Sys", L"D:\\Alt", "C:\\Sys",
                 "D:\\Alt"},
        SeedCase{"OnlyMissingHalfIsSeeded",
                 "C:\\Alt",
                 {},
                 "C:\\Sys",
                 "D:\\Com",
                 L"C:\\Alt",
                 L"D:\\Com",
                 "C:\\Alt",
                 "D:\\Com"},
        SeedCase{"ZeroByteStandardIsSeededAgain", "", "", "C:\\Sys", {}, L"C:\\Sys", L"", "C:\\Sys", ""},
        SeedCase{"LeerIsCaseSensitive", "Leer", "LEER", "C:\\Sys", "D:\\Com", L"Leer", L"LEER", "Leer", "LEER"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(SchemaTableTest, FirstRunWithoutKeyCreatesItAndCloseStoresLeer) {
    ASSERT_FALSE(keyExists());
    SchemaTable table = loaded();
    EXPECT_EQ(stored(L"SysPath0"), "");
    EXPECT_EQ(stored(L"ComPath0"), "");
    table.saveReg();
    for (int i = 1; i < kSchemaCount; ++i) {
        EXPECT_EQ(stored(L"SysPath" + std::to_wstring(i)), "leer");
        EXPECT_EQ(stored(L"ComPath" + std::to_wstring(i)), "leer");
    }
    EXPECT_FALSE(getRaw(kIdeSystemValue));
}

TEST_F(SchemaTableTest, CloseStoresSchemasOneToFiveAndNeverStandard) {
    put(L"SysPath0", "C:\\Standard");
    put(L"ComPath0", "D:\\Standard");
    SchemaTable table = loaded();
    table.sysPaths[0] = L"X:\\must not be stored";
    table.comPaths[0] = L"";
    for (int i = 1; i < kSchemaCount; ++i) {
        table.sysPaths[i] = L"C:\\Sys" + std::to_wstring(i);
        table.comPaths[i] = L"D:\\Com" + std::to_wstring(i);
    }
    table.comPaths[4] = L"";  // a cleared box: zero bytes, "leer" at the next start
    table.saveReg();

    EXPECT_EQ(stored(L"SysPath0"), "C:\\Standard");
    EXPECT_EQ(stored(L"ComPath0"), "D:\\Standard");
    for (int i = 1; i < kSchemaCount; ++i) {
        EXPECT_EQ(stored(L"SysPath" + std::to_wstring(i)), "C:\\Sys" + std::to_string(i));
        if (i != 4) {
            EXPECT_EQ(stored(L"ComPath" + std::to_wstring(i)), "D:\\Com" + std::to_string(i));
        }
    }
    EXPECT_EQ(stored(L"ComPath4"), "");

    const SchemaTable next = loaded();
    EXPECT_EQ(next.sysPaths[3], L"C:\\Sys3");
    EXPECT_EQ(next.comPaths[4], L"leer");
}

TEST_F(SchemaTableTest, WriteThroughChangesOnlyTheSelectedEntry) {
    SchemaTable table = loaded();
    const SchemaPaths before = table.sysPaths;
    writeThrough(table.sysPaths, 3, L"C:\\neu");
    for (int i = 0; i < kSchemaCount; ++i) EXPECT_EQ(table.sysPaths[i], i == 3 ? L"C:\\neu" : before[i]);
    EXPECT_EQ(table.comPaths[3], L"leer");
    EXPECT_EQ(stored(L"SysPath3"), std::nullopt);  // memory only until close

    // The list reports no selection (-1) before the start sequence selects one.
    const SchemaPaths selected = table.sysPaths;
    writeThrough(table.sysPaths, -1, L"C:\\verloren");
    writeThrough(table.sysPaths, kSchemaCount, L"C:\\verloren");
    EXPECT_EQ(table.sysPaths, selected);
}

// ---- Two copies: what is stored at close ----

TEST_P(StoreAtCloseTest, KeepsWhatAnotherCopyStoredWhereThisOneChangedNothing) {
    const CloseCase& c = GetParam();
    put(L"SysPath0", "C:\\Standard");
    if (c.atStart) put(L"SysPath1", *c.atStart);
    SchemaTable table = loaded();
    for (const auto& text : c.edits) writeThrough(table.sysPaths, 1, text);
    if (c.other) put(L"SysPath1", *c.other);
    put(L"SysPath0", "C:\\Anders");  // "Standard" is never taken again
    table.saveReg();
    EXPECT_EQ(stored(L"SysPath1"), c.stored);
    EXPECT_EQ(table.sysPaths[0], L"C:\\Standard");
}

INSTANTIATE_TEST_SUITE_P(
    TwoCopies, StoreAtCloseTest,
    ::testing::Values(CloseCase{"Changed", "C:\\Alt", "C:\\Andere", {L"C:\\Neu"}, "C:\\Neu"},
                      CloseCase{"UnchangedWhileAnotherStored", "C:\\Alt", "C:\\Andere", {}, "C:\\Andere"},
                      CloseCase{"UnchangedAndMissing", {}, {}, {}, "leer"},
                      CloseCase{"UnchangedAndOneNul", std::string(1, '\0'), {}, {}, ""},
                      CloseCase{
                          "ChangedAndChangedBack", "C:\\Alt", "C:\\Andere", {L"C:\\Neu", L"C:\\Alt"}, "C:\\Andere"}),
    [](const auto& info) { return std::string(info.param.label); });
