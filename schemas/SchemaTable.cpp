#include "schemas/SchemaTable.h"

#include <cstddef>

#include "store/RegistryString.h"

namespace {

std::wstring valueName(const wchar_t* prefix, int index) {
    return prefix + std::to_wstring(index);
}

void seedStandard(const std::wstring& regKey, std::wstring& standard, const wchar_t* schemaPrefix,
                  const wchar_t* ideValue) {
    if (standard != kUnset) return;
    standard = regGetString(HKEY_CURRENT_USER, regKey, ideValue, L"");
    regSaveString(HKEY_CURRENT_USER, regKey, valueName(schemaPrefix, 0), standard);
}

void takeStoredEntry(const std::wstring& regKey, const std::wstring& name, std::wstring& entry, std::wstring& read) {
    if (entry != read) return;  // changed here: this copy's text stands
    entry = read = regGetString(HKEY_CURRENT_USER, regKey, name, kUnset);
}

}  // namespace

void SchemaTable::getSch() {
    for (int i = 0; i < kSchemaCount; ++i) {
        sysPaths[i] = regGetString(HKEY_CURRENT_USER, regKey, valueName(L"SysPath", i), kUnset);
        comPaths[i] = regGetString(HKEY_CURRENT_USER, regKey, valueName(L"ComPath", i), kUnset);
    }
    sysRead = sysPaths;
    comRead = comPaths;
    seedStandard(regKey, sysPaths[0], L"SysPath", kIdeSystemValue);
    seedStandard(regKey, comPaths[0], L"ComPath", kIdeCommonValue);
}

void SchemaTable::takeStored() {
    for (int i = 1; i < kSchemaCount; ++i) {
        takeStoredEntry(regKey, valueName(L"SysPath", i), sysPaths[i], sysRead[i]);
        takeStoredEntry(regKey, valueName(L"ComPath", i), comPaths[i], comRead[i]);
    }
}

void SchemaTable::saveReg() {
    takeStored();
    for (int i = 1; i < kSchemaCount; ++i) {
        regSaveString(HKEY_CURRENT_USER, regKey, valueName(L"SysPath", i), sysPaths[i]);
        regSaveString(HKEY_CURRENT_USER, regKey, valueName(L"ComPath", i), comPaths[i]);
    }
}

void writeThrough(SchemaPaths& paths, int selected, const std::wstring& text) {
    if (selected < 0 || selected >= kSchemaCount) return;
    paths[static_cast<size_t>(selected)] = text;
}
