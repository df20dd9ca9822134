#pragma once

#include <windows.h>
#include <commctrl.h>

// A dialog made from a template in this module's resources, run modally or kept modeless,
// whose messages reach the virtual handlers below. The object owns its window: a modeless
// window still open when the object goes is destroyed with it.
class Dialog {
public:
    // controlClasses: the common-control classes (ICC_*) that the template uses.
    Dialog(int templateId, HWND parent, DWORD controlClasses);
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog();

protected:
    // The result given to End; -1, or 0 for an unusable parent, when the dialog could not be made.
    INT_PTR RunModal();
    bool CreateModeless();
    void End(INT_PTR result);
    void Destroy();

    HWND Handle() const { return window; }
    HWND Item(int id) const { return GetDlgItem(window, id); }

    // WM_INITDIALOG; true lets the platform give the focus to the first control.
    virtual bool OnInitDialog() { return true; }
    // WM_COMMAND and WM_NOTIFY; false leaves the message to the platform's default handling,
    // and a modal dialog's IDCANCEL to End(IDCANCEL).
    virtual bool OnCommand(int, int) { return false; }
    virtual bool OnNotify(NMHDR*) { return false; }

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void PrepareControls() const;

    int templateId;
    HWND parent;
    DWORD controlClasses;
    HWND window = nullptr;
    bool modal = false;
};
