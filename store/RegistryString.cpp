#include "store/RegistryString.h"

#include <algorithm>

#include "store/AnsiText.h"
#include "store/Handles.h"

namespace {

// Another program may grow the value between our size probe and the read; a few
// retries with the newly reported size ride that out instead of giving up.
constexpr int kMaxReads = 8;

}  // namespace

std::wstring regGetString(HKEY hive, std::wstring_view subkey, std::wstring_view name,
                          std::wstring_view defaultText) {
    std::wstring result(defaultText);
    const auto subkeyAnsi = toAnsiExact(subkey);
    const auto nameAnsi = toAnsiExact(name);
    if (!subkeyAnsi || !nameAnsi) return result;

    UniqueRegKey key;
    RegOpenKeyA(hive, subkeyAnsi->c_str(), key.put());
    if (!key) return result;

    // Offering zero bytes makes every string value with data answer "more data"
    // with its size; a zero-byte value answers success and so keeps the default.
    DWORD type = 0;
    BYTE probe[2] = {};
    DWORD size = 0;
    LONG status = RegQueryValueExA(key.get(), nameAnsi->c_str(), nullptr, &type, probe, &size);
    if (status == ERROR_SUCCESS || type != REG_SZ) return result;

    for (int attempt = 0; attempt < kMaxReads; ++attempt) {
        std::string buffer(size, '\0');
        DWORD readType = 0;
        DWORD readSize = size;
        status = RegQueryValueExA(key.get(), nameAnsi->c_str(), nullptr, &readType,
                                  reinterpret_cast<BYTE*>(buffer.data()), &readSize);
        if (status == ERROR_MORE_DATA) {
            size = readSize;
            continue;
        }
        // Checked again: the value may have been replaced since the probe.
        if (status == ERROR_SUCCESS && readType == REG_SZ && readSize > 0) {
            // Data need not end in a NUL; the text is what lies before the first one.
            buffer.resize(std::min<size_t>(readSize, buffer.size()));
            buffer.resize(std::min(buffer.find('\0'), buffer.size()));
            result = fromAnsi(buffer);
        }
        break;
    }
    return result;
}

bool regSaveString(HKEY hive, std::wstring_view subkey, std::wstring_view name,
                   std::wstring_view value) {
    const auto subkeyAnsi = toAnsiExact(subkey);
    const auto nameAnsi = toAnsiExact(name);
    const auto valueAnsi = toAnsiExact(value);
    if (!subkeyAnsi || !nameAnsi || !valueAnsi || valueAnsi->size() > MAXDWORD) return false;

    UniqueRegKey key;
    RegCreateKeyA(hive, subkeyAnsi->c_str(), key.put());
    if (!key) return false;

    return RegSetValueExA(key.get(), nameAnsi->c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(valueAnsi->data()),
                          static_cast<DWORD>(valueAnsi->size())) == ERROR_SUCCESS;
}
