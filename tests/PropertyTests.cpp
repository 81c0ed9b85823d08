// Random registry contents and random folder texts with a fixed seed, so a failure
// can be replayed.
#include <random>
#include <vector>

#include "CodePage.h"
#include "RegistrySandbox.h"
#include "schemas/Applying.h"
#include "schemas/SchemaTable.h"
#include "store/AnsiText.h"
#include "store/RegistryString.h"

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

// The rule for a folder text as the user sees it: any character, then ":\", and
// nothing the IDE could not read back through the ANSI code page.
bool expectedValid(const std::wstring& text) {
    return text.size() >= 3 && text[1] == L':' && text[2] == L'\\' && ansiHolds(text);
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

TEST_F(PropertyTest, ApplyingWritesExactlyTheValidPairs) {
    std::mt19937 random(kSeed + 2);
    const std::wstring before = L"X:\\vorher";
    int applied = 0;
    for (int round = 0; round < kRounds; ++round) {
        regSaveString(HKEY_CURRENT_USER, kIdeKey, kIdeSystemValue, before);
        regSaveString(HKEY_CURRENT_USER, kIdeKey, kIdeCommonValue, before);
        // Half the texts start as drive paths so that valid pairs are common.
        auto folderText = [&] {
            std::wstring text = randomText(random, 8);
            if (random() % 2) text = L"C:\\" + text;
            text.resize(std::min(text.find(L'\0'), text.size()));  // edit boxes hold no NUL
            return text;
        };
        const std::wstring system = folderText(), common = folderText();
        int messages = 0;
        const bool result = applySchema(kIdeKey, system, common, [&](const Message&) {
            ++messages;
            return MessageAnswer::Ok;
        });

        const bool valid = expectedValid(system) && expectedValid(common);
        ASSERT_EQ(result, valid) << "round " << round;
        ASSERT_EQ(messages, valid ? 0 : 1) << "round " << round;
        ASSERT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, kIdeSystemValue, L""), valid ? system : before);
        ASSERT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, kIdeCommonValue, L""), valid ? common : before);
        applied += valid;
    }
    EXPECT_GT(applied, kRounds / 20);  // the generator really reaches the valid side
}
