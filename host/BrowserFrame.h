#pragma once

#include "host/BrowserSite.h"
#include "host/WebBrowser.h"
#include "win/ComPtr.h"
#include "win/Window.h"

#include <deque>
#include <string>

// The stand-in's top-level window: a rebar at the top, like the browser's toolbar area, with
// the toolbar band in it, and a page area below that shows where the browser was sent.
class BrowserFrame : public Window {
public:
    bool Open(int width, int height);
    // Creates the band by its ProgID, sites it and places its window in the rebar.
    HRESULT LoadBand(const wchar_t* progId);
    // Runs the message loop, offering keys to the band first, until the window closes.
    int Run();
    void Close();

    void SetScript(std::deque<std::string> lines, std::string snapshotDir);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ReleaseBand();
    void RunNextCommand();
    void RunCommand(const std::string& verb, const std::string& argument);
    void PrintState();
    void PrintDialog();
    void AnswerDialog(const std::string& button);
    void Click(int button);
    void Press(int button);
    void TypeText(const std::string& utf8);
    void PressKey(const std::string& name);

    Window rebar;
    Window page;
    WebBrowser* browser = nullptr;
    BrowserSite* site = nullptr;
    ComPtr<IUnknown> band;
    ComPtr<IInputObject> inputObject;
    ComPtr<IDeskBand> deskBand;
    HWND bandWindow = nullptr;
    std::deque<std::string> script;
    std::string snapshotDir;
};
