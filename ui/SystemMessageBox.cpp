#include "ui/SystemMessageBox.h"

namespace {

UINT messageBoxType(const Message& message) {
    UINT type = message.buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    if (message.icon == MessageIcon::Question) type |= MB_ICONQUESTION;
    if (message.buttons == MessageButtons::YesNo && message.defaultAnswer == MessageAnswer::No) type |= MB_DEFBUTTON2;
    return type;
}

MessageAnswer answerOf(int result) {
    switch (result) {
        case IDYES: return MessageAnswer::Yes;
        case IDNO: return MessageAnswer::No;
        default: return MessageAnswer::Ok;
    }
}

}  // namespace

MessageAnswer showSystemMessageBox(HWND owner, const wchar_t* title, const Message& message) {
    return answerOf(MessageBoxW(owner, message.text.c_str(), title, messageBoxType(message)));
}
