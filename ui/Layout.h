#pragma once

#include <windows.h>

#include "ui/Form.h"

// The form's twips turned into pixels. The layout is drawn for a line of text as
// high as a label (240 twips); a larger message font scales the whole layout.

int twipsToPixels(int twips, UINT dpi);

// The control's rectangle in the window's client coordinates.
RECT controlRect(const ControlDefinition& control, UINT dpi);

SIZE clientSize(UINT dpi);
