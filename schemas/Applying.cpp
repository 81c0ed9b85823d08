#include "schemas/Applying.h"

#include "schemas/FolderText.h"
#include "schemas/SchemaTable.h"
#include "store/RegistryString.h"

bool applySchema(const std::wstring& regKey, const std::wstring& systemText,
                 const std::wstring& commonText, const ShowMessage& showMessage) {
    if (!isValidFolderText(systemText) || !isValidFolderText(commonText)) {
        showMessage({L"ungültige Pfadangabe !\r\nModul-Pfade wurden nicht gesetzt !",
                     MessageButtons::Ok, MessageIcon::None, MessageAnswer::Ok});
        return false;
    }
    regSaveString(HKEY_CURRENT_USER, regKey, kIdeSystemValue, systemText);
    regSaveString(HKEY_CURRENT_USER, regKey, kIdeCommonValue, commonText);
    return true;
}

ActiveTexts getAkt(const std::wstring& regKey) {
    return {L"SystemModule: " + regGetString(HKEY_CURRENT_USER, regKey, kIdeSystemValue, kUnset),
            L"Gemeinsame Module: " +
                regGetString(HKEY_CURRENT_USER, regKey, kIdeCommonValue, kUnset)};
}
