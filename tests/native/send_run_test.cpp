#include "toolbar/SendRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>

namespace {

// Records what a run asks of the toolbar; gateway answers are queued by the test.
class RecordingToolbar : public SendEnvironment {
public:
    std::time_t Now() override { return now; }
    bool ConfirmSendNow() override {
        ++questions;
        return sendNow;
    }
    void ShowProgress() override { events.push_back("progress shown"); }
    SendAccount Account() override { return account; }
    GatewayReply Send(const SendArgs& args) override {
        requests.push_back(SendRequest(args).target);
        recipients.emplace_back(args.recipient);
        messages.emplace_back(args.message);
        GatewayReply reply = answers.empty() ? Accepted(100.0) : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return reply;
    }
    void DisarmDelay() override { disarmed = true; }
    void ShowCredit(const std::string& text) override { credit = text; }
    void MoveToHistories(const std::string& message, const std::string& recipientText) override {
        historyMessage = message;
        historyRecipients = recipientText;
        movedToHistories = true;
    }
    void CloseProgress() override { events.push_back("progress closed"); }
    void ShowReport(const std::string& text, bool hasFailure) override {
        events.push_back("report");
        report = text;
        failed = hasFailure;
    }

    static GatewayReply Accepted(double credit) {
        GatewayReply reply;
        reply.SetBody("status=1\ncredit=" + std::to_string(credit) + "\n");
        return reply;
    }
    static GatewayReply Refused(const std::string& reason) {
        GatewayReply reply;
        reply.SetBody("status=0\nerrcode=3\nerrtext=" + reason + "\n");
        return reply;
    }
    static GatewayReply NotSent() {
        GatewayReply reply;
        reply.lastError = "Nepodařilo se poslat požadavek";
        return reply;
    }

    std::time_t now = 1'000'000;
    bool sendNow = true;
    int questions = 0;
    SendAccount account{"jana", "0123456789abcdef0123456789abcdef", "", "", 0};
    std::deque<GatewayReply> answers;
    std::vector<std::string> requests, recipients, messages, events;
    bool disarmed = false;
    std::string credit = "unchanged";
    bool movedToHistories = false;
    std::string historyMessage, historyRecipients, report;
    bool failed = false;
};

SendRunInput Input(const std::string& message, const std::string& recipients) {
    SendRunInput input;
    input.message = message;
    input.recipients = recipients;
    return input;
}

TEST(SendRun, SendsToEveryRecipientInOrderAndReportsEach) {
    RecordingToolbar toolbar;
    toolbar.answers = {RecordingToolbar::Accepted(98.5), RecordingToolbar::Accepted(97.0)};
    RunSend(Input("Ahoj", "777111222;603333444"), toolbar);

    EXPECT_EQ((std::vector<std::string>{"777111222", "603333444"}), toolbar.recipients);
    EXPECT_EQ("SMS na číslo: 777111222 byla úspěšně odeslána.\n"
              "SMS na číslo: 603333444 byla úspěšně odeslána.\n",
              toolbar.report);
    EXPECT_FALSE(toolbar.failed);
    EXPECT_EQ("97.00 Kč", toolbar.credit);
    EXPECT_TRUE(toolbar.movedToHistories);
    EXPECT_EQ("Ahoj", toolbar.historyMessage);
    EXPECT_EQ("777111222;603333444", toolbar.historyRecipients) << "a group can be picked again";
    EXPECT_EQ((std::vector<std::string>{"progress shown", "progress closed", "report"}),
              toolbar.events);
}

TEST(SendRun, EmptyPiecesAreSkippedAndOnlySeparatorsSendNothing) {
    EXPECT_EQ((std::vector<std::string>{"N1", "N2"}), SplitRecipients("N1;;N2;"));
    EXPECT_EQ((std::vector<std::string>{" 777 ", "x"}), SplitRecipients(";; 777 ;x"));
    EXPECT_TRUE(SplitRecipients(";;;").empty());

    RecordingToolbar toolbar;
    RunSend(Input("Ahoj", ";;"), toolbar);
    EXPECT_TRUE(toolbar.requests.empty());
    EXPECT_EQ("", toolbar.report);
    EXPECT_EQ((std::vector<std::string>{"progress shown", "progress closed"}), toolbar.events);
    EXPECT_TRUE(toolbar.movedToHistories) << "nothing failed, so the text moves on";
    EXPECT_EQ("unchanged", toolbar.credit) << "no request, no new credit";
}

TEST(SendRun, LineBreaksTravelAsCrLfAndComeBackAsMarks) {
    RecordingToolbar toolbar;
    RunSend(Input("Ahoj¶Jano", "777111222"), toolbar);
    ASSERT_EQ(1u, toolbar.messages.size());
    EXPECT_EQ("Ahoj\r\nJano", toolbar.messages[0]);
    EXPECT_NE(std::string::npos, toolbar.requests[0].find("msg=Ahoj%0D%0AJano"));
    EXPECT_EQ("Ahoj¶Jano", toolbar.historyMessage);
}

TEST(SendRun, FailuresAreReportedAndKeepTheBoxes) {
    RecordingToolbar toolbar;
    toolbar.answers = {RecordingToolbar::Refused("Nedostatečný kredit"),
                       RecordingToolbar::Accepted(12.5)};
    RunSend(Input("Ahoj", "111;222"), toolbar);
    EXPECT_EQ("SMS na číslo: 111 nebyla odeslána: Nedostatečný kredit\n"
              "SMS na číslo: 222 byla úspěšně odeslána.\n",
              toolbar.report);
    EXPECT_TRUE(toolbar.failed);
    EXPECT_EQ("12.50 Kč", toolbar.credit) << "the last reply decides";
    EXPECT_FALSE(toolbar.movedToHistories);

    RecordingToolbar lastFails;
    lastFails.answers = {RecordingToolbar::Accepted(12.5), RecordingToolbar::NotSent()};
    RunSend(Input("Ahoj", "111;222"), lastFails);
    EXPECT_EQ("", lastFails.credit);
    EXPECT_NE(std::string::npos,
              lastFails.report.find("222 nebyla odeslána: Nepodařilo se poslat požadavek\n"));
}

TEST(SendRun, DelayedSending) {
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ("1970-01-12 13:46:40", DelayText(1'000'000));

    RecordingToolbar ahead;
    SendRunInput input = Input("Ahoj", "111;222");
    input.delayArmed = true;
    input.scheduledTime = ahead.now + 3600;
    RunSend(input, ahead);
    ASSERT_EQ(2u, ahead.requests.size());
    for (const std::string& target : ahead.requests) {
        EXPECT_NE(std::string::npos, target.find("&delay=1970%2D01%2D12%2014%3A46%3A40"));
    }
    EXPECT_EQ(0, ahead.questions);
    EXPECT_TRUE(ahead.disarmed);

    RecordingToolbar sameSecond;
    input.scheduledTime = sameSecond.now;
    RunSend(input, sameSecond);
    EXPECT_EQ(0, sameSecond.questions) << "the current second is still valid";

    RecordingToolbar pastYes;
    input.scheduledTime = pastYes.now - 1;
    RunSend(input, pastYes);
    EXPECT_EQ(1, pastYes.questions);
    ASSERT_EQ(2u, pastYes.requests.size());
    EXPECT_EQ(std::string::npos, pastYes.requests[0].find("delay="));
    EXPECT_TRUE(pastYes.disarmed);

    RecordingToolbar pastNo;
    pastNo.sendNow = false;
    RunSend(input, pastNo);
    EXPECT_TRUE(pastNo.requests.empty());
    EXPECT_FALSE(pastNo.disarmed) << "still armed with the old time";
    EXPECT_FALSE(pastNo.movedToHistories);
    EXPECT_EQ((std::vector<std::string>{"progress closed"}), pastNo.events)
        << "the question comes before the progress window, and no report follows";
}

TEST(SendRun, CreditText) {
    EXPECT_EQ("123.50 Kč", CreditText(123.5));
    EXPECT_EQ("0.00 Kč", CreditText(0));
    EXPECT_EQ("-2.25 Kč", CreditText(-2.25));
}

} // namespace
