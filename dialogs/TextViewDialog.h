#pragma once

#include "win/Dialog.h"

#include <string>

// "Text nové SMS": the message of the toolbar's one-line message box in a large multi-line
// edit, each "¶" shown as a real line break. Every change goes back into the message box at
// once, with each line break written as "¶" again.
class TextViewDialog : public Dialog {
public:
    // messageBox: the message box (an extended combo box), not owned; without one the view
    // is an empty edit that copies nothing.
    TextViewDialog(HWND messageBox, HWND parent);

    void Run();

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

private:
    void CopyToMessageBox();
    void LimitToMessageBox(const std::string& viewText, const std::string& boxText);

    HWND boxEdit;
};
