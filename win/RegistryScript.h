#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The registration script of the module: a tree of keys with default and named values,
// written in the usual registrar notation, for example
//
//   HKCR { NoRemove CLSID { ForceRemove %CLSID% = s 'Label' { val ThreadingModel = s 'x' } } }
//
// Parsing is kept apart from the registry so the notation can be checked anywhere.
struct RegistryValue {
    std::string name; // empty for the key's default value
    char type = 's';  // 's' text, 'd' 32-bit number
    std::string data;
};

struct RegistryKey {
    enum class Removal { Normal, NoRemove, ForceRemove, Delete };

    Removal removal = Removal::Normal;
    std::string name;
    std::optional<RegistryValue> defaultValue;
    std::vector<RegistryValue> values;
    std::vector<RegistryKey> subkeys;
};

struct RegistryScriptResult {
    std::vector<RegistryKey> roots; // top-level keys such as HKCR and HKLM, never removed
    std::string error;              // empty when the script parsed
};

// Puts each %NAME% of the replacements in ("%%" stands for one "%"; inside quoted text a
// quote of the value is doubled) and parses the result.
RegistryScriptResult ParseRegistryScript(std::string_view script,
                                         const std::map<std::string, std::string>& replacements);
