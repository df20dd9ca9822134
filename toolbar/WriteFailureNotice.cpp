#include "toolbar/WriteFailureNotice.h"

UINT WriteFailureNotice::Message() {
    static const UINT message = RegisterWindowMessageA("TextaroBar.WriteFailureNotice");
    return message;
}

void WriteFailureNotice::Report(HWND window, const std::string& failed) {
    if (reported) {
        return;
    }
    reported = true;
    file = failed;
    if (!window || !PostMessageA(window, Message(), 0, 0)) {
        Show(nullptr);
    }
}

void WriteFailureNotice::Show(HWND owner) const {
    const std::string text = "Do souboru\n" + file +
                             "\nnelze zapisovat. Účet, adresář kontaktů, historie ani rozepsaná "
                             "zpráva se do něj neuloží.\n\nZkontrolujte, zda je soubor "
                             "zapisovatelný a zda na jeho místě není složka.";
    MessageBoxA(owner, text.c_str(), "TextaroBar", MB_OK | MB_ICONEXCLAMATION);
}
