// The account refresh when the toolbar starts: one Info request on a thread of its own, so
// the browser window never waits for the gateway, whose credit and nickname then reach the
// toolbar through its own thread. A toolbar closed meanwhile is left alone: the refresh finishes
// its request and reports to nobody.
#include "toolbar/SmsToolbar.h"

#include "toolbar/SendRun.h"
#include "win/Module.h"

#include <process.h>

namespace {

unsigned __stdcall RefreshThread(void* start) {
    std::unique_ptr<const SmsToolbar::RefreshStart> owned(
        static_cast<const SmsToolbar::RefreshStart*>(start));
    const int code = SmsToolbar::RefreshAccountInfo(owned.get());
    owned.reset();
    // The thread keeps the DLL loaded until its last instruction: no lock count, and no
    // reference of its own, may be given back while code of the DLL still runs.
    HMODULE self = Module::Instance();
    Module::Unlock();
    FreeLibraryAndExitThread(self, static_cast<DWORD>(code));
}

} // namespace

void SmsToolbar::StartAccountRefresh() {
    shared->toolbar = this;
    auto start = std::make_unique<RefreshStart>(
        RefreshStart{shared, Handle(), settings.UserName, settings.Pasword});
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<const char*>(&RefreshThread), &self)) {
        return;
    }
    Module::Lock();
    KernelHandle thread(reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, 0, RefreshThread, start.get(), 0, nullptr)));
    if (thread) {
        start.release();
    } else {
        Module::Unlock();
        FreeLibrary(self);
    }
}

int SmsToolbar::RefreshAccountInfo(const RefreshStart* start) {
    if (!start || !start->shared) {
        return 1;
    }
    // The progress window's animation control loads the video library when it is made, at the
    // first send; loaded there, on the browser's thread, it held that thread up for longer than
    // a frame. Loaded here, and kept for the life of the process as the control keeps it, it is
    // ready by then, and toolbars that come and go do not load it again and again.
    if (const LibraryHandle video{LoadLibraryA("msvfw32.dll")}) {
        HMODULE pinned = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN, "msvfw32.dll", &pinned);
    }
    const GatewayReply reply = start->shared->gateway.Info(start->login, start->password);
    const std::shared_ptr<SharedState>& shared = start->shared;
    RunOnWindowThread(start->window, [&] {
        // A reply for the account the toolbar had when the refresh began: once the user has
        // changed the name or the password, its credit and nickname are somebody else's.
        SmsToolbar* toolbar = shared->toolbar;
        if (toolbar && toolbar->settings.UserName == start->login &&
            toolbar->settings.Pasword == start->password) {
            toolbar->ShowAccountInfo(reply);
        }
    });
    return 0;
}

void SmsToolbar::ShowAccountInfo(const GatewayReply& reply) {
    if (reply.Succeeded()) {
        if (reply.nick_active.value_or("") == "yes") {
            settings.Nick = reply.nick.value_or("");
        } else {
            settings.Nick.clear();
            settings.Save();
        }
        PublishAccount();
        // The nickname counts only in front of a message: an empty box keeps its first words.
        if (!messageBox.Text().empty()) {
            messageBox.UpdateCounter();
        }
    }
    ShowCredit(reply);
}
