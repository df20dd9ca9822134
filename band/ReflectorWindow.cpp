#include "band/ReflectorWindow.h"

#include "toolbar/SmsToolbar.h"

bool ReflectorWindow::Create(HWND siteWindow, const RECT& rect) {
    return Window::Create(0, RegisterPlainWindowClass("TextaroBarReflector"), "", WS_CHILD, rect,
                          siteWindow);
}

LRESULT ReflectorWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Child controls of the toolbar pass their own notifications up as WM_COMMAND too; only
    // a command whose sender is the toolbar itself is a click on a button.
    if (message == WM_COMMAND && toolbar && reinterpret_cast<HWND>(lParam) == toolbar->Handle()) {
        toolbar->OnButtonCommand(LOWORD(wParam));
        return 0;
    }
    if (message == WM_NOTIFY && toolbar) {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.code == TTN_NEEDTEXTA) {
            return toolbar->GetToolTipText(*reinterpret_cast<NMTTDISPINFOA*>(lParam));
        }
        if (header.code == TBN_DROPDOWN && header.hwndFrom == toolbar->Handle()) {
            toolbar->ShowDropDownMenu(*reinterpret_cast<const NMTOOLBARA*>(lParam));
            return TBDDRET_DEFAULT;
        }
    }
    return Window::HandleMessage(message, wParam, lParam);
}
