#include "win/RegistryWriter.h"

#include "win/Module.h"

#include <cstdlib>

namespace {

HKEY RootKey(const std::string& name) {
    static const std::map<std::string, HKEY> roots = {
        {"HKCR", HKEY_CLASSES_ROOT},  {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKLM", HKEY_LOCAL_MACHINE}, {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKCU", HKEY_CURRENT_USER},  {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    };
    auto found = roots.find(name);
    return found == roots.end() ? nullptr : found->second;
}

class OpenKey {
public:
    OpenKey() = default;
    ~OpenKey() {
        if (key) {
            RegCloseKey(key);
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY* Put() { return &key; }
    HKEY Get() const { return key; }

private:
    HKEY key = nullptr;
};

bool IsGone(LONG status) {
    return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

LONG DeleteTree(HKEY parent, const std::string& name) {
    LONG status = RegDeleteTreeA(parent, name.c_str());
    if (status == ERROR_SUCCESS) {
        status = RegDeleteKeyA(parent, name.c_str());
    }
    return IsGone(status) ? ERROR_SUCCESS : status;
}

LONG WriteValue(HKEY key, const RegistryValue& value) {
    const char* name = value.name.empty() ? nullptr : value.name.c_str();
    if (value.type == 'd') {
        DWORD number = static_cast<DWORD>(std::strtoul(value.data.c_str(), nullptr, 0));
        return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                              sizeof number);
    }
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.data.c_str()),
                          static_cast<DWORD>(value.data.size() + 1));
}

LONG Register(HKEY parent, const RegistryKey& key) {
    if (key.removal == RegistryKey::Removal::Delete) {
        return DeleteTree(parent, key.name);
    }
    if (key.removal == RegistryKey::Removal::ForceRemove) {
        if (LONG status = DeleteTree(parent, key.name); status != ERROR_SUCCESS) {
            return status;
        }
    }
    OpenKey opened;
    LONG status = RegCreateKeyExA(parent, key.name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  opened.Put(), nullptr);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (key.defaultValue) {
        if ((status = WriteValue(opened.Get(), *key.defaultValue)) != ERROR_SUCCESS) {
            return status;
        }
    }
    for (const RegistryValue& value : key.values) {
        if ((status = WriteValue(opened.Get(), value)) != ERROR_SUCCESS) {
            return status;
        }
    }
    for (const RegistryKey& subkey : key.subkeys) {
        if ((status = Register(opened.Get(), subkey)) != ERROR_SUCCESS) {
            return status;
        }
    }
    return ERROR_SUCCESS;
}

LONG Unregister(HKEY parent, const RegistryKey& key) {
    if (key.removal != RegistryKey::Removal::NoRemove) {
        return DeleteTree(parent, key.name);
    }
    OpenKey opened;
    LONG status = RegOpenKeyExA(parent, key.name.c_str(), 0, KEY_ALL_ACCESS, opened.Put());
    if (status != ERROR_SUCCESS) {
        return IsGone(status) ? ERROR_SUCCESS : status;
    }
    LONG result = ERROR_SUCCESS;
    for (const RegistryValue& value : key.values) {
        status = RegDeleteValueA(opened.Get(), value.name.c_str());
        if (status != ERROR_SUCCESS && !IsGone(status)) {
            result = status;
        }
    }
    for (const RegistryKey& subkey : key.subkeys) {
        status = Unregister(opened.Get(), subkey);
        if (status != ERROR_SUCCESS) {
            result = status;
        }
    }
    return result;
}

} // namespace

HRESULT RunRegistryScript(const std::string& script,
                          const std::map<std::string, std::string>& replacements,
                          bool registering) {
    RegistryScriptResult parsed = ParseRegistryScript(script, replacements);
    if (!parsed.error.empty()) {
        return E_UNEXPECTED;
    }
    LONG result = ERROR_SUCCESS;
    for (const RegistryKey& root : parsed.roots) {
        HKEY rootKey = RootKey(root.name);
        if (!rootKey) {
            return E_UNEXPECTED;
        }
        for (const RegistryKey& key : root.subkeys) {
            LONG status = registering ? Register(rootKey, key) : Unregister(rootKey, key);
            if (status != ERROR_SUCCESS) {
                if (registering) {
                    return HRESULT_FROM_WIN32(status);
                }
                result = status;
            }
        }
    }
    return HRESULT_FROM_WIN32(result);
}

std::string LoadModuleResourceText(int id, const char* type) {
    HRSRC found = FindResourceA(Module::Instance(), MAKEINTRESOURCEA(id), type);
    HGLOBAL loaded = found ? LoadResource(Module::Instance(), found) : nullptr;
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!data) {
        return {};
    }
    return std::string(data, SizeofResource(Module::Instance(), found));
}
