#include "win/Text.h"

std::wstring Widen(std::string_view text, UINT codePage) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(std::wstring_view text, UINT codePage) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

std::optional<std::string> SecretText(HWND edit) {
    // The wide text is the edit's own: read into our buffer, it is converted here and wiped.
    const int length = GetWindowTextLengthW(edit);
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    wide.resize(static_cast<size_t>(GetWindowTextW(edit, wide.data(), length + 1)));
    std::string text(wide.size() * 2, '\0');
    BOOL substituted = FALSE;
    text.resize(static_cast<size_t>(WideCharToMultiByte(
        CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), text.data(),
        static_cast<int>(text.size()), nullptr, &substituted)));
    SecureZeroMemory(wide.data(), wide.size() * sizeof(wchar_t));
    if (substituted) {
        Wipe(text);
        return std::nullopt;
    }
    return text;
}

void WipeWindowText(HWND edit) {
    // Text of the same length is written over the old in the edit's own buffer before the
    // edit is emptied; a shorter text would leave the rest of it there.
    const int length = GetWindowTextLengthW(edit);
    if (length > 0) {
        SetWindowTextW(edit, std::wstring(static_cast<size_t>(length), L'*').c_str());
    }
    SetWindowTextW(edit, L"");
    SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
}

void Wipe(std::string& text) {
    SecureZeroMemory(text.data(), text.size());
    text.clear();
}

std::string WindowText(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(
        static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}
