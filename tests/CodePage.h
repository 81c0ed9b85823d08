#pragma once

#include <string>
#include <string_view>

// What the system's ANSI code page can hold, asked at run time, so the expectations
// hold on any Windows and not only on a Western European one. (The conversion itself
// is pinned with explicit code pages in the registry string tests.)

bool ansiHolds(std::wstring_view text);

// The ANSI bytes of a text the code page holds.
std::string ansiBytes(std::wstring_view text);

// Text the ANSI code page cannot hold: a script it lacks, or where the code page is
// UTF-8, a broken surrogate.
std::wstring foreignText();
