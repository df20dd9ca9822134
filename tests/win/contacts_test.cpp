#include "dialogs/ContactsDialog.h"
#include "gateway/GatewayClient.h"
#include "gateway/Md5.h"
#include "res/resource.h"
#include "store/Settings.h"
#include "tests/win/TestSupport.h"
#include "win/Module.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <thread>

namespace {

using Texts = std::vector<std::string>;

// The states of Delete and Edit on the dialog's toolbar.
const std::vector<LRESULT> Enabled(2, TBSTATE_ENABLED);
const std::vector<LRESULT> Greyed(2, TBSTATE_INDETERMINATE);

// A list view's rows as "first|surname|phone|e-mail".
Texts Rows(HWND list) {
    Texts rows(static_cast<size_t>(ListView_GetItemCount(list)));
    for (size_t row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < 4; ++column) {
            char text[512] = {};
            ListView_GetItemText(list, static_cast<int>(row), column, text, sizeof text);
            rows[row].append(column ? "|" : "").append(text);
        }
    }
    return rows;
}

void Select(HWND list, int row) {
    ListView_SetItemState(list, row, row >= 0 ? LVIS_SELECTED | LVIS_FOCUSED : 0,
                          LVIS_SELECTED | LVIS_FOCUSED);
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

void ClickRow(HWND list, int row, bool twice = false) {
    RECT rect{};
    ListView_GetItemRect(list, row, &rect, LVIR_BOUNDS);
    ClickAt(list, rect, twice);
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

// What the user does at a dialog that opens: the texts typed over the contact editor's edits
// (first name, surname, phone, e-mail; an empty text leaves the edit as it is), then the button
// pressed. Texts given at a message box over the editor are typed there once the box is closed,
// and the editor's OK is pressed.
struct UserAnswer {
    int button;
    Texts typed = {};
};

// Whether a dialog showed the icon, and each of the texts at the start of a control's text.
testing::AssertionResult Shows(const SeenDialog& seen, const Texts& texts,
                               const std::string& icon = "") {
    const bool shown = std::all_of(texts.begin(), texts.end(), [&](const auto& text) {
        return seen.text.find("|" + text) != std::string::npos;
    });
    return shown && seen.icon == icon ? testing::AssertionSuccess()
                                      : testing::AssertionFailure() << seen.icon << seen.text;
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
        Store({});
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

    // The CONTACTS section with these entries, an empty one for a missing key.
    void Store(const Texts& entries) const {
        std::string section = "Count=" + std::to_string(entries.size()) + "\r\n";
        for (size_t i = 0; i < entries.size(); ++i) {
            section += entries[i].empty() ? "" : std::to_string(i) + "=" + entries[i] + "\r\n";
        }
        WriteFile(ini, "[SETTINGS]\r\nUserName=jana\r\nPasword=" + Md5Hex("heslo") +
                           "\r\n[CONTACTS]\r\n" + section);
    }

    // The first keys of the section, "<absent>" for a gap, then the count.
    Texts Section(int keys) const {
        const Settings settings(path);
        Texts entries;
        std::string entry;
        for (int i = 0; i < keys; ++i) {
            entries.push_back(settings.ReadContact(i, entry) ? entry : "<absent>");
        }
        entries.push_back("Count=" + std::to_string(settings.GetContactCount()));
        return entries;
    }

    // Runs "Kontakty" on this thread while user plays the user's part in it from a thread of
    // its own; what opens on top of it is answered from the queue of answers.
    void RunContacts(const std::string& gateway, const std::function<void()>& user) {
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
            HWND editor = FindDialog("Upravit záznam kontaktu");
            const bool overEditor = dialog != editor && !answer.typed.empty();
            if (overEditor) {
                PostMessageA(dialog, WM_COMMAND, answer.button, 0);
            }
            const int edits[] = {IDC_EDITOR_NAME, IDC_EDITOR_SURNAME, IDC_EDITOR_PHONE,
                                 IDC_EDITOR_EMAIL};
            for (size_t i = 0; i < answer.typed.size(); ++i) {
                if (!answer.typed[i].empty()) {
                    TypeOver(GetDlgItem(editor, edits[i]), answer.typed[i]);
                }
            }
            if (!overEditor) {
                return answer.button;
            }
            PostMessageA(editor, WM_COMMAND, IDOK, 0);
            return 0;
        });
        std::thread player([&] {
            // Seen by the watcher first, so that only what opens on top of it is counted.
            WaitFor(
                [&] { return (contacts = FindDialog("Kontakty")) && !watcher->Seen().empty(); });
            list = GetDlgItem(contacts, IDC_CONTACTS_LIST);
            toolbar = FindWindowExA(contacts, nullptr, TOOLBARCLASSNAMEA, nullptr);
            EXPECT_NE(nullptr, contacts) << "Kontakty opens";
            if (contacts) {
                user();
                PostMessageA(contacts, WM_COMMAND, IDOK, 0);
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
        // "Kontakty" is disabled while a dialog or message box of its own is open.
        EXPECT_TRUE(WaitFor([&] {
            return watcher->Seen().size() == before + expected && IsWindowEnabled(contacts);
        })) << "saw "
            << watcher->Seen().size() - before << " of " << expected;
        // Answered only once the handler that opened them has returned to the dialog's loop.
        SendMessageA(contacts, WM_NULL, 0, 0);
        const std::vector<SeenDialog> all = watcher->Seen();
        return {all.begin() + static_cast<long>(std::min(before, all.size())), all.end()};
    }

    std::vector<LRESULT> RowButtons() const {
        return {SendMessageA(toolbar, TB_GETSTATE, ID_CONTACT_DELETE, 0),
                SendMessageA(toolbar, TB_GETSTATE, ID_CONTACT_EDIT, 0)};
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
};

// Over the real INI text: a delete that names no entry changes nothing; a real one moves the
// later entries down whole, a gap keeping its place, and lowers a Count above the keys.
TEST_F(Contacts, TheStoreMovesEntriesWholeAndKeepsGaps) {
    const std::string longEntry = "9,602,,," + std::string(700, 'z');
    Store({"e0", "e1", "", longEntry, ""});
    const Settings settings(path);
    settings.DeleteContact(5);
    settings.DeleteContact(1);
    EXPECT_EQ((Texts{"e0", "<absent>", longEntry, "<absent>", "<absent>", "Count=4"}), Section(5));
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

    RunContacts(GatewayAddressText(), [&] {
        EXPECT_EQ(5, ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(
                         SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0))));
        // Each button's tip, asked of the toolbar's tooltip as when the mouse rests there.
        const auto tips = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
        for (const auto& [command, tip] :
             {std::pair{ID_CONTACT_NEW, "Přidat nový kontakt do seznamu"},
              {ID_CONTACT_DELETE, "Odebrat vybraný kontakt ze seznamu"},
              {ID_CONTACT_EDIT, "Upravit vybraný kontakt"},
              {ID_CONTACT_DOWNLOAD, "Stáhnout uložené kontakty ze serveru"}}) {
            char text[100] = {};
            TTTOOLINFOA tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = toolbar;
            tool.uId = static_cast<UINT_PTR>(command);
            tool.lpszText = text;
            SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
            EXPECT_STREQ(tip, text);
        }
        EXPECT_EQ(Greyed, RowButtons());
        EXPECT_TRUE(
            Act([&] { PostMessageA(contacts, WM_COMMAND, ID_CONTACT_EDIT, 0); }, {}).empty());

        // Added: the server's id lands in the entry.
        auto shown = Press(ID_CONTACT_NEW, {{IDOK, jana}, {IDOK}});
        ASSERT_EQ(2u, shown.size());
        EXPECT_TRUE(Shows(shown[1], {"Kontakt byl úspěšně přidán."}, "information"));
        const std::string janaId = IdOf(ServerBook().at(0));
        EXPECT_EQ((Texts{stored(janaId, jana), "Count=1"}), Section(1));
        EXPECT_EQ(Texts{row(jana)}, Rows(list));
        EXPECT_EQ(Enabled, RowButtons());

        // A comma is refused in the editor before anything is sent; the texts stay to be mended.
        shown = Press(ID_CONTACT_NEW,
                      {{IDOK, {"Petr", "Malý, ml.", "603222333"}}, {IDOK, {"", "Malý"}}, {IDOK}});
        ASSERT_EQ(3u, shown.size());
        EXPECT_TRUE(Shows(shown[1],
                          {"Jméno, příjmení, telefonní číslo ani e-mail nesmí obsahovat čárku."},
                          "error"));

        // Refused by the server: its errtext, then the editor again with what was typed.
        shown = Press(ID_CONTACT_NEW, {{IDOK, {"Eva", "Černá"}}, {IDOK}, {IDOK, eva}, {IDOK}});
        ASSERT_EQ(4u, shown.size());
        EXPECT_TRUE(Shows(shown[1], {"Údaje nebyly upraveny:\nChybí telefonní číslo kontaktu"},
                          "exclamation"));
        EXPECT_TRUE(Shows(shown[2], {"Eva", "Černá"}));

        // Petr and Eva as mended, and nothing the comma or the refusal brought.
        const Texts server = ServerBook();
        ASSERT_EQ(3u, server.size());
        EXPECT_EQ((Texts{server[0], server[1], server[2], "Count=3"}), Section(3));

        // Selection drives the buttons.
        Select(list, -1);
        EXPECT_EQ(Greyed, RowButtons());
        ClickRow(list, 0);
        EXPECT_TRUE(WaitFor([&] { return RowButtons() == Enabled; }));

        // Delete answered Cancel sends nothing; answered OK renumbers store and rows.
        shown = Press(ID_CONTACT_DELETE, {{IDCANCEL}});
        EXPECT_EQ("Odstranit vybranou polozku", shown.at(0).caption);
        EXPECT_TRUE(Shows(shown[0], {"Opravdu chcete odstranit vybranou polozku?"}, "question"));
        shown = Press(ID_CONTACT_DELETE, {{IDOK}, {IDOK}});
        EXPECT_TRUE(Shows(shown.at(1), {"Kontakt byl úspěšně odstraněn."}, "information"));
        EXPECT_EQ((Texts{server[1], server[2], "<absent>", "Count=2"}), Section(3));
        EXPECT_EQ((Texts{server[1], server[2]}), ServerBook());

        // The row below the deleted one edits that very contact.
        Texts edited = eva;
        edited[1] = "Černá-Nová";
        shown = Act([&] { ClickRow(list, 1, true); }, {{IDOK, edited}, {IDOK}});
        ASSERT_EQ(2u, shown.size());
        EXPECT_TRUE(Shows(shown[0], eva));
        EXPECT_TRUE(Shows(shown[1], {"Údaje byly úspěšně změněny."}, "information"));
        const std::string evaEdited = stored(IdOf(server[2]), edited);
        EXPECT_EQ((Texts{server[1], evaEdited, "Count=2"}), Section(2));

        // A download answered No changes nothing; a short list is refused whole.
        Store({"9,600000000,,Místní,Jen"});
        const Texts local = Section(1);
        shown = Press(ID_CONTACT_DOWNLOAD, {{IDNO}});
        EXPECT_EQ("Stažení kontaktů", shown.at(0).caption);
        EXPECT_TRUE(
            Shows(shown[0], {"Všechny stavající kontakty budou nahrazeny."}, "exclamation"));
        EXPECT_EQ(local, Section(1));
        HttpGet(GatewayAddressText(), "/admin/fault?mode=shortlist");
        shown = Press(ID_CONTACT_DOWNLOAD, {{IDOK}});
        EXPECT_TRUE(Shows(shown.at(0), {"Kontakty nebyly staženy:\n"}, "exclamation"));
        EXPECT_EQ(local, Section(1));

        // Yes takes exactly the server's entries, edited ones as the server holds them.
        Press(ID_CONTACT_DOWNLOAD, {{IDYES}});
        EXPECT_EQ((Texts{server[1], evaEdited, "Count=2"}), Section(2));
        EXPECT_EQ((Texts{row(petr), row(edited)}), Rows(list));
    });
}

// A request that never completes reports the transport's text in each message, and changes
// nothing.
TEST_F(Contacts, AStoppedServerIsReportedAndChangesNothing) {
    Store({"5,602111222,,Jana,Nováková"});
    const Texts before = Section(1);
    const struct {
        int command;
        std::vector<UserAnswer> plan;
        const char* message;
    } cases[] = {
        {ID_CONTACT_NEW,
         {{IDOK, {"A", "B", "600"}}, {IDOK}, {IDCANCEL}},
         "Údaje nebyly upraveny:\n"},
        {ID_CONTACT_EDIT, {{IDOK}, {IDOK}, {IDCANCEL}}, "Údaje nebyly upraveny:\n"},
        {ID_CONTACT_DELETE, {{IDOK}, {IDOK}}, "Kontakt nebyl odstraněn:\n"},
        {ID_CONTACT_DOWNLOAD, {{IDOK}}, "Kontakty nebyly staženy:\n"},
    };
    RunContacts("127.0.0.1:1", [&] {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.message);
            const auto shown = Press(c.command, c.plan);
            ASSERT_EQ(c.plan.size(), shown.size());
            // Only a download asks nothing before its request.
            EXPECT_TRUE(Shows(shown[c.command != ID_CONTACT_DOWNLOAD],
                              {std::string(c.message) + "Nepodařilo se poslat požadavek"},
                              "exclamation"));
            EXPECT_EQ(before, Section(1));
        }
    });
}

// The address book button's face opens the picker on the recipient box: the text is split into
// contacts and typed rows, and OK writes the chosen numbers back, Cancel nothing.
TEST_F(Contacts, ThePickerSplitsTheRecipientsIntoContactsAndTypedRows) {
    const struct {
        Texts store;
        const char* text;
        std::vector<std::pair<int, int>> moves; // (list, row): 0 moves right, 1 moves left
        Texts left;                             // the lists once the moves are made
        Texts right;
        int button;
        const char* result;
    } cases[] = {
        {{"1,C,,Cyril,Malý"}, "A;;A;B", {}, {"Cyril|Malý|C|"}, {"A|||", "B|||"}, IDOK, "A;B;"},
        {{"1,602,,Jana,Nová"}, " 602", {}, {"Jana|Nová|602|"}, {" 602|||"}, IDOK, " 602;"},
        {{"1,602,,J,A", "", "2,602,,E,B"}, "602;", {}, {"E|B|602|"}, {"J|A|602|"}, IDOK, "602;"},
        {{"1,1,,A,A", "2,2,,B,B", "3,3,a@b.cz,C,C"},
         "x",
         {{0, 2}, {0, 0}},
         {"B|B|2|"},
         {"A|A|1|", "x|||", "C|C|3|a@b.cz"},
         IDOK,
         "1;x;3;"},
        {{"1,601,,A,A"}, "601;x", {{1, 0}, {1, 0}}, {"x|||", "A|A|601|"}, {}, IDOK, ""},
        {{"1,602,,J,A"}, "777", {{0, 0}}, {}, {"J|A|602|", "777|||"}, IDCANCEL, "777"},
    };
    CoInitialize(nullptr);
    {
        BrowserWindow browser(Dll());
        HWND recipients = BrowserWindow::EditOf(browser.Child(WC_COMBOBOXEXA, 1));
        RECT face{};
        SendMessageA(browser.Toolbar(), TB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&face));
        face.right = face.left + 16; // not the drop-down arrow
        for (const auto& c : cases) {
            SCOPED_TRACE(c.text);
            Store(c.store);
            SetWindowTextA(recipients, c.text);
            // Without moves, opening the picker on its own result shows the same lists.
            for (int opening = 0; opening < (c.moves.empty() ? 2 : 1); ++opening) {
                Texts left;
                Texts right;
                DialogWatcher user([&](HWND dialog, const SeenDialog&) {
                    for (const auto& [from, row] : c.moves) {
                        Select(GetDlgItem(dialog, from ? IDC_PICKER_CHOSEN : IDC_PICKER_CONTACTS),
                               row);
                        SendMessageA(GetDlgItem(dialog, from ? IDC_PICKER_REMOVE : IDC_PICKER_ADD),
                                     BM_CLICK, 0, 0);
                    }
                    left = Rows(GetDlgItem(dialog, IDC_PICKER_CONTACTS));
                    right = Rows(GetDlgItem(dialog, IDC_PICKER_CHOSEN));
                    return c.button;
                });
                ClickAt(browser.Toolbar(), face);
                EXPECT_TRUE(Serve(
                    [&] { return user.Seen().size() == 1 && !FindDialog("Vybrat adresáta"); }));
                const std::string result = WindowText(recipients);
                EXPECT_EQ(std::tie(c.left, c.right, c.result), std::tie(left, right, result))
                    << "opening " << opening;
            }
        }
    }
    CoUninitialize();
}

} // namespace
