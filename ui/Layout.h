#pragma once

#include <windows.h>

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
