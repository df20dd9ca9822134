#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Text crosses into the wide-character world only at the edges (registry paths, the
// browser, typed dates): the narrow text is in the system's ANSI code page unless told.
std::wstring Widen(std::string_view text, UINT codePage = CP_ACP);
std::string Narrow(std::wstring_view text, UINT codePage = CP_ACP);

// The whole text of a window or control, however long.
std::string WindowText(HWND window);

// A password typed into an edit: read without a copy left behind in the system's conversion
// buffers, and wiped from the edit and from the caller's copy once it has served. None when
// a character has no place in the ANSI code page: it would become "?" or a look-alike, and
// different passwords would share one digest.
std::optional<std::string> SecretText(HWND edit);
void WipeWindowText(HWND edit);
void Wipe(std::string& text);
