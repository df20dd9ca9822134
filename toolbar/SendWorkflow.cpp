// The send button, the delayed-send button and the text view of SmsToolbar. A send run works
// on a thread of its own, so the browser stays responsive while the requests run; every step
// that touches a window or the settings is handed to the toolbar's own thread.
#include "toolbar/SmsToolbar.h"

#include "dialogs/DelayedSendDialog.h"
#include "dialogs/TextViewDialog.h"
#include "toolbar/RunBox.h"
#include "toolbar/SendRun.h"
#include "toolbar/ToolbarSlots.h"

#include <process.h>

class ToolbarSendEnvironment final : public SendEnvironment {
public:
    explicit ToolbarSendEnvironment(SmsToolbar& toolbar) : toolbar(toolbar) {}

    std::time_t Now() override { return std::time(nullptr); }

    bool ConfirmSendNow() override {
        // A toolbar that is closing asks nothing: the run ends as if answered No.
        return AskOnToolbarThread([window = toolbar.Handle()] {
                   return MessageBoxA(window,
                                      "Zadaný čas pro zpožděné odeslání není správný.\n"
                                      "Odeslat tuto zprávu ihned?",
                                      "Chyba při zpožděném odesílání", MB_YESNO | MB_ICONQUESTION);
               }) == IDYES;
    }

    void ShowProgress(std::size_t total) override {
        OnToolbarThread([&] {
            if (toolbar.progressWindow) {
                toolbar.progressWindow->Show(total);
            }
        });
    }

    bool Stopped() override { return toolbar.stopRun; }

    void ShowCount(std::size_t current, std::size_t total) override {
        // More than one count in a frame or two nobody sees, and it slows a fast run down.
        const DWORD now = GetTickCount();
        if (now - countShown >= 30) {
            countShown = now;
            PostMessageA(toolbar.Handle(), SmsToolbar::ShowCountMessage, current,
                         static_cast<LPARAM>(total));
        }
    }

    // Read for every request, without a hand-over: the toolbar's thread publishes the account
    // whenever its settings change it.
    SendAccount Account() override { return toolbar.account.Read(); }

    GatewayReply Send(const SendArgs& args) override { return toolbar.gatewayClient.Send(args); }

    void DisarmDelay() override {
        OnToolbarThread([&] { toolbar.delayArmed = false; });
    }

    void ShowCredit(const std::string& text) override {
        OnToolbarThread([&] { SetWindowTextA(toolbar.creditLabel.Handle(), text.c_str()); });
    }

    void MoveToHistories(const std::string& message, const std::string& recipients) override {
        OnToolbarThread([&] {
            toolbar.messageBox.SaveHistory(toolbar.settings, HistoryKind::Text, message);
            toolbar.recipientBox.SaveHistory(toolbar.settings, HistoryKind::Recipient, recipients);
        });
    }

    void CloseProgress() override {
        OnToolbarThread([&] {
            if (toolbar.progressWindow) {
                toolbar.progressWindow->Close();
                toolbar.progressWindow.reset();
            }
        });
    }

    void ShowReport(const std::string& report, bool failed) override {
        AskOnToolbarThread([window = toolbar.Handle(), report, failed] {
            return MessageBoxA(window, report.c_str(), "Odeslání zpráv",
                               MB_OK | (failed ? MB_ICONEXCLAMATION : MB_ICONINFORMATION));
        });
    }

private:
    // Has the toolbar's thread show the box from its message loop and waits for the button;
    // 0 when the toolbar is closing or gone.
    int AskOnToolbarThread(std::function<int()> show) {
        auto box = std::make_shared<RunBox>(std::move(show));
        const bool handedOver = OnToolbarThread([&] {
            if (!toolbar.closing &&
                PostMessageA(toolbar.Handle(), SmsToolbar::ShowRunBoxMessage, 0, 0)) {
                toolbar.runBox = box;
            } else {
                box->Answer(0);
            }
        });
        if (!handedOver) {
            box->Answer(0);
        }
        return box->Wait();
    }

    // False when the toolbar's window is gone and the step did not run.
    bool OnToolbarThread(const std::function<void()>& step) {
        return RunOnWindowThread(toolbar.Handle(), step);
    }

    SmsToolbar& toolbar;
    DWORD countShown = GetTickCount() - 30;
};

namespace {

unsigned __stdcall SendThread(void* toolbar) {
    return static_cast<unsigned>(SmsToolbar::SendWorker(static_cast<SmsToolbar*>(toolbar)));
}

} // namespace

void SmsToolbar::StartSend() {
    if (messageBox.Text().empty()) {
        SetFocus(messageBox.EditWindow());
        return;
    }
    if (recipientBox.Text().empty()) {
        SetFocus(recipientBox.EditWindow());
        return;
    }
    WaitForSendRun();
    stopRun = false;
    progressWindow = std::make_unique<ProgressDialog>(Handle(), stopRun);
    if (!progressWindow->Create()) {
        progressWindow.reset();
    }
    // One press sends once: the button comes back when the run is over.
    SendMsg(TB_ENABLEBUTTON, SendSlot, FALSE);
    sendThread.reset(
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, SendThread, this, 0, nullptr)));
    if (!sendThread) {
        progressWindow.reset();
        SendMsg(TB_ENABLEBUTTON, SendSlot, TRUE);
    }
}

int SmsToolbar::SendWorker(SmsToolbar* toolbar) {
    if (!toolbar) {
        return 1;
    }
    SendRunInput input;
    RunOnWindowThread(toolbar->Handle(), [&] {
        input.message = toolbar->messageBox.Text();
        input.recipients = toolbar->recipientBox.Text();
        input.receipt = toolbar->receiptSwitch.SendMsg(BM_GETCHECK) == BST_CHECKED;
        input.delayArmed = toolbar->delayArmed;
        input.scheduledTime = toolbar->scheduledTime;
    });
    ToolbarSendEnvironment environment(*toolbar);
    const SendOutcome outcome = RunSend(input, environment);
    RunOnWindowThread(toolbar->Handle(), [&] {
        if (outcome.stopped) {
            // Only what was not sent is left to send: pressing "Odeslat" again sends the rest,
            // and a window that is closing keeps it as the draft.
            toolbar->recipientBox.SetText(outcome.unsent);
        }
        toolbar->SendMsg(TB_ENABLEBUTTON, SendSlot, TRUE);
    });
    return 0;
}

void SmsToolbar::ShowRunBox() {
    // Held here, not through the toolbar: a browser window closed while the box is up takes
    // the toolbar with it, and only the box is left to answer when the box returns.
    const std::shared_ptr<RunBox> box = runBox;
    if (!box || box->Answered()) {
        return;
    }
    box->Answer(box->Show());
}

void SmsToolbar::EndSendRun() {
    closing = true;
    stopRun = true;
    if (runBox) {
        runBox->Answer(0);
        runBox.reset();
    }
    WaitForSendRun();
}

void SmsToolbar::WaitForSendRun() {
    if (!sendThread) {
        return;
    }
    // The run may be waiting for this thread to do a window step for it: serve those while
    // waiting, or neither thread would ever go on.
    HANDLE thread = sendThread.get();
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) !=
           WAIT_OBJECT_0) {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    sendThread.reset();
}

void SmsToolbar::ChooseSendTime() {
    if (!delayArmed) {
        scheduledTime = std::time(nullptr);
    }
    DelayedSendDialog dialog(scheduledTime, Handle());
    if (dialog.Run() == IDOK) {
        delayArmed = true;
    }
}

void SmsToolbar::ShowTextView() {
    TextViewDialog(messageBox.Handle(), Handle()).Run();
    HWND edit = messageBox.EditWindow();
    auto end = static_cast<WPARAM>(GetWindowTextLengthA(edit));
    SendMessageA(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
}
