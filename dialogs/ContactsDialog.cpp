#include "dialogs/ContactsDialog.h"

#include "dialogs/ContactEditorDialog.h"
#include "gateway/GatewayClient.h"
#include "res/resource.h"
#include "store/ContactRecord.h"
#include "store/Settings.h"
#include "win/Dpi.h"
#include "win/Module.h"
#include "win/Scale.h"

#include <array>
#include <iterator>
#include <vector>

namespace {

struct ToolbarButton {
    int image;
    int command;
    const char* tip;
};

// In the toolbar's order; the labels are added as one list in the same order.
constexpr std::array<ToolbarButton, 4> Buttons = {{
    {1, ID_CONTACT_NEW, "Přidat nový kontakt do seznamu"},
    {2, ID_CONTACT_DELETE, "Odebrat vybraný kontakt ze seznamu"},
    {3, ID_CONTACT_EDIT, "Upravit vybraný kontakt"},
    {4, ID_CONTACT_DOWNLOAD, "Stáhnout uložené kontakty ze serveru"},
}};
const char Labels[] = "Nový\0Odstranit\0Upravit\0Z internetu\0";

const char* TipOf(UINT_PTR command) {
    for (const ToolbarButton& button : Buttons) {
        if (static_cast<UINT_PTR>(button.command) == command) {
            return button.tip;
        }
    }
    return nullptr;
}

constexpr int CellWidth = 18;
constexpr int CellHeight = 16;

void SetCell(HWND list, int row, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

} // namespace

ContactsDialog::ContactsDialog(Settings& settings, GatewayClient& gateway, HWND parent)
    : Dialog(IDD_CONTACTS, parent, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES), settings(settings),
      gateway(gateway) {}

void ContactsDialog::Run() {
    RunModal();
}

bool ContactsDialog::OnInitDialog() {
    const int dpi = WindowDpi(Handle());
    images.reset(ImageList_Create(ImageSize(CellWidth, dpi), ImageSize(CellHeight, dpi),
                                  ILC_COLOR24 | ILC_MASK, 5, 5));
    if (BitmapHandle strip{static_cast<HBITMAP>(
            LoadImageA(Module::Instance(), MAKEINTRESOURCEA(ImageResource(IDB_CONTACTS, dpi)),
                       IMAGE_BITMAP, 0, 0, 0))}) {
        ImageList_AddMasked(images.get(), strip.get(), RGB(0, 255, 0));
    }

    HWND list = Item(IDC_CONTACTS_LIST);
    const std::pair<const char*, int> columns[] = {
        {"Jméno", 115}, {"Příjmení", 115}, {"Telefonní číslo", 110}, {"E-mail", 115}};
    for (int i = 0; i < 4; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(columns[i].first);
        column.cx = Scaled(columns[i].second, dpi);
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&column));
    }
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images.get()));
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);

    CreateToolbar();
    Fill();
    EnableRowButtons(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0);
    return true;
}

void ContactsDialog::CreateToolbar() {
    const RECT none{};
    toolbar.Create(0, TOOLBARCLASSNAMEA, nullptr,
                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | TBSTYLE_TOOLTIPS |
                       TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TRANSPARENT,
                   none, Handle());
    toolbar.SendMsg(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    const int dpi = WindowDpi(Handle());
    toolbar.SendMsg(TB_SETBITMAPSIZE, 0,
                    MAKELPARAM(ImageSize(CellWidth, dpi), ImageSize(CellHeight, dpi)));
    toolbar.SendMsg(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
    const LRESULT firstLabel = toolbar.SendMsg(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(Labels));
    std::array<TBBUTTON, Buttons.size()> buttons{};
    for (std::size_t i = 0; i < Buttons.size(); ++i) {
        buttons[i].iBitmap = Buttons[i].image;
        buttons[i].idCommand = Buttons[i].command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
        buttons[i].iString = firstLabel + static_cast<INT_PTR>(i);
    }
    toolbar.SendMsg(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    toolbar.SendMsg(TB_AUTOSIZE);
}

bool ContactsDialog::OnCommand(int id, int) {
    switch (id) {
    case ID_CONTACT_NEW:
        Add();
        return true;
    case ID_CONTACT_EDIT:
        Edit();
        return true;
    case ID_CONTACT_DELETE:
        Delete();
        return true;
    case ID_CONTACT_DOWNLOAD:
        Download();
        return true;
    case IDOK:
    case IDCANCEL:
        End(id);
        return true;
    default:
        return false;
    }
}

bool ContactsDialog::OnNotify(NMHDR* header) {
    if (header->idFrom == IDC_CONTACTS_LIST && header->hwndFrom == Item(IDC_CONTACTS_LIST)) {
        if (header->code == NM_DBLCLK) {
            Edit();
            return true;
        }
        if (header->code == LVN_ITEMCHANGED) {
            // The buttons follow the selection, so a row that loses it greys them too.
            EnableRowButtons(SelectedRow() >= 0);
        }
        return false;
    }
    // The toolbar's tooltips ask for their texts here.
    if (!toolbar.Exists() ||
        header->hwndFrom != reinterpret_cast<HWND>(toolbar.SendMsg(TB_GETTOOLTIPS))) {
        return false;
    }
    if (header->code == TTN_GETDISPINFOA) {
        auto* request = reinterpret_cast<NMTTDISPINFOA*>(header);
        if (const char* tip = TipOf(header->idFrom)) {
            request->lpszText = const_cast<char*>(tip);
        }
        return true;
    }
    if (header->code == TTN_GETDISPINFOW) {
        auto* request = reinterpret_cast<NMTTDISPINFOW*>(header);
        if (const char* tip = TipOf(header->idFrom)) {
            MultiByteToWideChar(CP_ACP, 0, tip, -1, request->szText,
                                static_cast<int>(std::size(request->szText)));
            request->lpszText = request->szText;
        }
        return true;
    }
    return false;
}

void ContactsDialog::Fill() {
    HWND list = Item(IDC_CONTACTS_LIST);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    const int count = settings.GetContactCount();
    std::string stored;
    for (int i = 0, row = 0; i < count; ++i) {
        if (!settings.ReadContact(i, stored)) {
            continue;
        }
        const Contact contact = SplitContact(stored);
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = row;
        item.pszText = const_cast<char*>(contact.name.c_str());
        item.iImage = 0;
        item.lParam = i;
        row = static_cast<int>(
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        SetCell(list, row, 1, contact.surname);
        SetCell(list, row, 2, contact.phone);
        SetCell(list, row, 3, contact.email);
        ++row;
    }
    LVITEMA first{};
    first.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    first.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&first));
}

void ContactsDialog::Add() {
    Contact typed;
    for (;;) {
        if (ContactEditorDialog(typed.name, typed.surname, typed.phone, typed.email, Handle())
                .Run() != IDOK) {
            return;
        }
        const GatewayReply reply = gateway.AddrAdd(settings.UserName, settings.Pasword, typed.phone,
                                                   typed.email, typed.name, typed.surname);
        if (reply.Succeeded()) {
            typed.id = std::to_string(reply.id);
            // Another window may be adding at the same moment: each takes the count it finds.
            settings.Locked([&] {
                const int count = settings.GetContactCount();
                settings.WriteContact(count, JoinContact(typed));
                settings.SetContactCount(count + 1);
            });
            Fill();
            Say("Kontakt byl úspěšně přidán.", MB_ICONINFORMATION);
            return;
        }
        Say("Údaje nebyly upraveny:\n" + reply.FailureText(), MB_ICONEXCLAMATION);
    }
}

void ContactsDialog::Edit() {
    const int row = SelectedRow();
    if (row < 0) {
        return;
    }
    const int index = StoreIndexOf(row);
    std::string stored;
    settings.ReadContact(index, stored);
    Contact contact = SplitContact(stored);
    for (;;) {
        if (ContactEditorDialog(contact.name, contact.surname, contact.phone, contact.email,
                                Handle())
                .Run() != IDOK) {
            break;
        }
        const GatewayReply reply =
            gateway.AddrEdit(settings.UserName, settings.Pasword, contact.id, contact.phone,
                             contact.email, contact.name, contact.surname);
        if (reply.Succeeded()) {
            // Another window may have moved the entry meanwhile.
            settings.Locked([&] {
                if (const int at = settings.FindContact(index, contact.id); at >= 0) {
                    settings.WriteContact(at, JoinContact(contact));
                }
            });
            Fill();
            Say("Údaje byly úspěšně změněny.", MB_ICONINFORMATION);
            break;
        }
        Say("Údaje nebyly upraveny:\n" + reply.FailureText(), MB_ICONEXCLAMATION);
    }
    SetWindowTextA(Item(IDC_CONTACTS_STATUS), "");
}

void ContactsDialog::Delete() {
    const int row = SelectedRow();
    if (row < 0 || Say("Opravdu chcete odstranit vybranou polozku?", MB_OKCANCEL | MB_ICONQUESTION,
                       "Odstranit vybranou polozku") != IDOK) {
        return;
    }
    const int index = StoreIndexOf(row);
    std::string stored;
    settings.ReadContact(index, stored);
    const std::string id = SplitContact(stored).id;
    const GatewayReply reply = gateway.AddrDel(settings.UserName, settings.Pasword, id);
    if (!reply.Succeeded()) {
        Say("Kontakt nebyl odstraněn:\n" + reply.FailureText(), MB_ICONEXCLAMATION);
        return;
    }
    HWND list = Item(IDC_CONTACTS_LIST);
    SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    settings.Locked([&] { settings.DeleteContact(settings.FindContact(index, id)); });
    // The entries behind the deleted one moved down a key: so do the rows that show them.
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < rows; ++r) {
        if (const int shown = StoreIndexOf(r); shown > index) {
            LVITEMA item{};
            item.mask = LVIF_PARAM;
            item.iItem = r;
            item.lParam = shown - 1;
            SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
    EnableRowButtons(SelectedRow() >= 0);
    Say("Kontakt byl úspěšně odstraněn.", MB_ICONINFORMATION);
}

void ContactsDialog::Download() {
    GatewayReply reply = gateway.AddrList(settings.UserName, settings.Pasword);
    if (!reply.Succeeded()) {
        Say("Kontakty nebyly staženy:\n" + reply.FailureText(), MB_ICONEXCLAMATION);
        return;
    }
    // Taken whole or not at all: half an address book must never pass for all of it.
    std::vector<std::string> entries;
    for (int n = 0; n < reply.items; ++n) {
        reply.itemValue.reset();
        reply.SelectItem(n);
        if (!reply.itemValue || !IsStoredContact(*reply.itemValue)) {
            Say("Kontakty nebyly staženy:\nSeznam kontaktů ze serveru je neúplný nebo poškozený.",
                MB_ICONEXCLAMATION);
            return;
        }
        entries.push_back(std::move(*reply.itemValue));
    }
    if (Say("Všechny stavající kontakty budou nahrazeny.\nChcete i přesto pokračovat?",
            MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2, "Stažení kontaktů") != IDYES) {
        return;
    }
    settings.Locked([&] {
        if (entries.empty()) {
            settings.ClearContacts();
        }
        for (std::size_t i = 0; i < entries.size(); ++i) {
            settings.WriteContact(static_cast<int>(i), entries[i]);
        }
        settings.SetContactCount(static_cast<int>(entries.size()));
    });
    Fill();
    EnableRowButtons(SelectedRow() >= 0);
}

void ContactsDialog::EnableRowButtons(bool enabled) {
    if (!toolbar.Exists()) {
        return;
    }
    for (int command : {ID_CONTACT_DELETE, ID_CONTACT_EDIT}) {
        toolbar.SendMsg(TB_SETSTATE, static_cast<WPARAM>(command),
                        enabled ? TBSTATE_ENABLED : TBSTATE_INDETERMINATE);
    }
}

int ContactsDialog::SelectedRow() const {
    return static_cast<int>(SendMessageA(Item(IDC_CONTACTS_LIST), LVM_GETNEXTITEM,
                                         static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int ContactsDialog::StoreIndexOf(int row) const {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(Item(IDC_CONTACTS_LIST), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<int>(item.lParam);
}

int ContactsDialog::Say(const std::string& text, UINT style, const char* caption) const {
    return MessageBoxA(Handle(), text.c_str(), caption ? caption : Module::Name().c_str(), style);
}
