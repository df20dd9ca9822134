#pragma once

#include <windows.h>

#include <string>

// Tells the user, once per toolbar, that settings.ini cannot be written: the account, the
// address book, the histories and the draft would otherwise be lost without a word. The box
// is shown from the toolbar's own message loop, never inside a step a send run waits for.
class WriteFailureNotice {
public:
    // The message posted to the toolbar window; its handler calls Show.
    static UINT Message();

    // A write of the file failed: the first time, the notice is posted to the window, or shown
    // at once when there is no window to post to (the toolbar is closing).
    void Report(HWND window, const std::string& file);
    void Show(HWND owner) const;

private:
    bool reported = false;
    std::string file;
};
