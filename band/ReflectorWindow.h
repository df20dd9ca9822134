#pragma once

#include "win/Window.h"

class SmsToolbar;

// Hidden parent of the toolbar control: the control sends its notifications and button
// commands to its parent, and this window hands them to the toolbar object.
class ReflectorWindow : public Window {
public:
    bool Create(HWND siteWindow, const RECT& rect);
    void SetToolbar(SmsToolbar* owner) { toolbar = owner; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    SmsToolbar* toolbar = nullptr;
};
