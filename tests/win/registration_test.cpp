#include "band/Guids.h"
#include "tests/win/TestSupport.h"

std::string GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return Narrow(text);
}

const std::string Clsid = GuidText(CLSID_TextaroBarBand);

// A key without a default value reads as an empty one; a missing key does not read.
bool KeyExists(const std::string& key) {
    return RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), nullptr, nullptr) == ERROR_SUCCESS;
}

// Every row and its removal through regsvr32 are checked by scripts/check-registration.sh; here
// what that check cannot see. The type library's key is made from the library's own attributes,
// so it also vouches for its id and version; registering again clears a stale class key; the
// toolbar value goes even when the rest of the unregistration fails.
TEST(Registration, RegistersTheTypeLibraryClearsAStaleClassKeyAndTheToolbarValueAlwaysGoes) {
    const ToolbarDll dll;
    ASSERT_EQ(S_OK, dll.Call("DllRegisterServer"));
    EXPECT_TRUE(KeyExists("TypeLib\\" + GuidText(LIBID_TextaroBarLib) + "\\1.0"));
    ComPtr<ITypeLib> library;
    ASSERT_EQ(S_OK, LoadTypeLibEx(Widen(dll.Path()).c_str(), REGKIND_NONE, library.Put()));
    ComPtr<ITypeInfo> coclass;
    EXPECT_EQ(S_OK, library->GetTypeInfoOfGuid(CLSID_TextaroBarBand, coclass.Put()));

    const std::string stale = "CLSID\\" + Clsid + "\\Stale";
    ASSERT_EQ(0, RegSetValueA(HKEY_CLASSES_ROOT, stale.c_str(), REG_SZ, "x", 1));
    ASSERT_EQ(S_OK, dll.Call("DllRegisterServer"));
    EXPECT_FALSE(KeyExists(stale));

    const auto toolbarValue = [] {
        return RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar",
                            Clsid.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, nullptr);
    };
    ASSERT_EQ(ERROR_SUCCESS, toolbarValue());
    // Without its type-library registration the unregistration cannot complete.
    ASSERT_EQ(S_OK, UnRegisterTypeLib(LIBID_TextaroBarLib, 1, 0, LOCALE_NEUTRAL,
                                      sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32));
    EXPECT_TRUE(FAILED(dll.Call("DllUnregisterServer")));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, toolbarValue());
}
