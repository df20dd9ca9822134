#include "toolbar/HistoryCombo.h"

#include <commctrl.h>

bool HistoryCombo::Create(HWND parent) {
    const RECT initial{0, 0, 300, 150};
    return Window::Create(0, WC_COMBOBOXEXA, "",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | CBS_DROPDOWN |
                              CBS_AUTOHSCROLL,
                          initial, parent);
}

HWND HistoryCombo::EditWindow() const {
    return reinterpret_cast<HWND>(Send(CBEM_GETEDITCONTROL));
}

HWND HistoryCombo::ComboWindow() const {
    return reinterpret_cast<HWND>(Send(CBEM_GETCOMBOCONTROL));
}

bool HistoryCombo::IsListOpen() const {
    return Exists() && SendMessageA(ComboWindow(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

bool HistoryCombo::HasFocus() const {
    if (!Exists()) {
        return false;
    }
    HWND focus = GetFocus();
    return focus && (focus == EditWindow() || focus == Handle() || focus == ComboWindow());
}

HRESULT HistoryCombo::ForwardKey(MSG* message) const {
    if (message->wParam == VK_TAB) {
        return S_FALSE;
    }
    TranslateMessage(message);
    DispatchMessageA(message);
    UpdateWindow(Handle());
    return S_OK;
}
