#include "dialogs/TextViewDialog.h"

#include "res/resource.h"
#include "text/LineBreaks.h"
#include "win/Text.h"

#include <algorithm>

TextViewDialog::TextViewDialog(HWND messageBox, HWND parent)
    : Dialog(IDD_TEXTVIEW, parent, 0),
      boxEdit(messageBox
                  ? reinterpret_cast<HWND>(SendMessageA(messageBox, CBEM_GETEDITCONTROL, 0, 0))
                  : nullptr) {}

void TextViewDialog::Run() {
    RunModal();
}

bool TextViewDialog::OnInitDialog() {
    HWND edit = Item(IDC_TEXTVIEW_EDIT);
    if (boxEdit) {
        const std::string boxText = WindowText(boxEdit);
        const std::string viewText = BoxTextToMessage(boxText);
        SetWindowTextA(edit, viewText.c_str());
        LimitToMessageBox(viewText, boxText);
        SendMessageA(edit, EM_SETSEL, viewText.size(), viewText.size());
        SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    }
    // The edit takes the typing at once, with the caret left at the end rather than the
    // whole text selected.
    SetFocus(edit);
    return false;
}

bool TextViewDialog::OnCommand(int id, int code) {
    if (id == IDC_TEXTVIEW_EDIT && code == EN_CHANGE) {
        if (boxEdit) {
            CopyToMessageBox();
        }
        return true;
    }
    if (id == IDOK || id == IDCANCEL) {
        End(id);
        return true;
    }
    return false;
}

void TextViewDialog::CopyToMessageBox() {
    const std::string viewText = WindowText(Item(IDC_TEXTVIEW_EDIT));
    const std::string boxText = MessageToBoxText(viewText);
    SetWindowTextA(boxEdit, boxText.c_str());
    LimitToMessageBox(viewText, boxText);
}

void TextViewDialog::LimitToMessageBox(const std::string& viewText, const std::string& boxText) {
    // The view takes no more than the message box accepts from the user. A line break is two
    // characters here and one there, so the view may hold one more for each.
    constexpr unsigned long long Unlimited = 0x7FFFFFFE;
    const auto boxLimit =
        static_cast<unsigned long long>(SendMessageA(boxEdit, EM_GETLIMITTEXT, 0, 0));
    const unsigned long long limit = boxLimit + (viewText.size() - boxText.size());
    SendMessageA(Item(IDC_TEXTVIEW_EDIT), EM_SETLIMITTEXT,
                 static_cast<WPARAM>(std::min(limit, Unlimited)), 0);
}
