#pragma once

#include <array>
#include <string>

inline constexpr int kSchemaCount = 6;  // 0 is "Standard", 1 to 5 are "Schema 1" to "Schema 5"
inline constexpr wchar_t kUnset[] = L"leer";
inline constexpr wchar_t kIdeKey[] = L"Software\\Conrad Electronic\\C-Control IDE\\1.0\\Projects";
inline constexpr wchar_t kIdeSystemValue[] = L"SystemModulesPath";
inline constexpr wchar_t kIdeCommonValue[] = L"UserCommonModulesPath";

using SchemaPaths = std::array<std::wstring, kSchemaCount>;

// The six pairs of module folders. Loaded once at start, edited in memory through
// the path boxes, stored at close.
struct SchemaTable {
    std::wstring regKey;
    SchemaPaths sysPaths;
    SchemaPaths comPaths;
    // What this copy last read of each value: an entry that still equals it has not
    // been changed here, so what another copy stored may take its place.
    SchemaPaths sysRead;
    SchemaPaths comRead;

    // Loads all six schemas; a "Standard" half that reads as unset is taken from the
    // IDE's current value and stored at once.
    void getSch();

    // Reads again, as at start, every entry of schemas 1 to 5 that this copy has not
    // changed. "Standard" is left alone: it is never seeded again while the table lives.
    void takeStored();

    // Stores schemas 1 to 5, first taking what another copy stored for the entries
    // this copy left alone, so that only a value both changed is decided by the copy
    // closed last. "Standard" only ever changes through the seeding.
    void saveReg();
};

// Write-through of a path box into the selected schema. selected is the list's
// selection, negative while nothing is selected; then nothing changes.
void writeThrough(SchemaPaths& paths, int selected, const std::wstring& text);
