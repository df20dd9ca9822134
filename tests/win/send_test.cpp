#include "res/resource.h"
#include "tests/win/Flow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <ctime>

namespace {

// The toolbar of a browser window, signed in as jana on the test gateway server.
class Sending : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        OpenSignedIn("", "jana", email);
    }

    const std::string email = "Email=jana@example.cz\r\n";
};

// Each send, then the boxes as a new window brings them back. The server keeps line breaks as
// CR LF and the Czech letters right; a failure warns and the boxes keep their texts.
TEST_F(Sending, EveryRecipientInOrderWithOneReportLineEach) {
    const std::string message = "Ahoj¶jak se máš?", ok = "byla úspěšně odeslána\\.¶";
    const std::string text = reinterpret_cast<const char*>(u8R"( Ahoj\\u000d\\u000ajak se máš\? )");
    const std::string unreached = " nebyla odeslána: Nepodařilo se poslat požadavek¶";
    const std::string kept = "^Ahoj¶jak se máš\\? / ";
    const std::string histories = "!=(Ahoj¶jak se máš\\?|[0-9;]*;[0-9;]*)\n";
    Run("sending",
        {
            {.act = Send(message, "777111222;;603333444;", true),
             .boxes = "^Odeslání zpráv, information: .*: 777111222 " + ok +
                      "SMS na číslo: 603333444 " + ok + "[^\n]*$",
             .sent = "^777111222" + text + ".*\n603333444" + text + ".*$",
             .toolbar = " / \\d+\\.\\d\\d Kč$"},
            {.act = Reopen(),
             .toolbar = "^ /  / ",
             .settings = "=Ahoj¶jak se máš\\?\n[\\s\\S]*=777111222;;603333444;\n"},
            {.act = SignIn("jana", "", email)},
            {.act = Send(message, "12;777111222", true),
             .boxes =
                 "^Odeslání zpráv, exclamation: .*SMS na číslo: 12 nebyla odeslána: [^¶]+¶[^¶]+: "
                 "777111222 " +
                 ok + "[^\n]*$",
             .sent = "^777111222" + text + "[^\n]*$",
             .toolbar = "/ [^/]+$"},
            {.act = Reopen(), .toolbar = kept + "12;777111222 / ", .settings = histories},
            {.act = SignIn("jana", "", email)},
            {.act = Send(message, "777111222;12", true),
             .boxes = "^Odeslání zpráv, exclamation: .*: 12 nebyla odeslána: [^\n]*$",
             .sent = "^777111222" + text + "[^\n]*$",
             .toolbar = " / $"},
            {.act = Reopen(), .toolbar = kept + "777111222;12 / ", .settings = histories},
            {.act = SignIn("jana", "127.0.0.1:1", email)},
            {.act = Send(message, "777111222;603333444", true),
             .boxes = "^Odeslání zpráv, exclamation: .*: 777111222" + unreached + ".+: 603333444" +
                      unreached + "[^\n]*$",
             .sent = "^$",
             .toolbar = " / $"},
            {.act = Reopen(), .toolbar = kept + "777111222;603333444 / ", .settings = histories},
        });
}

// A delay goes with every message of one run; a past one asks first, with the progress window
// still hidden, and stays armed after No.
TEST_F(Sending, ADelayIsCarriedOnceAndAPastOneAsksFirst) {
    const std::time_t later = std::time(nullptr) + 3600;
    const std::string question = "^Chyba při zpožděném odesílání, question: .*Zadaný čas pro "
                                 "zpožděné odeslání není správný\\.¶Odeslat tuto zprávu ihned\\?";
    const std::string report = "Odeslání zpráv, information: [^\n]*$";
    std::atomic<bool> progressShownDuringQuestion{false};
    std::atomic<bool> progressGoneBeforeReport{false};
    const auto answer = [&](int button) -> DialogWatcher::Answer {
        return [&, button](HWND, const SeenDialog& seen) {
            HWND progress = FindDialog("Odesílání");
            if (seen.caption == "Chyba při zpožděném odesílání") {
                progressShownDuringQuestion =
                    progressShownDuringQuestion || IsWindowVisible(progress);
                return button;
            }
            progressGoneBeforeReport = progress == nullptr;
            return IDOK;
        };
    };
    Run("delays", {
                      {.act = Arm(later), .boxes = "^Zpožděné odeslání, : [^\n]*$"},
                      {.act = Send("Zítra", "777111222;603333444"),
                       .sent = "^777111222 .* " + DelayText(later) + "\n603333444 .* " +
                               DelayText(later) + "$"},
                      {.act = Arm(std::time(nullptr) - 120)},
                      {.act = {"send after No", Send("Ahoj", "777111222").run, answer(IDNO)},
                       .boxes = question + "[^\n]*$",
                       .sent = "^$",
                       .toolbar = "^Ahoj / "},
                      {.act = {"send after Yes", Send("Ahoj", "777111222").run, answer(IDYES)},
                       .boxes = question + ".*\n" + report,
                       .sent = "^777111222 Ahoj .* null$"},
                      {.act = Send("Znovu", "777111222"),
                       .boxes = "^" + report,
                       .sent = "^777111222 Znovu .* null$"},
                  });
    EXPECT_FALSE(progressShownDuringQuestion);
    EXPECT_TRUE(progressGoneBeforeReport);
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
        const size_t before = Outbox(address).size();
        browser->Type("Ahoj", recipients);
        browser->Click(8);
        ASSERT_TRUE(Serve([&] { return Outbox(address).size() > before; }, 5000));
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
        const size_t sent = Outbox(address).size() - before;
        EXPECT_LE(sent, 2u);
        EXPECT_EQ("Ahoj", WindowText(messageEdit));
        EXPECT_EQ(recipients.substr(std::min(10 * sent, recipients.size())),
                  WindowText(recipientEdit) + ";");
        EXPECT_TRUE(Matches(Boxes(watcher), storno ? "^Odeslání zpráv, exclamation: .*Odesílání "
                                                     "bylo zastaveno; neodeslána zůstala čísla: " +
                                                         WindowText(recipientEdit) + "¶[^\n]*$"
                                                   : "^$"))
            << "a closed toolbar reports nothing: " << Boxes(watcher);
    }
}

// The browser window closes while a box of the run is up: the box goes with the window and the
// run ends without another word.
TEST_F(Sending, ClosingTheBrowserWithABoxUpEndsTheRun) {
    for (const bool question : {true, false}) {
        SCOPED_TRACE(question ? "the past-time question" : "the report");
        if (question) {
            Run("arming", {{Arm(std::time(nullptr) - 120)}});
        }
        const size_t before = Outbox(address).size();
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
        EXPECT_EQ(before + (question ? 0 : 1), Outbox(address).size());
        OpenSignedIn("", "jana", email);
    }
}

TEST_F(Sending, AnEmptyBoxTakesTheFocusAndNothingStarts) {
    DialogWatcher nothing;
    SetFocus(browser->Frame());
    browser->Click(8);
    PumpMessages(300);
    EXPECT_EQ(messageEdit, GetFocus());
    SetWindowTextA(messageEdit, "Ahoj");
    browser->Click(8);
    PumpMessages(300);
    EXPECT_EQ(recipientEdit, GetFocus());
    EXPECT_TRUE(nothing.Seen().empty());
    EXPECT_TRUE(SendButtonEnabled());
}

} // namespace
