#pragma once

// What the toolbar asks of the object that holds it in the browser. The band implements it,
// so the toolbar reaches the browser without knowing the band's class.
class ToolbarHost {
public:
    // The user started editing one of the boxes (true), or the toolbar lost the focus.
    virtual void FocusChange(bool hasFocus) = 0;

protected:
    ~ToolbarHost() = default;
};
