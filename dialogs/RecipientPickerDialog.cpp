#include "dialogs/RecipientPickerDialog.h"

#include "res/resource.h"
#include "store/ContactRecord.h"
#include "store/RecipientChoice.h"
#include "store/Settings.h"
#include "win/Dpi.h"
#include "win/Module.h"
#include "win/Scale.h"

#include <climits>
#include <map>

RecipientPickerDialog::RecipientPickerDialog(const Settings& settings, std::string& recipients,
                                             HWND parent)
    : Dialog(IDD_RECIPIENTS, parent, ICC_LISTVIEW_CLASSES), settings(settings),
      recipients(recipients) {}

INT_PTR RecipientPickerDialog::Run() {
    return RunModal();
}

bool RecipientPickerDialog::OnInitDialog() {
    const int dpi = WindowDpi(Handle());
    images.reset(
        ImageList_Create(ImageSize(16, dpi), ImageSize(16, dpi), ILC_COLOR24 | ILC_MASK, 1, 1));
    if (BitmapHandle icon{static_cast<HBITMAP>(
            LoadImageA(Module::Instance(), MAKEINTRESOURCEA(ImageResource(IDB_CONTACT, dpi)),
                       IMAGE_BITMAP, 0, 0, 0))}) {
        ImageList_AddMasked(images.get(), icon.get(), RGB(0, 255, 0));
    }
    const char* titles[] = {"Jméno", "Příjmení", "Telefonní číslo", "E-mail"};
    for (int id : {IDC_PICKER_CONTACTS, IDC_PICKER_CHOSEN}) {
        HWND list = Item(id);
        for (int i = 0; i < 4; ++i) {
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = const_cast<char*>(titles[i]);
            column.cx = Scaled(100, dpi);
            SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&column));
        }
        SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images.get()));
        SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                     LVS_EX_FULLROWSELECT);
    }

    std::map<int, Contact> contacts;
    std::vector<std::pair<int, std::string>> phones;
    std::string stored;
    for (int i = 0, count = settings.GetContactCount(); i < count; ++i) {
        if (settings.ReadContact(i, stored)) {
            const Contact& contact = contacts[i] = SplitContact(stored);
            phones.emplace_back(i, contact.phone);
        }
    }
    const RecipientChoice choice = ChooseRecipients(recipients, phones);
    const auto addContacts = [&](HWND list, const std::vector<int>& indices) {
        for (int index : indices) {
            const Contact& c = contacts[index];
            rows.push_back({index, {c.name, c.surname, c.phone, c.email}});
            AddRow(list, INT_MAX, rows.size() - 1);
        }
    };
    addContacts(Item(IDC_PICKER_CONTACTS), choice.contacts);
    addContacts(Item(IDC_PICKER_CHOSEN), choice.chosen);
    for (const std::string& typed : choice.typed) {
        rows.push_back({-1, {typed, "", "", ""}});
        AddRow(Item(IDC_PICKER_CHOSEN), INT_MAX, rows.size() - 1);
    }
    return true;
}

void RecipientPickerDialog::AddRow(HWND list, int position, std::size_t row) {
    const Row& shown = rows[row];
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    // A position past the end appends.
    item.iItem = position;
    item.pszText = const_cast<char*>(shown.columns[0].c_str());
    item.iImage = 0;
    item.lParam = static_cast<LPARAM>(row);
    const auto at = static_cast<WPARAM>(
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (int column = 1; column < 4; ++column) {
        LVITEMA cell{};
        cell.iSubItem = column;
        cell.pszText = const_cast<char*>(shown.columns[column].c_str());
        SendMessageA(list, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&cell));
    }
}

bool RecipientPickerDialog::OnCommand(int id, int) {
    switch (id) {
    case IDC_PICKER_ADD:
        Move(IDC_PICKER_CONTACTS, IDC_PICKER_CHOSEN);
        return true;
    case IDC_PICKER_REMOVE:
        Move(IDC_PICKER_CHOSEN, IDC_PICKER_CONTACTS);
        return true;
    case IDOK:
        Accept();
        return true;
    default:
        return false;
    }
}

void RecipientPickerDialog::Move(int from, int to) {
    HWND source = Item(from);
    const int position = static_cast<int>(
        SendMessageA(source, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (position < 0) {
        return;
    }
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = position;
    SendMessageA(source, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    AddRow(Item(to), position, static_cast<std::size_t>(item.lParam));
    SendMessageA(source, LVM_DELETEITEM, static_cast<WPARAM>(position), 0);
}

void RecipientPickerDialog::Accept() {
    HWND chosen = Item(IDC_PICKER_CHOSEN);
    std::string text;
    const int count = static_cast<int>(SendMessageA(chosen, LVM_GETITEMCOUNT, 0, 0));
    for (int position = 0; position < count; ++position) {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = position;
        SendMessageA(chosen, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        const Row& row = rows[static_cast<std::size_t>(item.lParam)];
        text += (row.storeIndex >= 0 ? row.columns[2] : row.columns[0]) + ';';
    }
    recipients = std::move(text);
    End(IDOK);
}
