#include "toolbar/SendRun.h"

#include <gtest/gtest.h>

#include <cstdlib>

// The run through the real toolbar and gateway server is tested under Wine (send_test); here
// the edges that test cannot reach: the clock's exact second and a run with no request at all.

namespace {

// Records what a run asks of the toolbar; every request is accepted.
class RecordingToolbar : public SendEnvironment {
public:
    std::time_t Now() override { return now; }
    bool ConfirmSendNow() override { return Note("question"), true; }
    void ShowProgress() override { Note("progress shown"); }
    SendAccount Account() override {
        return {"jana", "0123456789abcdef0123456789abcdef", "", "", 0};
    }
    GatewayReply Send(const SendArgs& args) override {
        Note("send " + std::string(args.recipient) + " delay " + std::string(args.delay));
        GatewayReply reply;
        reply.SetBody("status=1\ncredit=7\n");
        return reply;
    }
    void DisarmDelay() override { Note("disarmed"); }
    void ShowCredit(const std::string& text) override { Note("credit " + text); }
    void MoveToHistories(const std::string& message, const std::string& recipients) override {
        Note("history " + message + " " + recipients);
    }
    void CloseProgress() override { Note("progress closed"); }
    void ShowReport(const std::string&, bool) override { Note("report"); }

    void Note(const std::string& event) { events.push_back(event); }

    std::time_t now = 1'000'000;
    std::vector<std::string> events;
};

TEST(SendRun, AMomentInTheCurrentSecondIsStillValid) {
    setenv("TZ", "UTC", 1);
    tzset();
    RecordingToolbar toolbar;
    SendRunInput input{"Ahoj", "111", false, true, toolbar.now};
    RunSend(input, toolbar);
    EXPECT_EQ((std::vector<std::string>{"progress shown", "send 111 delay 1970-01-12 13:46:40",
                                        "disarmed", "credit 7.00 Kč", "history Ahoj 111",
                                        "progress closed", "report"}),
              toolbar.events);
}

TEST(SendRun, OnlySeparatorsSendNothingAndLeaveTheCredit) {
    RecordingToolbar toolbar;
    RunSend({"Ahoj", ";;", false, false, 0}, toolbar);
    EXPECT_EQ((std::vector<std::string>{"progress shown", "disarmed", "history Ahoj ;;",
                                        "progress closed"}),
              toolbar.events);
}

TEST(SendRun, RecipientsDelayAndCreditTexts) {
    EXPECT_EQ((std::vector<std::string>{"N1", "N2"}), SplitRecipients("N1;;N2;"));
    EXPECT_EQ((std::vector<std::string>{" 777 ", "x"}), SplitRecipients(";; 777 ;x"));
    EXPECT_TRUE(SplitRecipients(";;;").empty());
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ("1970-01-01 00:00:00", DelayText(0));
    EXPECT_EQ("123.50 Kč", CreditText(123.5));
    EXPECT_EQ("0.00 Kč", CreditText(0));
    EXPECT_EQ("-2.25 Kč", CreditText(-2.25));
}

} // namespace
