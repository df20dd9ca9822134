// The registration script: any text parses or is refused with a reason, and a replacement put
// into quoted text comes out as the value's data byte for byte, quotes and all.
#include "fuzz_check.h"
#include "win/RegistryScript.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::map<std::string, std::string> replacements{
        {"MODULE", input.ConsumeRandomLengthString()}, {"CLSID", "{1-2}"}};
    const std::string script = input.ConsumeRemainingBytesAsString();

    const RegistryScriptResult any = ParseRegistryScript(script, replacements);
    Require(any.error.empty() || any.roots.empty(), "a refused script yields no keys");
    for (const RegistryKey& root : any.roots) {
        Require(root.removal == RegistryKey::Removal::NoRemove, "roots are never removed");
    }

    const RegistryScriptResult placed = ParseRegistryScript(
        "HKCR { NoRemove CLSID { ForceRemove %CLSID% { val Path = s '%MODULE%' } } }",
        replacements);
    Require(placed.error.empty() && placed.roots.size() == 1, "the fixed script parses");
    const RegistryKey& key = placed.roots[0].subkeys.at(0).subkeys.at(0);
    Require(key.name == "{1-2}" && key.values.size() == 1, "the key keeps its name and value");
    Require(key.values[0].data == replacements.at("MODULE"), "a replaced value comes out whole");
    return 0;
}
