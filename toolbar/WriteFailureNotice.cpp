#include "toolbar/WriteFailureNotice.h"

#include <mutex>
#include <optional>
#include <utility>

namespace {

// The file an earlier toolbar of the process could not write as it closed, until told.
struct LeftOver {
    std::mutex lock;
    std::optional<std::string> file;
};

LeftOver& LeftOverFailure() {
    static LeftOver leftOver;
    return leftOver;
}

} // namespace

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
        LeftOver& leftOver = LeftOverFailure();
        std::lock_guard guard(leftOver.lock);
        leftOver.file = failed;
    }
}

void WriteFailureNotice::ReportLeftOver(HWND window) {
    LeftOver& leftOver = LeftOverFailure();
    std::lock_guard guard(leftOver.lock);
    if (leftOver.file && !reported && PostMessageA(window, Message(), 0, 0)) {
        reported = true;
        atClose = true;
        file = *std::exchange(leftOver.file, std::nullopt);
    }
}

void WriteFailureNotice::Show(HWND owner) const {
    const std::string text =
        (atClose ? "Poslední neodeslanou zprávu se při zavření lišty nepodařilo uložit: do "
                   "souboru\n" +
                       file + "\nnelze zapisovat."
                 : "Do souboru\n" + file +
                       "\nnelze zapisovat. Účet, adresář kontaktů, historie ani rozepsaná "
                       "zpráva se do něj neuloží.") +
        "\n\nZkontrolujte, zda je soubor zapisovatelný a zda na jeho místě není složka.";
    MessageBoxA(owner, text.c_str(), "TextaroBar", MB_OK | MB_ICONEXCLAMATION);
}
