#include "toolbar/SendRun.h"

#include "text/LineBreaks.h"

#include <cmath>
#include <cstdio>

std::vector<std::string> SplitRecipients(std::string_view text) {
    std::vector<std::string> recipients;
    while (!text.empty()) {
        size_t separator = text.find(';');
        std::string_view piece = text.substr(0, separator);
        if (!piece.empty()) {
            recipients.emplace_back(piece);
        }
        if (separator == std::string_view::npos) {
            break;
        }
        text.remove_prefix(separator + 1);
    }
    return recipients;
}

std::string DelayText(std::time_t time) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &time);
#else
    localtime_r(&time, &local);
#endif
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::string CreditText(double credit) {
    // Whole hundredths, so the text never depends on the C locale's decimal separator.
    long long hundredths = std::llround(std::fabs(credit) * 100.0);
    char text[48] = {};
    std::snprintf(text, sizeof text, "%s%lld.%02lld Kč", credit < 0 && hundredths ? "-" : "",
                  hundredths / 100, hundredths % 100);
    return text;
}

void RunSend(const SendRunInput& input, SendEnvironment& environment) {
    const std::string message = BoxTextToMessage(input.message);
    std::string delay;
    if (input.delayArmed) {
        if (input.scheduledTime < environment.Now()) {
            if (!environment.ConfirmSendNow()) {
                // The user keeps the boxes and the armed time, and hears nothing more.
                environment.CloseProgress();
                return;
            }
        } else {
            delay = DelayText(input.scheduledTime);
        }
    }
    environment.ShowProgress();

    std::string report;
    bool failed = false;
    std::optional<GatewayReply> last;
    for (const std::string& recipient : SplitRecipients(input.recipients)) {
        const SendAccount account = environment.Account();
        SendArgs args;
        args.login = account.login;
        args.password = account.password;
        args.message = message;
        args.recipient = recipient;
        args.receiptFlag = input.receipt ? 1 : 0;
        args.receiptEmail = account.email;
        args.nick = account.nick;
        args.delay = delay;
        args.waitFlag = account.waitForDelivery;
        last = environment.Send(args);
        if (last->Succeeded()) {
            report += "SMS na číslo: " + recipient + " byla úspěšně odeslána.\n";
        } else {
            failed = true;
            report +=
                "SMS na číslo: " + recipient + " nebyla odeslána: " + last->FailureText() + "\n";
        }
    }
    environment.DisarmDelay();
    if (last) {
        environment.ShowCredit(last->Succeeded() ? CreditText(last->credit) : std::string());
    }
    if (!failed) {
        environment.MoveToHistories(MessageToBoxText(message), input.recipients);
    }
    environment.CloseProgress();
    if (!report.empty()) {
        environment.ShowReport(report, failed);
    }
}
