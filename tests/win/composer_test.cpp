#include "store/HistorySection.h"
#include "tests/win/TestSupport.h"
#include "toolbar/HistoryCombo.h"
#include "toolbar/SmsCounter.h"

#include <algorithm>

using Texts = std::vector<std::string>;

using Composer = ToolbarTest;

std::string Shown(const BrowserWindow& window) {
    return WindowText(window.Edit(0)) + "|" + WindowText(window.Edit(1)) + "|" +
           WindowText(window.Child("Static", 0));
}

LRESULT CALLBACK CountEnter(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR count) {
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        ++*reinterpret_cast<int*>(count);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// Posts the toolbar's hand-over message as any program on the desktop can, with made-up values.
BOOL CALLBACK PostForeignHandOver(HWND window, LPARAM) {
    PostMessageA(window, RegisterWindowMessageA("TextaroBar.RunOnWindowThread"), 1, 0x13);
    return TRUE;
}

// The toolbar goes on working after a foreign hand-over message reached each of its windows.
TEST_F(Composer, TypingCountsAndTabMovesBetweenTheBoxesAndOutAndEnterStaysInTheBox) {
    Open("[SETTINGS]\r\nNick=Jana\r\n");
    EnumChildWindows(browser->Frame(), PostForeignHandOver, 0);
    PumpMessages(50);
    ASSERT_EQ(messageEdit, GetFocus());
    DialogWatcher dialogs;
    // Tab's way, with the text typed before the key and after it (before the band sees it), the
    // band's answer and the focus then. Tab leaving the toolbar: the browser, not the band, moves
    // the focus on.
    for (const auto& [before, shift, after, answer, focus] :
         {std::tuple{L"Ahoj¶", false, L"", S_OK, recipientEdit},
          {L"602123456", false, L"", S_FALSE, recipientEdit},
          {L"", true, L"!", S_OK, messageEdit},
          {L"", true, L"", S_FALSE, messageEdit}}) {
        TypeText(before);
        PressKey(VK_TAB, shift);
        TypeText(after);
        const HRESULT answered = PumpMessages(300, browser->Input(), VK_TAB);
        EXPECT_EQ(std::tuple(answer, focus), std::tuple(answered, GetFocus()))
            << Narrow(before) << (shift ? " Shift+Tab " : " Tab ") << Narrow(after);
    }
    EXPECT_EQ(S_OK, browser->Input()->HasFocusIO());
    // The focused box selects its whole text and setting the text again drops the selection,
    // so a key typed next goes in at the caret instead of replacing the message.
    // 5 letters, a line break 2, the nickname 4 and its separator; the recipients not at all.
    EXPECT_EQ("!Ahoj¶|602123456|12 zn.,\n1 SMS", Shown(*browser));
    EXPECT_TRUE(dialogs.Seen().empty()) << "an edit is no click on a button";

    int enters = 0;
    SetWindowSubclass(messageEdit, CountEnter, 1, reinterpret_cast<DWORD_PTR>(&enters));
    PressKey(VK_RETURN);
    EXPECT_EQ(S_OK, PumpMessages(300, browser->Input(), VK_RETURN));
    RemoveWindowSubclass(messageEdit, CountEnter, 1);
    EXPECT_EQ(1, enters) << "Enter is dispatched to the box by the band, not by the browser";

    SetFocus(browser->Frame());
    const int before = browser->Site().FocusReports();
    SetFocus(recipientEdit);
    PumpMessages(50);
    EXPECT_EQ(before + 1, browser->Site().FocusReports()) << "focusing a box tells the browser";
    EXPECT_TRUE(browser->Site().LastFocus());
}

// A history keeps its most recent entries whole, one that differs only in letter case replaced
// and line breaks saved as spaces.
TEST_F(Composer, HistoriesKeepRecentEntriesWholeAndReplaceTheSameInOtherCase) {
    Open();
    Settings settings(dll.Path());
    HistoryCombo box;
    ASSERT_TRUE(box.Create(browser->Frame()));
    for (char letter = 'a'; letter < 'a' + 12; ++letter) {
        box.SaveHistory(settings, HistoryKind::Text, std::string(3300, letter));
    }
    for (const char* pushed : {"Ahoj", "Zítra v 8", "Čau", "ZÍTRA V 8", "čau", "Ahoj\r\nv 8\n="}) {
        box.SaveHistory(settings, HistoryKind::Text, pushed);
    }

    HistoryCombo next;
    ASSERT_TRUE(next.Create(browser->Frame()));
    next.LoadHistory(settings, HistoryKind::Text);
    ASSERT_EQ(11, next.EntryCount());
    EXPECT_EQ((Texts{"Ahoj  v 8 =", "čau", "ZÍTRA V 8", "Ahoj", std::string(3300, 'f')}),
              (Texts{next.Entry(0), next.Entry(1), next.Entry(2), next.Entry(3), next.Entry(10)}))
        << "the recent entries, and the oldest kept, read whole";
}

// Runs started at once in two windows, which share the browser's connections to the gateway,
// send every message once, and both windows' texts go into the histories as they stand.
TEST_F(Composer, RunsFromTwoWindowsAtOnceSendAllAndKeepBothInTheHistories) {
    OpenSignedIn();
    BrowserWindow other(dll);
    DialogWatcher reports;
    for (int i = 0; BrowserWindow * window : {browser.get(), &other}) {
        const std::string n = std::to_string(i++);
        window->Type("z okna " + n, "60400000" + n + ";777111222");
        window->Click(8);
    }
    ASSERT_TRUE(Serve([&] { return reports.Seen().size() == 2; }, 20000));
    for (const std::string text : {"z okna 0", "z okna 1"}) {
        EXPECT_EQ(2, std::ranges::count(Outbox(), text, &Sent::text)) << text;
    }
    const Settings stored(dll.Path());
    Texts kept = ParseHistorySection(stored.ReadTextHistory() + stored.ReadRecipientHistory());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ((Texts{"604000000;777111222", "604000001;777111222", "z okna 0", "z okna 1"}), kept);
}

// Unsent texts come back in the next window; a window that never showed the draft leaves it
// alone when it closes empty, the last window closed with text wins and emptied boxes clear it.
TEST_F(Composer, DraftsComeBackWholeFromTheLastWindowClosedWithText) {
    std::string text = " \"Zdravím\", ";
    while (text.size() < 1500) {
        text += "Příliš žluťoučký kůň¶úpěl ďábelské ódy; \\n 'x' ";
    }
    const std::string recipients = "777111222;+420 603 333 444;";
    Open();
    auto other = std::make_unique<BrowserWindow>(dll);
    SendMessageA(other->Edit(0), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    SetWindowTextA(other->Edit(1), recipients.c_str());
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)),
              SendMessageA(other->Child(WC_COMBOBOXEXA), WM_GETFONT, 0, 0));
    other.reset();
    Open();
    text.resize(1440);
    EXPECT_EQ(text + "|" + recipients + "|" + CounterText(text, ""), Shown(*browser))
        << "the box takes 1440 characters";

    other = std::make_unique<BrowserWindow>(dll);
    browser->Type("z prvního okna", "777111222;");
    other.reset();
    Open();
    EXPECT_EQ("z prvního okna|777111222;|" + CounterText("z prvního okna", ""), Shown(*browser));

    browser->Type("", "");
    Open();
    EXPECT_EQ("||0 zn.\n0 sms", Shown(*browser)) << "the counter as created";
    EXPECT_EQ(std::string::npos, ReadFile(Beside("settings.ini")).find("[Draft]"));
}

// Told from the toolbar's loop, never in the middle of its closing: the draft a closing toolbar
// could not keep is told by the next one, once.
TEST_F(Composer, ASettingsFileThatCannotBeWrittenIsToldOnceAndNeverAsTheToolbarCloses) {
    ASSERT_TRUE(CreateDirectoryA(Beside("settings.ini").c_str(), nullptr));
    DialogWatcher notice;
    Open();
    browser->Type("Ahoj", "777111222;");
    browser.reset();
    PumpMessages(300);
    EXPECT_TRUE(notice.Seen().empty()) << "no box while the window goes";
    for (int opened = 0; opened < 2; ++opened) {
        Open();
        PumpMessages(300);
    }
    ASSERT_EQ(1u, notice.Seen().size()) << "told by the next toolbar only";
    const std::string told = "Poslední neodeslanou zprávu se při zavření lišty nepodařilo uložit: "
                             "do souboru\n" +
                             Beside("settings.ini");
    EXPECT_TRUE(Shows(notice.Seen()[0], {told}, "exclamation", "TextaroBar"));
}
