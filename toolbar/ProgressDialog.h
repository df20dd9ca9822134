#pragma once

#include "win/Dialog.h"

#include <atomic>
#include <cstddef>

// The small window "Odesílání" that floats over the browser while a send run performs its
// requests: a text and a looping striped animation. A run to more than one recipient shows how
// far it is and has "Storno", which stops it after the request in flight. Every operation
// belongs to the toolbar's user-interface thread.
class ProgressDialog : public Dialog {
public:
    // stop: set by Storno; the run reads it before each request.
    ProgressDialog(HWND parent, std::atomic<bool>& stop);

    // Makes the window hidden, its animation already playing; false when it cannot be made.
    bool Create();
    // Shows the window for a run to total recipients.
    void Show(std::size_t total);
    void ShowCount(std::size_t current, std::size_t total);
    void Close();

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

private:
    std::atomic<bool>& stop;
};
