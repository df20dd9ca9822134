#include "band/TextaroBarModule.h"

#include "band/Guids.h"
#include "band/TextaroBarBand.h"
#include "res/resource.h"
#include "win/ClassFactory.h"
#include "win/ComPtr.h"
#include "win/Module.h"
#include "win/RegistryWriter.h"
#include "win/Text.h"

#include <oleauto.h>

#include <map>
#include <string>

namespace {

ClassFactory* bandFactory = nullptr;

std::string GuidText(REFGUID guid) {
    wchar_t wide[40] = {};
    StringFromGUID2(guid, wide, 40);
    return Narrow(wide);
}

HRESULT RunScript(bool registering) {
    const std::map<std::string, std::string> replacements = {
        {"MODULE", Module::FilePath()},
        {"CLSID", GuidText(CLSID_TextaroBarBand)},
        {"LIBID", GuidText(LIBID_TextaroBarLib)},
        {"LABEL", PortalLabel},
    };
    return RunRegistryScript(LoadModuleResourceText(IDR_TEXTAROBARBAND, "REGISTRY"), replacements,
                             registering);
}

const char* BrowserToolbarKey = "SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar";

} // namespace

void TextaroBarModule::Start(HINSTANCE instance) {
    Module::SetInstance(instance);
    bandFactory = new ClassFactory(&TextaroBarBand::Create);
}

void TextaroBarModule::End() {
    delete bandFactory;
    bandFactory = nullptr;
}

HRESULT TextaroBarModule::CanUnloadNow() {
    return Module::LockCount() == 0 ? S_OK : S_FALSE;
}

HRESULT TextaroBarModule::GetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_TextaroBarBand) || !bandFactory) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return bandFactory->QueryInterface(iid, object);
}

HRESULT TextaroBarModule::RegisterServer() {
    if (HRESULT result = RunScript(true); FAILED(result)) {
        return result;
    }
    ComPtr<ITypeLib> library;
    std::wstring path = Widen(Module::FilePath());
    if (HRESULT result = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put()); FAILED(result)) {
        return result;
    }
    return RegisterTypeLib(library.Get(), path.data(), nullptr);
}

HRESULT TextaroBarModule::UnregisterServer() {
    // The browser's toolbar entry goes first, so the browser stops offering the band even
    // when the rest of the unregistration fails.
    HKEY toolbarKey = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, BrowserToolbarKey, &toolbarKey) == ERROR_SUCCESS) {
        RegDeleteValueA(toolbarKey, GuidText(CLSID_TextaroBarBand).c_str());
        RegCloseKey(toolbarKey);
    }
    HRESULT scriptResult = RunScript(false);
    HRESULT libraryResult = UnRegisterTypeLib(LIBID_TextaroBarLib, 1, 0, LOCALE_NEUTRAL,
                                              sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    return FAILED(scriptResult) ? scriptResult : libraryResult;
}
