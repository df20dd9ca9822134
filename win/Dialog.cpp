#include "win/Dialog.h"

#include "win/Module.h"

Dialog::Dialog(int templateId, HWND parent, DWORD controlClasses)
    : templateId(templateId), parent(parent), controlClasses(controlClasses) {}

Dialog::~Dialog() {
    Destroy();
}

INT_PTR Dialog::RunModal() {
    PrepareControls();
    modal = true;
    return DialogBoxParamA(Module::Instance(), MAKEINTRESOURCEA(templateId), parent, Procedure,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateModeless() {
    PrepareControls();
    return CreateDialogParamA(Module::Instance(), MAKEINTRESOURCEA(templateId), parent, Procedure,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::PrepareControls() const {
    // The template's control classes must be registered before the dialog is made.
    const INITCOMMONCONTROLSEX classes{sizeof classes, controlClasses};
    InitCommonControlsEx(&classes);
}

void Dialog::End(INT_PTR result) {
    EndDialog(window, result);
}

void Dialog::Destroy() {
    if (window) {
        HWND doomed = window;
        // The window's last messages no longer reach this object.
        SetWindowLongPtrA(doomed, DWLP_USER, 0);
        window = nullptr;
        DestroyWindow(doomed);
    }
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->window = window;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!self) {
        return FALSE;
    }
    switch (message) {
    case WM_COMMAND:
        if (self->OnCommand(LOWORD(wParam), HIWORD(wParam))) {
            return TRUE;
        }
        // Storno, Escape and the close box end a modal dialog unless it handled them itself.
        if (self->modal && LOWORD(wParam) == IDCANCEL) {
            self->End(IDCANCEL);
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY:
        return self->OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_NCDESTROY:
        self->window = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}
