#include "menu/MainMenuItems.h"
#include "menu/PortalLinks.h"
#include "toolbar/SendRun.h"
#include "toolbar/SmsCounter.h"
#include "toolbar/ToolbarSlots.h"

#include <gtest/gtest.h>

#include <cstdlib>

// The run through the real toolbar and gateway server is tested under Wine (send_test), and the
// widths the message box takes on the real toolbar (band_test); here the edges those tests cannot
// reach. That every menu item is its menu.ini entry within its range of identifiers, and that a
// portal link carries any session and action whole, menu_fuzzer holds.

namespace {

using namespace std::string_literals;
using Texts = std::vector<std::string>;

// Records what a run asks of the toolbar; every request is accepted but one to "12", which the
// user stops the run during.
class RecordingToolbar : public SendEnvironment {
public:
    std::time_t Now() override { return 1'000'000; }
    bool ConfirmSendNow() override { return Note("question"), true; }
    void ShowProgress(std::size_t n) override { Note("progress shown " + std::to_string(n)); }
    bool Stopped() override { return stopped; }
    void ShowCount(std::size_t n, std::size_t) override { Note("count " + std::to_string(n)); }
    SendAccount Account() override { return {}; }
    GatewayReply Send(const SendArgs& args) override {
        stopped = args.recipient == "12";
        Note("send " + std::string(args.recipient) + " delay " + std::string(args.delay));
        GatewayReply reply;
        reply.SetBody(args.recipient == "12" ? "status=3\n" : "status=1\ncredit=-2.25\n");
        return reply;
    }
    void DisarmDelay() override { Note("disarmed"); }
    void ShowCredit(const std::string& text) override { Note("credit " + text); }
    void MoveToHistories(const std::string& message, const std::string& recipients) override {
        Note("history " + message + " " + recipients);
    }
    void CloseProgress() override { Note("progress closed"); }
    void ShowReport(const std::string&, bool failed) override {
        Note(failed ? "report!" : "report");
    }

    void Note(const std::string& event) { events.push_back(event); }

    bool stopped = false;
    std::vector<std::string> events;
};

TEST(SendRun, AMomentInTheCurrentSecondIsStillValidAndAStopLeavesWhatWasNotSent) {
    setenv("TZ", "UTC", 1);
    tzset();
    const std::pair<SendRunInput, Texts> runs[] = {
        {{"Ahoj", "111", false, true, 1'000'000}, // armed for the toolbar's now
         {"progress shown 1", "count 1", "send 111 delay 1970-01-12 13:46:40", "disarmed",
          "credit -2.25 Kč", "history Ahoj 111", "progress closed", "report"}},
        {{"Ahoj", ";;", false, false, 0},
         {"progress shown 0", "disarmed", "history Ahoj ;;", "progress closed"}},
        // The armed time stays for the rest; a recipient keeps its spaces.
        {{"Ahoj", "111;12;; 222 ;333", false, true, 2'000'000},
         {"progress shown 4", "count 1", "send 111 delay 1970-01-24 03:33:20", "count 2",
          "send 12 delay 1970-01-24 03:33:20", "credit ", "progress closed", "report!",
          "unsent 12; 222 ;333"}},
    };
    for (const auto& [input, events] : runs) {
        RecordingToolbar toolbar;
        if (const SendOutcome outcome = RunSend(input, toolbar); outcome.stopped) {
            toolbar.Note("unsent " + outcome.unsent);
        }
        EXPECT_EQ(events, toolbar.events) << input.recipients;
    }
}

// T = text + nickname (an empty nickname counts 1): up to 159 one SMS of T + 1 characters,
// beyond that parts of 155 that count 5 more characters each. That the parts agree with the
// gateway's charge at every length, the server's GatewaySmsParts test holds.
TEST(SmsCounter, CharactersAndPartsOfTextAndNickname) {
    const std::tuple<std::string, std::string, std::size_t, std::size_t> rows[] = {
        {std::string(155, 'a'), "Jana", 160, 1},
        {std::string(156, 'a'), "Jana", 170, 2},
        {"", "Jana", 0, 0}, // an emptied box counts nothing
        {"a", "", 3, 1},
        // Czech letters are one byte each in the system's code page; a line break mark or its
        // CR LF count 2.
        {"žluťoučký", "Jiří", 14, 1},
        {"¶", "", 4, 1},
        {"ab\r\ncd", "", 8, 1},
        {std::string(79, '\xB6'), "", 160, 1},
        {std::string(79, '\xB6') + "x", "", 170, 2},
    };
    for (const auto& [text, nick, characters, parts] : rows) {
        const SmsCount count = CountSms(text, nick);
        EXPECT_EQ(std::tuple(characters, parts), std::tuple(count.characters, count.parts))
            << text << " / " << nick;
    }
}

// Each size is rounded on its own, halves up: the fixed slots are not 610 times the scale.
TEST(ToolbarLayout, SizesFollowTheDisplayScale) {
    const int rows[][4] = {{96, 610, 18, 215},
                           {120, 764, 18, 215},
                           {144, 916, 27, 1215},
                           {168, 1069, 27, 1215},
                           {192, 1220, 36, 2215}};
    for (const auto& [dpi, fixed, picture, resource] : rows) {
        EXPECT_EQ(std::tuple(fixed, picture, resource),
                  std::tuple(FixedSlotsWidth(dpi), ImageSize(18, dpi), ImageResource(215, dpi)))
            << dpi;
        EXPECT_EQ(0, MessageSlotWidth(fixed - 1, dpi)) << "never negative";
    }
}

// The menu of empty sections is shown whole by menu_test, and the links as it opens them carry
// version 1.0.76 and a portal address without a path.
TEST(MainMenu, SectionsFillTheirRangesBetweenTheFixedItemsAndLinksCarryTheVersion) {
    const std::vector<MenuItem> items =
        MainMenuItems("A=b=c\0=v\0bez hodnoty\0"s, "Nápověda=a?b=c\0"s);
    ASSERT_EQ(14u, items.size()); // separators included
    EXPECT_EQ((std::vector<MenuItem>{{3, "A", "b=c"}, {4, "", "v"}}),
              std::vector<MenuItem>(items.begin() + 2, items.begin() + 4));
    EXPECT_EQ((std::vector<MenuItem>{{31, "Nápověda", "a?b=c"},
                                     {},
                                     {50, "Nastavení"},
                                     {51, "Upgrade"},
                                     {},
                                     {52, "Odinstalovat"}}),
              std::vector<MenuItem>(items.end() - 6, items.end()));
    EXPECT_EQ("&IETOOLBARVAR=2.7.65535", VersionTag(0x00020007, 0x0003FFFF));
}

} // namespace
