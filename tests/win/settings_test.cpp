#include "store/Settings.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

namespace {

class SettingsFile : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "textaro-settings-test";
        CreateDirectoryA(folder.c_str(), nullptr);
        DeleteFileA(SettingsPath().c_str());
        DeleteFileA(MenuPath().c_str());
    }
    void TearDown() override {
        DeleteFileA(SettingsPath().c_str());
        DeleteFileA(MenuPath().c_str());
        RemoveDirectoryA(folder.c_str());
    }
    std::string ModulePath() const { return folder + "\\TextaroBar.dll"; }
    std::string SettingsPath() const { return folder + "\\settings.ini"; }
    std::string MenuPath() const { return folder + "\\menu.ini"; }

    std::string folder;
};

TEST_F(SettingsFile, PathsComeFromTheModuleFolder) {
    Settings settings(ModulePath());
    EXPECT_EQ(SettingsPath(), settings.settingsPath);
    EXPECT_EQ(MenuPath(), settings.menuPath);
}

TEST_F(SettingsFile, MissingFileGivesDefaults) {
    Settings settings(ModulePath());
    settings.Load();
    EXPECT_EQ("", settings.UserName);
    EXPECT_EQ("", settings.Nick);
    EXPECT_EQ("", settings.Pasword);
    EXPECT_EQ("", settings.Email);
    EXPECT_EQ(0, settings.AutoRecack);
    EXPECT_EQ(0, settings.WaitForDelivery);
    std::string program = "x", arguments = "y";
    settings.ReadUninstall(program, arguments);
    EXPECT_EQ("", program);
    EXPECT_EQ("", arguments);
    EXPECT_EQ("", settings.ReadUpgrade());
    EXPECT_EQ("gate.textaro.cz", settings.ReadGateway());
    EXPECT_EQ("http://www.textaro.cz/", settings.ReadPortal());
}

TEST_F(SettingsFile, NumbersReadTheirLeadingDigits) {
    WriteFile(SettingsPath(), "[SETTINGS]\r\nAutoRecack=yes\r\nWaitForDelivery=1x\r\n");
    Settings settings(ModulePath());
    settings.Load();
    EXPECT_EQ(0, settings.AutoRecack);
    EXPECT_EQ(1, settings.WaitForDelivery);
}

TEST_F(SettingsFile, SaveWritesAllSixKeysAndAddsMissingOnes) {
    WriteFile(SettingsPath(), "[SETTINGS]\r\nUserName=jana\r\nAutoRecack=1\r\n");
    Settings settings(ModulePath());
    settings.Load();
    EXPECT_EQ(0, settings.WaitForDelivery);
    settings.Email = "jana@example.cz";
    settings.Save();

    std::string saved = ReadFile(SettingsPath());
    for (const char* line : {"UserName=jana", "Nick=", "Pasword=", "Email=jana@example.cz",
                             "AutoRecack=1", "WaitForDelivery=0"}) {
        EXPECT_NE(std::string::npos, saved.find(line)) << line << " in " << saved;
    }
    Settings reloaded(ModulePath());
    reloaded.Load();
    EXPECT_EQ("jana@example.cz", reloaded.Email);
    EXPECT_EQ(1, reloaded.AutoRecack);
}

TEST_F(SettingsFile, LongValuesAreReadWhole) {
    const std::string nick(300, 'n');
    const std::string email(9000, 'e');
    WriteFile(SettingsPath(), "[SETTINGS]\r\nNick=" + nick + "\r\nEmail=" + email + "\r\n");
    Settings settings(ModulePath());
    settings.Load();
    EXPECT_EQ(nick, settings.Nick);
    EXPECT_EQ(email, settings.Email);
}

TEST_F(SettingsFile, DeploymentKeysLiveOnlyInMenuIni) {
    WriteFile(SettingsPath(), "[SETTINGS]\r\nUninstalString=wrong.exe\r\nUninstalStringArgs=-x\r\n"
                              "Upgrade=http://wrong/\r\nGateway=wrong:1\r\n");
    Settings settings(ModulePath());
    std::string program, arguments;
    settings.ReadUninstall(program, arguments);
    EXPECT_EQ("", program);
    EXPECT_EQ("", arguments);
    EXPECT_EQ("", settings.ReadUpgrade());
    EXPECT_EQ("gate.textaro.cz", settings.ReadGateway());

    WriteFile(MenuPath(), "[SETTINGS]\r\nUninstalString=uninstall.exe\r\nUninstalStringArgs=/S\r\n"
                          "Upgrade=http://portal/upgrade\r\nGateway=127.0.0.1:8080\r\n"
                          "Portal=http://127.0.0.1:8080/\r\n");
    settings.ReadUninstall(program, arguments);
    EXPECT_EQ("uninstall.exe", program);
    EXPECT_EQ("/S", arguments);
    EXPECT_EQ("http://portal/upgrade", settings.ReadUpgrade());
    EXPECT_EQ("127.0.0.1:8080", settings.ReadGateway());
    EXPECT_EQ("http://127.0.0.1:8080/", settings.ReadPortal());
}

} // namespace
