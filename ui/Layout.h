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

// Where a control is created: as the layout puts it, the list with room below for every
// entry, as systems that size the open list from the window need.
RECT creationRect(const ControlDefinition& row, const FormVisuals& visuals, UINT dpi);

// Gives every control its font and its place, moving only what is not there yet. The
// list alone grows below the table's height where its field would not hold a line.
// listWindow is Schema's window rectangle as last set: moving a list is costly, and the
// rectangle it was given is not one it reports.
void placeControls(const FormControls& controls, const FormVisuals& visuals, UINT dpi, RECT& listWindow);

// Resizes the window, or where it is minimised the rectangle it is restored at.
void resizeWindow(HWND window, SIZE size);

// The window's own icons, kept while it shows them.
struct WindowIcons {
    UniqueIcon bigIcon;
    UniqueIcon smallIcon;
};
WindowIcons setWindowIcons(HWND window, UINT dpi);
