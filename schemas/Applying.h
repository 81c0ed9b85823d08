#pragma once

#include <string>

#include "schemas/ActiveSchema.h"
#include "schemas/MessageBox.h"

// The IDE's two active folders as the frame "Aktuell" shows them, and as read.
struct ActiveTexts {
    std::wstring system;
    std::wstring common;
    ActiveFolders folders;
};

// Writes both texts into the IDE's values when both are valid and returns true;
// otherwise shows the refusal, writes nothing and returns false.
bool applySchema(const std::wstring& regKey, const std::wstring& systemText, const std::wstring& commonText,
                 const ShowMessage& showMessage);

// Reads the IDE's values, once each, and forms the captions of CurSys and CurCom.
ActiveTexts getAkt(const std::wstring& regKey);
