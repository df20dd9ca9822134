#include "band/TextaroBarModule.h"

// The four entry points of the in-process server; TextaroBar.def exports them by name.
extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        TextaroBarModule::Start(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        TextaroBarModule::End();
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() {
    return TextaroBarModule::CanUnloadNow();
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
    return TextaroBarModule::GetClassObject(clsid, iid, object);
}

STDAPI DllRegisterServer() {
    return TextaroBarModule::RegisterServer();
}

STDAPI DllUnregisterServer() {
    return TextaroBarModule::UnregisterServer();
}
}
