#include <algorithm>
#include <cstddef>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "CodePage.h"
#include "RegistrySandbox.h"
#include "schemas/Applying.h"
#include "schemas/SchemaTable.h"
#include "store/RegistryString.h"

namespace {

const wchar_t kRefusal[] = L"ungültige Pfadangabe !\r\nModul-Pfade wurden nicht gesetzt !";

class ApplyingTest : public RegistrySandbox {
protected:
    std::vector<Message> shown;
    ShowMessage recorder() {
        return [this](const Message& message) {
            shown.push_back(message);
            return MessageAnswer::Ok;
        };
    }
    bool apply(const std::wstring& system, const std::wstring& common) {
        return applySchema(kIdeKey, system, common, recorder());
    }
    std::wstring ide(const wchar_t* name) { return regGetString(HKEY_CURRENT_USER, kIdeKey, name, L"<missing>"); }
};

constexpr unsigned kSeed = 20261209;
constexpr int kRounds = 3000;

// Drive syntax, spaces, umlauts, wildcards and letters of other scripts: those the code
// page holds make up folder texts.
constexpr wchar_t kCharacters[] = {L'C', L'c',      L':',      L'\\',     L' ', L'a',
                                   L'1', L'\u00FC', L'\u0416', L'\u0141', L'?', L'/'};

// A folder text and whether it was built valid: one character the code page holds, ":\",
// then anything it holds; or that with one part broken: ":\" (another character in its
// place), the length (cut below three) or a character the code page lacks.
std::pair<std::wstring, bool> builtFolderText(std::mt19937& random, const std::wstring& held, wchar_t lacked) {
    const auto pick = [&] {
        return held[random() % held.size()];
    };
    std::wstring text = {pick(), L':', L'\\'};
    for (auto tail = random() % 7; tail > 0; --tail) text += pick();
    switch (random() % 6) {
        case 0: {
            const size_t at = 1 + random() % 2;
            while (text[at] == (at == 1 ? L':' : L'\\')) text[at] = pick();
            return {text, false};
        }
        case 1: text.resize(random() % 3); return {text, false};
        case 2: {  // as the first character or anywhere after ":\"
            const size_t at = random() % (text.size() - 1);
            if (at == 0)
                text[0] = lacked;
            else
                text.insert(at + 2, 1, lacked);
            return {text, false};
        }
        default: return {text, true};
    }
}

}  // namespace

TEST_F(ApplyingTest, ValidPairIsWrittenAndShownWithoutMessage) {
    EXPECT_TRUE(apply(L"C:\\Module\\System", L"D:\\Gemeinsam"));
    EXPECT_EQ(ide(kIdeSystemValue), L"C:\\Module\\System");
    EXPECT_EQ(ide(kIdeCommonValue), L"D:\\Gemeinsam");
    const ActiveTexts active = getAkt(kIdeKey);
    EXPECT_EQ(active.system, L"SystemModule: C:\\Module\\System");
    EXPECT_EQ(active.common, L"Gemeinsame Module: D:\\Gemeinsam");

    // Again: the same values, still no message.
    EXPECT_TRUE(apply(L"C:\\Module\\System", L"D:\\Gemeinsam"));
    EXPECT_EQ(ide(kIdeSystemValue), L"C:\\Module\\System");
    EXPECT_TRUE(shown.empty());
}

TEST_F(ApplyingTest, InvalidPairIsRefusedAndWritesNothing) {
    putRaw(kIdeSystemValue, REG_SZ, "C:\\alt\\sys");
    putRaw(kIdeCommonValue, REG_SZ, "C:\\alt\\com");
    const std::pair<std::wstring, std::wstring> pairs[] = {
        {L"C:\\gut", L"C:"},
        {L"leer", L"D:\\gut"},
        {L"", L""},
        {L"C:\\gut", L"C:\\" + foreignText()},
    };
    for (const auto& [system, common] : pairs) {
        shown.clear();
        EXPECT_FALSE(apply(system, common));
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, kRefusal);
        EXPECT_EQ(shown[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(shown[0].icon, MessageIcon::None);
        EXPECT_EQ(ide(kIdeSystemValue), L"C:\\alt\\sys");
        EXPECT_EQ(ide(kIdeCommonValue), L"C:\\alt\\com");
    }
}

TEST_F(ApplyingTest, ActiveTextsShowLeerForMissingValues) {
    ActiveTexts active = getAkt(kIdeKey);
    EXPECT_EQ(active.system, L"SystemModule: leer");
    EXPECT_EQ(active.common, L"Gemeinsame Module: leer");

    putRaw(kIdeCommonValue, REG_SZ, "");  // zero bytes count as missing
    putRaw(kIdeSystemValue, REG_SZ, std::string(1, '\0'));
    active = getAkt(kIdeKey);
    EXPECT_EQ(active.system, L"SystemModule: ");
    EXPECT_EQ(active.common, L"Gemeinsame Module: leer");
}

TEST_F(ApplyingTest, StandardSeededFromMissingIdeValuesCannotBeApplied) {
    SchemaTable table;
    table.regKey = kIdeKey;
    table.getSch();
    EXPECT_FALSE(apply(table.sysPaths[0], table.comPaths[0]));
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(ide(kIdeSystemValue), L"<missing>");
}

// Random pairs with a fixed seed, so a failure can be replayed. Each text is built valid or
// invalid, so what is expected does not repeat the rule.
TEST_F(ApplyingTest, ApplyingWritesExactlyTheValidPairs) {
    std::wstring held;
    for (wchar_t c : kCharacters)
        if (ansiHolds(std::wstring(1, c))) held += c;
    const std::wstring foreign = foreignText();
    const auto lacked =
        std::find_if(foreign.begin(), foreign.end(), [](wchar_t c) { return !ansiHolds(std::wstring(1, c)); });
    ASSERT_NE(lacked, foreign.end());
    std::mt19937 random(kSeed);
    const std::wstring before = L"X:\\vorher";
    int applied = 0;
    for (int round = 0; round < kRounds; ++round) {
        regSaveString(HKEY_CURRENT_USER, kIdeKey, kIdeSystemValue, before);
        regSaveString(HKEY_CURRENT_USER, kIdeKey, kIdeCommonValue, before);
        const auto [system, systemValid] = builtFolderText(random, held, *lacked);
        const auto [common, commonValid] = builtFolderText(random, held, *lacked);
        shown.clear();
        const bool result = apply(system, common);

        const bool valid = systemValid && commonValid;
        ASSERT_EQ(result, valid) << "round " << round;
        ASSERT_EQ(shown.size(), valid ? 0u : 1u) << "round " << round;
        ASSERT_EQ(ide(kIdeSystemValue), valid ? system : before);
        ASSERT_EQ(ide(kIdeCommonValue), valid ? common : before);
        applied += valid;
    }
    EXPECT_GT(applied, kRounds / 20);  // the generator really reaches the valid side
}
