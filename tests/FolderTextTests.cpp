#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "CodePage.h"
#include "schemas/FolderText.h"

namespace {

struct ValidityCase {
    std::wstring text;
    bool valid;
};

}  // namespace

TEST(FolderTextValidity, SecondAndThirdCharactersMustBeColonBackslash) {
    const ValidityCase cases[] = {
        {L"C:\\Module\\System", true},
        {L"C:\\", true},
        {L"1:\\x", true},
        {L"\u00C4:\\Umlaut", ansiHolds(L"\u00C4")},  // any one character, not only a letter
        {L"C:\\M\u00FCll", ansiHolds(L"\u00FC")},
        {L"C:", false},
        {L"C:/x", false},
        {L"", false},
        {L"leer", false},
        {L"\\\\server\\share\\modules", false},
        {L"CC:\\x", false},
        {L" C:\\x", false},                // tested as typed, not trimmed
        {L"C:\\" + foreignText(), false},  // the IDE could not read this folder through ANSI
        {foreignText().substr(0, 1) + L":\\x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isValidFolderText(c.text), c.valid) << "text: " << testing::PrintToString(std::wstring(c.text));
}

TEST(FolderText, ComparesFoldersAsWindowsDoes) {
    const std::tuple<const wchar_t*, const wchar_t*, bool> cases[] = {
        {L"C:\\Module", L"c:\\MODULE", true},
        {L"C:\\\u00C4pfel", L"c:\\\u00E4PFEL", true},
        {L"C:\\Module\\", L"C:\\Module", true},
        {L"C:\\Module\\\\", L"C:\\Module", false},
        {L"C:\\", L"c:\\", true},
        {L"C:\\", L"C:", false},  // the root, not C:'s current folder
        {L"C:\\Modul", L"C:\\Module", false},
        {L"leer", L"leer", false},
        {L"", L"", false}};
    for (const auto& [a, b, same] : cases)
        EXPECT_EQ(std::pair(sameFolder(a, b), sameFolder(b, a)), std::pair(same, same)) << testing::PrintToString(a);
}
