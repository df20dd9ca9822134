#include "host/BrowserFrame.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <string>

// browser-host.exe: loads the registered toolbar the way the browser does and shows it.
//   browser-host.exe [--width N] [--script FILE] [--snapshots DIR]
// With a script, the lines are run one after another (wait MS, type TEXT, key NAME,
// click N, press N, activate, print, dialog, answer ok|yes|no|cancel|ID, fill ID TEXT, tick ID,
// snapshot NAME, close); without one a person uses the window. "press N" presses the mouse on
// the right end of button N, where a drop-down button has its arrow; "fill" and "tick" set a
// control of the dialog on top, "answer ID" presses its button ID.
int main(int argc, char** argv) {
    int width = 1100;
    std::string scriptPath;
    std::string snapshotDir = ".";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--width")) {
            width = std::atoi(argv[i + 1]);
        } else if (!std::strcmp(argv[i], "--script")) {
            scriptPath = argv[i + 1];
        } else if (!std::strcmp(argv[i], "--snapshots")) {
            snapshotDir = argv[i + 1];
        }
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitialize(nullptr);
    int exitCode = 0;
    {
        BrowserFrame frame;
        if (!frame.Open(width, 300)) {
            std::fprintf(stderr, "browser-host: cannot open the window\n");
            return 1;
        }
        if (HRESULT result = frame.LoadBand(L"TextaroBar.TextaroBarBand"); FAILED(result)) {
            std::fprintf(stderr, "browser-host: the toolbar did not load (0x%08lx)\n",
                         static_cast<unsigned long>(result));
            frame.Close();
            exitCode = 2;
        } else {
            if (!scriptPath.empty()) {
                std::ifstream file(scriptPath);
                std::deque<std::string> lines;
                for (std::string line; std::getline(file, line);) {
                    if (!line.empty() && line.back() == '\r') {
                        line.pop_back();
                    }
                    lines.push_back(line);
                }
                frame.SetScript(std::move(lines), snapshotDir);
            }
            frame.Run();
        }
    }
    CoUninitialize();
    return exitCode;
}
