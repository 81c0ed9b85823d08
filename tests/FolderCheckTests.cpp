#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "CodePage.h"
#include "schemas/FolderCheck.h"

// Exactly these paths: a folder with or without its trailing backslash, as Windows finds
// both, but no doubled one; E: is a card reader. A text asked when it should not be reads as missing.
TEST(FolderCheck, MarksWhatApplyingWouldNotGiveTheIde) {
    const std::set<std::wstring> folders = {L"C:\\Modul",  L"C:\\Ohne",   L"C:\\Kurs",
                                            L"C:\\Kurs\\", L"C:\\Ordner", L"C:\\Ordner\\modules.txt",
                                            L"E:\\",       L"D:\\"};
    const std::set<std::wstring> files = {L"C:\\Modul\\modules.txt", L"C:\\Kurs\\modules.txt", L"E:\\modules.txt"};
    const std::set<std::wstring> links = {L"C:\\Link", L"C:\\Kurs\\Netz", L"C:\\Fehlt\\Link"};
    const FileSystem fs{[&](const std::wstring& path) { return folders.count(path) > 0; },
                        [&](const std::wstring& path) { return folders.count(path) + files.count(path) > 0; },
                        [&](const std::wstring& path) {
                            if (links.count(path)) return PathEntry::Link;
                            return folders.count(path) + files.count(path) ? PathEntry::Plain : PathEntry::Missing;
                        },
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
        {L"C:\\Link", Missing, true},
        {L"C:\\Kurs/Netz/Modul", Missing, true},
        {L"C:\\Fehlt\\..\\Link\\Modul", Missing, true},
        {L"C:\\Fehlt\\Link\\Modul", Missing, false},  // the way ends at a missing folder
        {L"leer", None, false},
        {L"", None, false},
        {L"C:", InvalidText, false},
        {L"\\\\server\\share", InvalidText, false},
        {L"C:\\" + foreignText(), InvalidText, false}};
    for (const auto& [text, mark, slow] : cases)
        EXPECT_EQ(std::pair(folderMark(text, fs), mayBeSlow(text, fs)), std::pair(mark, slow))
            << testing::PrintToString(text);
    EXPECT_TRUE(mayBeSlow(L"C:\\Modul", FileSystem{fs.isFolder, fs.exists, fs.entryAt, L""})) << "system drive unknown";
    EXPECT_STREQ(markText(InvalidText), L"Ungültige Pfadangabe");
    EXPECT_STREQ(markText(Missing), L"Ordner nicht gefunden");
    EXPECT_STREQ(markText(NoMarker), L"Keine \"modules.txt\" im Ordner");
    EXPECT_STREQ(markText(None), L"");
}
