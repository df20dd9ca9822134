#pragma once

#include "win/Dialog.h"

// The small window "Odesílání" that floats over the browser while a send run performs its
// requests: a text and a looping striped animation, no buttons. It shows no real progress
// and cannot cancel anything. Every operation belongs to the toolbar's user-interface thread.
class ProgressDialog : public Dialog {
public:
    explicit ProgressDialog(HWND parent);

    // Makes the window hidden, its animation already playing; false when it cannot be made.
    bool Create();
    void Show();
    void Close();

protected:
    bool OnInitDialog() override;
};
