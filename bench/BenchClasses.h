#pragma once

// The window classes of the bench's two reference programs, which the driver waits for.
inline constexpr wchar_t kFloorClass[] = L"TrelvaneBenchFloor";
inline constexpr wchar_t kControlsClass[] = L"TrelvaneBenchControls";
