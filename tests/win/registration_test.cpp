#include "band/Guids.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <oleauto.h>

namespace {

const std::string Clsid = GuidText(CLSID_TextaroBarBand);
const std::string Libid = GuidText(LIBID_TextaroBarLib);
const char* ToolbarKey = "SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar";

class Registration : public testing::Test {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override {
        dll.Unregister();
        CoUninitialize();
    }
    ToolbarDll dll;
};

TEST_F(Registration, WritesEveryRowOfTheTable) {
    ASSERT_EQ(S_OK, dll.Register());

    EXPECT_EQ("TextaroBarBand", RegistryText(HKEY_CLASSES_ROOT, "TextaroBar.TextaroBarBand.1"));
    EXPECT_EQ(Clsid, RegistryText(HKEY_CLASSES_ROOT, "TextaroBar.TextaroBarBand.1\\CLSID"));
    EXPECT_EQ("TextaroBarBand", RegistryText(HKEY_CLASSES_ROOT, "TextaroBar.TextaroBarBand"));
    EXPECT_EQ(Clsid, RegistryText(HKEY_CLASSES_ROOT, "TextaroBar.TextaroBarBand\\CLSID"));
    EXPECT_EQ("TextaroBar.TextaroBarBand.1",
              RegistryText(HKEY_CLASSES_ROOT, "TextaroBar.TextaroBarBand\\CurVer"));
    const std::string classKey = "CLSID\\" + Clsid;
    EXPECT_EQ(PortalLabel, RegistryText(HKEY_CLASSES_ROOT, classKey));
    EXPECT_EQ("TextaroBar.TextaroBarBand.1",
              RegistryText(HKEY_CLASSES_ROOT, classKey + "\\ProgID"));
    EXPECT_EQ("TextaroBar.TextaroBarBand",
              RegistryText(HKEY_CLASSES_ROOT, classKey + "\\VersionIndependentProgID"));
    EXPECT_STRCASEEQ(dll.Path().c_str(),
                     RegistryText(HKEY_CLASSES_ROOT, classKey + "\\InprocServer32").c_str());
    EXPECT_EQ("Apartment",
              RegistryText(HKEY_CLASSES_ROOT, classKey + "\\InprocServer32", "ThreadingModel"));
    EXPECT_EQ(Libid, RegistryText(HKEY_CLASSES_ROOT, classKey + "\\TypeLib"));
    EXPECT_EQ(PortalLabel, RegistryText(HKEY_LOCAL_MACHINE, ToolbarKey, Clsid.c_str()));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, "TypeLib\\" + Libid + "\\1.0"));
}

TEST_F(Registration, RegisteringAgainClearsAStaleClassKey) {
    ASSERT_EQ(S_OK, dll.Register());
    HKEY stale = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyA(HKEY_CLASSES_ROOT, ("CLSID\\" + Clsid + "\\Stale").c_str(), &stale));
    RegCloseKey(stale);

    ASSERT_EQ(S_OK, dll.Register());
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + Clsid + "\\Stale"));
}

TEST_F(Registration, UnregisteringRemovesRowsAndKeepsSharedKeys) {
    ASSERT_EQ(S_OK, dll.Register());
    ASSERT_EQ(S_OK, dll.Unregister());

    for (const char* key : {"TextaroBar.TextaroBarBand.1", "TextaroBar.TextaroBarBand"}) {
        EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, key)) << key;
    }
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + Clsid));
    EXPECT_EQ("<missing>", RegistryText(HKEY_LOCAL_MACHINE, ToolbarKey, Clsid.c_str()));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "TypeLib\\" + Libid));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, "CLSID"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, ToolbarKey));
}

TEST_F(Registration, ToolbarValueGoesEvenWhenTheRestOfUnregistrationFails) {
    ASSERT_EQ(S_OK, dll.Register());
    // Without its type-library registration the unregistration cannot complete.
    ASSERT_EQ(S_OK, UnRegisterTypeLib(LIBID_TextaroBarLib, 1, 0, LOCALE_NEUTRAL,
                                      sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32));

    EXPECT_TRUE(FAILED(dll.Unregister()));
    EXPECT_EQ("<missing>", RegistryText(HKEY_LOCAL_MACHINE, ToolbarKey, Clsid.c_str()));
}

TEST_F(Registration, TypeLibraryDescribesTheBandClass) {
    wchar_t path[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, dll.Path().c_str(), -1, path, MAX_PATH);
    ITypeLib* library = nullptr;
    ASSERT_EQ(S_OK, LoadTypeLibEx(path, REGKIND_NONE, &library));
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(LIBID_TextaroBarLib, attributes->guid));
    EXPECT_EQ(1, attributes->wMajorVerNum);
    library->ReleaseTLibAttr(attributes);
    ITypeInfo* coclass = nullptr;
    EXPECT_EQ(S_OK, library->GetTypeInfoOfGuid(CLSID_TextaroBarBand, &coclass));
    if (coclass) {
        coclass->Release();
    }
    library->Release();
}

} // namespace
