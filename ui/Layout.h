#pragma once

#include <windows.h>

#include "ui/Dpi.h"
#include "ui/Form.h"

// The form's twips turned into pixels. The layout is drawn for a line of text as
// high as a label (240 twips); a larger message font scales the whole layout.

int twipsToPixels(int twips, UINT dpi);

// The control's rectangle in the window's client coordinates.
RECT controlRect(const ControlDefinition& control, UINT dpi);

SIZE clientSize(UINT dpi);

// The DPI the form is laid out at: the window's, or more where the message font (at
// dpi) needs more room than the form was drawn with, as with a larger text size: a
// line of it must fit a label, and a button's caption the button. The whole form then
// grows with the text, as a dialog grows with its font, and is never smaller than drawn.
UINT layoutDpi(UINT dpi, HFONT messageFont);

// The form's fonts and the DPI it is laid out at, for a window at dpi.
struct FormVisuals {
    UniqueFont messageFont;
    UniqueFont browseButtonFont;
    UINT layout;
};
FormVisuals formVisualsAt(UINT dpi);

// The window's size for a layout at layoutDpi, with the frame of a window at dpi.
SIZE windowSize(UINT layoutDpi, UINT dpi);

// The list's window: its closed box where the form puts it, with room below for every
// entry, as systems that size the open list from the window need.
RECT droppedListRect(const RECT& closed, int itemHeight, UINT dpi);
