#include "toolbar/CreditLabel.h"

#include "win/Handles.h"

bool CreditLabel::Create(HWND parent) {
    const RECT initial{0, 0, 75, 150};
    if (!Window::Create(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, initial, parent)) {
        return false;
    }
    SendMsg(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SetWindowLongPtrA(Handle(), GWL_STYLE, GetWindowLongPtrA(Handle(), GWL_STYLE) | SS_CENTERIMAGE);
    return true;
}

LRESULT CreditLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_SETTEXT) {
        return Window::HandleMessage(message, wParam, lParam);
    }
    FitStyleTo(reinterpret_cast<const char*>(lParam));
    LRESULT result = Window::HandleMessage(message, wParam, lParam);
    InvalidateRect(Handle(), nullptr, TRUE);
    UpdateWindow(Handle());
    return result;
}

void CreditLabel::FitStyleTo(const char* text) {
    WindowDc dc(Handle());
    auto font = reinterpret_cast<HFONT>(SendMsg(WM_GETFONT));
    SelectedObject selected(dc.Get(),
                            font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    RECT needed{0, 0, 1024, 1024};
    DrawTextA(dc.Get(), text ? text : "", -1, &needed, DT_CALCRECT | DT_SINGLELINE);
    RECT client{};
    GetClientRect(Handle(), &client);
    LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE);
    style = needed.right - needed.left > client.right - client.left ? style & ~SS_CENTERIMAGE
                                                                    : style | SS_CENTERIMAGE;
    SetWindowLongPtrA(Handle(), GWL_STYLE, style);
}
