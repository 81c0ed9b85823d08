#include "store/RegistryString.h"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "store/AnsiText.h"
#include "store/UniqueHandle.h"

namespace {

// Another program may grow the value between our size probe and the read; a few
// retries with the newly reported size ride that out instead of giving up.
constexpr int kMaxReads = 8;

// Reads the data of a REG_SZ value through query (the ANSI or the Unicode call),
// starting with a buffer of size bytes. Nothing for a failed read, another type
// or zero bytes.
template <typename Query>
std::optional<std::string> readStringData(Query query, DWORD size) {
    for (int attempt = 0; attempt < kMaxReads; ++attempt) {
        std::string buffer(size, '\0');
        DWORD type = 0;
        DWORD readSize = size;
        const LONG status = query(&type, reinterpret_cast<BYTE*>(buffer.data()), &readSize);
        if (status == ERROR_MORE_DATA) {
            size = readSize;
            continue;
        }
        // The type is checked again: the value may have been replaced since the probe.
        if (status != ERROR_SUCCESS || type != REG_SZ || readSize == 0) return std::nullopt;
        buffer.resize(std::min<size_t>(readSize, buffer.size()));
        return buffer;
    }
    return std::nullopt;
}

// The value as the registry holds it in Unicode, up to its first NUL. Each UTF-16 unit
// of it took at least one of the ansiBytes, so one read with room for that many units
// is enough, without a query for the size first.
std::optional<std::wstring> readUnicode(HKEY key, std::wstring_view name, size_t ansiBytes) {
    const std::wstring nameText(name);
    const auto size = static_cast<DWORD>(std::min<size_t>((ansiBytes + 1) * sizeof(wchar_t), MAXDWORD));
    const auto data = readStringData(
        [&](DWORD* type, BYTE* buffer, DWORD* bytes) {
            return RegQueryValueExW(key, nameText.c_str(), nullptr, type, buffer, bytes);
        },
        size);
    if (!data) return std::nullopt;
    std::wstring text(data->size() / sizeof(wchar_t), L'\0');
    std::copy_n(data->data(), text.size() * sizeof(wchar_t), reinterpret_cast<char*>(text.data()));
    text.resize(std::min(text.find(L'\0'), text.size()));
    return text;
}

}  // namespace

std::wstring regGetString(HKEY hive, std::wstring_view subkey, std::wstring_view name, std::wstring_view defaultText) {
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
    const LONG status = RegQueryValueExA(key.get(), nameAnsi->c_str(), nullptr, &type, probe, &size);
    if (status == ERROR_SUCCESS || type != REG_SZ) return result;

    auto data = readStringData(
        [&](DWORD* readType, BYTE* buffer, DWORD* bytes) {
            return RegQueryValueExA(key.get(), nameAnsi->c_str(), nullptr, readType, buffer, bytes);
        },
        size);
    if (!data) return result;
    const size_t ansiBytes = data->size();
    // Data need not end in a NUL; the text is what lies before the first one.
    data->resize(std::min(data->find('\0'), data->size()));
    result = fromAnsi(*data);

    // Another program may have stored characters the ANSI code page lacks; the ANSI
    // read shows them as "?" or a look-alike. Shown like that and stored back at
    // close, the value would be corrupted, so take it as it is: a text that
    // regSaveString then refuses to write, which leaves the value intact.
    if (const auto unicode = readUnicode(key.get(), name, ansiBytes); unicode && !toAnsiExact(*unicode))
        result = *unicode;
    return result;
}

bool regSaveString(HKEY hive, std::wstring_view subkey, std::wstring_view name, std::wstring_view value) {
    const auto subkeyAnsi = toAnsiExact(subkey);
    const auto nameAnsi = toAnsiExact(name);
    const auto valueAnsi = toAnsiExact(value);
    if (!subkeyAnsi || !nameAnsi || !valueAnsi || valueAnsi->size() > MAXDWORD) return false;

    UniqueRegKey key;
    RegCreateKeyA(hive, subkeyAnsi->c_str(), key.put());
    if (!key) return false;

    return RegSetValueExA(key.get(), nameAnsi->c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(valueAnsi->data()),
                          static_cast<DWORD>(valueAnsi->size())) == ERROR_SUCCESS;
}
