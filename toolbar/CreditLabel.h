#pragma once

#include "win/Window.h"

// The credit at the right end of the toolbar: one line, centred vertically, while the text
// fits the label; wrapped from the top when it does not.
class CreditLabel : public Window {
public:
    bool Create(HWND parent);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FitStyleTo(const char* text);
};
