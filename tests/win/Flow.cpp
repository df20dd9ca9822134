#include "tests/win/Flow.h"

#include "menu/MainMenuItems.h"
#include "res/resource.h"

#include <commctrl.h>

#include <atomic>
#include <regex>
#include <sstream>

namespace {

// The text on one line: CR LF as LF, then LF as the toolbar's own line-break mark.
std::string OneLine(std::string text, const char* lineBreak = "¶") {
    text = std::regex_replace(text, std::regex("\r\n"), "\n");
    return std::regex_replace(text, std::regex("\n"), lineBreak);
}

} // namespace

bool Matches(const std::string& record, const std::string& pattern) {
    const bool absent = pattern.starts_with('!');
    return pattern.empty() ||
           absent != std::regex_search(record, std::regex(pattern.substr(absent ? 1 : 0)));
}

std::vector<Sent> Outbox(const std::string& address) {
    std::vector<Sent> sent;
    const std::string json = HttpGet(address, "/admin/outbox");
    static const std::regex record(R"re("msisdn":"([^"]*)","text":"((?:[^"\\]|\\.)*)",)re"
                                   R"re("nick":(null|"(?:[^"\\]|\\.)*"),"delay":(null|"[^"]*"))re");
    for (std::sregex_iterator it(json.begin(), json.end(), record), end; it != end; ++it) {
        sent.push_back({(*it)[1], (*it)[2], (*it)[3], (*it)[4]});
    }
    return sent;
}

std::map<std::string, int> Requests(const std::string& address) {
    std::map<std::string, int> counts;
    const std::string json = HttpGet(address, "/admin/requests");
    static const std::regex entry(R"re("([^"]+)":(\d+))re");
    for (std::sregex_iterator it(json.begin(), json.end(), entry), end; it != end; ++it) {
        counts[(*it)[1]] = std::stoi((*it)[2]);
    }
    return counts;
}

std::string Boxes(const DialogWatcher& watcher) {
    std::string boxes;
    for (const SeenDialog& seen : watcher.Seen()) {
        if (!seen.caption.empty() && seen.caption != "Odesílání") {
            boxes += (boxes.empty() ? "" : "\n") + seen.caption + ", " + seen.icon + ": " +
                     OneLine(seen.text);
        }
    }
    return boxes;
}

void FlowTest::Run(const std::string& flow, const std::vector<Step>& steps) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        std::map<std::string, int> counted = Requests(address);
        const std::size_t before = Outbox(address).size();
        std::string boxes;
        {
            DialogWatcher watcher(step.act.answer ? step.act.answer : [&](HWND, const SeenDialog&) {
                return step.answer;
            });
            step.act.run();
            boxes = Boxes(watcher);
        }
        std::string sent;
        const std::vector<Sent> outbox = Outbox(address);
        for (std::size_t m = before; m < outbox.size(); ++m) {
            sent += (sent.empty() ? "" : "\n") + outbox[m].msisdn + " " + outbox[m].text + " " +
                    outbox[m].nick + " " + outbox[m].delay;
        }
        std::string requests;
        std::map<std::string, int> after = Requests(address);
        std::istringstream named(step.requests);
        for (std::string pair; named >> pair;) {
            const std::string action = pair.substr(0, pair.find('='));
            requests += (requests.empty() ? "" : " ") + action + "=" +
                        std::to_string(after[action] - counted[action]);
        }
        const std::string toolbar =
            OneLine(WindowText(messageEdit) + " / " + WindowText(recipientEdit) + " / " +
                    WindowText(counter) + " / " + WindowText(credit));
        std::string page = LastNavigation();
        const std::string portal = "http://" + address + "/index.xp";
        const std::string served = step.page.empty() || !page.starts_with(portal)
                                       ? ""
                                       : HttpGet(address, page.substr(portal.size() - 9));
        std::smatch user;
        if (std::regex_search(served, user, std::regex("<b>([^<]*)</b>, kredit"))) {
            page.append("\n").append(user[1].str());
        }
        const auto listed = [&](int box) {
            return std::to_string(
                SendMessageA(browser->Child(WC_COMBOBOXEXA, box), CB_GETCOUNT, 0, 0));
        };
        const std::pair<const char*, std::pair<std::string, std::string>> checks[] = {
            {"boxes", {boxes, step.boxes}},
            {"sent", {sent, step.sent}},
            {"requests", {requests, step.requests.empty() ? "" : "^" + step.requests + "$"}},
            {"page", {page, step.page}},
            {"toolbar", {toolbar, step.toolbar}},
            {"settings.ini", {OneLine(ReadFile(Beside("settings.ini")), "\n"), step.settings}},
            {"lists", {step.lists.empty() ? "" : listed(0) + " " + listed(1), step.lists}},
        };
        for (const auto& [what, check] : checks) {
            EXPECT_TRUE(Matches(check.first, check.second))
                << flow << ", step " << i + 1 << " (" << step.act.name << "): " << what
                << "\n  recorded: " << check.first << "\n  expected: " << check.second;
        }
    }
}

Action FlowTest::SignIn(const std::string& login, const std::string& gateway,
                        const std::string& settingsMore, const std::string& menu) {
    return {"sign in as " + login, [=, this] { OpenSignedIn(menu, login, settingsMore, gateway); }};
}

Action FlowTest::Pick(int command, int button) {
    return {"pick " + std::to_string(command), [=, this] { PickNow(button, command); }};
}

Action FlowTest::Send(const std::string& message, const std::string& recipients, bool reopen) {
    return {"send to " + recipients, [=, this] {
                browser->Type(message, recipients);
                if (reopen) {
                    Open();
                }
                browser->Click(8);
                PumpMessages(300);
                EXPECT_TRUE(Serve([&] { return SendButtonEnabled(); }, 20000))
                    << "the run ends and gives the button back";
            }};
}

Action FlowTest::Arm(std::time_t moment) {
    const SYSTEMTIME time = SystemTime(Local(moment));
    return {"arm " + DelayText(moment),
            [this] {
                browser->Click(7);
                PumpMessages(3000);
            },
            [time](HWND dialog, const SeenDialog&) {
                for (int picker : {IDC_SEND_DATE, IDC_SEND_TIME}) {
                    SendMessageA(GetDlgItem(dialog, picker), DTM_SETSYSTEMTIME, GDT_VALID,
                                 reinterpret_cast<LPARAM>(&time));
                }
                return IDOK;
            }};
}

std::string FlowTest::DelayText(std::time_t moment) {
    const std::tm local = Local(moment);
    char text[32];
    std::strftime(text, sizeof text, "\"%Y-%m-%d %H:%M:%S\"", &local);
    return text;
}

Action FlowTest::Rename(const std::string& login) {
    return {"rename to " + login,
            [this] {
                PostMessageA(browser->Toolbar(), WM_COMMAND, MenuCommand::AccountSettings, 0);
                PumpMessages(300);
                Serve([] { return !FindDialog("Nastavení"); });
            },
            [login](HWND dialog, const SeenDialog&) {
                SetDlgItemTextA(dialog, IDC_SETTINGS_USERNAME, login.c_str());
                return IDOK;
            }};
}

Action FlowTest::Reopen() {
    return {"reopen", [this] { Open(); }};
}

std::string FlowTest::PickNow(int button, int command) {
    // A box the previous command showed takes the clicks until it is answered.
    Serve([] { return FindDialog(nullptr) == nullptr; });
    std::string shown;
    std::atomic<bool> done{false};
    std::thread picker([&] {
        HWND popup = nullptr;
        WaitFor([&] {
            while ((popup = FindWindowExA(nullptr, popup, "#32768", nullptr)) &&
                   !(Ours(popup) && IsWindowVisible(popup))) {
            }
            return popup != nullptr;
        });
        auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        int downs = 0;
        bool found = false;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            const int id = static_cast<int>(GetMenuItemID(menu, i));
            char label[256] = {};
            GetMenuStringA(menu, static_cast<UINT>(i), label, sizeof label, MF_BYPOSITION);
            const bool separator = state & MF_SEPARATOR;
            shown += std::string(shown.empty() ? "" : "|") + (state & MF_DEFAULT ? "*" : "") +
                     (separator ? "-" : std::to_string(id) + " " + label);
            if (!separator && !found) {
                ++downs;
                found = id == command;
            }
        }
        RECT rect{};
        GetWindowRect(popup, &rect);
        menuCorner = {rect.left, rect.top};
        for (int i = 0; found && i < downs; ++i) {
            PressKey(VK_DOWN);
        }
        PressKey(found ? VK_RETURN : VK_ESCAPE);
        done = true;
    });
    RECT rect{};
    SendMessageA(browser->Toolbar(), TB_GETITEMRECT, button, reinterpret_cast<LPARAM>(&rect));
    buttonCorner = {rect.left, rect.bottom};
    ClientToScreen(browser->Toolbar(), &buttonCorner);
    browser->Press(button);
    Serve([&] { return done.load(); }, 30000);
    picker.join();
    PumpMessages(300);
    return shown;
}

bool FlowTest::SendButtonEnabled() const {
    return SendMessageA(browser->Toolbar(), TB_ISBUTTONENABLED, 8, 0) != 0;
}

std::string FlowTest::LastNavigation() const {
    return !browser || browser->Navigations().empty() ? "" : browser->Navigations().back();
}
