#include "toolbar/SmsToolbar.h"

#include "dialogs/ContactsDialog.h"
#include "dialogs/RecipientPickerDialog.h"
#include "res/resource.h"
#include "toolbar/ToolbarSlots.h"
#include "win/ActivationContext.h"
#include "win/Dpi.h"
#include "win/Module.h"

#include <commctrl.h>

#include <cstdio>
#include <map>

namespace {

constexpr COLORREF Transparent = RGB(0, 255, 0);
constexpr int ImageWidth = 110;
constexpr int ImageHeight = 18;

LOGFONTA DefaultGuiFont() {
    LOGFONTA font{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    return font;
}

void SetFace(LOGFONTA& font, const char* face) {
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
}

} // namespace

SmsToolbar::SmsToolbar()
    : settings(Module::FilePath()),
      shared(std::make_shared<SharedState>(ParseGatewayAddress(settings.ReadGateway()))),
      gatewayClient(shared->gateway) {
    settings.onWriteFailure = [this](const std::string& file) {
        writeFailure.Report(closing ? nullptr : Handle(), file);
    };
    settings.Load();
    PublishAccount();
    mainMenu.Build(settings);
}

void SmsToolbar::PublishAccount() {
    account.Publish({settings.UserName, settings.Pasword, settings.Email, settings.Nick,
                     settings.WaitForDelivery});
}

SmsToolbar::~SmsToolbar() {
    // An account refresh still waiting for the gateway finishes on its own and then finds
    // no toolbar to report to.
    shared->toolbar = nullptr;
    EndSendRun();
    SaveDraft();
    Destroy();
}

bool SmsToolbar::CreateToolbar(int left, int top, int right, int bottom, HWND parent,
                               ToolbarHost* owner) {
    host = owner;
    dpi = WindowDpi(parent);
    std::map<int, int> imageOf;
    {
        ActivationScope scope;
        if (scope.Failed()) {
            return false;
        }
        buttonImages.reset(ImageList_Create(ImageSize(ImageWidth, dpi), ImageSize(ImageHeight, dpi),
                                            ILC_COLOR24 | ILC_MASK, 0, 10));
        if (!buttonImages) {
            return false;
        }
        for (int bitmap : {IDB_MAINMENU, IDB_TEXTVIEW, IDB_ADDRESSBOOK, IDB_DELAYEDSEND}) {
            BitmapHandle picture(
                LoadBitmapA(Module::Instance(), MAKEINTRESOURCEA(ImageResource(bitmap, dpi))));
            imageOf[bitmap] = ImageList_AddMasked(buttonImages.get(), picture.get(), Transparent);
        }
        BitmapHandle send = DrawSendPicture(parent);
        imageOf[IDB_SEND] = ImageList_AddMasked(buttonImages.get(), send.get(), Transparent);
    }

    const RECT rect{left, top, right, bottom};
    if (!Create(0, TOOLBARCLASSNAMEA, "",
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBSTYLE_LIST | TBSTYLE_FLAT |
                    TBSTYLE_TOOLTIPS | CCS_NODIVIDER,
                rect, parent)) {
        return false;
    }
    auto extended = static_cast<DWORD>(SendMsg(TB_GETEXTENDEDSTYLE));
    extended |= TBSTYLE_EX_DRAWDDARROWS;
    SendMsg(TB_SETEXTENDEDSTYLE, 0, extended);
    extended |= TBSTYLE_EX_HIDECLIPPEDBUTTONS;
    SendMsg(TB_SETEXTENDEDSTYLE, 0, extended);
    SendMsg(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SendMsg(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(buttonImages.get()));

    TBBUTTON buttons[ToolbarSlots.size()] = {};
    for (size_t i = 0; i < ToolbarSlots.size(); ++i) {
        const ToolbarSlot& slot = ToolbarSlots[i];
        TBBUTTON& button = buttons[i];
        button.idCommand = static_cast<int>(i);
        button.fsState = TBSTATE_ENABLED;
        switch (slot.kind) {
        case SlotKind::Separator:
            button.iBitmap = SlotWidth(static_cast<int>(i), dpi);
            button.fsStyle = BTNS_SEP;
            break;
        case SlotKind::WholeDropDown:
            button.iBitmap = imageOf[slot.bitmap];
            button.fsStyle = BTNS_WHOLEDROPDOWN;
            break;
        case SlotKind::DropDownButton:
            button.iBitmap = imageOf[slot.bitmap];
            button.fsStyle = BTNS_DROPDOWN;
            break;
        case SlotKind::Button:
            button.iBitmap = imageOf[slot.bitmap];
            button.fsStyle = BTNS_BUTTON;
            break;
        }
    }
    SendMsg(TB_ADDBUTTONSA, ToolbarSlots.size(), reinterpret_cast<LPARAM>(buttons));
    // The pictures come in fewer scales than displays do: the buttons' height follows the scale.
    const auto natural = static_cast<DWORD>(SendMsg(TB_GETBUTTONSIZE));
    SendMsg(TB_SETBUTTONSIZE, 0, MAKELPARAM(LOWORD(natural), Scaled(ButtonHeight, dpi)));
    SendMsg(TB_AUTOSIZE);
    ShowWindow(Handle(), SW_SHOW);
    for (size_t i = 0; i < ToolbarSlots.size(); ++i) {
        TBBUTTONINFOA info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_SIZE;
        info.cx = static_cast<WORD>(SlotWidth(static_cast<int>(i), dpi));
        SendMsg(TB_SETBUTTONINFOA, i, reinterpret_cast<LPARAM>(&info));
    }

    if (!CreateControls()) {
        return false;
    }
    ApplyFonts();
    receiptSwitch.SendMsg(BM_SETCHECK, settings.AutoRecack == 1 ? BST_CHECKED : BST_UNCHECKED);
    // A delivery receipt goes to the e-mail address: without one the switch means nothing.
    EnableWindow(receiptSwitch.Handle(), !settings.Email.empty());

    messageBox.SetCounter(&counterLabel, &settings);
    messageBox.SetHost(host);
    recipientBox.SetHost(host);
    messageBox.LoadHistory(settings, HistoryKind::Text);
    recipientBox.LoadHistory(settings, HistoryKind::Recipient);
    LoadDraft();
    writeFailure.ReportLeftOver(Handle());
    gatewayClient.Connect();
    StartAccountRefresh();

    RECT client{};
    GetClientRect(Handle(), &client);
    LayOut(client.right - client.left);
    return true;
}

BitmapHandle SmsToolbar::DrawSendPicture(HWND parent) const {
    BitmapHandle picture(
        LoadBitmapA(Module::Instance(), MAKEINTRESOURCEA(ImageResource(IDB_SEND, dpi))));
    WindowDc parentDc(parent);
    MemoryDcHandle memory(CreateCompatibleDC(parentDc.Get()));
    if (!picture || !memory) {
        return picture;
    }
    LOGFONTA description = DefaultGuiFont();
    description.lfHeight = -MulDiv(8, dpi, 72);
    description.lfWeight = 600;
    // Smoothed edges would mix with the transparent green and leave a green fringe.
    description.lfQuality = NONANTIALIASED_QUALITY;
    SetFace(description, "Tahoma");
    FontHandle font(CreateFontIndirectA(&description));
    {
        SelectedObject selectedBitmap(memory.get(), picture.get());
        SelectedObject selectedFont(memory.get(), font.get());
        SetBkMode(memory.get(), TRANSPARENT);
        RECT area{ImageSize(22, dpi), 0, ImageSize(ImageWidth, dpi), ImageSize(ImageHeight, dpi)};
        DrawTextA(memory.get(), "Odeslat", 7, &area, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
    return picture;
}

bool SmsToolbar::CreateControls() {
    const RECT initial{0, 0, 300, 150};
    if (!messageBox.Create(Handle())) {
        return false;
    }
    if (!receiptSwitch.Create(0, "BUTTON", "doručenka",
                              WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | BS_CENTER | BS_VCENTER,
                              initial, Handle())) {
        return false;
    }
    if (!recipientBox.Create(Handle())) {
        return false;
    }
    if (!counterLabel.Create(0, "STATIC", "0 zn.\n0 sms", WS_CHILD | WS_VISIBLE | SS_LEFT, initial,
                             Handle())) {
        return false;
    }
    return creditLabel.Create(Handle());
}

void SmsToolbar::ApplyFonts() {
    LOGFONTA description = DefaultGuiFont();
    SetFace(description, "Tahoma");
    labelFont.reset(CreateFontIndirectA(&description));
    for (Window* control : {&counterLabel, static_cast<Window*>(&receiptSwitch),
                            static_cast<Window*>(&creditLabel)}) {
        control->SendMsg(WM_SETFONT, reinterpret_cast<WPARAM>(labelFont.get()), TRUE);
    }
}

void SmsToolbar::OnButtonCommand(int command) {
    switch (command) {
    case TextViewSlot:
        ShowTextView();
        break;
    case AddressBookSlot:
        // Its face picks recipients, as its menu's first item does.
        OnMenuCommand(IDM_PICKRECIPIENTS);
        break;
    case DelayedSendSlot:
        ChooseSendTime();
        break;
    case SendSlot:
        StartSend();
        break;
    default: {
        char text[64];
        std::snprintf(text, sizeof text, "Other command: %d", command);
        MessageBoxA(nullptr, text, nullptr, MB_OK);
        break;
    }
    }
}

void SmsToolbar::PickRecipients() {
    ActivationScope scope;
    std::string recipients = recipientBox.Text();
    if (RecipientPickerDialog(settings, recipients, Handle()).Run() == IDOK) {
        recipientBox.SetText(recipients);
    }
}

void SmsToolbar::ShowContacts() {
    ActivationScope scope;
    ContactsDialog(settings, gatewayClient, Handle()).Run();
}

bool SmsToolbar::GetToolTipText(NMTTDISPINFOA& request) const {
    static const std::map<UINT_PTR, const char*> tips = {
        {0, "Hlavní nabídka Textaro"},
        {TextViewSlot, "Text zprávy v rozšířeném pohledu"},
        {AddressBookSlot, "Výběr příjemce, úprava kontaktů"},
        {DelayedSendSlot, "Nastavit datum a čas odeslání zprávy"},
        {SendSlot, "Odeslat zprávu na zadaná tel. čísla"},
    };
    if (auto tip = tips.find(request.hdr.idFrom); tip != tips.end()) {
        request.lpszText = const_cast<char*>(tip->second);
    }
    request.hinst = Module::Instance();
    return true;
}

int SmsToolbar::TranslateKey(MSG* message) {
    const bool tab = message->wParam == VK_TAB && message->message != WM_KEYUP;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (messageBox.HasFocus()) {
        if (!tab || shift) {
            return messageBox.ForwardKey(message);
        }
        SetFocus(recipientBox.EditWindow());
        RewriteBoxTexts();
        return 0;
    }
    if (recipientBox.HasFocus()) {
        if (!tab) {
            return recipientBox.ForwardKey(message);
        }
        int result = 0;
        if (shift) {
            SetFocus(messageBox.EditWindow());
        } else {
            result = recipientBox.ForwardKey(message);
        }
        RewriteBoxTexts();
        return result;
    }
    // Not a key of the toolbar: the browser keeps it.
    RewriteBoxTexts();
    return 1;
}

void SmsToolbar::RewriteBoxTexts() {
    for (HistoryCombo* box : {&messageBox, &recipientBox}) {
        box->SetText(box->Text());
    }
}

void SmsToolbar::FocusMessageBox() {
    if (messageBox.Exists()) {
        SetFocus(messageBox.EditWindow());
    }
}

bool SmsToolbar::HasFocus() const {
    for (const HistoryCombo* box : {&messageBox, &recipientBox}) {
        if (box->HasFocus() || box->IsListOpen()) {
            return true;
        }
    }
    return false;
}

LRESULT SmsToolbar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WriteFailureNotice::Message()) {
        writeFailure.Show(Handle());
        return 0;
    }
    switch (message) {
    case WM_SIZE: {
        LRESULT result = Window::HandleMessage(message, wParam, lParam);
        LayOut(LOWORD(lParam));
        return result;
    }
    case WM_DESTROY:
        // A run still going finishes its request in flight and stops; it shows nothing more.
        EndSendRun();
        SaveDraft();
        break;
    case ShowRunBoxMessage:
        // The toolbar may be gone when the box returns: nothing of it is touched after.
        ShowRunBox();
        return 0;
    case ShowCountMessage:
        if (progressWindow) {
            progressWindow->ShowCount(wParam, static_cast<std::size_t>(lParam));
        }
        return 0;
    case WM_COMMAND:
        // A command picked from a menu that this window owns; identifier 0 is no command.
        if (lParam == 0 && HIWORD(wParam) == 0) {
            if (LOWORD(wParam) != 0) {
                OnMenuCommand(LOWORD(wParam));
            }
            return 0;
        }
        [[fallthrough]];
    case WM_NOTIFY: {
        // The boxes tell their parent, this toolbar, about edits and the start of editing;
        // each box handles its own notifications, and they go no further, so none of them
        // can pass for a click on a button.
        HWND sender = message == WM_COMMAND ? reinterpret_cast<HWND>(lParam)
                                            : reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        for (HistoryCombo* box : {&messageBox, &recipientBox}) {
            if (box->Exists() && sender == box->Handle()) {
                return box->SendMsg(message == WM_COMMAND ? HistoryCombo::ReflectedCommand
                                                          : HistoryCombo::ReflectedNotify,
                                    wParam, lParam);
            }
        }
        break;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == receiptSwitch.Handle()) {
            // The switch sits on the toolbar's own background.
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        }
        break;
    default:
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}
