#include "schemas/Applying.h"

#include <utility>

#include "schemas/FolderText.h"
#include "schemas/SchemaTable.h"
#include "store/RegistryString.h"

bool applySchema(const std::wstring& regKey, const std::wstring& systemText, const std::wstring& commonText,
                 const ShowMessage& showMessage) {
    if (!isValidFolderText(systemText) || !isValidFolderText(commonText)) {
        showMessage({L"ungültige Pfadangabe !\r\nModul-Pfade wurden nicht gesetzt !", MessageButtons::Ok,
                     MessageIcon::None, MessageAnswer::Ok});
        return false;
    }
    regSaveString(HKEY_CURRENT_USER, regKey, kIdeSystemValue, systemText);
    regSaveString(HKEY_CURRENT_USER, regKey, kIdeCommonValue, commonText);
    return true;
}

ActiveTexts getAkt(const std::wstring& regKey) {
    ActiveFolders folders{regGetString(HKEY_CURRENT_USER, regKey, kIdeSystemValue, kUnset),
                          regGetString(HKEY_CURRENT_USER, regKey, kIdeCommonValue, kUnset)};
    return {L"SystemModule: " + folders.system, L"Gemeinsame Module: " + folders.common, std::move(folders)};
}
