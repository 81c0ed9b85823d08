#include "RegistrySandbox.h"

#include <sddl.h>

#include <atomic>
#include <cwchar>
#include <vector>

#include "schemas/SchemaTable.h"
#include "store/UniqueHandle.h"

namespace {

constexpr wchar_t kScratchParent[] = L"Software\\TrelvaneTests";

std::atomic<int> sandboxCounter{0};

// A scratch key is named "<process id>_<count>". A process that cannot be opened for
// another reason than its absence still runs.
bool madeByEndedProcess(const std::wstring& name) {
    const auto id = static_cast<DWORD>(std::wcstoul(name.c_str(), nullptr, 10));
    UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;
    return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
}

// Leaves no trace in HKEY_CURRENT_USER: the keys of ended runs go at the start and the
// parent at the end. RegDeleteKey keeps a parent that still has keys: those of a test
// program running alongside.
class ScratchKeyCleanup : public ::testing::Environment {
public:
    void SetUp() override { removeScratchKeysOfEndedProcesses(); }
    void TearDown() override { RegDeleteKeyW(HKEY_CURRENT_USER, kScratchParent); }
};

::testing::Environment* const scratchKeyCleanup = ::testing::AddGlobalTestEnvironment(new ScratchKeyCleanup);

HKEY openIdeKey(REGSAM access) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kIdeKey, 0, nullptr, 0, access, nullptr, &key, nullptr);
    return key;
}

}  // namespace

void removeScratchKeysOfEndedProcesses() {
    std::vector<std::wstring> ended;
    UniqueRegKey parent;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kScratchParent, 0, KEY_ENUMERATE_SUB_KEYS, parent.put()) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(parent.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (madeByEndedProcess(name)) ended.emplace_back(name);
    }
    for (const std::wstring& key : ended) RegDeleteTreeW(HKEY_CURRENT_USER, (kScratchParent + (L"\\" + key)).c_str());
}

void RegistrySandbox::SetUp() {
    scratchPath_ = std::wstring(kScratchParent) + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                   std::to_wstring(++sandboxCounter);
    RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath_.c_str());
    UniqueRegKey scratch;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, scratchPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              scratch.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, scratch.get()), ERROR_SUCCESS);
}

void RegistrySandbox::TearDown() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath_.c_str());
}

void RegistrySandbox::putRaw(const std::wstring& name, DWORD type, const std::string& bytes) {
    UniqueRegKey key(openIdeKey(KEY_SET_VALUE));
    ASSERT_TRUE(key);
    // The ANSI call, so REG_SZ bytes are taken as the ANSI code page, as the IDE writes them.
    std::string nameAnsi(name.begin(), name.end());
    ASSERT_EQ(RegSetValueExA(key.get(), nameAnsi.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

void RegistrySandbox::putRawWide(const std::wstring& name, DWORD type, const std::string& bytes) {
    UniqueRegKey key(openIdeKey(KEY_SET_VALUE));
    ASSERT_TRUE(key);
    ASSERT_EQ(RegSetValueExW(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

void RegistrySandbox::putWide(const std::wstring& name, const std::wstring& text) {
    putRawWide(name, REG_SZ,
               std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t)));
}

std::optional<RegistrySandbox::RawValue> RegistrySandbox::getRaw(const std::wstring& name) {
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kIdeKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return std::nullopt;
    RawValue value;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(value.bytes.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

bool RegistrySandbox::keyExists() {
    UniqueRegKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, kIdeKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

void RegistrySandbox::deleteIdeKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Conrad Electronic");
}

void RegistrySandbox::setIdeKeyWritable(bool writable) {
    // Everyone: deny KEY_SET_VALUE (0x2) first, then allow everything else.
    const wchar_t* sddl = writable ? L"D:(A;;KA;;;WD)" : L"D:(D;;0x2;;;WD)(A;;KA;;;WD)";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr));
    UniqueRegKey key(openIdeKey(WRITE_DAC));
    const LONG status =
        key ? RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor) : ERROR_INVALID_HANDLE;
    LocalFree(descriptor);
    ASSERT_EQ(status, ERROR_SUCCESS);
}
