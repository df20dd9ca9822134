#include "store/Settings.h"
#include "tests/win/TestSupport.h"
#include "toolbar/HistoryCombo.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

using Entries = std::vector<std::string>;

// The toolbar in the browser window, or one of its boxes alone in a window of the test's.
class Composer : public ToolbarTest {
protected:
    void TearDown() override {
        DestroyWindow(boxFrame);
        ToolbarTest::TearDown();
    }

    void OpenBox(HistoryCombo& box) {
        boxFrame = CreateWindowExA(0, "STATIC", "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   1200, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(box.Create(boxFrame));
    }

    static Entries EntriesOf(HWND box) {
        Entries entries;
        for (int i = 0; i < SendMessageA(box, CB_GETCOUNT, 0, 0); ++i) {
            char text[256] = {};
            COMBOBOXEXITEMA item{CBEIF_TEXT, i, text, sizeof text, 0, 0, 0, 0, 0};
            SendMessageA(box, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            entries.emplace_back(text);
        }
        return entries;
    }

    // The browser's loop for a while; what the band answered to the key of that message.
    HRESULT BandAnswer(UINT message, WPARAM key, DWORD milliseconds = 300) {
        for (const OfferedKey& offered : PumpMessages(milliseconds, browser->Input())) {
            if (offered.message == message && offered.key == key) {
                return offered.result;
            }
        }
        return E_FAIL;
    }

    HWND boxFrame = nullptr;
};

TEST_F(Composer, TypingUpdatesTheCounter) {
    Open("[SETTINGS]\r\nNick=Jana\r\n");
    DialogWatcher dialogs;
    EXPECT_EQ("0 zn.\n0 sms", WindowText(counter));
    const struct {
        std::wstring typed;
        std::string box, counted;
    } steps[] = {{L"Ahoj", "Ahoj", "9 zn.,\n1 SMS"}, // 4 letters, 4 of the nickname, 1
                 {L"¶", "Ahoj¶", "11 zn.,\n1 SMS"}}; // a line break counts 2
    for (const auto& step : steps) {
        TypeText(step.typed);
        PumpMessages(600, browser->Input());
        EXPECT_EQ(step.box, WindowText(messageEdit));
        EXPECT_EQ(step.counted, WindowText(counter));
    }
    SetWindowTextA(messageEdit, "");
    PumpMessages(50);
    EXPECT_EQ("0 zn.,\n0 SMS", WindowText(counter)) << "an emptied box counts nothing";

    SetFocus(recipientEdit);
    TypeText(L"602123456");
    PumpMessages(300, browser->Input());
    EXPECT_EQ("602123456", WindowText(recipientEdit));
    EXPECT_EQ("0 zn.,\n0 SMS", WindowText(counter)) << "recipients are not counted";
    EXPECT_TRUE(dialogs.Seen().empty()) << "an edit is no click on a button";
}

TEST_F(Composer, TabMovesBetweenTheBoxesAndOutOfTheToolbar) {
    Open();
    ASSERT_EQ(messageEdit, GetFocus());

    TypeText(L"Ahoj");
    PressKey(VK_TAB);
    EXPECT_EQ(S_OK, BandAnswer(WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(recipientEdit, GetFocus()) << "Tab goes on to the recipient box";
    EXPECT_EQ(S_OK, browser->Input()->HasFocusIO());

    PressKey(VK_TAB);
    EXPECT_EQ(S_FALSE, BandAnswer(WM_KEYDOWN, VK_TAB)) << "Tab leaves the toolbar";
    EXPECT_EQ(recipientEdit, GetFocus()) << "the browser, not the band, moves it on";

    PressKey(VK_TAB, true);
    TypeText(L"!");
    EXPECT_EQ(S_OK, BandAnswer(WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(messageEdit, GetFocus()) << "Shift+Tab goes back to the message box";
    // The box taking the focus selects its whole text; setting the text again drops that
    // selection, so a key typed next goes in at the caret instead of replacing the message.
    EXPECT_EQ("!Ahoj", WindowText(messageEdit));

    PressKey(VK_TAB, true);
    EXPECT_EQ(S_FALSE, BandAnswer(WM_KEYDOWN, VK_TAB)) << "Shift+Tab leaves the toolbar";
    EXPECT_EQ(messageEdit, GetFocus());
}

// Counts the Enter keys that reach a window.
LRESULT CALLBACK CountEnter(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR count) {
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        ++*reinterpret_cast<int*>(count);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(Composer, EnterReachesTheBox) {
    Open();
    int enters = 0;
    SetWindowSubclass(messageEdit, CountEnter, 1, reinterpret_cast<DWORD_PTR>(&enters));
    PressKey(VK_RETURN);
    EXPECT_EQ(S_OK, BandAnswer(WM_KEYDOWN, VK_RETURN));
    RemoveWindowSubclass(messageEdit, CountEnter, 1);
    EXPECT_EQ(1, enters) << "dispatched to the box by the band, not by the browser";
}

TEST_F(Composer, StartingAnEditTellsTheBrowser) {
    Open();
    SetFocus(browser->Frame());
    const int before = browser->Site().FocusReports();
    SetFocus(recipientEdit);
    PumpMessages(50);
    EXPECT_EQ(before + 1, browser->Site().FocusReports());
    EXPECT_TRUE(browser->Site().LastFocus());
}

TEST_F(Composer, BoxTakes1440CharactersInTheDefaultFont) {
    HistoryCombo box;
    OpenBox(box);
    const std::string pasted(1500, 'p');
    SendMessageA(box.EditWindow(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
    EXPECT_EQ(std::string(1440, 'p'), box.Text());
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)),
              SendMessageA(box.Handle(), WM_GETFONT, 0, 0));
}

TEST_F(Composer, HistoriesLoadInSectionOrderAndATwelfthEntryIsNotSaved) {
    std::string file = "[TextHistory]\r\n7=Ahoj\r\n3=Zítra v 8\r\nbez rovnítka\r\n1=a=b\r\n"
                       "[RecipientHistory]\r\n";
    for (int i = 0; i < 11; ++i) {
        file += std::to_string(i) + "=60200000" + std::to_string(i) + ";\r\n";
    }
    WriteFile(Beside("settings.ini"), file);
    Settings settings(dll.Path());
    HistoryCombo box;
    OpenBox(box);
    box.LoadHistory(settings, HistoryKind::Recipient);
    box.SetText("777000111;");
    box.PushHistory("777000111;");
    ASSERT_EQ(12, box.EntryCount());
    EXPECT_EQ("777000111;", box.Entry(0));
    EXPECT_EQ("6020000010;", box.Entry(11));
    EXPECT_EQ("", box.Text()) << "the box is emptied for the next message";
    box.SaveHistory(settings, HistoryKind::Recipient);

    Open();
    EXPECT_EQ((Entries{"Ahoj", "Zítra v 8", "bez rovnítka", "a=b"}),
              EntriesOf(browser->Child(WC_COMBOBOXEXA, 0)));
    Entries loaded = EntriesOf(browser->Child(WC_COMBOBOXEXA, 1));
    ASSERT_EQ(11u, loaded.size());
    EXPECT_EQ("777000111;", loaded.front());
    EXPECT_EQ("602000009;", loaded.back());
    EXPECT_EQ("", WindowText(messageEdit) + WindowText(recipientEdit)) << "the boxes start empty";
}

TEST_F(Composer, PushReplacesAnEntryThatDiffersOnlyInLetterCase) {
    WriteFile(Beside("settings.ini"), "[TextHistory]\r\n0=Ahoj\r\n1=Zítra v 8\r\n2=Čau\r\n");
    HistoryCombo box;
    OpenBox(box);
    box.LoadHistory(Settings(dll.Path()), HistoryKind::Text);
    for (const char* pushed : {"ZÍTRA V 8", "čau", "Ahoj!"}) {
        box.PushHistory(pushed);
    }
    EXPECT_EQ((Entries{"Ahoj!", "čau", "ZÍTRA V 8", "Ahoj"}), EntriesOf(box.Handle()));
}

TEST_F(Composer, SavedEntriesStayWholeAndOnTheirLines) {
    Settings settings(dll.Path());
    HistoryCombo box;
    OpenBox(box);
    // Twelve texts of 3300 characters under a short one: the section's block takes the ten
    // most recent whole, and the eleventh is left out rather than cut.
    for (char letter = 'a'; letter < 'a' + 12; ++letter) {
        box.PushHistory(std::string(3300, letter));
    }
    box.PushHistory("Ahoj\r\nzítra v 8\n=");
    EXPECT_EQ(std::string(3300, 'l'), box.Entry(1)) << "long entries are read whole";
    box.SaveHistory(settings, HistoryKind::Text);

    EXPECT_NE(std::string::npos,
              ReadFile(Beside("settings.ini")).find("\r\n0=Ahoj  zítra v 8 =\r\n"));
    HistoryCombo next;
    OpenBox(next);
    next.LoadHistory(settings, HistoryKind::Text);
    ASSERT_EQ(10, next.EntryCount());
    EXPECT_EQ("Ahoj  zítra v 8 =", next.Entry(0));
    EXPECT_EQ(std::string(3300, 'd'), next.Entry(9)) << "the eleventh, 'c', is left out";
}

} // namespace
