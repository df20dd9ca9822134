#pragma once

#include "gateway/GatewayReply.h"
#include "gateway/GatewayRequests.h"

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

// One press of the send button: the message goes to every recipient in turn, and the user
// gets one report. The run itself decides everything; what it needs of the toolbar (the
// account, the question, the progress window, the gateway, the labels, the histories and the
// report) it asks of a SendEnvironment, which the toolbar serves on its own thread. The user
// may stop a run (Storno, or closing the browser window): the request in flight finishes, no
// other starts.

// What the run reads when it starts.
struct SendRunInput {
    std::string message;    // the message box's text, "¶" marking line breaks
    std::string recipients; // the recipient box's text, numbers separated by ";"
    bool receipt = false;   // the delivery-receipt switch
    bool delayArmed = false;
    std::time_t scheduledTime = 0;
};

// The account values each request is signed and sent with.
struct SendAccount {
    std::string login;
    std::string password;
    std::string email;
    std::string nick;
    int waitForDelivery = 0;
};

class SendEnvironment {
public:
    virtual ~SendEnvironment() = default;
    virtual std::time_t Now() = 0;
    // The past-time question; true when the user wants the message sent at once.
    virtual bool ConfirmSendNow() = 0;
    virtual void ShowProgress(std::size_t total) = 0;
    // Asked before each request: true once the user stopped the run.
    virtual bool Stopped() = 0;
    // The request for the current-th recipient of total (from 1) is about to go.
    virtual void ShowCount(std::size_t current, std::size_t total) = 0;
    virtual SendAccount Account() = 0;
    virtual GatewayReply Send(const SendArgs& args) = 0;
    virtual void DisarmDelay() = 0;
    virtual void ShowCredit(const std::string& text) = 0;
    // Moves the texts to the top of their histories (an empty one is left out) and saves both.
    virtual void MoveToHistories(const std::string& message, const std::string& recipients) = 0;
    virtual void CloseProgress() = 0;
    virtual void ShowReport(const std::string& report, bool failed) = 0;
};

// What a run leaves to send again.
struct SendOutcome {
    // The user stopped the run before every recipient was tried.
    bool stopped = false;
    // Of a stopped run: the recipients that failed or were not tried, in the order written,
    // joined by ";" as the recipient box takes them.
    std::string unsent;
};

SendOutcome RunSend(const SendRunInput& input, SendEnvironment& environment);

// The progress window's text: the count only when there is more than one recipient.
std::string ProgressText(std::size_t current, std::size_t total);

// The recipients in the order written: the pieces between ";" separators, empty ones skipped,
// each taken as it stands.
std::vector<std::string> SplitRecipients(std::string_view text);

// The gateway's form of a delivery time: local "%Y-%m-%d %H:%M:%S".
std::string DelayText(std::time_t time);

// The credit label's text: "%.2f Kč", with a decimal point whatever the locale.
std::string CreditText(double credit);
