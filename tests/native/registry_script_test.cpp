#include "win/RegistryScript.h"

#include <gtest/gtest.h>

namespace {

TEST(RegistryScript, ParsesKeysValuesAndRemovalMarks) {
    const char* script = R"(
        HKCR
        {
            Name.1 = s 'Band'
            {
                CLSID = s '%CLSID%'
            }
            NoRemove CLSID
            {
                ForceRemove %CLSID% = s 'It''s %LABEL% at 5%%'
                {
                    InprocServer32 = s '%MODULE%'
                    {
                        val ThreadingModel = s 'Apartment'
                    }
                    val Count = d '7'
                }
            }
        }
        HKLM { NoRemove 'Internet Explorer' { val %CLSID% = s '%LABEL%' } }
    )";
    RegistryScriptResult result = ParseRegistryScript(
        script, {{"CLSID", "{1234-AB}"}, {"LABEL", "Bar 100%"}, {"MODULE", "C:\\x.dll"}});
    ASSERT_EQ("", result.error);
    ASSERT_EQ(2u, result.roots.size());

    const RegistryKey& hkcr = result.roots[0];
    using enum RegistryKey::Removal;
    EXPECT_EQ(std::tie(hkcr.name, hkcr.removal), std::tuple("HKCR", NoRemove));
    ASSERT_EQ(2u, hkcr.subkeys.size());
    EXPECT_EQ("Band", hkcr.subkeys[0].defaultValue->data);
    EXPECT_EQ("{1234-AB}", hkcr.subkeys[0].subkeys[0].defaultValue->data);

    const RegistryKey& classKey = hkcr.subkeys[1].subkeys[0];
    EXPECT_EQ(std::tie(hkcr.subkeys[1].removal, classKey.removal, classKey.name),
              std::tuple(NoRemove, ForceRemove, "{1234-AB}"));
    EXPECT_EQ("It's Bar 100% at 5%", classKey.defaultValue->data);
    EXPECT_EQ("C:\\x.dll", classKey.subkeys[0].defaultValue->data);
    EXPECT_EQ("ThreadingModel", classKey.subkeys[0].values[0].name);
    EXPECT_EQ(std::tie(classKey.values[0].type, classKey.values[0].data), std::tuple('d', "7"));

    const RegistryKey& explorer = result.roots[1].subkeys[0];
    EXPECT_EQ(std::tie(explorer.name, explorer.values[0].name, explorer.values[0].data),
              std::tuple("Internet Explorer", "{1234-AB}", "Bar 100%"));
}

TEST(RegistryScript, RejectsBrokenScriptsWholesale) {
    const std::map<std::string, std::string> none;
    std::string deep;
    for (int level = 0; level < 100000; ++level) {
        deep += "K { ";
    }
    for (const std::string& broken : std::initializer_list<std::string>{
             "HKCR { Key = s 'value' ", "HKCR { Key = x 'value' }", "HKCR { Key = s 'open }",
             "HKCR { val = s 'v' }", "HKCR { %UNKNOWN% }", "HKCR { Key = s '50%' }", deep}) {
        RegistryScriptResult result = ParseRegistryScript(broken, none);
        EXPECT_NE("", result.error) << broken.substr(0, 40);
        EXPECT_TRUE(result.roots.empty()) << broken.substr(0, 40);
    }
}

TEST(RegistryScript, AQuoteInAReplacementStaysInTheQuotedText) {
    RegistryScriptResult result =
        ParseRegistryScript("HKCR { Key = s '%MODULE%' { val Name = s 'it''s %MODULE%' } }",
                            {{"MODULE", "C:\\Users\\O'Neil\\TextaroBar.dll"}});
    ASSERT_EQ("", result.error);
    const RegistryKey& key = result.roots.at(0).subkeys.at(0);
    EXPECT_EQ("C:\\Users\\O'Neil\\TextaroBar.dll", key.defaultValue->data);
    EXPECT_EQ("it's C:\\Users\\O'Neil\\TextaroBar.dll", key.values.at(0).data);
}

} // namespace
