#include "dialogs/ContactsDialog.h"
#include "dialogs/RecipientPickerDialog.h"
#include "gateway/GatewayClient.h"
#include "gateway/Md5.h"
#include "res/resource.h"
#include "store/Settings.h"
#include "tests/win/TestSupport.h"
#include "win/Module.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <deque>
#include <memory>
#include <thread>

namespace {

using Texts = std::vector<std::string>;

// The stored entries as the section holds them: "<absent>" for a missing key, then the count.
Texts Section(const std::string& file, int keys) {
    Texts entries;
    for (int i = 0; i < keys; ++i) {
        std::string value(2048, '\0');
        value.resize(GetPrivateProfileStringA("CONTACTS", std::to_string(i).c_str(), "<absent>",
                                              value.data(), 2048, file.c_str()));
        entries.push_back(value);
    }
    entries.push_back("Count=" + std::to_string(Settings(file).GetContactCount()));
    return entries;
}

// A list view's rows as "first|surname|phone|e-mail".
Texts Rows(HWND list) {
    Texts rows;
    const auto count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::string shown;
        for (int column = 0; column < 4; ++column) {
            char text[512] = {};
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(&item));
            if (column) {
                shown += '|';
            }
            shown += text;
        }
        rows.push_back(shown);
    }
    return rows;
}

void Select(HWND list, int row) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = row >= 0 ? item.stateMask : 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// A press of the mouse in the middle of a part of a window: one click, or two for a double click.
void ClickAt(HWND window, const RECT& part, bool twice = false) {
    const LPARAM point = MAKELPARAM((part.left + part.right) / 2, (part.top + part.bottom) / 2);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(window, WM_LBUTTONUP, 0, point);
    if (twice) {
        PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
        PostMessageA(window, WM_LBUTTONUP, 0, point);
    }
}

// Replaces an edit's text as the keyboard does: everything selected, then typed over.
void TypeOver(HWND edit, const std::string& text) {
    SendMessageA(edit, EM_SETSEL, 0, -1);
    PostMessageA(edit, WM_CHAR, VK_BACK, 1);
    for (char c : text) {
        PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
}

// The stored forms of the account's address book on the server, in its order.
Texts ServerBook() {
    const std::string json =
        Narrow(Widen(HttpGet(GatewayAddressText(), "/admin/contacts?login=jana"), CP_UTF8));
    Texts book;
    for (size_t at = 0; (at = json.find("\"stored\":\"", at)) != std::string::npos;) {
        at += 10;
        book.push_back(json.substr(at, json.find('"', at) - at));
    }
    return book;
}

std::string IdOf(const std::string& stored) {
    return stored.substr(0, stored.find(','));
}

// What the user does at a dialog that opens: the texts typed into the contact editor's four
// edits (first name, surname, phone, e-mail; none to leave them), then the button pressed.
// editorButton, when set, is pressed in the editor still open under a message box, once its
// texts are noted.
struct UserAnswer {
    int button;
    Texts typed = {};
    int editorButton = 0;
};

// Whether a dialog showed each of the texts as the whole text of one of its controls.
bool Shows(const SeenDialog& seen, const Texts& texts) {
    for (const std::string& text : texts) {
        if ((seen.text + "|").find("|" + text + "|") == std::string::npos) {
            return false;
        }
    }
    return true;
}

class Contacts : public testing::Test {
protected:
    static const ToolbarDll& Dll() {
        static ToolbarDll dll;
        return dll;
    }

    void SetUp() override {
        Module::SetInstance(Dll().Handle());
        path = Dll().Path();
        ini = Dll().Folder() + "\\settings.ini";
        Store("");
        // The server's book starts empty.
        GatewayClient client(ParseGatewayAddress(GatewayAddressText()));
        client.Connect();
        for (const std::string& stored : ServerBook()) {
            client.AddrDel("jana", Md5Hex("heslo"), IdOf(stored));
        }
        owner = CreateWindowExA(0, "STATIC", "browser", WS_OVERLAPPEDWINDOW, 0, 0, 900, 200,
                                nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner);
        DeleteFileA(ini.c_str());
        HttpGet(GatewayAddressText(), "/admin/fault?mode=off");
    }

    void Store(const std::string& contacts) const {
        WriteFile(ini, "[SETTINGS]\r\nUserName=jana\r\nPasword=" + Md5Hex("heslo") +
                           "\r\n[CONTACTS]\r\n" + contacts);
    }

    // Runs "Kontakty" on this thread while user plays the user's part in it from a thread of
    // its own; what opens on top of it is answered from the queue of answers.
    void RunContacts(const std::string& gateway, const std::function<void(HWND)>& user) {
        Settings settings(path);
        settings.Load();
        GatewayClient client(ParseGatewayAddress(gateway));
        client.Connect();
        watcher = std::make_unique<DialogWatcher>([this](HWND dialog, const SeenDialog& seen) {
            if (seen.caption == "Kontakty") {
                return 0;
            }
            std::lock_guard guard(lock);
            if (answers.empty()) {
                ADD_FAILURE() << "unexpected " << seen.caption << seen.text;
                return IDCANCEL;
            }
            const UserAnswer answer = answers.front();
            answers.pop_front();
            const int edits[] = {IDC_EDITOR_NAME, IDC_EDITOR_SURNAME, IDC_EDITOR_PHONE,
                                 IDC_EDITOR_EMAIL};
            for (size_t i = 0; i < answer.typed.size(); ++i) {
                TypeOver(GetDlgItem(dialog, edits[i]), answer.typed[i]);
            }
            if (HWND editor = FindDialog("Upravit záznam kontaktu"); answer.editorButton) {
                editorTexts.clear();
                for (int edit : edits) {
                    editorTexts.push_back(WindowText(GetDlgItem(editor, edit)));
                }
                PostMessageA(editor, WM_COMMAND, answer.editorButton, 0);
            }
            return answer.button;
        });
        std::thread player([&] {
            HWND dialog = nullptr;
            // Seen by the watcher first, so that only what opens on top of it is counted.
            WaitFor([&] { return (dialog = FindDialog("Kontakty")) && !watcher->Seen().empty(); });
            contacts = dialog;
            list = GetDlgItem(dialog, IDC_CONTACTS_LIST);
            toolbar = FindWindowExA(dialog, nullptr, TOOLBARCLASSNAMEA, nullptr);
            EXPECT_NE(nullptr, dialog) << "Kontakty opens";
            if (dialog) {
                user(dialog);
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            }
        });
        ContactsDialog(settings, client, owner).Run();
        player.join();
        watcher.reset();
    }

    // Clicks a button of the dialog's toolbar, answers what opens in order and returns what it
    // showed once everything on top of "Kontakty" is closed again.
    std::vector<SeenDialog> Press(int command, std::vector<UserAnswer> plan) {
        RECT rect{};
        SendMessageA(toolbar, TB_GETRECT, static_cast<WPARAM>(command),
                     reinterpret_cast<LPARAM>(&rect));
        return Act([&] { ClickAt(toolbar, rect); }, std::move(plan));
    }

    std::vector<SeenDialog> Act(const std::function<void()>& act, std::vector<UserAnswer> plan) {
        const size_t before = watcher->Seen().size();
        const size_t expected = plan.size();
        {
            std::lock_guard guard(lock);
            answers.assign(plan.begin(), plan.end());
        }
        act();
        if (expected == 0) {
            Sleep(300);
        }
        EXPECT_TRUE(WaitFor([&] {
            return watcher->Seen().size() == before + expected && OnlyContactsOpen();
        })) << "saw "
            << watcher->Seen().size() - before << " of " << expected;
        const std::vector<SeenDialog> all = watcher->Seen();
        return {all.begin() + static_cast<long>(std::min(before, all.size())), all.end()};
    }

    static bool OnlyContactsOpen() {
        for (HWND dialog = nullptr; (dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr));) {
            DWORD process = 0;
            GetWindowThreadProcessId(dialog, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(dialog) &&
                WindowText(dialog) != "Kontakty") {
                return false;
            }
        }
        return true;
    }

    // "enabled" or "greyed" when Delete and Edit agree, both states otherwise.
    std::string RowButtons() const {
        std::string states;
        for (int command : {ID_CONTACT_DELETE, ID_CONTACT_EDIT}) {
            const auto state = SendMessageA(toolbar, TB_GETSTATE, static_cast<WPARAM>(command), 0);
            states += state & TBSTATE_ENABLED         ? "enabled "
                      : state & TBSTATE_INDETERMINATE ? "greyed "
                                                      : "plain ";
        }
        for (const char* agreed : {"enabled", "greyed"}) {
            if (states == std::string(agreed) + " " + agreed + " ") {
                return agreed;
            }
        }
        return states;
    }

    // Store index each row carries.
    std::vector<int> RowIndices() const {
        std::vector<int> indices;
        const auto count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row) {
            LVITEMA item{};
            item.mask = LVIF_PARAM;
            item.iItem = row;
            SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            indices.push_back(static_cast<int>(item.lParam));
        }
        return indices;
    }

    std::string path;
    std::string ini;
    HWND owner = nullptr;
    HWND contacts = nullptr;
    HWND list = nullptr;
    HWND toolbar = nullptr;
    std::unique_ptr<DialogWatcher> watcher;
    std::mutex lock;
    std::deque<UserAnswer> answers;
    Texts editorTexts;
};

TEST_F(Contacts, TheStoreMovesEntriesWholeAndKeepsGaps) {
    const std::string longEntry = "9,602,,," + std::string(700, 'z');
    const struct {
        std::string section;
        int k; // entry to delete, or -1 to only read
        Texts after;
    } cases[] = {
        {"Count=3\r\n0=e0\r\n1=e1\r\n2=e2\r\n", 1, {"e0", "e2", "<absent>", "Count=2"}},
        {"Count=1\r\n0=e0\r\n", 0, {"<absent>", "Count=0"}},
        {"Count=4\r\n0=e0\r\n2=e2\r\n3=e3\r\n", 0, {"<absent>", "e2", "e3", "<absent>", "Count=3"}},
        {"Count=5\r\n0=e0\r\n1=e1\r\n2=e2\r\n",
         -1,
         {"e0", "e1", "e2", "<absent>", "<absent>", "Count=5"}},
        {"Count=2\r\n0=e0\r\n1=" + longEntry + "\r\n", 0, {longEntry, "<absent>", "Count=1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section);
        Store(c.section);
        const Settings settings(path);
        if (c.k >= 0) {
            settings.DeleteContact(c.k);
        }
        EXPECT_EQ(c.after, Section(ini, static_cast<int>(c.after.size()) - 1));
    }
    Store("Count=5\r\n0=e0\r\n2=e2\r\n");
    const Settings settings(path);
    std::string entry = "old";
    EXPECT_FALSE(settings.ReadContact(1, entry));
    EXPECT_EQ("", entry);
    EXPECT_TRUE(settings.ReadContact(2, entry));
    EXPECT_EQ("e2", entry);
}

// The dialog's whole life with the real server: every change goes there first, and the store
// and the rows follow only its successes.
TEST_F(Contacts, TheBookIsKeptInStepWithTheServer) {
    const Texts jana = {"Jana", "Nováková", "602111222", "jana@example.cz"};
    const Texts petr = {"Petr", "Malý", "603222333", ""};
    const Texts eva = {"Eva", "Černá", "604333444", "eva@example.cz"};
    const auto stored = [](const std::string& id, const Texts& t) {
        return id + "," + t[2] + "," + t[3] + "," + t[0] + "," + t[1];
    };
    const auto row = [](const Texts& t) { return t[0] + "|" + t[1] + "|" + t[2] + "|" + t[3]; };

    RunContacts(GatewayAddressText(), [&](HWND) {
        EXPECT_TRUE(Rows(list).empty());
        EXPECT_EQ(5, ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(
                         SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0))));
        // Each button's tip, asked of the toolbar's tooltip as when the mouse rests there.
        const std::pair<int, const char*> tips[] = {
            {ID_CONTACT_NEW, "Přidat nový kontakt do seznamu"},
            {ID_CONTACT_DELETE, "Odebrat vybraný kontakt ze seznamu"},
            {ID_CONTACT_EDIT, "Upravit vybraný kontakt"},
            {ID_CONTACT_DOWNLOAD, "Stáhnout uložené kontakty ze serveru"}};
        for (const auto& [command, tip] : tips) {
            char text[100] = {};
            TTTOOLINFOA tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = toolbar;
            tool.uId = static_cast<UINT_PTR>(command);
            tool.lpszText = text;
            SendMessageA(reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0)),
                         TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
            EXPECT_STREQ(tip, text);
        }
        EXPECT_EQ("greyed", RowButtons());
        EXPECT_TRUE(
            Act([&] { PostMessageA(contacts, WM_COMMAND, ID_CONTACT_EDIT, 0); }, {}).empty());

        // Added: the server's id lands in the entry.
        auto shown = Press(ID_CONTACT_NEW, {{IDOK, jana}, {IDOK}});
        ASSERT_EQ(2u, shown.size());
        EXPECT_EQ("Upravit záznam kontaktu", shown[0].caption);
        EXPECT_TRUE(Shows(shown[1], {"Kontakt byl úspěšně přidán."}));
        EXPECT_EQ("information", shown[1].icon);
        ASSERT_EQ(1u, ServerBook().size());
        const std::string janaId = IdOf(ServerBook()[0]);
        EXPECT_EQ((Texts{stored(janaId, jana), "Count=1"}), Section(ini, 1));
        EXPECT_EQ(Texts{row(jana)}, Rows(list));
        EXPECT_EQ("enabled", RowButtons());

        // A comma is refused in the editor before anything is sent; the texts stay.
        const Texts comma = {"Petr", "Malý, ml.", "603222333", ""};
        shown = Press(ID_CONTACT_NEW, {{IDOK, comma}, {IDOK, {}, IDCANCEL}});
        ASSERT_EQ(2u, shown.size());
        EXPECT_EQ("error", shown[1].icon);
        EXPECT_NE(std::string::npos, shown[1].text.find("nesmí obsahovat čárku"));
        EXPECT_EQ(comma, editorTexts);
        EXPECT_EQ(1u, ServerBook().size());

        // Refused by the server: its errtext, then the editor again with what was typed.
        shown = Press(ID_CONTACT_NEW, {{IDOK, {"Bez", "Čísla", "", ""}}, {IDOK}, {IDCANCEL}});
        ASSERT_EQ(3u, shown.size());
        EXPECT_NE(std::string::npos,
                  shown[1].text.find("Údaje nebyly upraveny:\nChybí telefonní číslo kontaktu"));
        EXPECT_EQ("exclamation", shown[1].icon);
        EXPECT_TRUE(Shows(shown[2], {"Bez", "Čísla"}));
        EXPECT_EQ((Texts{stored(janaId, jana), "Count=1"}), Section(ini, 1));

        Press(ID_CONTACT_NEW, {{IDOK, petr}, {IDOK}});
        Press(ID_CONTACT_NEW, {{IDOK, eva}, {IDOK}});
        const Texts server = ServerBook();
        ASSERT_EQ(3u, server.size());
        EXPECT_EQ((Texts{server[0], server[1], server[2], "Count=3"}), Section(ini, 3));

        // Selection drives the buttons.
        Select(list, -1);
        EXPECT_EQ("greyed", RowButtons());
        RECT rect{LVIR_BOUNDS, 0, 0, 0};
        SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect));
        ClickAt(list, rect);
        EXPECT_TRUE(WaitFor([&] { return RowButtons() == "enabled"; }));

        // Delete answered Cancel sends nothing; answered OK renumbers store and rows.
        shown = Press(ID_CONTACT_DELETE, {{IDCANCEL}});
        EXPECT_EQ("Odstranit vybranou polozku", shown.at(0).caption);
        EXPECT_EQ("question", shown.at(0).icon);
        EXPECT_EQ(3u, ServerBook().size());
        shown = Press(ID_CONTACT_DELETE, {{IDOK}, {IDOK}});
        EXPECT_NE(std::string::npos, shown.at(1).text.find("Kontakt byl úspěšně odstraněn."));
        EXPECT_EQ((Texts{server[1], server[2], "<absent>", "Count=2"}), Section(ini, 3));
        EXPECT_EQ((Texts{row(petr), row(eva)}), Rows(list));
        EXPECT_EQ((std::vector<int>{0, 1}), RowIndices());
        EXPECT_EQ((Texts{server[1], server[2]}), ServerBook());

        // The row below the deleted one edits that very contact.
        Texts edited = eva;
        edited[1] = "Černá-Nová";
        rect = {LVIR_BOUNDS, 0, 0, 0};
        SendMessageA(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rect));
        shown = Act([&] { ClickAt(list, rect, true); }, {{IDOK, edited}, {IDOK}});
        ASSERT_EQ(2u, shown.size());
        EXPECT_TRUE(Shows(shown[0], eva));
        EXPECT_NE(std::string::npos, shown[1].text.find("Údaje byly úspěšně změněny."));
        const std::string evaEdited = stored(IdOf(server[2]), edited);
        EXPECT_EQ((Texts{server[1], evaEdited}), ServerBook());
        EXPECT_EQ((Texts{server[1], evaEdited, "Count=2"}), Section(ini, 2));
        EXPECT_EQ("", WindowText(GetDlgItem(contacts, IDC_CONTACTS_STATUS)));

        // A download answered No changes nothing; a short list is refused whole.
        Store("Count=4\r\n0=9,600000000,,Místní,Jen\r\n3=x\r\n");
        const Texts local = Section(ini, 4);
        shown = Press(ID_CONTACT_DOWNLOAD, {{IDNO}});
        EXPECT_EQ("Stažení kontaktů", shown.at(0).caption);
        EXPECT_EQ("exclamation", shown.at(0).icon);
        EXPECT_EQ(local, Section(ini, 4));
        HttpGet(GatewayAddressText(), "/admin/fault?mode=shortlist");
        shown = Press(ID_CONTACT_DOWNLOAD, {{IDOK}});
        EXPECT_NE(std::string::npos, shown.at(0).text.find("Kontakty nebyly staženy:\n"));
        EXPECT_EQ(local, Section(ini, 4));

        // Yes takes exactly the server's entries; keys past them are left unread.
        Press(ID_CONTACT_DOWNLOAD, {{IDYES}});
        EXPECT_EQ((Texts{server[1], evaEdited, "Count=2"}), Section(ini, 2));
        EXPECT_EQ((Texts{row(petr), row({"Eva", "Černá-Nová", "604333444", "eva@example.cz"})}),
                  Rows(list));
    });
}

// A request that never completes reports the transport's text in each message, and changes
// nothing.
TEST_F(Contacts, AStoppedServerIsReportedAndChangesNothing) {
    Store("Count=1\r\n0=5,602111222,,Jana,Nováková\r\n");
    const Texts before = Section(ini, 1);
    const struct {
        int command;
        std::vector<UserAnswer> plan;
        const char* message;
    } cases[] = {
        {ID_CONTACT_NEW,
         {{IDOK, {"A", "B", "600", ""}}, {IDOK}, {IDCANCEL}},
         "Údaje nebyly upraveny:\n"},
        {ID_CONTACT_EDIT, {{IDOK}, {IDOK}, {IDCANCEL}}, "Údaje nebyly upraveny:\n"},
        {ID_CONTACT_DELETE, {{IDOK}, {IDOK}}, "Kontakt nebyl odstraněn:\n"},
        {ID_CONTACT_DOWNLOAD, {{IDOK}}, "Kontakty nebyly staženy:\n"},
    };
    RunContacts("127.0.0.1:1", [&](HWND) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.message);
            const auto shown = Press(c.command, c.plan);
            const bool asks = c.command != ID_CONTACT_DOWNLOAD;
            ASSERT_EQ(c.plan.size(), shown.size());
            EXPECT_NE(std::string::npos, shown[asks].text.find(std::string(c.message) +
                                                               "Nepodařilo se poslat požadavek"));
            EXPECT_EQ(before, Section(ini, 1));
        }
    });
}

// The picker opens on the recipient text and gives back the chosen numbers.
TEST_F(Contacts, ThePickerSplitsTheTextIntoContactsAndTypedRows) {
    const struct {
        const char* store;
        const char* text;
        std::vector<std::pair<int, int>> moves; // (list, row): 0 moves right, 1 moves left
        Texts left;                             // the lists once the moves are made
        Texts right;
        const char* result;
    } cases[] = {
        {"Count=1\r\n0=1,C,,Cyril,Malý\r\n",
         "A;;A;B",
         {},
         {"Cyril|Malý|C|"},
         {"A|||", "B|||"},
         "A;B;"},
        {"Count=1\r\n0=1,602111222,,Jana,Nová\r\n",
         " 602111222",
         {},
         {"Jana|Nová|602111222|"},
         {" 602111222|||"},
         " 602111222;"},
        {"Count=3\r\n0=1,602,,Jana,Nová\r\n2=2,602,,Eva,Nová\r\n",
         "602;",
         {},
         {"Eva|Nová|602|"},
         {"Jana|Nová|602|"},
         "602;"},
        {"Count=3\r\n0=1,601,,A,A\r\n1=2,602,,B,B\r\n2=3,603,a@b.cz,C,C\r\n",
         "x",
         {{0, 2}, {0, 0}},
         {"B|B|602|"},
         {"A|A|601|", "x|||", "C|C|603|a@b.cz"},
         "601;x;603;"},
        {"Count=1\r\n0=1,601,,A,A\r\n", "601;x", {{1, 0}, {1, 0}}, {"x|||", "A|A|601|"}, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Store(c.store);
        const Settings settings(path);
        std::string recipients = c.text;
        // Without moves, opening the picker on its own result shows the same lists.
        for (int opening = 0; opening < (c.moves.empty() ? 2 : 1); ++opening) {
            Texts left;
            Texts right;
            DialogWatcher user([&](HWND dialog, const SeenDialog&) {
                for (const auto& [from, row] : c.moves) {
                    Select(GetDlgItem(dialog, from ? IDC_PICKER_CHOSEN : IDC_PICKER_CONTACTS), row);
                    SendMessageA(GetDlgItem(dialog, from ? IDC_PICKER_REMOVE : IDC_PICKER_ADD),
                                 BM_CLICK, 0, 0);
                }
                left = Rows(GetDlgItem(dialog, IDC_PICKER_CONTACTS));
                right = Rows(GetDlgItem(dialog, IDC_PICKER_CHOSEN));
                return IDOK;
            });
            EXPECT_EQ(IDOK, RecipientPickerDialog(settings, recipients, owner).Run());
            EXPECT_EQ(c.left, left) << "opening " << opening;
            EXPECT_EQ(c.right, right) << "opening " << opening;
            EXPECT_EQ(c.result, recipients) << "opening " << opening;
        }
    }
}

// Button 5's face opens the picker on the recipient box: OK replaces its text, Cancel keeps it.
TEST_F(Contacts, TheAddressBookButtonFillsTheRecipientBox) {
    CoInitialize(nullptr);
    Store("Count=1\r\n0=1,602111222,,Jana,Nová\r\n");
    {
        BrowserWindow browser(Dll());
        HWND recipientEdit = BrowserWindow::EditOf(browser.Child(WC_COMBOBOXEXA, 1));
        for (const int button : {IDCANCEL, IDOK}) {
            SetWindowTextA(recipientEdit, "777888999");
            DialogWatcher user([&](HWND dialog, const SeenDialog& seen) {
                EXPECT_EQ("Vybrat adresáta", seen.caption);
                Select(GetDlgItem(dialog, IDC_PICKER_CONTACTS), 0);
                SendMessageA(GetDlgItem(dialog, IDC_PICKER_ADD), BM_CLICK, 0, 0);
                return button;
            });
            RECT rect{};
            SendMessageA(browser.Toolbar(), TB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&rect));
            rect.right = rect.left + 16; // the face, not the drop-down arrow
            ClickAt(browser.Toolbar(), rect);
            PumpMessages(100);
            WaitFor([&] {
                PumpMessages(50);
                return user.Seen().size() == 1 && !FindDialog("Vybrat adresáta");
            });
            EXPECT_EQ(1u, user.Seen().size());
            EXPECT_EQ(button == IDOK ? "602111222;777888999;" : "777888999",
                      WindowText(recipientEdit));
        }
    }
    CoUninitialize();
}

} // namespace
