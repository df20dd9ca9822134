#include "band/Guids.h"
#include "host/BrowserSite.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// An aggregating object: counts the references the band hands over to it.
class Outer final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    ULONG references = 1;
};

class Band : public testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        ASSERT_EQ(S_OK, dll.GetClassObject(CLSID_TextaroBarBand, IID_IClassFactory,
                                           reinterpret_cast<void**>(&factory)));
        frame = CreateWindowExA(0, "STATIC", "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1200,
                                200, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        if (band) {
            band->Release();
        }
        if (factory) {
            factory->Release();
        }
        DestroyWindow(frame);
        DeleteFileA(SettingsPath().c_str());
        CoUninitialize();
    }

    std::string SettingsPath() const { return dll.Folder() + "\\settings.ini"; }

    template <class T> T* As(REFIID iid) {
        T* result = nullptr;
        band->QueryInterface(iid, reinterpret_cast<void**>(&result));
        if (result) {
            result->Release();
        }
        return result;
    }

    void CreateBand() {
        ASSERT_EQ(S_OK,
                  factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&band)));
    }

    // Creates the band and sites it in a window of its own, as the browser does.
    HWND SitedToolbar() {
        CreateBand();
        site = new BrowserSite(frame, nullptr);
        HRESULT result =
            As<IObjectWithSite>(IID_IObjectWithSite)->SetSite(static_cast<IInputObjectSite*>(site));
        site->Release();
        EXPECT_EQ(S_OK, result);
        HWND toolbar = nullptr;
        As<IDeskBand>(IID_IDeskBand)->GetWindow(&toolbar);
        EXPECT_NE(nullptr, toolbar);
        SetParent(toolbar, frame);
        return toolbar;
    }

    static std::vector<HWND> Controls(HWND toolbar) {
        std::vector<HWND> children;
        for (HWND child = GetWindow(toolbar, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            children.push_back(child);
        }
        return children;
    }

    static HWND ControlOfClass(HWND toolbar, const char* className, int index = 0) {
        for (HWND child : Controls(toolbar)) {
            char name[64] = {};
            GetClassNameA(child, name, sizeof name);
            if (lstrcmpiA(name, className) == 0 && index-- == 0) {
                return child;
            }
        }
        return nullptr;
    }

    ToolbarDll dll;
    IClassFactory* factory = nullptr;
    IUnknown* band = nullptr;
    BrowserSite* site = nullptr;
    HWND frame = nullptr;
};

TEST_F(Band, ClassFactoryCreatesPlainAndAggregatedObjects) {
    EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IUnknown, nullptr));

    Outer outer;
    IUnknown* refused = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION,
              factory->CreateInstance(&outer, IID_IDeskBand, reinterpret_cast<void**>(&refused)));
    EXPECT_EQ(nullptr, refused);

    IUnknown* inner = nullptr;
    ASSERT_EQ(S_OK,
              factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)));
    IDeskBand* deskBand = nullptr;
    ASSERT_EQ(S_OK, inner->QueryInterface(IID_IDeskBand, reinterpret_cast<void**>(&deskBand)));
    // The interfaces of an aggregated band count on the outer object.
    EXPECT_EQ(2u, outer.references);
    deskBand->Release();
    EXPECT_EQ(1u, outer.references);
    EXPECT_EQ(0u, inner->Release());
}

TEST_F(Band, ModuleStaysLoadedWhileABandLivesOrALockIsHeld) {
    EXPECT_EQ(S_FALSE, dll.CanUnloadNow()) << "a held class factory keeps the module";
    factory->Release();
    factory = nullptr;
    EXPECT_EQ(S_OK, dll.CanUnloadNow());

    ASSERT_EQ(S_OK, dll.GetClassObject(CLSID_TextaroBarBand, IID_IClassFactory,
                                       reinterpret_cast<void**>(&factory)));
    CreateBand();
    factory->Release();
    factory = nullptr;
    EXPECT_EQ(S_FALSE, dll.CanUnloadNow());
    band->Release();
    band = nullptr;
    EXPECT_EQ(S_OK, dll.CanUnloadNow());

    ASSERT_EQ(S_OK, dll.GetClassObject(CLSID_TextaroBarBand, IID_IClassFactory,
                                       reinterpret_cast<void**>(&factory)));
    factory->LockServer(TRUE);
    factory->Release();
    factory = nullptr;
    EXPECT_EQ(S_FALSE, dll.CanUnloadNow());
    ASSERT_EQ(S_OK, dll.GetClassObject(CLSID_TextaroBarBand, IID_IClassFactory,
                                       reinterpret_cast<void**>(&factory)));
    factory->LockServer(FALSE);
    factory->Release();
    factory = nullptr;
    EXPECT_EQ(S_OK, dll.CanUnloadNow());
}

TEST_F(Band, AnswersItsFiveInterfacesOnly) {
    CreateBand();
    for (REFIID iid : {IID_IObjectWithSite, IID_IInputObject, IID_IDeskBand, IID_IOleWindow,
                       IID_IDockingWindow}) {
        IUnknown* answer = nullptr;
        EXPECT_EQ(S_OK, band->QueryInterface(iid, reinterpret_cast<void**>(&answer)));
        if (answer) {
            answer->Release();
        }
    }
    for (REFIID iid : {IID_IDispatch, IID_ITextaroBarBand, IID_IPersistStream}) {
        IUnknown* answer = reinterpret_cast<IUnknown*>(1);
        EXPECT_EQ(E_NOINTERFACE, band->QueryInterface(iid, reinterpret_cast<void**>(&answer)));
        EXPECT_EQ(nullptr, answer);
    }
    EXPECT_EQ(static_cast<IUnknown*>(As<IObjectWithSite>(IID_IObjectWithSite)), band);
}

TEST_F(Band, BandInfoFillsOnlyWhatIsAsked) {
    CreateBand();
    IDeskBand* deskBand = As<IDeskBand>(IID_IDeskBand);
    EXPECT_EQ(E_INVALIDARG, deskBand->GetBandInfo(0, 0, nullptr));

    struct Case {
        DWORD bit;
        POINTL DESKBANDINFO::*field;
        POINTL expected;
    };
    const Case cases[] = {
        {DBIM_MINSIZE, &DESKBANDINFO::ptMinSize, {725, 25}},
        {DBIM_MAXSIZE, &DESKBANDINFO::ptMaxSize, {-1, 25}},
        {DBIM_INTEGRAL, &DESKBANDINFO::ptIntegral, {1, 1}},
        {DBIM_ACTUAL, &DESKBANDINFO::ptActual, {990, 25}},
    };
    for (const Case& c : cases) {
        DESKBANDINFO info;
        memset(&info, 0x55, sizeof info);
        DESKBANDINFO untouched = info;
        info.dwMask = c.bit;
        ASSERT_EQ(S_OK, deskBand->GetBandInfo(0, 0, &info));
        EXPECT_EQ(c.expected.x, (info.*c.field).x) << c.bit;
        EXPECT_EQ(c.expected.y, (info.*c.field).y) << c.bit;
        (info.*c.field) = (untouched.*c.field);
        info.dwMask = untouched.dwMask;
        EXPECT_EQ(0, memcmp(&info, &untouched, sizeof info)) << "bit " << c.bit;
    }

    DESKBANDINFO info;
    memset(&info, 0x55, sizeof info);
    info.dwMask = DBIM_MODEFLAGS | DBIM_TITLE | DBIM_BKCOLOR;
    ASSERT_EQ(S_OK, deskBand->GetBandInfo(0, 0, &info));
    EXPECT_EQ(0x108u, info.dwModeFlags);
    EXPECT_EQ(static_cast<DWORD>(DBIM_MODEFLAGS | DBIM_TITLE), info.dwMask);
    EXPECT_EQ(0x5555, info.wszTitle[0]);
}

TEST_F(Band, SitingNeedsAWindow) {
    CreateBand();
    HWND window = reinterpret_cast<HWND>(1);
    EXPECT_EQ(S_OK, As<IDeskBand>(IID_IDeskBand)->GetWindow(&window));
    EXPECT_EQ(nullptr, window) << "no window before the band is sited";

    auto* windowless = new BrowserSite(nullptr, nullptr);
    EXPECT_EQ(E_FAIL, As<IObjectWithSite>(IID_IObjectWithSite)
                          ->SetSite(static_cast<IInputObjectSite*>(windowless)));
    IInputObjectSite* kept = nullptr;
    EXPECT_EQ(S_OK, As<IObjectWithSite>(IID_IObjectWithSite)
                        ->GetSite(IID_IInputObjectSite, reinterpret_cast<void**>(&kept)));
    if (kept) {
        kept->Release();
    }
    windowless->Release();
    EXPECT_EQ(S_OK, As<IDeskBand>(IID_IDeskBand)->GetWindow(&window));
    EXPECT_EQ(nullptr, window);
}

TEST_F(Band, CloseHidesAndShowShowsAgain) {
    HWND toolbar = SitedToolbar();
    IDeskBand* deskBand = As<IDeskBand>(IID_IDeskBand);
    ASSERT_EQ(S_OK, deskBand->ShowDW(TRUE));
    EXPECT_TRUE(IsWindowVisible(toolbar));
    ASSERT_EQ(S_OK, deskBand->CloseDW(0));
    EXPECT_FALSE(IsWindowVisible(toolbar));
    EXPECT_TRUE(IsWindow(toolbar));
    ASSERT_EQ(S_OK, deskBand->ShowDW(TRUE));
    EXPECT_TRUE(IsWindowVisible(toolbar));
}

TEST_F(Band, HasFocusWhileABoxHasTheFocusOrItsListIsOpen) {
    HWND toolbar = SitedToolbar();
    As<IDeskBand>(IID_IDeskBand)->ShowDW(TRUE);
    IInputObject* input = As<IInputObject>(IID_IInputObject);
    SetFocus(frame);
    EXPECT_EQ(S_FALSE, input->HasFocusIO());

    ASSERT_EQ(S_OK, input->UIActivateIO(TRUE, nullptr));
    HWND messageEdit = reinterpret_cast<HWND>(
        SendMessageA(ControlOfClass(toolbar, WC_COMBOBOXEXA, 0), CBEM_GETEDITCONTROL, 0, 0));
    EXPECT_EQ(messageEdit, GetFocus());
    EXPECT_EQ(S_OK, input->HasFocusIO());

    SetFocus(frame);
    EXPECT_EQ(S_FALSE, input->HasFocusIO());
    HWND recipientCombo = reinterpret_cast<HWND>(
        SendMessageA(ControlOfClass(toolbar, WC_COMBOBOXEXA, 1), CBEM_GETCOMBOCONTROL, 0, 0));
    SendMessageA(recipientCombo, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_EQ(S_OK, input->HasFocusIO());
    SendMessageA(recipientCombo, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(Band, KeysReachTheFocusedBoxExceptTab) {
    HWND toolbar = SitedToolbar();
    IInputObject* input = As<IInputObject>(IID_IInputObject);
    input->UIActivateIO(TRUE, nullptr);
    HWND edit = GetFocus();

    // A Tab press moves on to the recipient box; its release is left to the browser.
    MSG tab{edit, WM_KEYUP, VK_TAB, 0, 0, {0, 0}};
    EXPECT_EQ(S_FALSE, input->TranslateAcceleratorIO(&tab));
    MSG letter{edit, WM_CHAR, 'a', 0, 0, {0, 0}};
    EXPECT_EQ(S_OK, input->TranslateAcceleratorIO(&letter));
    char text[16] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ("a", text);

    SetFocus(frame);
    EXPECT_EQ(S_FALSE, input->TranslateAcceleratorIO(&letter)) << "not the toolbar's key";
    EXPECT_NE(nullptr, toolbar);
}

TEST_F(Band, MessageBoxTakesTheWidthTheOtherSlotsLeave) {
    HWND toolbar = SitedToolbar();
    HWND messageBox = ControlOfClass(toolbar, WC_COMBOBOXEXA, 0);
    for (int width : {900, 1000}) {
        SetWindowPos(toolbar, nullptr, 0, 0, width, 25, SWP_NOZORDER | SWP_NOMOVE);
        RECT slot{};
        SendMessageA(toolbar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&slot));
        EXPECT_EQ(width - 610, slot.right - slot.left) << width;
        RECT box{};
        GetWindowRect(messageBox, &box);
        MapWindowPoints(nullptr, toolbar, reinterpret_cast<POINT*>(&box), 2);
        EXPECT_EQ(slot.left, box.left);
        EXPECT_EQ(slot.right - slot.left, box.right - box.left);
    }
}

TEST_F(Band, CreditLabelCentresOneLineAndWrapsALongText) {
    HWND toolbar = SitedToolbar();
    HWND credit = ControlOfClass(toolbar, "Static", 1);
    ASSERT_NE(nullptr, credit);
    SetWindowTextA(credit, "125.50 Kč");
    EXPECT_TRUE(GetWindowLongA(credit, GWL_STYLE) & SS_CENTERIMAGE);
    SetWindowTextA(credit, "Kredit nelze zjistit, zkuste to znovu");
    EXPECT_FALSE(GetWindowLongA(credit, GWL_STYLE) & SS_CENTERIMAGE);
    char text[64] = {};
    GetWindowTextA(credit, text, sizeof text);
    EXPECT_STREQ("Kredit nelze zjistit, zkuste to znovu", text);
}

TEST_F(Band, ButtonsHaveTheirTips) {
    HWND toolbar = SitedToolbar();
    auto tipFor = [&](UINT_PTR button) {
        NMTTDISPINFOA request{};
        request.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
        request.hdr.idFrom = button;
        request.hdr.code = TTN_NEEDTEXTA;
        request.lpszText = const_cast<char*>("unchanged");
        SendMessageA(toolbar, WM_NOTIFY, button, reinterpret_cast<LPARAM>(&request));
        return std::string(request.lpszText);
    };
    EXPECT_EQ("Hlavní nabídka Textaro", tipFor(0));
    EXPECT_EQ("Text zprávy v rozšířeném pohledu", tipFor(2));
    EXPECT_EQ("Výběr příjemce, úprava kontaktů", tipFor(5));
    EXPECT_EQ("Nastavit datum a čas odeslání zprávy", tipFor(7));
    EXPECT_EQ("Odeslat zprávu na zadaná tel. čísla", tipFor(8));
    EXPECT_EQ("unchanged", tipFor(3)) << "a control's place has no tip";
}

TEST_F(Band, ReceiptSwitchFollowsTheSettings) {
    WriteFile(SettingsPath(), "[SETTINGS]\r\nAutoRecack=1\r\nEmail=\r\n");
    HWND greyed = ControlOfClass(SitedToolbar(), "Button");
    EXPECT_EQ(BST_CHECKED, SendMessageA(greyed, BM_GETCHECK, 0, 0));
    EXPECT_FALSE(IsWindowEnabled(greyed)) << "no address for the receipt";
    char caption[32] = {};
    GetWindowTextA(greyed, caption, sizeof caption);
    EXPECT_STREQ("doručenka", caption);

    band->Release();
    band = nullptr;
    WriteFile(SettingsPath(), "[SETTINGS]\r\nAutoRecack=0\r\nEmail=jana@example.cz\r\n");
    HWND enabled = ControlOfClass(SitedToolbar(), "Button");
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(enabled, BM_GETCHECK, 0, 0));
    EXPECT_TRUE(IsWindowEnabled(enabled));
}

} // namespace
