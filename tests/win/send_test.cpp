#include "res/resource.h"
#include "tests/win/TestSupport.h"

#include <atomic>
#include <regex>

// The toolbar of a browser window, signed in as jana on the test gateway server, with the
// user's presses on its buttons and the answers to its message boxes.
class Sending : public ToolbarTest {
protected:
    void SetUp() override {
        ToolbarTest::SetUp();
        OpenSignedIn();
    }

    // Confirms the local moment in "Zpožděné odeslání"; the delay the server gets for it.
    std::string ArmDelay(std::time_t moment) {
        const std::tm local = Local(moment);
        const SYSTEMTIME time = SystemTime(local);
        DialogWatcher answer([&](HWND dialog, const SeenDialog&) {
            for (int picker : {IDC_SEND_DATE, IDC_SEND_TIME}) {
                SendMessageA(GetDlgItem(dialog, picker), DTM_SETSYSTEMTIME, GDT_VALID,
                             reinterpret_cast<LPARAM>(&time));
            }
            return IDOK;
        });
        browser->Click(7);
        PumpMessages(3000);
        EXPECT_EQ(1u, answer.Seen().size());
        char text[32];
        std::strftime(text, sizeof text, "\"%Y-%m-%d %H:%M:%S\"", &local);
        return text;
    }
};

// What each send did: the messages the server got, the report and what the boxes kept.
TEST_F(Sending, EveryRecipientInOrderWithOneReportLineEach) {
    const std::string message = "Ahoj¶jak se máš?";
    const struct {
        std::string gateway;
        const char* recipients;
        const char* sentTo;
        const char* credit; // a pattern
        bool failed;        // the report warns and the boxes keep their texts
        const char* report; // a pattern of the report's lines
    } cases[] = {
        {address, "777111222;;603333444;", "777111222 603333444 ", R"(\d+\.\d\d Kč)", false,
         "SMS na číslo: 777111222 byla úspěšně odeslána.\n"
         "SMS na číslo: 603333444 byla úspěšně odeslána.\n"},
        {address, "12;777111222", "777111222 ", ".+", true,
         "SMS na číslo: 12 nebyla odeslána: .+\n.+: 777111222 byla úspěšně odeslána."},
        {address, "777111222;12", "777111222 ", "", true, ": 12 nebyla odeslána: "},
        {"127.0.0.1:1", "777111222;603333444", "", "", true,
         ": 777111222 nebyla odeslána: Nepodařilo se poslat požadavek\n"
         ".+: 603333444 nebyla odeslána: Nepodařilo se poslat požadavek\n"},
    };
    for (const auto& [gateway, recipients, sentTo, creditPattern, failed, reportPattern] : cases) {
        SCOPED_TRACE(std::string(recipients) + " through " + gateway);
        OpenSignedIn("", "jana", "", gateway);
        DialogWatcher watcher;
        std::string to;
        for (const Sent& sent : SendText(message, recipients, true)) {
            to += sent.msisdn + " ";
            EXPECT_EQ(reinterpret_cast<const char*>(u8"Ahoj\\u000d\\u000ajak se máš?"), sent.text)
                << "line breaks go as CR LF, the Czech letters right";
        }
        EXPECT_EQ(sentTo, to);
        const std::vector<SeenDialog> report = watcher.Seen();
        ASSERT_EQ(1u, report.size());
        EXPECT_TRUE(Shows(report[0], {}, failed ? "exclamation" : "information", "Odeslání zpráv"));
        EXPECT_TRUE(std::regex_search(report[0].text, std::regex(reportPattern))) << report[0].text;
        EXPECT_TRUE(std::regex_match(WindowText(credit), std::regex(creditPattern)))
            << WindowText(credit);
        Open();
        EXPECT_EQ(failed ? message : "", WindowText(messageEdit)) << "a sent draft is gone";
        EXPECT_EQ(failed ? recipients : "", WindowText(recipientEdit));
        const std::string settings = ReadFile(Beside("settings.ini"));
        for (const std::string& kept : {message, std::string(recipients)}) {
            EXPECT_EQ(!failed, settings.find('=' + kept + "\r\n") != std::string::npos)
                << "the whole text can be picked again: " << kept;
        }
    }
}

// A delay goes with every message of one run; a past one asks first, with the progress window
// still hidden, and stays armed after No.
TEST_F(Sending, ADelayIsCarriedOnceAndAPastOneAsksFirst) {
    const std::string later = ArmDelay(std::time(nullptr) + 3600);
    {
        DialogWatcher report;
        std::vector<Sent> sent = SendText("Zítra", "777111222;603333444");
        ASSERT_EQ(2u, sent.size());
        EXPECT_EQ(std::tuple(later, later), std::tuple(sent[0].delay, sent[1].delay));
    }
    ArmDelay(std::time(nullptr) - 120);
    // The boxes the progress window was in the way of: shown under a question, there under a
    // report.
    std::atomic<int> button{IDNO}, progressSeen{0};
    DialogWatcher dialogs([&](HWND, const SeenDialog& seen) {
        const HWND progress = FindDialog("Odesílání");
        const bool report = seen.caption == "Odeslání zpráv";
        progressSeen += progress && (report || IsWindowVisible(progress));
        return report ? IDOK : button.load();
    });
    EXPECT_TRUE(SendText("Ahoj", "777111222").empty());
    ASSERT_EQ(1u, dialogs.Seen().size()) << "no report after No";
    EXPECT_TRUE(
        Shows(dialogs.Seen()[0],
              {"Zadaný čas pro zpožděné odeslání není správný.\nOdeslat tuto zprávu ihned?"},
              "question"));
    EXPECT_EQ("Ahoj", WindowText(messageEdit));

    button = IDYES;
    std::vector<Sent> sent = SendText("Ahoj", "777111222");
    ASSERT_EQ(1u, sent.size()) << "still armed after No, so the question came again";
    EXPECT_EQ("null", sent[0].delay) << "sent at once";
    ASSERT_EQ(3u, dialogs.Seen().size());

    sent = SendText("Znovu", "777111222");
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ("null", sent[0].delay);
    EXPECT_EQ(4u, dialogs.Seen().size()) << "disarmed: no question any more";
    EXPECT_EQ(0, progressSeen);
}

// A run to 20 recipients through a gateway taking 1 s a request, stopped after the first reply
// by closing the browser window or with Storno: it ends with the request in flight, and the
// message and the recipients not sent, in their order, are left to send (draft or boxes).
TEST_F(Sending, AStoppedRunEndsWithTheRequestInFlightAndLeavesTheRest) {
    HttpPost(address, "/admin/fault?mode=latency&ms=1000");
    std::string recipients;
    for (int i = 0; i < 20; ++i) {
        recipients += std::to_string(777000100 + i) + ";";
    }
    for (const bool storno : {false, true}) {
        SCOPED_TRACE(storno ? "Storno" : "the browser window closed");
        DialogWatcher watcher;
        const size_t before = Outbox().size();
        browser->Type("Ahoj", recipients);
        browser->Click(8);
        ASSERT_TRUE(Serve([&] { return Outbox().size() > before; }, 5000));
        const HWND progress = FindDialog("Odesílání");
        const HWND button = GetDlgItem(progress, IDCANCEL);
        const HWND text = GetDlgItem(progress, IDC_PROGRESS_TEXT);
        EXPECT_TRUE(
            Serve([&] { return WindowText(text) == "Probíhá odesílání zprávy 2 z 20"; }, 300));
        const DWORD start = GetTickCount();
        storno ? SendMessageA(button, BM_CLICK, 0, 0) : (browser.reset(), 0);
        EXPECT_FALSE(IsWindowEnabled(button)) << "one stop is enough";
        EXPECT_TRUE(Serve([&] { return !IsWindow(progress); }, 3000));
        EXPECT_LT(GetTickCount() - start, 1300u) << "no later request is waited for";
        if (!storno) {
            Open();
        }
        EXPECT_TRUE(Serve([&] { return SendButtonEnabled(); }, 3000));
        EXPECT_EQ(storno ? 1u : 0u, watcher.Seen().size()) << "a closed toolbar reports nothing";
        const size_t sent = Outbox().size() - before;
        EXPECT_LE(sent, 2u);
        EXPECT_EQ("Ahoj", WindowText(messageEdit));
        EXPECT_EQ(recipients.substr(std::min(10 * sent, recipients.size())),
                  WindowText(recipientEdit) + ";");
        EXPECT_TRUE(!storno || watcher.Seen().at(0).text.find(
                                   "Odesílání bylo zastaveno; neodeslána zůstala čísla: " +
                                   WindowText(recipientEdit) + "\n") != std::string::npos);
    }
}

// The browser window closes while a box of the run is up: the box goes with the window and the
// run ends without another word.
TEST_F(Sending, ClosingTheBrowserWithABoxUpEndsTheRun) {
    for (const bool question : {true, false}) {
        SCOPED_TRACE(question ? "the past-time question" : "the report");
        if (question) {
            ArmDelay(std::time(nullptr) - 120);
        }
        const size_t before = Outbox().size();
        const HWND frame = browser->Frame();
        DialogWatcher closer([frame](HWND, const SeenDialog&) {
            PostMessageA(frame, WM_CLOSE, 0, 0);
            return 0;
        });
        browser->Type("Ahoj", "777111222");
        browser->Click(8);
        EXPECT_TRUE(Serve([&] { return !IsWindow(frame); }, 10000)) << "the browser window closed";
        ASSERT_EQ(1u, closer.Seen().size());
        EXPECT_EQ(question ? "Chyba při zpožděném odesílání" : "Odeslání zpráv",
                  closer.Seen()[0].caption);
        EXPECT_EQ(nullptr, FindDialog(closer.Seen()[0].caption.c_str())) << "the box went too";
        browser.reset();
        EXPECT_EQ(before + (question ? 0 : 1), Outbox().size());
        OpenSignedIn();
    }
}

TEST_F(Sending, AnEmptyBoxTakesTheFocusAndNothingStarts) {
    DialogWatcher nothing;
    SetFocus(browser->Frame());
    for (const HWND empty : {messageEdit, recipientEdit}) {
        browser->Click(8);
        PumpMessages(300);
        EXPECT_EQ(empty, GetFocus()) << (empty == messageEdit ? "message" : "recipients");
        SetWindowTextA(messageEdit, "Ahoj");
    }
    EXPECT_TRUE(nothing.Seen().empty());
    EXPECT_TRUE(SendButtonEnabled());
}
