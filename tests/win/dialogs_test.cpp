#include "res/resource.h"
#include "dialogs/DelayedSendDialog.h"
#include "dialogs/TextViewDialog.h"
#include "tests/win/TestSupport.h"
#include "toolbar/HistoryCombo.h"
#include "toolbar/ProgressDialog.h"
#include "win/Module.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <ctime>
#include <functional>
#include <set>
#include <vector>

namespace {

// Runs a modal dialog on this thread while the watcher's thread answers it through its
// windows, as the user would. True when that dialog came up, once, and the answer closed it.
bool RunAnswered(const char* caption, const std::function<void()>& run,
                 const std::function<void(HWND)>& answer) {
    DialogWatcher user([&](HWND dialog, const SeenDialog&) {
        answer(dialog);
        return 0;
    });
    run();
    const std::vector<SeenDialog> seen = user.Seen();
    return seen.size() == 1 && seen[0].caption == caption;
}

// A key pressed in a window: the dialog's own message loop translates it.
void PostKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

std::time_t LocalMoment(std::tm day, int hour, int minute, int second) {
    day.tm_hour = hour;
    day.tm_min = minute;
    day.tm_sec = second;
    day.tm_isdst = -1;
    return std::mktime(&day);
}

// "yyyy-mm-dd hh:mm:ss": the date is the first 10 characters, the time of day from 11 on.
std::string Text(const SYSTEMTIME& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth,
                  time.wDay, time.wHour, time.wMinute, time.wSecond);
    return text;
}

SYSTEMTIME PickerTime(HWND dialog, int picker) {
    SYSTEMTIME time{};
    SendMessageA(GetDlgItem(dialog, picker), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return time;
}

void SetPickerTime(HWND dialog, int picker, const SYSTEMTIME& time) {
    SendMessageA(GetDlgItem(dialog, picker), DTM_SETSYSTEMTIME, GDT_VALID,
                 reinterpret_cast<LPARAM>(&time));
}

class Dialogs : public testing::Test {
protected:
    void SetUp() override {
        // The dialogs take their templates from the toolbar DLL, as they do in the browser.
        static ToolbarDll dll;
        ASSERT_NE(nullptr, dll.Handle());
        Module::SetInstance(dll.Handle());
        owner = CreateWindowExA(0, "STATIC", "browser", WS_OVERLAPPEDWINDOW, 0, 0, 900, 200,
                                nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, owner);
    }
    void TearDown() override { DestroyWindow(owner); }

    INT_PTR RunDelayedSend(std::time_t& moment, const std::function<void(HWND)>& answer) {
        INT_PTR result = 0;
        EXPECT_TRUE(RunAnswered(
            "Zpožděné odeslání", [&] { result = DelayedSendDialog(moment, owner).Run(); }, answer));
        return result;
    }

    HWND owner = nullptr;
};

// The text view over the toolbar's own kind of message box.
class TextView : public Dialogs {
protected:
    void SetUp() override {
        Dialogs::SetUp();
        ASSERT_TRUE(box.Create(owner));
        boxEdit = box.EditWindow();
    }

    bool Run(const std::function<void(HWND dialog, HWND edit)>& answer) {
        return RunAnswered(
            "Text nové SMS", [&] { TextViewDialog(box.Handle(), owner).Run(); },
            [&](HWND dialog) { answer(dialog, GetDlgItem(dialog, IDC_TEXTVIEW_EDIT)); });
    }

    HistoryCombo box;
    HWND boxEdit = nullptr;
};

TEST_F(Dialogs, ProgressWindowIsCreatedHiddenThenShowsItsAnimationAndCloses) {
    ProgressDialog progress(owner);
    ASSERT_TRUE(progress.Create());
    HWND window = FindDialog("Odesílání");
    ASSERT_NE(nullptr, window);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(owner, GetWindow(window, GW_OWNER));
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_NE(nullptr, FindWindowExA(window, nullptr, "Static", "Probíhá odesílání zprávy"));
    HWND animation = GetDlgItem(window, IDC_PROGRESS_ANIMATION);
    RECT area{};
    GetClientRect(animation, &area);
    EXPECT_EQ(281, area.right) << "opening the clip sizes the control to its frames";
    EXPECT_EQ(15, area.bottom);

    progress.Show();
    EXPECT_TRUE(IsWindowVisible(window));
    std::set<std::vector<COLORREF>> frames;
    for (int sample = 0; sample < 5; ++sample) {
        PumpMessages(70);
        HDC dc = GetDC(animation);
        std::vector<COLORREF> row;
        for (int x = 0; x < area.right; x += 2) {
            row.push_back(GetPixel(dc, x, area.bottom / 2));
        }
        ReleaseDC(animation, dc);
        frames.insert(row);
    }
    EXPECT_GE(frames.size(), 3u) << "the stripes move while the window is shown";

    progress.Close();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(Dialogs, ProgressWindowWithoutItsOwnerIsNotMadeAndShowAndCloseDoNothing) {
    DestroyWindow(owner);
    ProgressDialog progress(owner);
    EXPECT_FALSE(progress.Create());
    progress.Show();
    EXPECT_EQ(nullptr, FindDialog("Odesílání"));
    progress.Close();
    EXPECT_EQ(nullptr, FindDialog("Odesílání"));
}

TEST_F(Dialogs, DelayedSendShowsTheGivenMomentAndTakesNoDayBeforeToday) {
    const std::time_t now = std::time(nullptr);
    const std::time_t given = now + 3 * 86400 + 5 * 3600 + 7 * 60;
    const std::string shown = Text(SystemTime(Local(given)));
    const std::tm later = Local(now + 400 * 86400), yesterday = Local(now - 86400);
    char laterText[32], yesterdayText[32];
    std::strftime(laterText, sizeof laterText, "%d. %m. %Y", &later);
    std::strftime(yesterdayText, sizeof yesterdayText, "%d.%m.%Y", &yesterday);
    // Dates typed in the user's format, and the day the dialog makes of each: one it does not
    // take leaves the day shown.
    const std::vector<std::pair<const char*, std::string>> typed = {
        {laterText, Text(SystemTime(later)).substr(0, 10)},
        {yesterdayText, shown.substr(0, 10)},
        {"pozítří", shown.substr(0, 10)}};
    std::time_t moment = given;
    SYSTEMTIME date{}, time{}, range[2]{};
    DWORD rangeKinds = 0;
    std::vector<NMDATETIMESTRINGA> answers;
    EXPECT_EQ(
        IDCANCEL, RunDelayedSend(moment, [&](HWND dialog) {
            date = PickerTime(dialog, IDC_SEND_DATE);
            time = PickerTime(dialog, IDC_SEND_TIME);
            rangeKinds =
                static_cast<DWORD>(SendMessageA(GetDlgItem(dialog, IDC_SEND_DATE), DTM_GETRANGE, 0,
                                                reinterpret_cast<LPARAM>(range)));
            // What the date picker asks its dialog when the user has typed a date into it.
            for (const auto& entry : typed) {
                NMDATETIMESTRINGA notice{};
                notice.nmhdr = {GetDlgItem(dialog, IDC_SEND_DATE), IDC_SEND_DATE,
                                static_cast<UINT>(DTN_USERSTRINGA)};
                notice.pszUserString = entry.first;
                SendMessageA(dialog, WM_NOTIFY, IDC_SEND_DATE, reinterpret_cast<LPARAM>(&notice));
                answers.push_back(notice);
            }
            PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        }));
    EXPECT_EQ(given, moment) << "Storno keeps the caller's time";
    EXPECT_EQ(shown.substr(0, 10), Text(date).substr(0, 10));
    EXPECT_EQ(shown.substr(11), Text(time).substr(11));
    EXPECT_EQ(static_cast<DWORD>(GDTR_MIN), rangeKinds) << "open at the upper end";
    EXPECT_EQ(Text(SystemTime(Local(now))).substr(0, 10), Text(range[0]).substr(0, 10))
        << "no day before today is taken";
    ASSERT_EQ(typed.size(), answers.size());
    for (size_t i = 0; i < typed.size(); ++i) {
        EXPECT_EQ(static_cast<DWORD>(GDT_VALID), answers[i].dwFlags) << typed[i].first;
        EXPECT_EQ(typed[i].second, Text(answers[i].st).substr(0, 10)) << typed[i].first;
    }
}

TEST_F(Dialogs, DelayedSendTakesTheDayFromOnePickerAndThePastTimeOfDayFromTheOther) {
    std::time_t moment = std::time(nullptr);
    const std::tm today = Local(moment);
    // Today at a late hour, and an earlier time of day (each part halved) on another day.
    SYSTEMTIME day = SystemTime(today);
    day.wHour = 23;
    day.wMinute = 59;
    day.wSecond = 58;
    SYSTEMTIME clock = SystemTime(Local(moment - 400 * 86400));
    clock.wHour = static_cast<WORD>(today.tm_hour / 2);
    clock.wMinute = static_cast<WORD>(today.tm_min / 2);
    clock.wSecond = static_cast<WORD>(today.tm_sec / 2);
    EXPECT_EQ(IDOK, RunDelayedSend(moment, [&](HWND dialog) {
                  SetPickerTime(dialog, IDC_SEND_DATE, day);
                  SetPickerTime(dialog, IDC_SEND_TIME, clock);
                  PostKey(GetDlgItem(dialog, IDOK), VK_RETURN);
              }));
    EXPECT_EQ(LocalMoment(today, clock.wHour, clock.wMinute, clock.wSecond), moment)
        << "a time already passed today is returned as chosen";
}

// The view shows the box's text with line breaks, and what is typed there, down to deleting
// everything, reaches the box at once.
TEST_F(TextView, ShowsEachPilcrowAsALineBreakAndWritesEditsBackAtOnce) {
    SetWindowTextA(boxEdit, "Ahoj¶jak se máš¶Petr");
    std::string shown, whileOpen;
    int lines = 0;
    DWORD start = 1, end = 0;
    HWND focus = nullptr, edit = nullptr;
    ASSERT_TRUE(Run([&](HWND dialog, HWND view) {
        edit = view;
        shown = WindowText(view);
        lines = static_cast<int>(SendMessageA(view, EM_GETLINECOUNT, 0, 0));
        SendMessageA(view, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui);
        focus = gui.hwndFocus;

        SendMessageA(view, EM_SETSEL, 4, 4);
        PostKey(view, VK_RETURN);
        WaitFor([&] { return WindowText(boxEdit) != "Ahoj¶jak se máš¶Petr"; });
        whileOpen = WindowText(boxEdit);
        SendMessageA(view, EM_SETSEL, 0, -1);
        PostKey(view, VK_DELETE);
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    }));
    EXPECT_EQ("Ahoj\r\njak se máš\r\nPetr", shown);
    EXPECT_EQ(3, lines);
    EXPECT_EQ(shown.size(), start) << "the caret waits at the end";
    EXPECT_EQ(shown.size(), end);
    EXPECT_EQ(edit, focus);
    EXPECT_EQ("Ahoj¶¶jak se máš¶Petr", whileOpen) << "copied while the view is open";
    EXPECT_EQ("", WindowText(boxEdit)) << "deleting everything empties the box";
}

TEST_F(TextView, KeepsLongTextsWholeAndTheMessageBoxWithinItsLimit) {
    // 1399 characters in the box, 1678 in the view: far beyond any fixed buffer.
    std::string text;
    for (int i = 0; i < 279; ++i) {
        text += "abcd¶";
    }
    text += "abcd";
    SetWindowTextA(boxEdit, text.c_str());
    ASSERT_TRUE(Run([&](HWND dialog, HWND view) {
        for (int i = 0; i < 45; ++i) {
            PostMessageA(view, WM_CHAR, 'x', 1);
        }
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    }));
    const std::string result = WindowText(boxEdit);
    EXPECT_EQ(1440u, result.size()) << "the box takes 1440 characters, and the view no more";
    EXPECT_TRUE(result == text + std::string(41, 'x')) << "nothing of the text is lost";
}

} // namespace
