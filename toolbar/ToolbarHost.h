#pragma once

#include <string>

// What the toolbar asks of the object that holds it in the browser. The band implements it,
// so the toolbar reaches the browser without knowing the band's class.
class ToolbarHost {
public:
    // The user started editing one of the boxes (true), or the toolbar lost the focus.
    virtual void FocusChange(bool hasFocus) = 0;
    // Opens the link (text in the system's code page) in the browser window that holds the
    // toolbar, in place of its page.
    virtual void NavigateTo(const std::string& link) = 0;

protected:
    ~ToolbarHost() = default;
};
