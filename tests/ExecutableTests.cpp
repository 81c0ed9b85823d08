// Reads the built Trelvane.exe: its version record, icon, manifest and imports.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <set>
#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "resources/version.h"

namespace {

std::wstring programPath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path.resize(path.find_last_of(L'\\'));  // the tests folder
    path.resize(path.find_last_of(L'\\'));  // the build folder
    return path + L"\\Trelvane.exe";
}

struct LoadedImage {
    LoadedImage()
        : module(LoadLibraryExW(programPath().c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~LoadedImage() {
        if (module) FreeLibrary(module);
    }
    // Resource-only loads mark the handle in its low bits; the image starts below.
    BYTE* base() const { return reinterpret_cast<BYTE*>(reinterpret_cast<ULONG_PTR>(module) & ~ULONG_PTR(3)); }
    std::string resource(LPCWSTR type, LPCWSTR name) const {
        HRSRC found = FindResourceExW(module, type, name, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
        if (!found) return {};
        const auto* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
        return std::string(data, SizeofResource(module, found));
    }
    HMODULE module;
};

class VersionRecord {
public:
    VersionRecord() {
        const std::wstring path = programPath();
        DWORD ignored = 0;
        data_.resize(GetFileVersionInfoSizeW(path.c_str(), &ignored));
        if (!data_.empty()) GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data_.size()), data_.data());
    }
    template <typename T>
    const T* find(const std::wstring& query) const {
        void* value = nullptr;
        UINT size = 0;
        if (data_.empty() || !VerQueryValueW(data_.data(), query.c_str(), &value, &size) || size == 0) return nullptr;
        return static_cast<const T*>(value);
    }
    std::wstring string(const std::wstring& name) const {
        const auto* text = find<wchar_t>(L"\\StringFileInfo\\040704B0\\" + name);
        return text ? std::wstring(text) : L"<missing>";
    }

private:
    std::vector<BYTE> data_;
};

}  // namespace

TEST(VersionRecord, NumbersAndTranslation) {
    VersionRecord record;
    const auto* fixed = record.find<VS_FIXEDFILEINFO>(L"\\");
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(2, 0));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(2, 0));
    const auto* translation = record.find<WORD>(L"\\VarFileInfo\\Translation");
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(translation[0], 0x0407);
    EXPECT_EQ(translation[1], 1200);
}

TEST(VersionRecord, Strings) {
    VersionRecord record;
    const std::pair<const wchar_t*, const wchar_t*> expected[] = {
        {L"FileDescription", L"Tool zum \u00C4ndern der Modulpfade der C-Control II Entwicklungsumgebung."},
        {L"FileVersion", L"1.00.0002"},
        {L"ProductVersion", L"1.00.0002"},
        {L"ProductName", L"Trelvane"},
        {L"InternalName", L"Trelvane"},
        {L"OriginalFilename", L"Trelvane.exe"},
    };
    for (const auto& [name, value] : expected)
        EXPECT_EQ(record.string(name), value) << "field: " << testing::PrintToString(std::wstring(name));
    EXPECT_NE(record.string(L"LegalCopyright"), L"<missing>");
}

TEST(ApplicationIcon, SixteenColoursInBothSizes) {
    LoadedImage image;
    ASSERT_TRUE(image.module);
    const std::string group = image.resource(RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_TRELVANE));
    ASSERT_GE(group.size(), 6u);
    // GRPICONDIR: reserved, type 1, count; then 14-byte entries.
    const auto word = [&](size_t at) {
        return static_cast<unsigned>(static_cast<BYTE>(group[at]) | static_cast<BYTE>(group[at + 1]) << 8);
    };
    ASSERT_EQ(word(2), 1u);
    const unsigned count = word(4);
    ASSERT_EQ(group.size(), 6u + 14u * count);
    std::set<unsigned> sizes;
    for (unsigned i = 0; i < count; ++i) {
        const size_t entry = 6 + 14 * i;
        const auto width = static_cast<BYTE>(group[entry]), height = static_cast<BYTE>(group[entry + 1]);
        EXPECT_EQ(width, height);
        sizes.insert(width);
        EXPECT_EQ(static_cast<BYTE>(group[entry + 2]), 16) << "colour count";
        EXPECT_EQ(word(entry + 6), 4u) << "bits per pixel";
    }
    EXPECT_EQ(sizes, (std::set<unsigned>{16, 32}));
}

TEST(Manifest, AsInvokerCommonControlsAndPerMonitorDpi) {
    LoadedImage image;
    ASSERT_TRUE(image.module);
    const std::string manifest = image.resource(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);
    ASSERT_FALSE(manifest.empty());
    for (const char* needed : {"level=\"asInvoker\"", "name=\"Microsoft.Windows.Common-Controls\"",
                               "version=\"6.0.0.0\"", "PerMonitorV2", "true/pm</dpiAware>",
                               "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",   // Windows 7
                               "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})  // Windows 10 and 11
        EXPECT_NE(manifest.find(needed), std::string::npos) << needed;
    // The ANSI code page must stay the system's: values are stored as the IDE reads them.
    EXPECT_EQ(manifest.find("activeCodePage"), std::string::npos);
}

// Windows gives programs older than subsystem 6.0 frame metrics of its own, and the
// client size computed for the layout would then be off.
TEST(PeHeader, SubsystemVersionIsWindows7) {
    LoadedImage image;
    ASSERT_TRUE(image.module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.base());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image.base() + dos->e_lfanew);
    EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    EXPECT_EQ(nt->OptionalHeader.MajorSubsystemVersion, 6);
    EXPECT_EQ(nt->OptionalHeader.MinorSubsystemVersion, 1);
}

TEST(Imports, SystemLibrariesOnly) {
    LoadedImage image;
    ASSERT_TRUE(image.module);
    BYTE* base = image.base();
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    ASSERT_NE(directory.VirtualAddress, 0u);
    std::set<std::string> imported;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         entry->Name != 0; ++entry) {
        std::string name(reinterpret_cast<const char*>(base + entry->Name));
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
        imported.insert(name);
    }
    const std::set<std::string> system = {"kernel32.dll", "user32.dll",   "gdi32.dll", "advapi32.dll", "shell32.dll",
                                          "shlwapi.dll",  "comctl32.dll", "ole32.dll", "msvcrt.dll"};
    for (const auto& name : imported) EXPECT_TRUE(system.count(name)) << "imports " << name;
    EXPECT_TRUE(imported.count("advapi32.dll"));
}
