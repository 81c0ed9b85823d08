#pragma once

// Trelvane's form (its window class and control ids) and the window classes of the two
// reference programs, which the driver waits for.
#include "ui/Form.h"

inline constexpr wchar_t kFloorClass[] = L"TrelvaneBenchFloor";
inline constexpr wchar_t kControlsClass[] = L"TrelvaneBenchControls";
