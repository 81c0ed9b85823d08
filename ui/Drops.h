#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

// Folders dragged from the file manager onto the window.

// Lets the window take drops, also when the program runs elevated and the file
// manager does not: only the messages a drop consists of pass the filter.
void acceptDrops(HWND window);

struct DroppedFolder {
    POINT point;          // in the client area
    std::wstring folder;  // the first item, or the folder of a file; "" when there is none
};

// What a WM_DROPFILES hands over; frees the drop.
DroppedFolder takeDrop(HDROP drop);
