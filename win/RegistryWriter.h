#pragma once

#include "win/RegistryScript.h"

#include <windows.h>

#include <map>
#include <string>

// Applies a registration script to the registry. Registering creates every key and value
// (ForceRemove keys are cleared first); unregistering removes every key not marked NoRemove
// and the named values listed under NoRemove keys. Keys already gone are not an error.
HRESULT RunRegistryScript(const std::string& script,
                          const std::map<std::string, std::string>& replacements, bool registering);

// The text of a resource of the module, such as the "REGISTRY" script.
std::string LoadModuleResourceText(int id, const char* type);
