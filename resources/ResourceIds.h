#pragma once

// Ids shared by the resource script, the program, its tests and the bench.

#define IDI_TRELVANE 1

#ifndef RC_INVOKED
// The form's controls, in tab order.
enum ControlId : int {
    kSchema = 100,
    kSystemPath,
    kGetSysPath,
    kCommonPath,
    kGetComPath,
    kSave,
    kFrame1,
    kFrame2,
    kCurSys,
    kCurCom,
    kLabel1,
};
#endif
