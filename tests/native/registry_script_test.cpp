#include "win/RegistryScript.h"

#include <gtest/gtest.h>

// The toolbar's own script, its keys and their removal are checked through regsvr32 by
// scripts/check-registration.sh; here the forms that script does not use.
namespace {

// A user's folder may hold an apostrophe: the replacement stays inside the quoted text.
TEST(RegistryScript, QuotesPercentSignsNumbersAndRemovalMarks) {
    const std::string module = "C:\\Users\\O'Neil\\TextaroBar.dll";
    RegistryScriptResult result =
        ParseRegistryScript("HKCR { NoRemove 'A B' { ForceRemove Key = s '%MODULE%' "
                            "{ val Name = s 'it''s %MODULE% at 5%%' val Count = d '7' } } }",
                            {{"MODULE", module}});
    ASSERT_EQ("", result.error);
    using enum RegistryKey::Removal;
    const RegistryKey& outer = result.roots.at(0).subkeys.at(0);
    const RegistryKey& key = outer.subkeys.at(0);
    EXPECT_EQ(std::tie(outer.name, outer.removal, key.name, key.removal, key.defaultValue->data),
              std::tuple("A B", NoRemove, "Key", ForceRemove, module));
    ASSERT_EQ(2u, key.values.size());
    EXPECT_EQ("it's " + module + " at 5%", key.values[0].data);
    EXPECT_EQ(std::tie(key.values[1].name, key.values[1].type, key.values[1].data),
              std::tuple("Count", 'd', "7"));
}

TEST(RegistryScript, RejectsBrokenScriptsWholesale) {
    std::string deep;
    for (int level = 0; level < 100000; ++level) {
        deep += "K { ";
    }
    for (const std::string& broken : std::initializer_list<std::string>{
             "HKCR { Key = s 'value' ", "HKCR { Key = x 'value' }", "HKCR { Key = s 'open }",
             "HKCR { val = s 'v' }", "HKCR { %UNKNOWN% }", "HKCR { Key = s '50%' }", deep}) {
        RegistryScriptResult result = ParseRegistryScript(broken, {});
        EXPECT_NE("", result.error) << broken.substr(0, 40);
        EXPECT_TRUE(result.roots.empty()) << broken.substr(0, 40);
    }
}

} // namespace
