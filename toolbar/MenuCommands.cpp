// The toolbar's two drop-down menus and what their commands do: portal pages bound to the
// user's visit, links of menu.ini, the upgrade page, clearing the histories and the uninstaller.
#include "toolbar/SmsToolbar.h"

#include "dialogs/SettingsDialog.h"
#include "menu/MainMenuItems.h"
#include "menu/PortalLinks.h"
#include "res/resource.h"
#include "toolbar/SendRun.h"
#include "toolbar/ToolbarHost.h"
#include "toolbar/ToolbarSlots.h"
#include "win/Module.h"

#include <shellapi.h>

#include <vector>

void SmsToolbar::ShowDropDownMenu(const NMTOOLBARA& request) {
    POINT corner{request.rcButton.left, request.rcButton.bottom};
    MapWindowPoints(Handle(), HWND_DESKTOP, &corner, 1);
    if (request.iItem == 0) {
        TrackPopupMenu(mainMenu.Handle(), 0, corner.x, corner.y, 0, Handle(), nullptr);
    } else if (request.iItem == AddressBookSlot) {
        MenuHandle addressBook(LoadMenuA(Module::Instance(), "ADDRESSBOOK"));
        HMENU popup = GetSubMenu(addressBook.get(), 0);
        SetMenuDefaultItem(popup, 0, TRUE);
        TrackPopupMenu(popup, 0, corner.x, corner.y, 0, Handle(), nullptr);
    }
}

void SmsToolbar::OnMenuCommand(int command) {
    using namespace MenuCommand;
    const std::string* value = mainMenu.StoredValue(command);
    if (value && command > FirstLink && command < AccountSettings) {
        OpenLink(*value);
    } else if (value && command > FirstPortalPage && command < ClearTexts) {
        OpenPortalPage(*value);
    } else if (command == Upgrade) {
        std::string link = settings.ReadUpgrade();
        if (link.empty()) {
            MessageBoxA(Handle(), "Adresa pro upgrade není nastavena (klíč Upgrade v menu.ini).",
                        Module::Name().c_str(), MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        OpenLink(std::move(link));
    } else if (command == PortalHome) {
        OpenLink(PortalHomeLink(settings.ReadPortal()));
    } else if (command == ClearTexts) {
        ConfirmClearHistory(HistoryKind::Text);
    } else if (command == ClearRecipients) {
        ConfirmClearHistory(HistoryKind::Recipient);
    } else if (command == AccountSettings) {
        ShowSettings();
    } else if (command == Uninstall) {
        RunUninstaller();
    } else if (command == IDM_PICKRECIPIENTS) {
        PickRecipients();
    } else if (command == IDM_EDITCONTACTS) {
        ShowContacts();
    } else {
        const std::string text = "Nezname menu ID: " + std::to_string(command);
        MessageBoxA(Handle(), text.c_str(), Module::Name().c_str(), MB_OK);
    }
}

void SmsToolbar::ShowSettings() {
    // Owned by the browser window, which waits while it is open: a second dialog or a send
    // started meanwhile would work on the settings under it.
    // The portal visit belongs to the account it was signed in with: a new name or password
    // drops it before any page opens, the nickname page that OK may open included.
    std::string login = settings.UserName;
    std::string password = settings.Pasword;
    const auto forgetAnOldVisit = [&] {
        if (settings.UserName != login || settings.Pasword != password) {
            gatewayClient.ForgetSession();
            login = settings.UserName;
            password = settings.Pasword;
        }
    };
    SettingsDialog dialog(
        settings, gatewayClient,
        [&](std::string_view action) {
            forgetAnOldVisit();
            OpenPortalPage(std::string(action));
        },
        Handle());
    const bool saved = dialog.Run() == IDOK;
    forgetAnOldVisit();
    // A new password is kept even when the rest of the dialog is cancelled.
    PublishAccount();
    if (!saved) {
        return;
    }
    // A delivery receipt goes to the e-mail address: without one the switch means nothing.
    EnableWindow(receiptSwitch.Handle(), !settings.Email.empty());
    // The text written back as it stands is counted again, with the nickname as it now is.
    HWND edit = messageBox.EditWindow();
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    messageBox.SetText(messageBox.Text());
    SendMessageA(edit, EM_SETSEL, start, static_cast<LPARAM>(end));
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
}

void SmsToolbar::OpenLink(std::string link) {
    AppendVersionTag(link);
    NavigateTo(link);
}

void SmsToolbar::OpenPortalPage(const std::string& action) {
    OpenLink(BuildPortalLink(action));
}

void SmsToolbar::AppendVersionTag(std::string& link) const {
    const std::string path = Module::FilePath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::vector<char> block(size);
    VS_FIXEDFILEINFO* version = nullptr;
    UINT length = 0;
    if (size && GetFileVersionInfoA(path.c_str(), 0, size, block.data()) &&
        VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&version), &length) &&
        version && length >= sizeof *version) {
        link += VersionTag(version->dwFileVersionMS, version->dwFileVersionLS);
    }
}

std::string SmsToolbar::BuildPortalLink(const std::string& action) {
    GatewayReply reply;
    if (gatewayClient.Session()) {
        reply = gatewayClient.PortalInfo();
        if (reply.status == -1) {
            const std::string text = "Chyba při komunikace se serverem:\n" + reply.lastError;
            MessageBoxA(Handle(), text.c_str(), Module::Name().c_str(), MB_OK | MB_ICONERROR);
        } else if (reply.errcode != 0) {
            // The portal no longer takes the visit: sign in again for a new one.
            reply = gatewayClient.InfoLogin(settings.UserName, settings.Pasword);
        }
    } else {
        reply = gatewayClient.InfoLogin(settings.UserName, settings.Pasword);
    }
    ShowCredit(reply);
    return PortalPageLink(settings.ReadPortal(), gatewayClient.Session().value_or(""), action);
}

void SmsToolbar::ShowCredit(const GatewayReply& reply) {
    SetWindowTextA(creditLabel.Handle(), reply.Succeeded() ? CreditText(reply.credit).c_str() : "");
}

void SmsToolbar::NavigateTo(const std::string& link) const {
    if (host) {
        host->NavigateTo(link);
    }
}

void SmsToolbar::ConfirmClearHistory(HistoryKind kind) {
    const bool texts = kind == HistoryKind::Text;
    if (MessageBoxA(Handle(),
                    texts ? "Opravdu chcete vymazat historii textů?"
                          : "Opravdu chcete vymazat historii příjemců?",
                    texts ? "Vymazat historii textů" : "Vymazat historii příjemců",
                    MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    (texts ? messageBox : recipientBox).SendMsg(CB_RESETCONTENT);
    if (texts) {
        settings.ClearTextHistory();
    } else {
        settings.ClearRecipientHistory();
    }
}

void SmsToolbar::RunUninstaller() const {
    const std::string module = Module::FilePath();
    const std::string folder = module.substr(0, module.find_last_of('\\'));
    std::string program;
    std::string arguments;
    settings.ReadUninstall(program, arguments);
    if (program.empty()) {
        MessageBoxA(Handle(),
                    "Odinstalační program není nastaven (klíč UninstalString v menu.ini).",
                    Module::Name().c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ShellExecuteA(nullptr, nullptr, program.c_str(), arguments.c_str(), folder.c_str(),
                  SW_SHOWDEFAULT);
}
