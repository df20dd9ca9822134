// A send run of the real toolbar to many recipients against a gateway server on loopback.
// Prints the milliseconds per recipient and the longest time the UI thread took to answer
// a message while the run went on (another thread pings the browser window every 10 ms).
//   send_run_bench.exe HOST:PORT RECIPIENTS
#include "gateway/Md5.h"
#include "tests/win/TestSupport.h"

#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: send_run_bench HOST:PORT RECIPIENTS\n");
        return 2;
    }
    const std::string address = argv[1];
    const int count = std::atoi(argv[2]);
    CoInitialize(nullptr);
    ToolbarDll dll;
    WriteFile(dll.Folder() + "\\settings.ini",
              "[SETTINGS]\r\nUserName=jana\r\nPasword=" + Md5Hex("heslo") + "\r\n");
    WriteFile(dll.Folder() + "\\menu.ini", "[SETTINGS]\r\nGateway=" + address + "\r\n");
    int status = 0;
    {
        BrowserWindow browser(dll);
        std::string recipients;
        for (int i = 0; i < count; ++i) {
            recipients += std::to_string(777000000 + i) + ";";
        }
        SetWindowTextA(BrowserWindow::EditOf(browser.Child(WC_COMBOBOXEXA, 0)), "Zkušební zpráva");
        SetWindowTextA(BrowserWindow::EditOf(browser.Child(WC_COMBOBOXEXA, 1)), recipients.c_str());

        DialogWatcher report;
        std::atomic<bool> running{true};
        std::atomic<double> longestStall{0};
        std::thread pinger([&] {
            while (running) {
                auto start = Clock::now();
                DWORD_PTR ignored = 0;
                SendMessageTimeoutA(browser.Frame(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
                double stall = Milliseconds(Clock::now() - start);
                if (stall > longestStall) {
                    longestStall = stall;
                }
                Sleep(10);
            }
        });

        RECT button{};
        SendMessageA(browser.Toolbar(), TB_GETITEMRECT, 8, reinterpret_cast<LPARAM>(&button));
        LPARAM point =
            MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
        auto start = Clock::now();
        PostMessageA(browser.Toolbar(), WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageA(browser.Toolbar(), WM_LBUTTONUP, 0, point);
        // The browser's own loop: it sleeps until a message comes, and wakes for the run's
        // requests to the toolbar at once.
        while (report.Seen().empty() && Milliseconds(Clock::now() - start) < 600000) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        const double elapsed = Milliseconds(Clock::now() - start);
        running = false;
        pinger.join();
        PumpMessages(3000);

        const bool allSent =
            !report.Seen().empty() && report.Seen()[0].text.find("nebyla") == std::string::npos;
        std::printf("send run: %d recipients, %s\n", count,
                    allSent ? "all sent" : "NOT all sent (see the report)");
        std::printf("  %.1f ms per recipient (%.0f ms in all, up to the report)\n", elapsed / count,
                    elapsed);
        std::printf("  longest UI thread stall while it ran: %.1f ms (goal: under 50 ms)\n",
                    longestStall.load());
        status = allSent ? 0 : 1;
    }
    DeleteFileA((dll.Folder() + "\\settings.ini").c_str());
    DeleteFileA((dll.Folder() + "\\menu.ini").c_str());
    CoUninitialize();
    return status;
}
