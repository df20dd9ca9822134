#pragma once

#include <windows.h>

#include <string>

// Keys through the system's input queue, as the user presses them: they reach the focused
// window of the foreground window.
void PressKey(WORD key, bool shift = false);
void TypeText(const std::wstring& text);
