#include "res/resource.h"
#include "dialogs/DelayedSendDialog.h"
#include "dialogs/TextViewDialog.h"
#include "tests/win/TestSupport.h"
#include "toolbar/HistoryCombo.h"
#include "toolbar/ProgressDialog.h"
#include "win/Handles.h"

#include <atomic>
#include <set>

// Runs a modal dialog on this thread while the watcher's thread answers it through its
// windows, as the user would. True when that dialog came up, once, and the answer closed it.
bool RunAnswered(const char* caption, const std::function<void()>& run,
                 const std::function<void(HWND)>& answer) {
    DialogWatcher user([&](HWND dialog, const SeenDialog&) {
        answer(dialog);
        return 0;
    });
    run();
    return user.Seen().size() == 1 && user.Seen()[0].caption == caption;
}

// A key pressed in a window: the dialog's own message loop translates it.
void PostKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

std::tuple<WORD, WORD, WORD> Day(const SYSTEMTIME& time) {
    return {time.wYear, time.wMonth, time.wDay};
}

SYSTEMTIME Picker(HWND dialog, int picker, const SYSTEMTIME* set = nullptr) {
    SYSTEMTIME time{};
    if (set) {
        SendMessageA(GetDlgItem(dialog, picker), DTM_SETSYSTEMTIME, GDT_VALID,
                     reinterpret_cast<LPARAM>(set));
    }
    SendMessageA(GetDlgItem(dialog, picker), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return time;
}

using Dialogs = DialogTest;

// Without its owner the window is not made, and Show and Close do nothing.
TEST_F(Dialogs, ProgressWindowIsCreatedHiddenThenShowsItsAnimationAndClosesButNeedsItsOwner) {
    std::atomic<bool> stop;
    ProgressDialog progress(owner, stop);
    ASSERT_TRUE(progress.Create());
    HWND window = FindDialog("Odesílání");
    ASSERT_NE(nullptr, window);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(owner, GetWindow(window, GW_OWNER));
    EXPECT_NE(nullptr, FindWindowExA(window, nullptr, "Static", "Probíhá odesílání zprávy"));
    HWND animation = GetDlgItem(window, IDC_PROGRESS_ANIMATION);
    RECT area{};
    GetClientRect(animation, &area);

    progress.Show(1);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(FindWindowExA(window, nullptr, "Button", nullptr)) << "no Storno for one";
    std::set<std::vector<COLORREF>> frames;
    for (int sample = 0; sample < 5; ++sample) {
        PumpMessages(70);
        WindowDc dc(animation);
        std::vector<COLORREF> row;
        for (int x = 0; x < area.right; x += 2) {
            row.push_back(GetPixel(dc.Get(), x, area.bottom / 2));
        }
        frames.insert(row);
    }
    EXPECT_GE(frames.size(), 3u) << "the stripes move while the window is shown";

    progress.Close();
    EXPECT_FALSE(IsWindow(window));

    DestroyWindow(owner);
    ProgressDialog orphan(owner, stop);
    EXPECT_FALSE(orphan.Create());
    orphan.Show(2);
    EXPECT_EQ(nullptr, FindDialog("Odesílání"));
    orphan.Close();
}

// The dialog shows the caller's moment and Storno keeps it; no day before today is taken, also
// typed in the user's format. OK takes the day from one picker and the time of day from the other,
// even one already passed today.
TEST_F(Dialogs, DelayedSendTakesNoDayBeforeTodayAndTheTimeOfDayAsChosen) {
    const std::time_t now = std::time(nullptr);
    const std::time_t given = now + 3 * 86400 + 5 * 3600 + 7 * 60;
    const SYSTEMTIME shown = SystemTime(Local(given));
    const std::tm later = Local(now + 400 * 86400), yesterday = Local(now - 86400);
    char laterText[32], yesterdayText[32];
    std::strftime(laterText, sizeof laterText, "%d. %m. %Y", &later);
    std::strftime(yesterdayText, sizeof yesterdayText, "%d.%m.%Y", &yesterday);
    std::time_t moment = given;
    INT_PTR result = 0;
    const auto run = [&](const std::function<void(HWND)>& answer) {
        EXPECT_TRUE(RunAnswered(
            "Zpožděné odeslání", [&] { result = DelayedSendDialog(moment, owner).Run(); }, answer));
    };
    run([&](HWND dialog) {
        EXPECT_EQ(Day(shown), Day(Picker(dialog, IDC_SEND_DATE)));
        const SYSTEMTIME time = Picker(dialog, IDC_SEND_TIME);
        EXPECT_EQ(std::tie(shown.wHour, shown.wMinute, shown.wSecond),
                  std::tie(time.wHour, time.wMinute, time.wSecond));
        SYSTEMTIME range[2]{};
        EXPECT_EQ(GDTR_MIN, SendMessageA(GetDlgItem(dialog, IDC_SEND_DATE), DTM_GETRANGE, 0,
                                         reinterpret_cast<LPARAM>(range)));
        EXPECT_EQ(Day(SystemTime(Local(now))), Day(range[0]));
        // What the date picker asks its dialog when the user has typed a date into it, and the
        // day the dialog makes of each: one it does not take leaves the day.
        for (const auto& [text, day] : {std::pair{"pozítří", Day(shown)},
                                        {laterText, Day(SystemTime(later))},
                                        {yesterdayText, Day(shown)}}) {
            NMDATETIMESTRINGA notice{};
            notice.nmhdr = {GetDlgItem(dialog, IDC_SEND_DATE), IDC_SEND_DATE,
                            static_cast<UINT>(DTN_USERSTRINGA)};
            notice.pszUserString = text;
            SendMessageA(dialog, WM_NOTIFY, IDC_SEND_DATE, reinterpret_cast<LPARAM>(&notice));
            EXPECT_EQ(std::make_pair(DWORD{GDT_VALID}, day),
                      std::make_pair(notice.dwFlags, Day(notice.st)))
                << text;
        }
        PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(std::make_pair(INT_PTR{IDCANCEL}, given), std::make_pair(result, moment));

    // Today at a late hour, and an earlier time of day (hour and minute halved) on another day.
    std::tm today = Local(now);
    SYSTEMTIME day = SystemTime(today), clock = SystemTime(later); // the seconds of now
    day.wHour = 23;
    clock.wHour = static_cast<WORD>(today.tm_hour /= 2);
    clock.wMinute = static_cast<WORD>(today.tm_min /= 2);
    today.tm_isdst = -1;
    run([&](HWND dialog) {
        Picker(dialog, IDC_SEND_DATE, &day);
        Picker(dialog, IDC_SEND_TIME, &clock);
        PostKey(GetDlgItem(dialog, IDOK), VK_RETURN);
    });
    EXPECT_EQ(std::make_pair(INT_PTR{IDOK}, std::mktime(&today)), std::make_pair(result, moment));
}

// The text view over the toolbar's own kind of message box shows its text with line breaks, the
// caret at the end, and what is typed there, down to deleting everything, reaches the box at once.
TEST_F(Dialogs, TextViewShowsPilcrowsAsLineBreaksAndWritesEditsBackWholeWithinTheLimit) {
    HistoryCombo box;
    ASSERT_TRUE(box.Create(owner));
    const HWND boxEdit = box.EditWindow();
    const auto run = [&](const std::function<void(HWND dialog, HWND view)>& answer) {
        return RunAnswered(
            "Text nové SMS", [&] { TextViewDialog(box.Handle(), owner).Run(); },
            [&](HWND dialog) { answer(dialog, GetDlgItem(dialog, IDC_TEXTVIEW_EDIT)); });
    };
    SetWindowTextA(boxEdit, "Ahoj¶jak se máš¶Petr");
    std::string whileOpen;
    ASSERT_TRUE(run([&](HWND dialog, HWND view) {
        const std::string shown = WindowText(view);
        EXPECT_EQ("Ahoj\r\njak se máš\r\nPetr", shown);
        EXPECT_EQ(MAKELONG(shown.size(), shown.size()), SendMessageA(view, EM_GETSEL, 0, 0));
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui);
        EXPECT_EQ(view, gui.hwndFocus);

        SendMessageA(view, EM_SETSEL, 4, 4);
        PostKey(view, VK_RETURN);
        WaitFor([&] { return WindowText(boxEdit) != "Ahoj¶jak se máš¶Petr"; });
        whileOpen = WindowText(boxEdit);
        SendMessageA(view, EM_SETSEL, 0, -1);
        PostKey(view, VK_DELETE);
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    }));
    EXPECT_EQ("Ahoj¶¶jak se máš¶Petr", whileOpen) << "copied while the view is open";
    EXPECT_EQ("", WindowText(boxEdit)) << "deleting everything empties the box";

    // 1399 characters in the box, 1678 in the view: far beyond any fixed buffer; the box takes
    // 1440 characters, and the view no more.
    std::string text = "abcd";
    for (int i = 0; i < 279; ++i) {
        text += "¶abcd";
    }
    SetWindowTextA(boxEdit, text.c_str());
    ASSERT_TRUE(run([&](HWND dialog, HWND view) {
        for (int i = 0; i < 45; ++i) {
            PostMessageA(view, WM_CHAR, 'x', 1);
        }
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    }));
    EXPECT_TRUE(WindowText(boxEdit) == text + std::string(41, 'x')) << WindowText(boxEdit).size();
}
