#pragma once

#include "win/Dialog.h"

class Settings;

// "Nastavit heslo": the password typed twice. Only its MD5 digest is kept, saved the moment
// the dialog ends with OK; the typed text is wiped from the edits and from every copy made.
class PasswordDialog : public Dialog {
public:
    PasswordDialog(Settings& settings, HWND parent);

    // IDOK once the new digest is saved, IDCANCEL with nothing changed.
    INT_PTR Run();

protected:
    bool OnCommand(int id, int code) override;

private:
    void Accept();
    void WipeEdits() const;

    Settings& settings;
};
