// Opens and closes toolbars one after another in one process, as browser windows come and go,
// against a fast gateway and a slow one: the account refresh must hold up neither. Prints the
// median time from CoCreateInstance to a shown toolbar and from hiding it to the last Release,
// and the process's handles, GDI objects, windows and threads after the 10th and 20th toolbar.
//   toolbar_open_bench.exe FAST_HOST:PORT SLOW_HOST:PORT
#include "band/Guids.h"
#include "gateway/Md5.h"
#include "tests/win/TestSupport.h"

#include <tlhelp32.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Toolbars = 20;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) {
        ++*reinterpret_cast<int*>(count);
        EnumChildWindows(window, CountWindow, count);
    }
    return TRUE;
}

// Handles, GDI objects, windows and threads of this process.
std::array<int, 4> Resources() {
    // Wine does not report a handle count: probe the process's handle table instead.
    int handles = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        handles += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0;
    }
    int windows = 0;
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&windows));
    int threads = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        threads += entry.th32OwnerProcessID == GetCurrentProcessId();
    }
    CloseHandle(snapshot);
    return {handles, static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)), windows,
            threads};
}

struct Figures {
    double open = 0;
    double close = 0;
    std::array<int, 4> at10{};
    std::array<int, 4> at20{};
};

Figures Run(const ToolbarDll& dll, const std::string& gateway, HWND frame) {
    WriteFile(dll.Folder() + "\\settings.ini",
              "[SETTINGS]\r\nUserName=jana\r\nPasword=" + Md5Hex("heslo") + "\r\n");
    WriteFile(dll.Folder() + "\\menu.ini", "[SETTINGS]\r\nGateway=" + gateway + "\r\n");
    std::vector<double> opens;
    std::vector<double> closes;
    Figures figures;
    for (int i = 1; i <= Toolbars; ++i) {
        auto start = Clock::now();
        IDeskBand* band = nullptr;
        CoCreateInstance(CLSID_TextaroBarBand, nullptr, CLSCTX_INPROC_SERVER, IID_IDeskBand,
                         reinterpret_cast<void**>(&band));
        IObjectWithSite* withSite = nullptr;
        if (!band || FAILED(band->QueryInterface(IID_IObjectWithSite,
                                                 reinterpret_cast<void**>(&withSite)))) {
            std::fprintf(stderr, "the toolbar did not load\n");
            std::exit(1);
        }
        auto* web = new WebBrowser(frame);
        auto* site = new BrowserSite(frame, web);
        withSite->SetSite(static_cast<IInputObjectSite*>(site));
        HWND toolbar = nullptr;
        band->GetWindow(&toolbar);
        SetParent(toolbar, frame);
        SetWindowPos(toolbar, nullptr, 0, 0, 1100, 25, SWP_NOZORDER);
        band->ShowDW(TRUE);
        UpdateWindow(toolbar);
        opens.push_back(Milliseconds(Clock::now() - start));
        PumpMessages(100);

        start = Clock::now();
        band->ShowDW(FALSE);
        band->CloseDW(0);
        withSite->SetSite(nullptr);
        withSite->Release();
        band->Release();
        closes.push_back(Milliseconds(Clock::now() - start));
        site->Release();
        web->Release();
        // Let this toolbar's refresh end before the next count, so the counts compare.
        for (auto wait = Clock::now();
             dll.Call("DllCanUnloadNow") != S_OK && Milliseconds(Clock::now() - wait) < 20000;) {
            PumpMessages(20);
        }
        if (i == 10) {
            figures.at10 = Resources();
        } else if (i == 20) {
            figures.at20 = Resources();
        }
    }
    figures.open = Median(opens);
    figures.close = Median(closes);
    return figures;
}

void Print(const char* name, const Figures& f) {
    std::printf("  %s: open %.1f ms, close %.1f ms (medians of %d)\n", name, f.open, f.close,
                Toolbars);
    const char* kinds[] = {"handles", "GDI objects", "windows", "threads"};
    for (int k = 0; k < 4; ++k) {
        std::printf("    %-12s after the 10th: %4d, after the 20th: %4d%s\n", kinds[k], f.at10[k],
                    f.at20[k],
                    f.at20[k] > f.at10[k]              ? "  GREW"
                    : f.at10[k] == 0 && f.at20[k] == 0 ? "  (not counted by this system)"
                                                       : "");
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: toolbar_open_bench FAST_HOST:PORT SLOW_HOST:PORT\n");
        return 2;
    }
    CoInitialize(nullptr);
    ToolbarDll dll;
    dll.Call("DllRegisterServer");
    HWND frame = CreateWindowExA(0, "STATIC", "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1200,
                                 200, nullptr, nullptr, nullptr, nullptr);
    // A round first that loads and initialises whatever the first toolbar of a process needs.
    Run(dll, argv[1], frame);
    const Figures fast = Run(dll, argv[1], frame);
    const Figures slow = Run(dll, argv[2], frame);
    std::printf("toolbar open and close, %d toolbars in one process:\n", Toolbars);
    Print("fast gateway", fast);
    Print("gateway taking 2 s a request", slow);
    std::printf("  slow against fast: open %+.0f %%, close %+.0f %% (goal: at most +10 %%)\n",
                100.0 * (slow.open - fast.open) / fast.open,
                100.0 * (slow.close - fast.close) / fast.close);
    DestroyWindow(frame);
    dll.Call("DllUnregisterServer");
    DeleteFileA((dll.Folder() + "\\settings.ini").c_str());
    DeleteFileA((dll.Folder() + "\\menu.ini").c_str());
    CoUninitialize();
    return 0;
}
