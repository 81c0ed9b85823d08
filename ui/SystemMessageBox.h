#pragma once

#include <windows.h>

#include "schemas/MessageBox.h"

// The system's message box for the logic's messages, modal over owner.
MessageAnswer showSystemMessageBox(HWND owner, const wchar_t* title, const Message& message);
