#pragma once

#include "gateway/GatewayClient.h"
#include "menu/MainMenu.h"
#include "store/Settings.h"
#include "toolbar/AccountSnapshot.h"
#include "toolbar/CreditLabel.h"
#include "toolbar/HistoryCombo.h"
#include "toolbar/ProgressDialog.h"
#include "toolbar/WriteFailureNotice.h"
#include "win/Handles.h"
#include "win/Scale.h"
#include "win/Window.h"

#include <commctrl.h>

#include <atomic>
#include <ctime>
#include <memory>
#include <string>

class RunBox;
class ToolbarHost;

// The strip the user sees: a toolbar control of ten slots holding the main-menu button, the
// message box, the counter, the recipient box, the address book, the delivery-receipt
// switch, delayed sending, the send button and the credit. It owns the toolbar's settings.
class SmsToolbar : public Window {
public:
    SmsToolbar();
    // Stops a send run still going after its request in flight, keeps the draft, then takes the
    // window down while the members the window's messages reach are still there.
    ~SmsToolbar() override;

    bool CreateToolbar(int left, int top, int right, int bottom, HWND parent, ToolbarHost* owner);
    void LayOut(int width);
    void OnButtonCommand(int command);
    // The tip of the button the mouse rests on; true when the request was answered here.
    bool GetToolTipText(NMTTDISPINFOA& request) const;
    // The arrow of the main-menu or address-book button: the menu opens below the button.
    void ShowDropDownMenu(const NMTOOLBARA& request);
    // A command picked from either menu.
    void OnMenuCommand(int command);
    // A page of the portal bound to the user's visit, opened in the browser window.
    void OpenPortalPage(const std::string& action);

    // What a worker that may outlive the toolbar shares with it: the gateway client, and the
    // toolbar as long as it lasts. Only the UI thread reads or clears the toolbar pointer.
    struct SharedState {
        explicit SharedState(GatewayAddress address) : gateway(std::move(address)) {}
        GatewayClient gateway;
        SmsToolbar* toolbar = nullptr;
    };
    struct RefreshStart {
        std::shared_ptr<SharedState> shared;
        HWND window = nullptr;
        std::string login;
        std::string password;
    };
    // The routine of the account refresh's thread: asks the gateway for the credit and the
    // nickname and hands what it learnt to the toolbar's thread. 0, or 1 when it was given
    // nothing to refresh.
    static int RefreshAccountInfo(const RefreshStart* start);

    // The send button: checks the boxes and starts a send run on a thread of its own.
    void StartSend();
    // The delayed-send button: the delivery time for the next run.
    void ChooseSendTime();
    // The routine of a send run's thread: 0, or 1 when it was given no toolbar.
    static int SendWorker(SmsToolbar* toolbar);
    void ShowTextView();
    // The address book: the picker fills the recipient box; the contacts dialog keeps the
    // book in step with the gateway.
    void PickRecipients();
    void ShowContacts();

    // Keys the browser offers the toolbar: 0 when handled here, 1 when the browser should
    // treat the key itself.
    virtual int TranslateKey(MSG* message);

    void FocusMessageBox();
    // The toolbar has the focus when it is in either box or a box's list is open.
    bool HasFocus() const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool CreateControls();
    void ApplyFonts();
    BitmapHandle DrawSendPicture(HWND parent) const;
    RECT SlotRect(int slot) const;
    static void PlaceBox(HistoryCombo& box, const RECT& slot);
    int SwitchIndent(const RECT& slot) const;
    // Sets each box's text again to the text it holds: a box that takes the focus selects its
    // whole text, and the next key would replace the message or the recipients.
    void RewriteBoxTexts();

    void StartAccountRefresh();
    void ShowAccountInfo(const GatewayReply& reply);
    void AppendVersionTag(std::string& link) const;
    std::string BuildPortalLink(const std::string& action);
    void NavigateTo(const std::string& link) const;
    void OpenLink(std::string link);
    void ConfirmClearHistory(HistoryKind kind);
    // "Nastavení", and the toolbar brought in line with what the user saved there.
    void ShowSettings();
    void RunUninstaller() const;
    void ShowCredit(const GatewayReply& reply);

    ToolbarHost* host = nullptr;
    // The dots per inch of the display the toolbar was made on: its sizes are stated for 96.
    int dpi = DefaultDpi;
    HistoryCombo messageBox;
    HistoryCombo recipientBox;
    Window counterLabel;
    CreditLabel creditLabel;
    Window receiptSwitch;
    ImageListHandle buttonImages;
    FontHandle labelFont;
    Settings settings;
    // What a send run signs with; published again wherever the settings' account may change.
    AccountSnapshot account;
    void PublishAccount();
    MainMenu mainMenu;
    std::shared_ptr<SharedState> shared;
    // The client lives in the shared state, so that an account refresh still waiting for its
    // reply can finish after the toolbar has gone.
    GatewayClient& gatewayClient;
    std::time_t scheduledTime = 0;
    bool delayArmed = false;
    std::unique_ptr<ProgressDialog> progressWindow;
    KernelHandle sendThread;
    // The box the send run waits on, while it is pending or shown.
    std::shared_ptr<RunBox> runBox;
    // Set while the window goes away: a run still going asks and reports nothing more.
    bool closing = false;
    // Set by Storno or by the window going away; the run stops after the request in flight.
    std::atomic<bool> stopRun{false};

    friend class ToolbarSendEnvironment;
    // Posted to the toolbar when the send run has a box to show.
    static constexpr UINT ShowRunBoxMessage = WM_APP + 1;
    // Posted with the recipient the run sends to now (from 1) and their number: the run need
    // not wait for the window to show it.
    static constexpr UINT ShowCountMessage = WM_APP + 2;
    void ShowRunBox();
    // The window goes away: stops the run, answers a box it waits on and waits for the request
    // in flight.
    void EndSendRun();
    void WaitForSendRun();

    // The draft: put back into the boxes when the toolbar starts, kept when it goes.
    void LoadDraft();
    void SaveDraft();
    // The boxes started with a draft: emptied, they clear it when the toolbar goes.
    bool draftShown = false;
    WriteFailureNotice writeFailure;
};
