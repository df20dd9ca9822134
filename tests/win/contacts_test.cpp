#include "dialogs/ContactsDialog.h"
#include "gateway/GatewayClient.h"
#include "gateway/Md5.h"
#include "res/resource.h"
#include "tests/win/TestSupport.h"

#include <algorithm>
#include <atomic>

using Texts = std::vector<std::string>;

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

void ClickAt(HWND window, const RECT& part, bool twice = false) {
    const LPARAM point = MAKELPARAM((part.left + part.right) / 2, (part.top + part.bottom) / 2);
    for (int click = 0; click <= twice; ++click) {
        PostMessageA(window, click ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageA(window, WM_LBUTTONUP, 0, point);
    }
}

// The stored forms of jana's address book on the server, in its order.
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
// (first name, surname, phone, e-mail; an empty text leaves the edit), then the button pressed.
// Texts given at a message box over the editor are typed once the box is closed, then OK.
struct UserAnswer {
    int button;
    Texts typed = {};
};

class Contacts : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        Store({});
        // The server's book starts empty.
        client.Connect();
        for (const std::string& stored : ServerBook()) {
            client.AddrDel("jana", Md5Hex("heslo"), IdOf(stored));
        }
    }

    // The CONTACTS section with these entries, an empty one for a missing key.
    void Store(const Texts& entries) const {
        std::string section = "[CONTACTS]\r\nCount=" + std::to_string(entries.size()) + "\r\n";
        for (size_t i = 0; i < entries.size(); ++i) {
            section += entries[i].empty() ? "" : std::to_string(i) + "=" + entries[i] + "\r\n";
        }
        SignIn("jana", "heslo", section);
    }

    // The first keys of the section, "<absent>" for a gap, then the count.
    Texts Section(int keys) const {
        const Settings settings(dll.Path());
        Texts entries;
        std::string entry;
        for (int i = 0; i < keys; ++i) {
            entries.push_back(settings.ReadContact(i, entry) ? entry : "<absent>");
        }
        entries.push_back("Count=" + std::to_string(settings.GetContactCount()));
        return entries;
    }

    // Runs "Kontakty" on this thread while user plays the user's part in it from a thread of
    // its own; what opens on top of it is answered from the plan.
    void RunContacts(const std::function<void()>& user) {
        Settings settings = Stored();
        watcher = std::make_unique<DialogWatcher>([this](HWND dialog, const SeenDialog& seen) {
            return seen.caption == "Kontakty" ? 0 : Answer(dialog);
        });
        std::thread player([&] {
            // Seen by the watcher first, so that only what opens on top of it is counted.
            ASSERT_TRUE(WaitFor([&] {
                return (contacts = FindDialog("Kontakty")) && !watcher->Seen().empty();
            })) << "Kontakty opens";
            list = GetDlgItem(contacts, IDC_CONTACTS_LIST);
            toolbar = FindWindowExA(contacts, nullptr, TOOLBARCLASSNAMEA, nullptr);
            user();
            PostMessageA(contacts, WM_COMMAND, IDOK, 0);
        });
        ContactsDialog(settings, client, owner).Run();
        player.join();
        watcher.reset();
    }

    int Answer(HWND dialog) {
        const size_t step = next++;
        if (step >= plan.size()) {
            ADD_FAILURE() << "unexpected " << WindowText(dialog);
            return IDCANCEL;
        }
        const auto [button, typed] = plan[step];
        HWND editor = FindDialog("Upravit záznam kontaktu");
        if (dialog != editor) {
            PostMessageA(dialog, WM_COMMAND, button, 0);
        }
        for (int i = 0; i < static_cast<int>(typed.size()); ++i) {
            if (!typed[i].empty()) { // the editor's edits are numbered in the order typed
                TypeOver(GetDlgItem(editor, IDC_EDITOR_NAME + i), typed[i]);
            }
        }
        if (dialog == editor || !typed.empty()) {
            PostMessageA(editor, WM_COMMAND, dialog == editor ? button : IDOK, 0);
        }
        return 0;
    }

    // Gives "Kontakty" the command of a toolbar button (or does act), answers what opens by the
    // plan and returns what it showed once "Kontakty", disabled under its own dialogs, is enabled
    // again.
    std::vector<SeenDialog> Press(int command, const std::vector<UserAnswer>& answers) {
        return Act([&] { PostMessageA(contacts, WM_COMMAND, command, 0); }, answers);
    }

    std::vector<SeenDialog> Act(const std::function<void()>& act,
                                const std::vector<UserAnswer>& answers) {
        const size_t before = watcher->Seen().size();
        plan = answers;
        next = 0; // the watcher takes the plan from here
        act();
        Sleep(answers.empty() ? 300 : 0);
        EXPECT_TRUE(WaitFor([&] {
            return watcher->Seen().size() == before + answers.size() && IsWindowEnabled(contacts);
        })) << watcher->Seen().size() - before
            << " boxes of " << answers.size();
        // Answered only once the handler that opened them has returned to the dialog's loop.
        SendMessageA(contacts, WM_NULL, 0, 0);
        std::vector<SeenDialog> shown = watcher->Seen();
        // A box that never came is already reported; blanks keep the checks after it failing
        // instead of ending the whole program from the user's thread.
        shown.resize(std::max(shown.size(), before + answers.size()));
        return {shown.begin() + static_cast<long>(before), shown.end()};
    }

    bool RowButtons(LRESULT state) const {
        return SendMessageA(toolbar, TB_GETSTATE, ID_CONTACT_DELETE, 0) == state &&
               SendMessageA(toolbar, TB_GETSTATE, ID_CONTACT_EDIT, 0) == state;
    }

    GatewayClient client{ParseGatewayAddress(address)};
    HWND contacts = nullptr;
    HWND list = nullptr;
    HWND toolbar = nullptr;
    std::unique_ptr<DialogWatcher> watcher;
    std::vector<UserAnswer> plan;
    std::atomic<size_t> next = 0;
};

// The dialog's whole life with the real server: every change goes there first, and the store
// and the rows follow only its successes.
TEST_F(Contacts, TheBookIsKeptInStepWithTheServer) {
    const Texts jana = {"Jana", "Nováková", "602111222", "jana@example.cz"};
    const Texts eva = {"Eva", "Černá", "604333444", "eva@example.cz"};
    const Texts edited = {"Eva", "Černá-Nová", "604333444", "eva@example.cz"};
    const auto row = [](const Texts& t) { return t[0] + "|" + t[1] + "|" + t[2] + "|" + t[3]; };

    RunContacts([&] {
        const auto tips = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
        char text[100] = {};
        TTTOOLINFOA tool{sizeof tool, 0, toolbar, 0, {}, nullptr, text, 0, nullptr};
        for (const auto& [command, tip] :
             {std::pair{ID_CONTACT_NEW, "Přidat nový kontakt do seznamu"},
              {ID_CONTACT_DELETE, "Odebrat vybraný kontakt ze seznamu"},
              {ID_CONTACT_EDIT, "Upravit vybraný kontakt"},
              {ID_CONTACT_DOWNLOAD, "Stáhnout uložené kontakty ze serveru"}}) {
            tool.uId = static_cast<UINT_PTR>(command);
            SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
            EXPECT_STREQ(tip, text);
        }
        EXPECT_TRUE(RowButtons(TBSTATE_INDETERMINATE));
        EXPECT_TRUE(Press(ID_CONTACT_EDIT, {}).empty()) << "nothing selected, nothing to edit";

        // Added: the server's id lands in the entry.
        auto shown = Press(ID_CONTACT_NEW, {{IDOK, jana}, {IDOK}});
        ASSERT_TRUE(Shows(shown[1], {"Kontakt byl úspěšně přidán."}, "information"));
        EXPECT_EQ((Texts{IdOf(ServerBook().at(0)) + ",602111222,jana@example.cz,Jana,Nováková",
                         "Count=1"}),
                  Section(1));
        EXPECT_EQ(Texts{row(jana)}, Rows(list));
        EXPECT_TRUE(RowButtons(TBSTATE_ENABLED));

        // A comma is refused in the editor before anything is sent; the texts stay to be mended.
        shown = Press(ID_CONTACT_NEW,
                      {{IDOK, {"Petr", "Malý, ml.", "603222333"}}, {IDOK, {"", "Malý"}}, {IDOK}});
        EXPECT_TRUE(Shows(shown[1],
                          {"Jméno, příjmení, telefonní číslo ani e-mail nesmí obsahovat čárku."},
                          "error"));

        // Refused by the server: its errtext, then the editor again with what was typed.
        shown = Press(ID_CONTACT_NEW, {{IDOK, {"Eva", "Černá"}}, {IDOK}, {IDOK, eva}, {IDOK}});
        EXPECT_TRUE(Shows(shown[1], {"Údaje nebyly upraveny:\nChybí telefonní číslo kontaktu"},
                          "exclamation"));
        EXPECT_TRUE(Shows(shown[2], {"Eva", "Černá"}));

        // Petr and Eva as mended, and nothing the comma or the refusal brought.
        const Texts server = ServerBook();
        ASSERT_EQ(3u, server.size());
        EXPECT_EQ((Texts{server[0], server[1], server[2], "Count=3"}), Section(3));

        Select(list, -1);
        EXPECT_TRUE(RowButtons(TBSTATE_INDETERMINATE));
        Select(list, 0);
        EXPECT_TRUE(RowButtons(TBSTATE_ENABLED));

        // Delete answered Cancel sends nothing; a reply cut off is reported and changes nothing;
        // answered OK renumbers store and rows.
        shown = Press(ID_CONTACT_DELETE, {{IDCANCEL}});
        EXPECT_TRUE(Shows(shown[0], {"Opravdu chcete odstranit vybranou polozku?"}, "question",
                          "Odstranit vybranou polozku"));
        HttpPost(address, "/admin/fault?mode=close");
        shown = Press(ID_CONTACT_DELETE, {{IDOK}, {IDOK}});
        EXPECT_TRUE(Shows(shown.at(1), {"Kontakt nebyl odstraněn:\n"}, "exclamation"));
        EXPECT_EQ((Texts{server[0], server[1], server[2], "Count=3"}), Section(3));
        shown = Press(ID_CONTACT_DELETE, {{IDOK}, {IDOK}});
        EXPECT_TRUE(Shows(shown.at(1), {"Kontakt byl úspěšně odstraněn."}, "information"));
        EXPECT_EQ((Texts{server[1], server[2], "<absent>", "Count=2"}), Section(3));

        // A double click on the row below the deleted one edits that very contact; a failed edit
        // changes nothing.
        RECT second{};
        ListView_GetItemRect(list, 1, &second, LVIR_BOUNDS);
        HttpPost(address, "/admin/fault?mode=close");
        shown = Act([&] { ClickAt(list, second, true); }, {{IDOK, edited}, {IDOK}, {IDCANCEL}});
        EXPECT_TRUE(Shows(shown[0], eva));
        EXPECT_TRUE(Shows(shown[1], {"Údaje nebyly upraveny:\n"}, "exclamation"));
        EXPECT_EQ((Texts{server[1], server[2], "Count=2"}), Section(2));
        shown = Act([&] { ClickAt(list, second, true); }, {{IDOK, edited}, {IDOK}});
        EXPECT_TRUE(Shows(shown.at(1), {"Údaje byly úspěšně změněny."}, "information"));
        const std::string evaEdited = IdOf(server[2]) + ",604333444,eva@example.cz,Eva,Černá-Nová";
        EXPECT_EQ((Texts{server[1], evaEdited, "Count=2"}), Section(2));

        // A download answered No changes nothing; a short list is refused whole.
        Store({"9,600000000,,Místní,Jen"});
        const Texts local = Section(1);
        shown = Press(ID_CONTACT_DOWNLOAD, {{IDNO}});
        EXPECT_TRUE(Shows(shown[0], {"Všechny stavající kontakty budou nahrazeny."}, "exclamation",
                          "Stažení kontaktů"));
        EXPECT_EQ(local, Section(1));
        HttpPost(address, "/admin/fault?mode=shortlist");
        shown = Press(ID_CONTACT_DOWNLOAD, {{IDOK}});
        EXPECT_TRUE(Shows(shown.at(0), {"Kontakty nebyly staženy:\n"}, "exclamation"));
        EXPECT_EQ(local, Section(1));

        // Yes takes exactly the server's entries, edited ones as the server holds them.
        Press(ID_CONTACT_DOWNLOAD, {{IDYES}});
        EXPECT_EQ((Texts{server[1], evaEdited, "Count=2"}), Section(2));
        EXPECT_EQ((Texts{"Petr|Malý|603222333|", row(edited)}), Rows(list));
    });
}

// Over the real INI text: a delete that names no entry changes nothing; a real one moves the
// later entries down whole, a gap keeping its place, and a Count above the keys ends up at the
// last entry there is. Another window's add, held in the middle: this window's add waits for it,
// takes the count it left and writes after its entry, so that both are kept.
TEST_F(Contacts, TheStoreMovesEntriesWholeKeepsGapsAndAddsFromTwoWindowsAtOnce) {
    const std::string longEntry = "9,602,,," + std::string(700, 'z');
    Store({"e0", "e1", "", longEntry, ""});
    const Settings book(dll.Path());
    book.DeleteContact(5);
    book.DeleteContact(1);
    EXPECT_EQ((Texts{"e0", "<absent>", longEntry, "<absent>", "<absent>", "Count=3"}), Section(5));

    Store({"1,601000000,,Stará,"});
    RunContacts([&] {
        std::atomic<bool> held = false;
        std::thread otherWindow([&] {
            book.Locked([&] {
                const int count = book.GetContactCount();
                held = true;
                WaitFor([] { return ServerBook().size() == 1; });
                Sleep(300);
                book.WriteContact(count, "2,602000000,,Druhé,okno");
                book.SetContactCount(count + 1);
            });
        });
        WaitFor([&] { return held.load(); });
        Press(ID_CONTACT_NEW, {{IDOK, {"Jana", "", "603000000"}}, {IDOK}});
        otherWindow.join();
    });
    EXPECT_EQ((Texts{"1,601000000,,Stará,", "2,602000000,,Druhé,okno",
                     IdOf(ServerBook().at(0)) + ",603000000,,Jana,", "Count=3"}),
              Section(3));
}

// The address book button's face opens the picker on the recipient box: the text is split into
// contacts and typed rows, and OK writes the chosen numbers back, Cancel nothing.
TEST_F(Contacts, ThePickerSplitsTheRecipientsIntoContactsAndTypedRows) {
    const struct {
        Texts store;
        const char* text;
        std::vector<std::pair<int, int>> moves; // (list, row): 0 moves right, 1 moves left
        Texts left, right;                      // the lists once the moves are made
        int button;
        const char* result;
    } cases[] = {
        {{"1,602,,J,A", "", "2,602,,E,B"}, "602;", {}, {"E|B|602|"}, {"J|A|602|"}, IDOK, "602;"},
        {{"1,1,,A,", "2,2,,B,", "3,3,@,C,"},
         "x",
         {{0, 2}, {0, 0}},
         {"B||2|"},
         {"A||1|", "x|||", "C||3|@"},
         IDOK,
         "1;x;3;"},
        {{"1,601,,A,A"}, "601;x", {{1, 0}, {1, 0}}, {"x|||", "A|A|601|"}, {}, IDOK, ""},
        {{"1,602,,J,A"}, "777", {{0, 0}}, {}, {"J|A|602|", "777|||"}, IDCANCEL, "777"},
    };
    Open();
    RECT face{};
    SendMessageA(browser->Toolbar(), TB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&face));
    face.right = face.left + 16; // not the drop-down arrow
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Store(c.store);
        SetWindowTextA(recipientEdit, c.text);
        // Without moves, opening the picker on its own result shows the same lists.
        for (int opening = 0; opening < (c.moves.empty() ? 2 : 1); ++opening) {
            Texts left, right;
            DialogWatcher user([&](HWND dialog, const SeenDialog&) {
                for (const auto& [from, row] : c.moves) {
                    Select(GetDlgItem(dialog, from ? IDC_PICKER_CHOSEN : IDC_PICKER_CONTACTS), row);
                    SendMessageA(GetDlgItem(dialog, from ? IDC_PICKER_REMOVE : IDC_PICKER_ADD),
                                 BM_CLICK, 0, 0);
                }
                left = Rows(GetDlgItem(dialog, IDC_PICKER_CONTACTS));
                right = Rows(GetDlgItem(dialog, IDC_PICKER_CHOSEN));
                return c.button;
            });
            ClickAt(browser->Toolbar(), face);
            EXPECT_TRUE(
                Serve([&] { return user.Seen().size() == 1 && !FindDialog("Vybrat adresáta"); }));
            EXPECT_EQ(std::tuple(c.left, c.right, std::string(c.result)),
                      std::tuple(left, right, WindowText(recipientEdit)))
                << "opening " << opening;
        }
    }
}
