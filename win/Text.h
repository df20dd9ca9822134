#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Text crosses into the wide-character world only at the edges (registry paths, the
// browser, typed dates): the narrow text is in the system's ANSI code page unless told.
std::wstring Widen(std::string_view text, UINT codePage = CP_ACP);
std::string Narrow(std::wstring_view text, UINT codePage = CP_ACP);

// The whole text of a window or control, however long.
std::string WindowText(HWND window);
