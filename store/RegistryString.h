#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Every read and write of persistent state goes through these two functions. Each
// opens the key, handles one value and closes the key again.

// The REG_SZ text of the value, or defaultText when the key or value is missing,
// the value has another type, or it holds zero bytes. A value holding only a NUL
// reads as "".
std::wstring regGetString(HKEY hive, std::wstring_view subkey, std::wstring_view name, std::wstring_view defaultText);

// Writes value as REG_SZ with its ANSI byte count, terminator not counted (so ""
// becomes a zero-byte value), creating the key path if needed. Writes nothing and
// returns false when the ANSI code page cannot represent the text exactly.
bool regSaveString(HKEY hive, std::wstring_view subkey, std::wstring_view name, std::wstring_view value);
