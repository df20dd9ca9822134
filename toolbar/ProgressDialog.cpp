#include "toolbar/ProgressDialog.h"

#include "res/resource.h"
#include "toolbar/SendRun.h"
#include "win/ActivationContext.h"
#include "win/Module.h"

ProgressDialog::ProgressDialog(HWND parent, std::atomic<bool>& stop)
    : Dialog(IDD_PROGRESS, parent, ICC_ANIMATE_CLASS), stop(stop) {}

bool ProgressDialog::Create() {
    // The module's manifest asks for version 6 of the common controls, whatever the browser uses.
    ActivationScope scope;
    return !scope.Failed() && CreateModeless();
}

void ProgressDialog::Show(std::size_t total) {
    HWND text = Item(IDC_PROGRESS_TEXT);
    HWND storno = Item(IDCANCEL);
    if (total < 2) {
        // A single request leaves nothing to stop after it: the window stays the plain one.
        DestroyWindow(storno);
    } else {
        // The count shares the line with Storno, left of it.
        RECT area{};
        RECT button{};
        GetWindowRect(text, &area);
        GetWindowRect(storno, &button);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&area), 2);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&button), 2);
        MoveWindow(text, area.left, area.top, button.left - area.left, area.bottom - area.top,
                   FALSE);
        ShowCount(1, total);
    }
    ShowWindow(Handle(), SW_SHOW);
    UpdateWindow(Handle());
}

void ProgressDialog::ShowCount(std::size_t current, std::size_t total) {
    SetDlgItemTextA(Handle(), IDC_PROGRESS_TEXT, ProgressText(current, total).c_str());
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

bool ProgressDialog::OnCommand(int id, int) {
    if (id != IDCANCEL) {
        return false;
    }
    // One stop is enough; the window stays until the run has ended.
    stop = true;
    EnableWindow(Item(IDCANCEL), FALSE);
    return true;
}
