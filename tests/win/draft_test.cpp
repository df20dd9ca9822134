#include "gateway/Md5.h"
#include "toolbar/SmsCounter.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <string>

namespace {

// Browser windows with the toolbar, opened and closed one after another as a user does, all
// sharing the settings.ini beside the DLL.
class Drafts : public testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        CleanUp();
    }
    void TearDown() override {
        first.reset();
        second.reset();
        CleanUp();
        CoUninitialize();
    }

    void CleanUp() const {
        DeleteFileA(Path("settings.ini").c_str());
        RemoveDirectoryA(Path("settings.ini").c_str());
        DeleteFileA(Path("menu.ini").c_str());
    }
    std::string Path(const char* name) const { return dll.Folder() + "\\" + name; }

    static std::unique_ptr<BrowserWindow> Open(const ToolbarDll& dll) {
        return std::make_unique<BrowserWindow>(dll);
    }
    static HWND Edit(const BrowserWindow& window, int box) {
        return BrowserWindow::EditOf(window.Child(WC_COMBOBOXEXA, box));
    }
    static void Type(const BrowserWindow& window, const std::string& message,
                     const std::string& recipients) {
        SetWindowTextA(Edit(window, 0), message.c_str());
        SetWindowTextA(Edit(window, 1), recipients.c_str());
    }
    // The message box, the recipient box and the counter.
    static std::string Shown(const BrowserWindow& window) {
        return WindowText(Edit(window, 0)) + "|" + WindowText(Edit(window, 1)) + "|" +
               WindowText(window.Child("Static", 0));
    }

    ToolbarDll dll;
    std::unique_ptr<BrowserWindow> first;
    std::unique_ptr<BrowserWindow> second;
};

TEST_F(Drafts, UnsentTextsComeBackWholeAndEmptiedBoxesClearThem) {
    std::string text = " \"Zdravím\", ";
    while (text.size() < 1440) {
        text += "Příliš žluťoučký kůň¶úpěl ďábelské ódy; \\n 'x' ";
    }
    text.resize(1440);
    const std::string recipients = "777111222;+420 603 333 444;";

    first = Open(dll);
    Type(*first, text, recipients);
    first.reset();
    first = Open(dll);
    EXPECT_EQ(text + "|" + recipients + "|" + CounterText(text, ""), Shown(*first));

    Type(*first, "", "");
    first.reset();
    first = Open(dll);
    EXPECT_EQ("||0 zn.\n0 sms", Shown(*first)) << "the counter as created";
    EXPECT_EQ(std::string::npos, ReadFile(Path("settings.ini")).find("[Draft]"));
}

TEST_F(Drafts, TheLastWindowClosedWithTextWins) {
    first = Open(dll);
    second = Open(dll);
    Type(*second, "z druhého okna", "603333444;");
    second.reset();
    first.reset();
    // The first window never showed that draft and closed empty: it left the draft alone.
    first = Open(dll);
    second = Open(dll);
    EXPECT_EQ("z druhého okna|603333444;|" + CounterText("z druhého okna", ""), Shown(*second));

    Type(*first, "z prvního okna", "777111222;");
    second.reset();
    first.reset();
    first = Open(dll);
    EXPECT_EQ("z prvního okna|777111222;|" + CounterText("z prvního okna", ""), Shown(*first));
}

TEST_F(Drafts, ASentDraftIsGone) {
    WriteFile(Path("settings.ini"),
              "[SETTINGS]\r\nUserName=jana\r\nPasword=" + Md5Hex("heslo") + "\r\n");
    WriteFile(Path("menu.ini"), "[SETTINGS]\r\nGateway=" + GatewayAddressText() + "\r\n");
    first = Open(dll);
    Type(*first, "Přijdu v 8", "777111222;");
    first.reset();
    first = Open(dll);
    {
        DialogWatcher report;
        RECT send{};
        SendMessageA(first->Toolbar(), TB_GETITEMRECT, 8, reinterpret_cast<LPARAM>(&send));
        const LPARAM point = MAKELPARAM((send.left + send.right) / 2, send.bottom / 2);
        PostMessageA(first->Toolbar(), WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageA(first->Toolbar(), WM_LBUTTONUP, 0, point);
        for (DWORD start = GetTickCount();
             report.Seen().empty() && GetTickCount() - start < 20000;) {
            PumpMessages(50);
        }
        PumpMessages(300);
        ASSERT_EQ(1u, report.Seen().size());
        EXPECT_EQ("information", report.Seen()[0].icon) << report.Seen()[0].text;
    }
    first.reset();
    first = Open(dll);
    EXPECT_EQ("||0 zn.\n0 sms", Shown(*first)) << "the counter as created";
}

TEST_F(Drafts, ASettingsFileThatCannotBeWrittenIsToldOnce) {
    ASSERT_TRUE(CreateDirectoryA(Path("settings.ini").c_str(), nullptr));
    DialogWatcher notice;
    first = Open(dll);
    Type(*first, "Ahoj", "777111222;");
    first.reset();
    PumpMessages(300);
    ASSERT_EQ(1u, notice.Seen().size()) << "two failed writes, one notice";
    EXPECT_EQ("TextaroBar", notice.Seen()[0].caption);
    EXPECT_EQ("exclamation", notice.Seen()[0].icon);
    EXPECT_NE(std::string::npos, notice.Seen()[0].text.find(Path("settings.ini")))
        << notice.Seen()[0].text;
}

} // namespace
