#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Conversions between the program's Unicode texts and the system's ANSI code page,
// made only at the registry and file-system calls. The code page is a parameter so
// that each kind of code page can be tested on any system.

// The ANSI bytes of text, or nothing when the code page cannot represent the text
// exactly: a lossy "?" must never reach a stored value or a path.
std::optional<std::string> toAnsiExact(std::wstring_view text, UINT codePage = GetACP());

std::wstring fromAnsi(std::string_view bytes, UINT codePage = GetACP());
