#pragma once

#include <windows.h>

#include <string>

// Tells the user, once per toolbar, that settings.ini cannot be written: the account, the
// address book, the histories and the draft would otherwise be lost without a word. The box
// is shown from the toolbar's own message loop, never inside a step a send run waits for, and
// never while the toolbar is being taken down (a modal loop inside the browser's teardown):
// a write that fails then, the unsent message's, is told by the next toolbar of the process.
class WriteFailureNotice {
public:
    // The message posted to the toolbar window; its handler calls Show.
    static UINT Message();

    // A write of the file failed: the first time, the notice is posted to the window, or kept
    // for the next toolbar when there is no window to post to (the toolbar is closing).
    void Report(HWND window, const std::string& file);
    // At a toolbar's start: the unsent message an earlier toolbar could not keep as it closed
    // is told now, by this toolbar only.
    void ReportLeftOver(HWND window);
    void Show(HWND owner) const;

private:
    bool reported = false;
    bool atClose = false;
    std::string file;
};
