#include "band/Guids.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <oleauto.h>

namespace {

std::string GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return Narrow(text);
}

const std::string Clsid = GuidText(CLSID_TextaroBarBand);
const std::string Libid = GuidText(LIBID_TextaroBarLib);
const std::string ClassKey = "CLSID\\" + Clsid;
const char* ToolbarKey = "SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar";

// Text of a registry value, or "<missing>" when the key or value is absent.
std::string RegistryText(HKEY root, const std::string& key, const char* value = nullptr) {
    char data[1024] = {};
    DWORD size = sizeof data;
    LONG status = RegGetValueA(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size);
    return status == ERROR_SUCCESS ? std::string(data) : std::string("<missing>");
}

bool KeyExists(HKEY root, const std::string& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(opened);
    return true;
}

class Registration : public testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        ASSERT_EQ(S_OK, dll.Call("DllRegisterServer"));
    }
    void TearDown() override {
        dll.Call("DllUnregisterServer");
        CoUninitialize();
    }
    ToolbarDll dll;
};

// Every row and its removal through regsvr32 are checked by scripts/check-registration.sh; here
// what that check cannot see.
TEST_F(Registration, PointsAtThisModuleAndRegistersTheTypeLibrary) {
    EXPECT_STRCASEEQ(dll.Path().c_str(),
                     RegistryText(HKEY_CLASSES_ROOT, ClassKey + "\\InprocServer32").c_str());
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "TypeLib\\" + Libid + "\\1.0"));
}

TEST_F(Registration, RegisteringAgainClearsAStaleClassKey) {
    HKEY stale = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyA(HKEY_CLASSES_ROOT, (ClassKey + "\\Stale").c_str(), &stale));
    RegCloseKey(stale);
    ASSERT_EQ(S_OK, dll.Call("DllRegisterServer"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ClassKey + "\\Stale"));
}

TEST_F(Registration, ToolbarValueGoesEvenWhenTheRestOfUnregistrationFails) {
    // Without its type-library registration the unregistration cannot complete.
    ASSERT_EQ(S_OK, UnRegisterTypeLib(LIBID_TextaroBarLib, 1, 0, LOCALE_NEUTRAL,
                                      sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32));
    EXPECT_TRUE(FAILED(dll.Call("DllUnregisterServer")));
    EXPECT_EQ("<missing>", RegistryText(HKEY_LOCAL_MACHINE, ToolbarKey, Clsid.c_str()));
}

TEST_F(Registration, TypeLibraryDescribesTheBandClass) {
    ComPtr<ITypeLib> library;
    ASSERT_EQ(S_OK, LoadTypeLibEx(Widen(dll.Path()).c_str(), REGKIND_NONE, library.Put()));
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(LIBID_TextaroBarLib, attributes->guid));
    EXPECT_EQ(1, attributes->wMajorVerNum);
    library->ReleaseTLibAttr(attributes);
    ComPtr<ITypeInfo> coclass;
    EXPECT_EQ(S_OK, library->GetTypeInfoOfGuid(CLSID_TextaroBarBand, coclass.Put()));
}

} // namespace
