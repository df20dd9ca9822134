#include "band/Guids.h"
#include "tests/win/TestSupport.h"
#include "toolbar/ToolbarSlots.h"
#include "win/Handles.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

using Band = ToolbarTest;

// The browser's questions to a band before it places it (the stand-in asks them too). An outer
// object (the stand-in's site, which counts its references) gets only the inner unknown, and the
// band's interfaces count on it; the module stays loaded while a factory, a band or a lock lives.
TEST_F(Band, AnswersItsFiveInterfacesOnlyCountsOnTheOuterAndStaysLoadedWhileUsed) {
    ComPtr<IClassFactory> factory;
    ComPtr<IUnknown> band;
    ASSERT_EQ(S_OK, dll.GetClassObject(CLSID_TextaroBarBand, IID_IClassFactory, factory.PutVoid()));
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IUnknown, band.PutVoid()));
    for (REFIID iid : {IID_IObjectWithSite, IID_IInputObject, IID_IDeskBand, IID_IOleWindow,
                       IID_IDockingWindow}) {
        EXPECT_TRUE(Query<IUnknown>(band.Get(), iid));
    }
    for (REFIID iid : {IID_IDispatch, IID_ITextaroBarBand, IID_IPersistStream}) {
        IUnknown* answer = reinterpret_cast<IUnknown*>(1);
        EXPECT_EQ(E_NOINTERFACE, band->QueryInterface(iid, reinterpret_cast<void**>(&answer)));
        EXPECT_EQ(nullptr, answer);
    }
    auto deskBand = Query<IDeskBand>(band.Get(), IID_IDeskBand);
    EXPECT_EQ(E_INVALIDARG, deskBand->GetBandInfo(0, 0, nullptr));
    DESKBANDINFO info;
    std::memset(&info, 0x55, sizeof info);
    DESKBANDINFO expected = info;
    info.dwMask = DBIM_MINSIZE | DBIM_ACTUAL | DBIM_MODEFLAGS | DBIM_TITLE | DBIM_BKCOLOR;
    ASSERT_EQ(S_OK, deskBand->GetBandInfo(0, 0, &info));
    expected.dwMask = DBIM_MINSIZE | DBIM_ACTUAL | DBIM_MODEFLAGS | DBIM_TITLE;
    expected.ptMinSize = {725, 25};
    expected.ptActual = {990, 25};
    expected.dwModeFlags = DBIMF_VARIABLEHEIGHT | DBIMF_BREAK;
    EXPECT_EQ(0, std::memcmp(&expected, &info, sizeof info)) << "no title, no colour of its own";

    auto* windowless = new BrowserSite(nullptr, nullptr);
    EXPECT_EQ(E_FAIL, Query<IObjectWithSite>(band.Get(), IID_IObjectWithSite)
                          ->SetSite(static_cast<IInputObjectSite*>(windowless)));
    EXPECT_EQ(0u, windowless->Release()) << "a refused site is not kept";
    HWND window = reinterpret_cast<HWND>(1);
    EXPECT_EQ(S_OK, deskBand->GetWindow(&window));
    EXPECT_EQ(nullptr, window) << "no window without a windowed site";

    IUnknown* outer = static_cast<IInputObjectSite*>(new BrowserSite(nullptr, nullptr));
    IUnknown* inner = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION,
              factory->CreateInstance(outer, IID_IDeskBand, reinterpret_cast<void**>(&inner)));
    EXPECT_EQ(nullptr, inner);
    ASSERT_EQ(S_OK, factory->CreateInstance(outer, IID_IUnknown, reinterpret_cast<void**>(&inner)));
    deskBand = Query<IDeskBand>(inner, IID_IDeskBand);
    EXPECT_EQ(3u, outer->AddRef()) << "ours, the interface's and this one";
    deskBand.Reset();
    EXPECT_EQ(1u, outer->Release());
    EXPECT_EQ(0u, inner->Release());
    outer->Release();
    EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IUnknown, nullptr));
    factory.Reset();
    EXPECT_EQ(S_FALSE, dll.Call("DllCanUnloadNow")) << "a band keeps the module";
    band.Reset();
    EXPECT_EQ(S_OK, dll.Call("DllCanUnloadNow"));
    for (BOOL lock : {TRUE, FALSE}) {
        ASSERT_EQ(S_OK,
                  dll.GetClassObject(CLSID_TextaroBarBand, IID_IClassFactory, factory.PutVoid()));
        EXPECT_EQ(S_FALSE, dll.Call("DllCanUnloadNow")) << "a held class factory keeps the module";
        factory->LockServer(lock);
        factory.Reset();
        EXPECT_EQ(lock ? S_FALSE : S_OK, dll.Call("DllCanUnloadNow")) << "lock " << lock;
    }
}

TEST_F(Band, FocusAndKeysAreTheToolbarsWhileABoxHasTheFocusAndClosingTheBrowserEndsIt) {
    Open();
    IInputObject* input = browser->Input();
    // A Tab press moves on to the recipient box; its release is left to the browser.
    MSG tab{messageEdit, WM_KEYUP, VK_TAB, 0, 0, {0, 0}};
    EXPECT_EQ(S_FALSE, input->TranslateAcceleratorIO(&tab));
    MSG letter{messageEdit, WM_CHAR, 'a', 0, 0, {0, 0}};
    EXPECT_EQ(S_OK, input->TranslateAcceleratorIO(&letter));
    EXPECT_EQ("a", WindowText(messageEdit));

    SetFocus(browser->Frame());
    EXPECT_EQ(S_FALSE, input->HasFocusIO());
    EXPECT_EQ(S_FALSE, input->TranslateAcceleratorIO(&letter)) << "not the toolbar's key";
    EXPECT_EQ("a", WindowText(messageEdit)) << "and the toolbar does not type it either";
    const HWND recipients = browser->Child(WC_COMBOBOXEXA, 1);
    SendMessageA(recipients, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_EQ(S_OK, input->HasFocusIO()) << "the list is open";

    HWND toolbar = browser->Toolbar();
    auto deskBand = Query<IDeskBand>(input, IID_IDeskBand);
    ASSERT_EQ(S_OK, deskBand->CloseDW(0));
    EXPECT_FALSE(IsWindowVisible(toolbar));
    EXPECT_TRUE(IsWindow(toolbar));
    ASSERT_EQ(S_OK, deskBand->ShowDW(TRUE));
    EXPECT_TRUE(IsWindowVisible(toolbar));
    PostMessageA(browser->Frame(), WM_CLOSE, 0, 0);
    PumpMessages(100);
    EXPECT_FALSE(IsWindow(toolbar)) << "closing the browser window takes the toolbar along";
}

// Run at 120, 144 and 192 dpi too (scripts/at-dpi.sh): the band's sizes and the slots are the
// 96-dpi ones times the scale, the message box taking the rest of the width; each text fits its
// control but for the last line's descent (no letter of these texts reaches below the line); the
// switch's box, 13 pixels at 96 dpi, and half a digit come before its text. Prints what it saw, a
// line a scale. The receipt box's enabling and label are settings_test's and the host script's.
TEST_F(Band, SizesAndTextsFollowTheDisplayScale) {
    const int dpi = std::getenv("TEXTARO_DPI") ? std::atoi(std::getenv("TEXTARO_DPI")) : 96;
    ASSERT_EQ(dpi, GetDeviceCaps(WindowDc(nullptr).Get(), LOGPIXELSY)) << "run at another scale";
    const auto scaled = [dpi](int size) { return MulDiv(size, dpi, 96); };
    for (const int receipt : {BST_UNCHECKED, BST_CHECKED}) {
        OpenSignedIn("", "jana",
                     "Email=jana@example.cz\r\nAutoRecack=" + std::to_string(receipt) + "\r\n");
        EXPECT_EQ(receipt, SendMessageA(browser->Child("Button"), BM_GETCHECK, 0, 0)) << receipt;
    }
    DESKBANDINFO info{};
    info.dwMask = DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_ACTUAL;
    ASSERT_EQ(S_OK, Query<IDeskBand>(browser->Input(), IID_IDeskBand)->GetBandInfo(0, 0, &info));
    EXPECT_EQ(std::tuple(scaled(725), scaled(990), scaled(25), scaled(25), scaled(25)),
              std::tuple(info.ptMinSize.x, info.ptActual.x, info.ptMinSize.y, info.ptMaxSize.y,
                         info.ptActual.y));

    HWND toolbar = browser->Toolbar();
    std::printf("dpi %d: band %ldx%ld, ideal %ld; slots", dpi, info.ptMinSize.x, info.ptMinSize.y,
                info.ptActual.x);
    for (const LONG width : {info.ptActual.x - 90, info.ptActual.x}) {
        SetWindowPos(toolbar, nullptr, 0, 0, width, info.ptActual.y, SWP_NOMOVE);
        LONG rest = width;
        RECT slot{}, box{};
        for (int i = 0; i < static_cast<int>(ToolbarSlots.size()); ++i) {
            SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&slot));
            std::printf(" %ld", slot.right - slot.left);
            rest -= slot.right - slot.left;
            EXPECT_TRUE(i == MessageSlot || scaled(ToolbarSlots[i].width) == slot.right - slot.left)
                << i;
        }
        SendMessageA(toolbar, TB_GETITEMRECT, MessageSlot, reinterpret_cast<LPARAM>(&slot));
        GetWindowRect(browser->Child(WC_COMBOBOXEXA, 0), &box);
        MapWindowPoints(nullptr, toolbar, reinterpret_cast<POINT*>(&box), 2);
        EXPECT_EQ(std::tuple(0, slot.left, slot.right), std::tuple(rest, box.left, box.right))
            << "the message box takes the rest of " << width;
    }
    browser->Type(std::string(300, 'a'), "");
    SetWindowTextA(credit, "1250.50 Kč");
    for (HWND label : {counter, browser->Child("Button"), credit}) {
        WindowDc dc(label);
        SelectedObject font(dc.Get(),
                            reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
        const std::string text = WindowText(label);
        RECT needed{0, 0, 1024, 1024}, room{};
        DrawTextA(dc.Get(), text.c_str(), -1, &needed,
                  DT_CALCRECT | (label == counter ? 0 : DT_SINGLELINE));
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc.Get(), &metrics);
        needed.bottom -= metrics.tmDescent;
        SIZE digit{};
        GetTextExtentPoint32A(dc.Get(), "0", 1, &digit);
        needed.right += label == credit || label == counter ? 0 : scaled(13) + digit.cx / 2;
        GetClientRect(label, &room);
        EXPECT_TRUE(needed.right <= room.right && needed.bottom <= room.bottom) << text;
        std::printf(" | %ldx%ld in %ldx%ld", needed.right, needed.bottom, room.right, room.bottom);
    }
    std::printf(" (counter, switch, credit)\n");
    EXPECT_TRUE(GetWindowLongA(credit, GWL_STYLE) & SS_CENTERIMAGE) << "one line centred";
    SetWindowTextA(credit, "Kredit nelze zjistit, zkuste to znovu");
    EXPECT_FALSE(GetWindowLongA(credit, GWL_STYLE) & SS_CENTERIMAGE) << "a long text wraps";
}

// The tips show as the mouse rests on a button, the tooltip control asking as in the browser.
TEST_F(Band, ButtonsShowTheirTipsUnderTheMouse) {
    Open();
    HWND toolbar = browser->Toolbar();
    HWND tooltip = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
    const std::pair<int, std::string> tips[] = {{0, "Hlavní nabídka Textaro"},
                                                {2, "Text zprávy v rozšířeném pohledu"},
                                                {5, "Výběr příjemce, úprava kontaktů"},
                                                {7, "Nastavit datum a čas odeslání zprávy"},
                                                {8, "Odeslat zprávu na zadaná tel. čísla"},
                                                {3, ""}};
    for (const auto& [button, tip] : tips) {
        RECT rect{};
        SendMessageA(toolbar, TB_GETITEMRECT, button, reinterpret_cast<LPARAM>(&rect));
        POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(toolbar, &centre);
        SetCursorPos(centre.x, centre.y - 1);
        PumpMessages(100);
        SetCursorPos(centre.x, centre.y);
        Serve([&] { return IsWindowVisible(tooltip) != FALSE; }, 1250);
        EXPECT_EQ(tip, IsWindowVisible(tooltip) ? WindowText(tooltip) : "") << button;
        SetCursorPos(0, 500);
        PumpMessages(300);
    }
}
