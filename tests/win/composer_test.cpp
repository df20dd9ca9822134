#include "store/Settings.h"
#include "toolbar/HistoryCombo.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shobjidl.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// The toolbar in a browser window of the test's own: the band comes from the DLL, is sited
// and shown, and the test's message loop offers keys to it first, as the browser does.
class Composer : public testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        DeleteFileA(SettingsPath().c_str());
    }
    void TearDown() override {
        browser.reset();
        DestroyWindow(boxFrame);
        DeleteFileA(SettingsPath().c_str());
        CoUninitialize();
    }

    std::string SettingsPath() const { return dll.Folder() + "\\settings.ini"; }

    // A box of the toolbar's kind on its own in a window of the test's.
    void OpenBox(HistoryCombo& box) {
        boxFrame = CreateWindowExA(0, "STATIC", "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   1200, 200, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(boxFrame);
        ASSERT_TRUE(box.Create(boxFrame));
    }

    void OpenToolbar() {
        browser = std::make_unique<BrowserWindow>(dll);
        frame = browser->Frame();
        input = browser->Input();
        ASSERT_NE(nullptr, browser->Toolbar());
        messageBox = browser->Child(WC_COMBOBOXEXA, 0);
        recipientBox = browser->Child(WC_COMBOBOXEXA, 1);
        counter = browser->Child("Static", 0);
    }

    static HWND EditOf(HWND box) { return BrowserWindow::EditOf(box); }

    static std::vector<std::string> Entries(HWND box) {
        std::vector<std::string> entries;
        auto count = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[256] = {};
            COMBOBOXEXITEMA item{};
            item.mask = CBEIF_TEXT;
            item.iItem = i;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(box, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            entries.emplace_back(text);
        }
        return entries;
    }

    struct OfferedKey {
        UINT message;
        WPARAM key;
        HRESULT result;
    };

    // Runs the browser's loop for a while: every key goes to the band first, and only the
    // keys it leaves are translated and dispatched. Returns what the band answered.
    std::vector<OfferedKey> BrowserLoop(DWORD milliseconds = 300) {
        std::vector<OfferedKey> offered;
        DWORD start = GetTickCount();
        do {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
                    HRESULT result = input->TranslateAcceleratorIO(&message);
                    offered.push_back({message.message, message.wParam, result});
                    if (result == S_OK) {
                        continue;
                    }
                }
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            Sleep(5);
        } while (GetTickCount() - start < milliseconds);
        return offered;
    }

    static HRESULT ResultFor(const std::vector<OfferedKey>& offered, UINT message, WPARAM key) {
        for (const OfferedKey& k : offered) {
            if (k.message == message && k.key == key) {
                return k.result;
            }
        }
        return E_FAIL;
    }

    ToolbarDll dll;
    std::unique_ptr<BrowserWindow> browser;
    IInputObject* input = nullptr;
    HWND frame = nullptr;
    HWND boxFrame = nullptr;
    HWND messageBox = nullptr;
    HWND recipientBox = nullptr;
    HWND counter = nullptr;
};

TEST_F(Composer, TypingUpdatesTheCounter) {
    WriteFile(SettingsPath(), "[SETTINGS]\r\nNick=Jana\r\n");
    OpenToolbar();
    DialogWatcher dialogs;
    EXPECT_EQ("0 zn.\n0 sms", WindowText(counter));
    input->UIActivateIO(TRUE, nullptr);

    TypeText(L"Ahoj");
    BrowserLoop();
    EXPECT_EQ("Ahoj", WindowText(EditOf(messageBox)));
    EXPECT_EQ("9 zn.,\n1 SMS", WindowText(counter)) << "4 letters, 4 of the nickname, 1";

    TypeText(L"¶");
    BrowserLoop();
    EXPECT_EQ("Ahoj¶", WindowText(EditOf(messageBox)));
    EXPECT_EQ("11 zn.,\n1 SMS", WindowText(counter)) << "a line break counts 2";

    TypeText(std::wstring(150, L'x'));
    BrowserLoop(600);
    EXPECT_EQ("170 zn.,\n2 SMS", WindowText(counter));

    SetWindowTextA(EditOf(messageBox), "");
    BrowserLoop(50);
    EXPECT_EQ("0 zn.,\n0 SMS", WindowText(counter)) << "an emptied box counts nothing";

    SetFocus(EditOf(recipientBox));
    TypeText(L"602123456");
    BrowserLoop();
    EXPECT_EQ("602123456", WindowText(EditOf(recipientBox)));
    EXPECT_EQ("0 zn.,\n0 SMS", WindowText(counter)) << "recipients are not counted";
    EXPECT_TRUE(dialogs.Seen().empty())
        << "an edit is no click on a button: " << dialogs.Seen().front().text;
}

TEST_F(Composer, TabMovesBetweenTheBoxesAndOutOfTheToolbar) {
    OpenToolbar();
    input->UIActivateIO(TRUE, nullptr);
    ASSERT_EQ(EditOf(messageBox), GetFocus());

    TypeText(L"Ahoj");
    PressKey(VK_TAB);
    auto offered = BrowserLoop();
    EXPECT_EQ(S_OK, ResultFor(offered, WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(EditOf(recipientBox), GetFocus()) << "Tab goes on to the recipient box";
    EXPECT_EQ(S_OK, input->HasFocusIO());

    PressKey(VK_TAB);
    offered = BrowserLoop();
    EXPECT_EQ(S_FALSE, ResultFor(offered, WM_KEYDOWN, VK_TAB)) << "Tab leaves the toolbar";
    EXPECT_EQ(EditOf(recipientBox), GetFocus()) << "the browser, not the band, moves it on";

    PressKey(VK_TAB, true);
    TypeText(L"!");
    offered = BrowserLoop();
    EXPECT_EQ(S_OK, ResultFor(offered, WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(EditOf(messageBox), GetFocus()) << "Shift+Tab goes back to the message box";
    // The box taking the focus selects its whole text; setting the text again drops that
    // selection, so a key typed next goes in at the caret instead of replacing the message.
    EXPECT_EQ("!Ahoj", WindowText(EditOf(messageBox)));

    PressKey(VK_TAB, true);
    offered = BrowserLoop();
    EXPECT_EQ(S_FALSE, ResultFor(offered, WM_KEYDOWN, VK_TAB)) << "Shift+Tab leaves the toolbar";
    EXPECT_EQ(S_FALSE, ResultFor(offered, WM_KEYUP, VK_TAB));
    EXPECT_EQ(EditOf(messageBox), GetFocus());

    SetFocus(frame);
    PressKey('A');
    offered = BrowserLoop();
    EXPECT_EQ(S_FALSE, ResultFor(offered, WM_KEYDOWN, 'A')) << "a key outside the toolbar";
    EXPECT_EQ("!Ahoj", WindowText(EditOf(messageBox)));
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
    OpenToolbar();
    input->UIActivateIO(TRUE, nullptr);
    int enters = 0;
    SetWindowSubclass(EditOf(messageBox), CountEnter, 1, reinterpret_cast<DWORD_PTR>(&enters));
    PressKey(VK_RETURN);
    auto offered = BrowserLoop();
    RemoveWindowSubclass(EditOf(messageBox), CountEnter, 1);
    EXPECT_EQ(S_OK, ResultFor(offered, WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(1, enters) << "dispatched to the box by the band, not by the browser";
}

TEST_F(Composer, StartingAnEditTellsTheBrowser) {
    OpenToolbar();
    SetFocus(frame);
    const int before = browser->Site().FocusReports();
    SetFocus(EditOf(recipientBox));
    BrowserLoop(50);
    EXPECT_EQ(before + 1, browser->Site().FocusReports());
    EXPECT_TRUE(browser->Site().LastFocus());
}

TEST_F(Composer, HistoriesLoadInSectionOrder) {
    WriteFile(SettingsPath(), "[TextHistory]\r\n7=Ahoj\r\n3=Zítra v 8\r\nbez rovnítka\r\n"
                              "1=a=b\r\n"
                              "[RecipientHistory]\r\n0=602123456;\r\n1=777000111;603000222;\r\n");
    OpenToolbar();
    EXPECT_EQ((std::vector<std::string>{"Ahoj", "Zítra v 8", "bez rovnítka", "a=b"}),
              Entries(messageBox));
    EXPECT_EQ((std::vector<std::string>{"602123456;", "777000111;603000222;"}),
              Entries(recipientBox));
    EXPECT_EQ("", WindowText(EditOf(messageBox))) << "the boxes start empty";
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

TEST_F(Composer, TwelfthPushedEntryIsListedButTheNextToolbarLoadsEleven) {
    std::string file = "[RecipientHistory]\r\n";
    for (int i = 0; i < 11; ++i) {
        file += std::to_string(i) + "=60200000" + std::to_string(i) + ";\r\n";
    }
    WriteFile(SettingsPath(), file);
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

    OpenToolbar();
    std::vector<std::string> loaded = Entries(recipientBox);
    ASSERT_EQ(11u, loaded.size());
    EXPECT_EQ("777000111;", loaded.front());
    EXPECT_EQ("602000009;", loaded.back());
}

TEST_F(Composer, PushReplacesAnEntryThatDiffersOnlyInLetterCase) {
    WriteFile(SettingsPath(), "[TextHistory]\r\n0=Ahoj\r\n1=Zítra v 8\r\n2=Čau\r\n");
    Settings settings(dll.Path());
    HistoryCombo box;
    OpenBox(box);
    box.LoadHistory(settings, HistoryKind::Text);
    box.PushHistory("ZÍTRA V 8");
    box.PushHistory("čau");
    box.PushHistory("Ahoj!");
    EXPECT_EQ((std::vector<std::string>{"Ahoj!", "čau", "ZÍTRA V 8", "Ahoj"}),
              Entries(box.Handle()));
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

    EXPECT_NE(std::string::npos, ReadFile(SettingsPath()).find("\r\n0=Ahoj  zítra v 8 =\r\n"));
    HistoryCombo next;
    OpenBox(next);
    next.LoadHistory(settings, HistoryKind::Text);
    ASSERT_EQ(10, next.EntryCount());
    EXPECT_EQ("Ahoj  zítra v 8 =", next.Entry(0));
    for (int i = 1; i < 10; ++i) {
        EXPECT_EQ(std::string(3300, static_cast<char>('l' - (i - 1))), next.Entry(i)) << i;
    }
}

} // namespace
