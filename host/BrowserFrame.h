#pragma once

#include "host/BrowserSite.h"
#include "host/WebBrowser.h"
#include "win/ComPtr.h"
#include "win/Window.h"

#include <deque>
#include <string>

// The stand-in's top-level window: a rebar at the top, like the browser's toolbar area, with
// the toolbar band in it, and a page area below that shows where the browser was sent. The
// Wine tests use it as their browser too. Closing the window releases the band as the browser
// does: hidden, closed, unsited, released.
class BrowserFrame : public Window {
public:
    ~BrowserFrame() override;

    bool Open(int width, int height);
    // Creates the band by its ProgID, sites it and places its window in the rebar.
    HRESULT LoadBand(const wchar_t* progId);
    // Sites a band made elsewhere (by a class factory), places and shows it, and activates it.
    HRESULT PlaceBand(IUnknown* madeBand);
    // Runs the message loop, offering keys to the band first, until the window closes.
    int Run();
    void Close();

    void SetScript(std::deque<std::string> lines, std::string snapshotDir);
    // A click on the toolbar's button of that index.
    void Click(int button);
    // A press with the mouse itself on the right end of the button: the arrow of a drop-down.
    void Press(int button);

    HWND BandWindow() const { return bandWindow; }
    IInputObject* Input() const { return inputObject.Get(); }
    // What the band reported to its site.
    const BrowserSite& Site() const { return *site; }
    // The addresses the toolbar opened in this window, in UTF-8.
    std::vector<std::string> Navigations() const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ReleaseBand();
    void RunNextCommand();
    void RunCommand(const std::string& verb, const std::string& argument);
    void PrintState();
    void PrintDialog();
    void AnswerDialog(const std::string& button);
    // "fill ID TEXT" sets a control's text in the dialog on top, "tick ID" ticks a check box.
    void FillDialog(const std::string& verb, const std::string& argument);
    void PressNamedKey(const std::string& name);

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
    // Only the stand-in's own loop ends with the window; a test's loop goes on.
    bool running = false;
};
