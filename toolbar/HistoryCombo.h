#pragma once

#include "win/Window.h"

// One of the toolbar's two one-line boxes with a drop-down list of earlier entries: an
// extended combo box whose edit field takes the typing.
class HistoryCombo : public Window {
public:
    bool Create(HWND parent);

    HWND EditWindow() const;
    HWND ComboWindow() const;
    bool IsListOpen() const;
    // Whether the keyboard focus is in the box or its edit field.
    bool HasFocus() const;

    // Hands a key the browser offered to the toolbar on to the box. Tab is left to the
    // caller (S_FALSE); every other key is dispatched to its window (S_OK).
    HRESULT ForwardKey(MSG* message) const;
};
