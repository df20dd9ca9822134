#pragma once

#include <windows.h>

// The dots per inch of the window's display: the system's answer for the window where it has
// one (GetDpiForWindow, which older systems lack), else the screen's.
int WindowDpi(HWND window);
