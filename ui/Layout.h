#pragma once

#include <windows.h>

#include <array>

// The window's fixed layout in twips (1/1440 inch), turned into pixels for the
// window's DPI. Positions are relative to the container's rectangle.

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

enum class Container { Window, Frame1, Frame2 };

struct TwipsRect {
    int left, top, width, height;
};

struct ControlLayout {
    ControlId id;
    Container container;
    TwipsRect rect;
};

inline constexpr int kClientWidthTwips = 6270;
inline constexpr int kClientHeightTwips = 3375;

// In tab order, which is also the creation order.
inline constexpr std::array<ControlLayout, 11> kControlLayout{{
    {kSchema, Container::Frame1, {150, 225, 1740, 315}},
    {kSystemPath, Container::Frame1, {150, 675, 5340, 315}},
    {kGetSysPath, Container::Frame1, {5550, 675, 465, 315}},
    {kCommonPath, Container::Frame1, {150, 1050, 5340, 315}},
    {kGetComPath, Container::Frame1, {5550, 1050, 465, 315}},
    {kSave, Container::Frame1, {225, 1575, 1965, 315}},
    {kFrame1, Container::Window, {75, 975, 6165, 2040}},
    {kFrame2, Container::Window, {75, 75, 6165, 915}},
    {kCurSys, Container::Frame2, {150, 225, 5865, 240}},
    {kCurCom, Container::Frame2, {150, 525, 5865, 240}},
    {kLabel1, Container::Window, {75, 3075, 6165, 240}},
}};

int twipsToPixels(int twips, UINT dpi);

// The control's rectangle in the window's client coordinates.
RECT controlRect(ControlId id, UINT dpi);

SIZE clientSize(UINT dpi);
