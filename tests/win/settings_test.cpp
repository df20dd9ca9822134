#include "store/Settings.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

// settings.ini and menu.ini in a folder of their own, as beside the module.
class SettingsFile : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA(folder.c_str(), nullptr);
        TearDown();
    }
    void TearDown() override {
        DeleteFileA(settings.settingsPath.c_str());
        DeleteFileA(settings.menuPath.c_str());
    }

    static std::string TempFolder() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        return std::string(temp) + "textaro-settings-test";
    }

    const std::string folder = TempFolder();
    Settings settings{folder + "\\TextaroBar.dll"};
};

TEST_F(SettingsFile, MissingFilesGiveDefaults) {
    EXPECT_EQ(folder + "\\settings.ini", settings.settingsPath);
    EXPECT_EQ(folder + "\\menu.ini", settings.menuPath);
    settings.Load();
    for (const std::string& text :
         {settings.UserName, settings.Nick, settings.Pasword, settings.Email,
          settings.ReadUpgrade(), settings.ReadTextHistory(), settings.ReadRecipientHistory(),
          settings.ReadMenuSection(), settings.ReadMyMenuSection()}) {
        EXPECT_EQ("", text);
    }
    EXPECT_EQ(0, settings.AutoRecack + settings.WaitForDelivery);
    std::string program = "x", arguments = "y";
    settings.ReadUninstall(program, arguments);
    EXPECT_EQ("", program + arguments);
    EXPECT_EQ("gate.textaro.cz", settings.ReadGateway());
    EXPECT_EQ("http://www.textaro.cz/", settings.ReadPortal());
}

TEST_F(SettingsFile, SaveWritesAllSixKeysAndKeepsTheRest) {
    WriteFile(settings.settingsPath, "[SETTINGS]\r\nUserName=jana\r\nAutoRecack=yes\r\n"
                                     "WaitForDelivery=1x\r\n[TextHistory]\r\n0=Ahoj\r\n");
    settings.Load();
    EXPECT_EQ(0, settings.AutoRecack) << "numbers read their leading digits";
    EXPECT_EQ(1, settings.WaitForDelivery);
    settings.Email = "jana@example.cz";
    settings.Pasword = "955db0b81ef1989b4a4dfeae8061a9a6"; // the digest of "heslo"
    settings.AutoRecack = 1;
    settings.Save();

    EXPECT_EQ("[SETTINGS]\r\nUserName=jana\r\nAutoRecack=1\r\nWaitForDelivery=1\r\nNick=\r\n"
              "Pasword=955db0b81ef1989b4a4dfeae8061a9a6\r\nEmail=jana@example.cz\r\n"
              "[TextHistory]\r\n0=Ahoj\r\n",
              ReadFile(settings.settingsPath));
    Settings reloaded(settings.settingsPath);
    reloaded.Load();
    EXPECT_EQ("955db0b81ef1989b4a4dfeae8061a9a6", reloaded.Pasword);
    EXPECT_EQ("jana@example.cz", reloaded.Email);
}

TEST_F(SettingsFile, LongValuesAndSectionsAreReadWhole) {
    const std::string nick(300, 'n'), email(9000, 'e');
    WriteFile(settings.settingsPath, "[SETTINGS]\r\nNick=" + nick + "\r\nEmail=" + email + "\r\n");
    settings.Load();
    EXPECT_EQ(nick, settings.Nick);
    EXPECT_EQ(email, settings.Email);

    std::string section;
    for (int i = 0; i < 11; ++i) {
        section += std::to_string(i) + "=" + std::string(2900, static_cast<char>('a' + i)) + '\0';
    }
    settings.WriteRecipientHistory(section);
    EXPECT_TRUE(section == settings.ReadRecipientHistory());
}

TEST_F(SettingsFile, HistoryWritesReplaceOneSectionAndClearEmptiesIt) {
    WriteFile(settings.settingsPath, "[SETTINGS]\r\nUserName=jana\r\n[TextHistory]\r\n7=Ahoj\r\n"
                                     "3=Zítra v 8\r\n[RecipientHistory]\r\n0=602123456;\r\n");
    EXPECT_EQ("7=Ahoj\0"
              "3=Zítra v 8\0"s,
              settings.ReadTextHistory());

    settings.WriteTextHistory("0=Čau\0"
                              "1=a=b\0"s);
    settings.ClearRecipientHistory();
    EXPECT_EQ("[SETTINGS]\r\nUserName=jana\r\n[TextHistory]\r\n0=Čau\r\n1=a=b\r\n"
              "[RecipientHistory]\r\n",
              ReadFile(settings.settingsPath));
    EXPECT_EQ("", settings.ReadRecipientHistory());
}

TEST_F(SettingsFile, DeploymentKeysAndMenusLiveOnlyInMenuIni) {
    WriteFile(settings.settingsPath, "[SETTINGS]\r\nUninstalString=wrong.exe\r\n"
                                     "Upgrade=http://wrong/\r\nGateway=wrong:1\r\n"
                                     "[TextaroMenu]\r\nCizí=http://jinde.cz/\r\n");
    EXPECT_EQ("", settings.ReadUpgrade());
    EXPECT_EQ("gate.textaro.cz", settings.ReadGateway());
    EXPECT_EQ("", settings.ReadMenuSection());

    WriteFile(settings.menuPath, "[SETTINGS]\r\nUninstalString=uninstall.exe\r\n"
                                 "UninstalStringArgs=/S\r\nUpgrade=http://portal/upgrade\r\n"
                                 "Gateway=127.0.0.1:8080\r\nPortal=http://127.0.0.1:8080/\r\n"
                                 "[TextaroMenu]\r\nNápověda=http://www.example.cz/napoveda\r\n"
                                 "[MojeTextaro]\r\nMoje zprávy=sent\r\nAdresář=book\r\n");
    std::string program, arguments;
    settings.ReadUninstall(program, arguments);
    EXPECT_EQ("uninstall.exe", program);
    EXPECT_EQ("/S", arguments);
    EXPECT_EQ("http://portal/upgrade", settings.ReadUpgrade());
    EXPECT_EQ("127.0.0.1:8080", settings.ReadGateway());
    EXPECT_EQ("http://127.0.0.1:8080/", settings.ReadPortal());
    EXPECT_EQ("Nápověda=http://www.example.cz/napoveda\0"s, settings.ReadMenuSection());
    EXPECT_EQ("Moje zprávy=sent\0"
              "Adresář=book\0"s,
              settings.ReadMyMenuSection());
}

} // namespace
