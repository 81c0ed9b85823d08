#pragma once

// Trelvane's form: window class and child control IDs. The controls program uses the
// same IDs, so the driver exercises both programs with the same messages.
namespace form {
inline constexpr wchar_t kTrelvaneClass[] = L"TrelvaneForm1";
inline constexpr int kSchema = 100;
inline constexpr int kSystemPath = 101;
inline constexpr int kGetSysPath = 102;
inline constexpr int kCommonPath = 103;
inline constexpr int kGetComPath = 104;
inline constexpr int kSave = 105;
inline constexpr int kFrame1 = 106;
inline constexpr int kFrame2 = 107;
inline constexpr int kCurSys = 108;
inline constexpr int kCurCom = 109;
inline constexpr int kLabel1 = 110;
}  // namespace form

// Window classes of the two reference programs, which the driver waits for.
inline constexpr wchar_t kFloorClass[] = L"TrelvaneBenchFloor";
inline constexpr wchar_t kControlsClass[] = L"TrelvaneBenchControls";
