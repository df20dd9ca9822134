#include "host/KeyInput.h"

#include <vector>

namespace {

INPUT KeyInput(WORD key, WORD scan, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    return input;
}

} // namespace

void PressKey(WORD key, bool shift) {
    std::vector<INPUT> inputs;
    if (shift) {
        inputs.push_back(KeyInput(VK_SHIFT, 0, 0));
    }
    inputs.push_back(KeyInput(key, 0, 0));
    inputs.push_back(KeyInput(key, 0, KEYEVENTF_KEYUP));
    if (shift) {
        inputs.push_back(KeyInput(VK_SHIFT, 0, KEYEVENTF_KEYUP));
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT inputs[2] = {KeyInput(0, c, KEYEVENTF_UNICODE),
                           KeyInput(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)};
        SendInput(2, inputs, sizeof(INPUT));
    }
}
