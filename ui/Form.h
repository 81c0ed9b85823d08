#pragma once

#include <windows.h>

#include <commctrl.h>

#include "resources/ResourceIds.h"

// The main window's form, described once: creation, layout, fonts and the handle
// members all read this table.

inline constexpr wchar_t kWindowClass[] = L"TrelvaneForm1";
inline constexpr wchar_t kWindowCaption[] = L"Trelvane V1.0";
inline constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
inline constexpr DWORD kWindowExStyle = 0;

// The client area in twips (1/1440 inch).
inline constexpr int kClientWidthTwips = 6270;
inline constexpr int kClientHeightTwips = 3375;

inline constexpr const wchar_t* kSchemaNames[] = {L"Standard", L"Schema 1", L"Schema 2",
                                                  L"Schema 3", L"Schema 4", L"Schema 5"};

inline constexpr wchar_t kSystemFolderTitle[] = L"Ordner für System-Module wählen...";
inline constexpr wchar_t kCommonFolderTitle[] = L"Ordner für Gemeinsame Module wählen...";

// The window's handle of each control, filled at creation.
struct FormControls {
    HWND schema, systemPath, getSysPath, commonPath, getComPath, save;
    HWND frame1, frame2, curSys, curCom, label1;
};

enum class Container { Window, Frame1, Frame2 };
enum class FontKind { Message, BrowseButton };

// What the tooltip of a control shows: nothing, the control's whole text (always, or
// only while it does not fit), or a fixed text. Texts are read when the tip shows.
enum class TipKind { None, OwnText, OwnTextWhenClipped, Fixed };
struct Tip {
    TipKind kind = TipKind::None;
    const wchar_t* text = nullptr;  // for Fixed
};

// Relative to the top-left corner of the container's rectangle (for a frame, the
// rectangle that includes its caption).
struct TwipsRect {
    int left, top, width, height;
};

struct ControlDefinition {
    ControlId id;
    HWND FormControls::*handle;
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;  // besides WS_CHILD | WS_VISIBLE
    DWORD exStyle;
    Container container;
    TwipsRect rect;
    FontKind font;
    // What screen readers announce where the visible text does not say it; nullptr
    // where it does (the control's own text, or the frame it sits in).
    const wchar_t* accessibleName;
    Tip tip;
};

inline constexpr DWORD kTabStop = WS_TABSTOP | WS_GROUP;
// Paths may hold "&", which must not become an access key. SS_NOTIFY lets the label
// see the mouse, so that its tooltip can show.
inline constexpr DWORD kPathLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_PATHELLIPSIS | SS_NOTIFY;

// Creation order is the tab order. Group boxes come after the controls inside them,
// so they lie below them and WS_CLIPSIBLINGS keeps their painting off them.
// One control to a pair of rows, as a table reads.
// clang-format off
inline constexpr ControlDefinition kForm[] = {
    {kSchema, &FormControls::schema, WC_COMBOBOXW, L"", kTabStop | CBS_DROPDOWNLIST | WS_VSCROLL, 0,
     Container::Frame1, {150, 225, 1740, 315}, FontKind::Message, L"Modulschema", {}},
    {kSystemPath, &FormControls::systemPath, WC_EDITW, L"", kTabStop | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
     Container::Frame1, {150, 675, 5340, 315}, FontKind::Message, L"System-Module", {TipKind::OwnTextWhenClipped}},
    {kGetSysPath, &FormControls::getSysPath, WC_BUTTONW, L"...", kTabStop | BS_PUSHBUTTON, 0,
     Container::Frame1, {5550, 675, 465, 315}, FontKind::BrowseButton, L"Ordner für System-Module wählen",
     {TipKind::Fixed, kSystemFolderTitle}},
    {kCommonPath, &FormControls::commonPath, WC_EDITW, L"", kTabStop | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
     Container::Frame1, {150, 1050, 5340, 315}, FontKind::Message, L"Gemeinsame Module", {TipKind::OwnTextWhenClipped}},
    {kGetComPath, &FormControls::getComPath, WC_BUTTONW, L"...", kTabStop | BS_PUSHBUTTON, 0,
     Container::Frame1, {5550, 1050, 465, 315}, FontKind::BrowseButton, L"Ordner für Gemeinsame Module wählen",
     {TipKind::Fixed, kCommonFolderTitle}},
    {kSave, &FormControls::save, WC_BUTTONW, L"Schema &übernehmen", kTabStop | BS_PUSHBUTTON, 0,
     Container::Frame1, {225, 1575, 1965, 315}, FontKind::Message, nullptr, {}},
    {kFrame1, &FormControls::frame1, WC_BUTTONW, L"Modulschema", BS_GROUPBOX | WS_CLIPSIBLINGS, 0,
     Container::Window, {75, 975, 6165, 2040}, FontKind::Message, nullptr, {}},
    {kFrame2, &FormControls::frame2, WC_BUTTONW, L"Aktuell", BS_GROUPBOX | WS_CLIPSIBLINGS, 0,
     Container::Window, {75, 75, 6165, 915}, FontKind::Message, nullptr, {}},
    {kCurSys, &FormControls::curSys, WC_STATICW, L"", kPathLabel, 0, Container::Frame2,
     {150, 225, 5865, 240}, FontKind::Message, nullptr, {TipKind::OwnText}},
    {kCurCom, &FormControls::curCom, WC_STATICW, L"", kPathLabel, 0, Container::Frame2,
     {150, 525, 5865, 240}, FontKind::Message, nullptr, {TipKind::OwnText}},
    {kLabel1, &FormControls::label1, WC_STATICW,
     L"\u00A9 2026 Trelvane-Team \u2013 Modulpfade mit einem Klick umschalten",
     SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_ENDELLIPSIS, 0, Container::Window, {75, 3075, 6165, 240},
     FontKind::Message, nullptr, {}},
};
// clang-format on
