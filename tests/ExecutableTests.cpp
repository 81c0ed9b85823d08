// Reads the built Trelvane.exe: its version record, icon, manifest and imports; and the
// imports of the test programs.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <map>
#include <set>
#include <string>
#include <utility>
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

namespace {

// DLL (lower case) -> the functions imported from it by name, or as "#n" by ordinal.
using Imports = std::map<std::string, std::set<std::string>>;

// The import table of an exe, read from its file as the loader reads it: addresses in
// the image (RVAs) become file offsets through the section table. Empty where the file
// is no 64-bit PE image.
Imports importsOf(const std::wstring& path) {
    std::string file;
    if (FILE* stream = _wfopen(path.c_str(), L"rb")) {
        char block[65536];
        for (size_t read; (read = std::fread(block, 1, sizeof(block), stream)) > 0;) file.append(block, read);
        std::fclose(stream);
    }
    const auto read = [&file]<typename T>(size_t offset, T& value) {
        if (offset > file.size() || file.size() - offset < sizeof(T)) return false;
        std::memcpy(&value, file.data() + offset, sizeof(T));
        return true;
    };
    IMAGE_DOS_HEADER dos{};
    IMAGE_NT_HEADERS64 nt{};
    if (!read(0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || !read(dos.e_lfanew, nt) ||
        nt.Signature != IMAGE_NT_SIGNATURE || nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        return {};
    std::vector<IMAGE_SECTION_HEADER> sections(nt.FileHeader.NumberOfSections);
    const size_t sectionTable =
        dos.e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) + nt.FileHeader.SizeOfOptionalHeader;
    for (size_t i = 0; i < sections.size(); ++i)
        if (!read(sectionTable + i * sizeof(IMAGE_SECTION_HEADER), sections[i])) return {};
    const auto offsetOf = [&sections](ULONGLONG rva) -> size_t {
        for (const IMAGE_SECTION_HEADER& section : sections)
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
                return static_cast<size_t>(rva - section.VirtualAddress + section.PointerToRawData);
        return SIZE_MAX;
    };
    const auto text = [&](ULONGLONG rva) {
        const size_t at = offsetOf(rva);
        return at < file.size() ? std::string(file.c_str() + at, strnlen(file.c_str() + at, file.size() - at)) : "";
    };

    Imports imports;
    IMAGE_IMPORT_DESCRIPTOR library{};
    for (size_t entry = offsetOf(nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
         read(entry, library) && library.Name != 0; entry += sizeof(library)) {
        std::string name = text(library.Name);
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::set<std::string>& functions = imports[name];
        // The lookup table; where a linker left it out, the address table holds the same in the file.
        ULONGLONG thunk = 0;
        for (size_t at = offsetOf(library.OriginalFirstThunk ? library.OriginalFirstThunk : library.FirstThunk);
             read(at, thunk) && thunk != 0; at += sizeof(thunk))
            functions.insert(IMAGE_SNAP_BY_ORDINAL64(thunk) ? "#" + std::to_string(IMAGE_ORDINAL64(thunk))
                                                            : text(thunk + offsetof(IMAGE_IMPORT_BY_NAME, Name)));
    }
    return imports;
}

}  // namespace

TEST(Imports, SystemLibrariesOnly) {
    std::set<std::string> imported;
    for (const auto& [name, functions] : importsOf(programPath())) imported.insert(name);
    const std::set<std::string> system = {"kernel32.dll", "user32.dll",  "gdi32.dll",    "advapi32.dll",
                                          "shell32.dll",  "shlwapi.dll", "comctl32.dll", "ole32.dll",
                                          "msvcrt.dll"};
    for (const auto& name : imported) EXPECT_TRUE(system.count(name)) << "imports " << name;
    EXPECT_TRUE(imported.count("advapi32.dll"));
}

namespace {

// Every DLL these exes may import exists on Windows 7. Later ones, shcore.dll (Windows
// 8.1) and the API sets Windows 7 lacks (api-ms-win-core-synch-l1-2-0.dll, with
// WaitOnAddress), are refused as a whole.
const std::set<std::string> kWindows7Libraries = {
    "kernel32.dll", "user32.dll",   "gdi32.dll",  "advapi32.dll", "shell32.dll",  "shlwapi.dll", "comctl32.dll",
    "ole32.dll",    "oleaut32.dll", "oleacc.dll", "version.dll",  "msvcrt.dll"};

// Functions of those DLLs that Windows 7 lacks (Microsoft's "Minimum supported client":
// Windows 8 or later). Windows cannot list what it lacked in 7, and an allow-list of
// what each exe imports would change with every compiler and runtime release, so this
// is a deny-list: the later functions our import libraries offer that our code,
// GoogleTest or a compiler's runtime could plausibly call directly: the DPI family, the
// *ForDpi calls, pointer input, the precise clock (the next MSVC toolset's STL calls it
// directly), thread names, DLL search paths (Windows 7 has them only with KB2533623).
// A later function missing here goes unnoticed; add it when one is found.
const Imports kNewerThanWindows7 = {
    {"user32.dll",
     {// Windows 8 and 8.1
      "EnableMouseInPointer", "GetPointerType", "GetPointerInfo", "GetPointerFrameInfo", "GetPointerTouchInfo",
      "GetPointerPenInfo", "IsMouseInPointerEnabled", "InitializeTouchInjection", "InjectTouchInput",
      "GetCurrentInputMessageSource", "GetCIMSSM", "SetCoalescableTimer", "GetUnpredictedMessagePos",
      "IsImmersiveProcess", "GetDisplayAutoRotationPreferences", "SetDisplayAutoRotationPreferences",
      "LogicalToPhysicalPointForPerMonitorDPI", "PhysicalToLogicalPointForPerMonitorDPI",
      // Windows 10
      "GetDpiForWindow", "GetDpiForSystem", "GetSystemDpiForProcess", "GetDpiFromDpiAwarenessContext",
      "AdjustWindowRectExForDpi", "GetSystemMetricsForDpi", "SystemParametersInfoForDpi", "EnableNonClientDpiScaling",
      "GetThreadDpiAwarenessContext", "SetThreadDpiAwarenessContext", "GetWindowDpiAwarenessContext",
      "GetAwarenessFromDpiAwarenessContext", "AreDpiAwarenessContextsEqual", "IsValidDpiAwarenessContext",
      "SetProcessDpiAwarenessContext", "GetDpiAwarenessContextForProcess", "SetThreadDpiHostingBehavior",
      "GetThreadDpiHostingBehavior", "GetWindowDpiHostingBehavior", "SetDialogDpiChangeBehavior",
      "GetDialogDpiChangeBehavior", "SetDialogControlDpiChangeBehavior", "GetDialogControlDpiChangeBehavior"}},
    {"kernel32.dll",
     {// Windows 8 and 8.1
      "GetSystemTimePreciseAsFileTime", "CreateFile2", "CopyFile2", "GetCurrentThreadStackLimits",
      "GetOverlappedResultEx", "SetDefaultDllDirectories", "AddDllDirectory", "RemoveDllDirectory", "WaitOnAddress",
      "WakeByAddressSingle", "WakeByAddressAll", "InitializeSynchronizationBarrier", "EnterSynchronizationBarrier",
      "DeleteSynchronizationBarrier", "GetProcessMitigationPolicy", "SetProcessMitigationPolicy",
      "GetProcessInformation", "SetProcessInformation", "GetThreadInformation", "SetThreadInformation",
      "GetCurrentPackageId", "GetCurrentPackageFullName", "GetPackageFullName", "GetFirmwareType",
      "PrefetchVirtualMemory", "CreateFileMappingFromApp", "MapViewOfFileFromApp", "DiscardVirtualMemory",
      "OfferVirtualMemory", "ReclaimVirtualMemory",
      // Windows 10 and 11
      "SetThreadDescription", "GetThreadDescription", "QueryInterruptTime", "QueryInterruptTimePrecise",
      "QueryUnbiasedInterruptTimePrecise", "GetTempPath2W", "GetTempPath2A", "VirtualAllocFromApp",
      "GetSystemCpuSetInformation", "SetThreadSelectedCpuSets", "IsWow64Process2"}},
    {"advapi32.dll", {"EventSetInformation"}},                                             // Windows 8
    {"ole32.dll", {"CoIncrementMTAUsage", "CoDecrementMTAUsage", "RoGetAgileReference"}},  // Windows 8, 8.1
};

std::wstring testsFolder() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    return path.substr(0, path.find_last_of(L'\\'));
}

// This folder holds the test programs and the programs they start.
std::vector<std::wstring> testPrograms() {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((testsFolder() + L"\\*.exe").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.emplace_back(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

}  // namespace

// Windows refuses to start an exe that imports a function it lacks: the program and its
// tests start on Windows 7, so what is newer is looked up at run time.
TEST(Imports, NothingNewerThanWindows7InAnyExe) {
    std::vector<std::wstring> exes = {programPath()};
    for (const std::wstring& name : testPrograms()) exes.push_back(testsFolder() + L"\\" + name);
    ASSERT_GE(exes.size(), 3u) << "Trelvane.exe, this program and the other test programs";
    for (const std::wstring& exe : exes) {
        const Imports imports = importsOf(exe);
        EXPECT_TRUE(imports.count("kernel32.dll")) << "no imports read from " << testing::PrintToString(exe);
        for (const auto& [library, functions] : imports) {
            EXPECT_TRUE(kWindows7Libraries.count(library)) << testing::PrintToString(exe) << " imports " << library;
            const auto newer = kNewerThanWindows7.find(library);
            if (newer == kNewerThanWindows7.end()) continue;
            for (const std::string& function : functions)
                EXPECT_FALSE(newer->second.count(function))
                    << testing::PrintToString(exe) << " imports " << library << "!" << function;
        }
    }
}
