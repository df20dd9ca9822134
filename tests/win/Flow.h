#pragma once

#include "tests/win/TestSupport.h"

#include <map>

// A message the gateway server took: its fields as the outbox shows them ("null" when absent).
struct Sent {
    std::string msisdn;
    std::string text;
    std::string nick;
    std::string delay;
};
std::vector<Sent> Outbox(const std::string& address);
// How many requests of each interface and action the server has answered.
std::map<std::string, int> Requests(const std::string& address);
// The boxes the watcher saw as "caption, icon: texts", one a line, line breaks shown as '¶'; the
// progress window, which has a button (Storno) too, is left out.
std::string Boxes(const DialogWatcher& watcher);
// Whether the pattern is found in the record ('!' first: is not); an empty one always holds.
bool Matches(const std::string& record, const std::string& pattern);

// What the user does in one step of a flow, named for the failure output. An action with an
// answer of its own answers the step's dialogs with it.
struct Action {
    std::string name;
    std::function<void()> run;
    DialogWatcher::Answer answer = {};
};

// One step of a flow, as Wine's message tables have it: the action, the button pressed on every
// box it shows, and what the step leaves. Each expectation is a pattern that Matches what was
// recorded; an empty one is not checked.
struct Step {
    Action act;
    int answer = IDOK;
    std::string boxes = {}; // Boxes()
    std::string sent = {};  // "msisdn text nick delay" of each message the server took, a line each
    std::string requests = {}; // "action=n ...": the requests of just those actions, n each
    std::string page = {};     // the last page the browser opened; a portal page's user after LF
    std::string toolbar = {};  // "message / recipients / counter / credit", '¶' for line breaks
    std::string settings = {}; // settings.ini, LF for CR LF
    std::string lists = {};    // how many entries the message and recipient boxes list
};

// The toolbar signed in on the test gateway server, driven through steps of flows.
class FlowTest : public ToolbarTest {
protected:
    // Runs the steps in order; a failure names the flow, the step, its action and the record.
    void Run(const std::string& flow, const std::vector<Step>& steps);

    // Opens signed in as the login on the gateway (the fixture's when empty).
    Action SignIn(const std::string& login = "jana", const std::string& gateway = "",
                  const std::string& settingsMore = "", const std::string& menu = "");
    // Presses the button and picks the command's item (none: Escape).
    Action Pick(int command, int button = 0);
    // Types the texts (brought back as a draft in a new window when asked), presses "Odeslat"
    // and serves the toolbar until the run is over.
    Action Send(const std::string& message, const std::string& recipients, bool reopen = false);
    // Confirms the local moment in "Zpožděné odeslání".
    Action Arm(std::time_t moment);
    // The moment as the server keeps a delay.
    static std::string DelayText(std::time_t moment);
    // Changes the user name in "Nastavení".
    Action Rename(const std::string& login);
    Action Reopen();

    // Picks at once; the menu as shown: "id label" per item, "*" for the default, "-" for a
    // separator.
    std::string PickNow(int button, int command);
    bool SendButtonEnabled() const;
    std::string LastNavigation() const;

    POINT menuCorner{};
    POINT buttonCorner{};
};
