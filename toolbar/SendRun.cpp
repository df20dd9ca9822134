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

std::string ProgressText(std::size_t current, std::size_t total) {
    std::string text = "Probíhá odesílání zprávy";
    if (total > 1) {
        text.append(" ")
            .append(std::to_string(current))
            .append(" z ")
            .append(std::to_string(total));
    }
    return text;
}

SendOutcome RunSend(const SendRunInput& input, SendEnvironment& environment) {
    const std::string message = BoxTextToMessage(input.message);
    std::string delay;
    if (input.delayArmed) {
        if (input.scheduledTime < environment.Now()) {
            if (!environment.ConfirmSendNow()) {
                // The user keeps the boxes and the armed time, and hears nothing more.
                environment.CloseProgress();
                return {};
            }
        } else {
            delay = DelayText(input.scheduledTime);
        }
    }
    const std::vector<std::string> recipients = SplitRecipients(input.recipients);
    environment.ShowProgress(recipients.size());

    std::string report;
    bool failed = false;
    SendOutcome outcome;
    std::vector<std::string> unsent;
    std::optional<GatewayReply> last;
    for (std::size_t i = 0; i < recipients.size(); ++i) {
        const std::string& recipient = recipients[i];
        if (outcome.stopped || environment.Stopped()) {
            outcome.stopped = true;
            unsent.push_back(recipient);
            continue;
        }
        environment.ShowCount(i + 1, recipients.size());
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
            unsent.push_back(recipient);
            report +=
                "SMS na číslo: " + recipient + " nebyla odeslána: " + last->FailureText() + "\n";
        }
    }
    if (outcome.stopped) {
        for (const std::string& recipient : unsent) {
            if (!outcome.unsent.empty()) {
                outcome.unsent += ';';
            }
            outcome.unsent += recipient;
        }
        report += "Odesílání bylo zastaveno; neodeslána zůstala čísla: " + outcome.unsent + "\n";
    } else {
        // A stopped run keeps the time armed: the rest goes when the first ones were to go.
        environment.DisarmDelay();
    }
    if (last) {
        environment.ShowCredit(last->Succeeded() ? CreditText(last->credit) : std::string());
    }
    if (!failed && !outcome.stopped) {
        environment.MoveToHistories(MessageToBoxText(message), input.recipients);
    }
    environment.CloseProgress();
    if (!report.empty()) {
        environment.ShowReport(report, failed || outcome.stopped);
    }
    return outcome;
}
