#include "store/Settings.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

class SettingsSections : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA(folder.c_str(), nullptr);
        DeleteFileA(settings.settingsPath.c_str());
        DeleteFileA(settings.menuPath.c_str());
    }
    void TearDown() override {
        DeleteFileA(settings.settingsPath.c_str());
        DeleteFileA(settings.menuPath.c_str());
        RemoveDirectoryA(folder.c_str());
    }

    static std::string TempFolder() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        return std::string(temp) + "textaro-sections-test";
    }

    std::string folder = TempFolder();
    Settings settings{folder + "\\TextaroBar.dll"};
};

TEST_F(SettingsSections, MissingFileOrSectionReadsEmpty) {
    EXPECT_EQ("", settings.ReadTextHistory());
    EXPECT_EQ("", settings.ReadRecipientHistory());
    EXPECT_EQ("", settings.ReadMenuSection());
    EXPECT_EQ("", settings.ReadMyMenuSection());
    WriteFile(settings.settingsPath, "[SETTINGS]\r\nUserName=jana\r\n");
    EXPECT_EQ("", settings.ReadTextHistory());
}

TEST_F(SettingsSections, HistoryWritesReplaceOneSectionAndClearEmptiesIt) {
    WriteFile(settings.settingsPath, "[SETTINGS]\r\nUserName=jana\r\n[TextHistory]\r\n7=Ahoj\r\n"
                                     "3=Zítra v 8\r\n[RecipientHistory]\r\n0=602123456;\r\n");
    EXPECT_EQ("7=Ahoj\0"
              "3=Zítra v 8\0"s,
              settings.ReadTextHistory());

    settings.WriteTextHistory("0=Čau\0"
                              "1=a=b\0"s);
    EXPECT_EQ("0=Čau\0"
              "1=a=b\0"s,
              settings.ReadTextHistory());
    EXPECT_EQ("0=602123456;\0"s, settings.ReadRecipientHistory());

    settings.ClearRecipientHistory();
    EXPECT_EQ("", settings.ReadRecipientHistory());
    EXPECT_EQ("0=Čau\0"
              "1=a=b\0"s,
              settings.ReadTextHistory());
    settings.Load();
    EXPECT_EQ("jana", settings.UserName);
}

TEST_F(SettingsSections, LongSectionsAreReadWhole) {
    std::string section;
    for (int i = 0; i < 11; ++i) {
        section += std::to_string(i) + "=" + std::string(2900, static_cast<char>('a' + i)) + '\0';
    }
    settings.WriteRecipientHistory(section);
    const std::string read = settings.ReadRecipientHistory();
    EXPECT_EQ(section.size(), read.size());
    EXPECT_TRUE(section == read);
}

TEST_F(SettingsSections, MenuSectionsComeFromMenuIni) {
    WriteFile(settings.menuPath, "[TextaroMenu]\r\nNápověda=http://www.example.cz/napoveda\r\n"
                                 "[MojeTextaro]\r\nMoje zprávy=sent\r\nAdresář=book\r\n");
    WriteFile(settings.settingsPath, "[TextaroMenu]\r\nCizí=http://jinde.cz/\r\n");
    EXPECT_EQ("Nápověda=http://www.example.cz/napoveda\0"s, settings.ReadMenuSection());
    EXPECT_EQ("Moje zprávy=sent\0"
              "Adresář=book\0"s,
              settings.ReadMyMenuSection());
}

} // namespace
