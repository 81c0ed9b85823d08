#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "CodePage.h"
#include "schemas/FolderCheck.h"
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

// Exactly these paths: a folder with or without its trailing backslash, as Windows finds
// both, but no doubled one; E: is a card reader. A text asked when it should not be reads as missing.
TEST(FolderCheck, MarksWhatApplyingWouldNotGiveTheIde) {
    const std::set<std::wstring> folders = {L"C:\\Modul",  L"C:\\Ohne",   L"C:\\Kurs",
                                            L"C:\\Kurs\\", L"C:\\Ordner", L"C:\\Ordner\\modules.txt",
                                            L"E:\\",       L"D:\\"};
    const std::set<std::wstring> files = {L"C:\\Modul\\modules.txt", L"C:\\Kurs\\modules.txt", L"E:\\modules.txt"};
    const FileSystem fs{[&](const std::wstring& path) { return folders.count(path) > 0; },
                        [&](const std::wstring& path) { return folders.count(path) + files.count(path) > 0; },
                        L"c:\\"};  // the system drive; letters compare without case
    using enum FolderMark;
    const std::tuple<std::wstring, FolderMark, bool> cases[] = {
        {L"C:\\Modul", None, false},
        {L"C:\\Ordner", None, false},  // a folder named modules.txt counts
        {L"E:\\", None, true},
        {L"C:\\Kurs\\", None, false},
        {L"C:\\Ohne", NoMarker, false},
        {L"D:\\", NoMarker, true},  // a fixed disk, but one that may have spun down
        {L"Z:\\Netz", Missing, true},
        {L"C:\\Modul\\modules.txt", Missing, false},
        {L"leer", None, false},
        {L"", None, false},
        {L"C:", InvalidText, false},
        {L"\\\\server\\share", InvalidText, false},
        {L"C:\\" + foreignText(), InvalidText, false}};
    for (const auto& [text, mark, slow] : cases)
        EXPECT_EQ(std::pair(folderMark(text, fs), mayBeSlow(text, fs)), std::pair(mark, slow))
            << testing::PrintToString(text);
    EXPECT_STREQ(markText(InvalidText), L"Ungültige Pfadangabe");
    EXPECT_STREQ(markText(Missing), L"Ordner nicht gefunden");
    EXPECT_STREQ(markText(NoMarker), L"Keine \"modules.txt\" im Ordner");
    EXPECT_STREQ(markText(None), L"");
}
