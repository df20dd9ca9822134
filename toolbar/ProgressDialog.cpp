#include "toolbar/ProgressDialog.h"

#include "res/resource.h"
#include "win/ActivationContext.h"
#include "win/Module.h"

ProgressDialog::ProgressDialog(HWND parent) : Dialog(IDD_PROGRESS, parent, ICC_ANIMATE_CLASS) {}

bool ProgressDialog::Create() {
    // The module's manifest asks for version 6 of the common controls, whatever the browser uses.
    ActivationScope scope;
    return !scope.Failed() && CreateModeless();
}

void ProgressDialog::Show() {
    ShowWindow(Handle(), SW_SHOW);
    UpdateWindow(Handle());
}

void ProgressDialog::Close() {
    End(0);
    Destroy();
}

bool ProgressDialog::OnInitDialog() {
    // The control plays the clip by itself, also while the window is hidden, until the window
    // is destroyed: no timer or thread of ours drives it.
    HWND animation = Item(IDC_PROGRESS_ANIMATION);
    SendMessageA(animation, ACM_OPENA, reinterpret_cast<WPARAM>(Module::Instance()),
                 reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(IDR_PROGRESS_AVI)));
    SendMessageA(animation, ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, -1));
    return true;
}
