#include "band/TextaroBarBand.h"

#include "toolbar/ToolbarSlots.h"
#include "win/Dpi.h"
#include "win/Module.h"
#include "win/Text.h"

#include <shlguid.h>

TextaroBarBand::TextaroBarBand(IUnknown* outer)
    : controlling(outer ? outer : &inner), aggregated(outer != nullptr) {
    Module::Lock();
}

TextaroBarBand::~TextaroBarBand() {
    // The browser has moved the toolbar window into its own toolbar area, so it does not go
    // with the reflector: the reflector goes first, so that no notification reaches a toolbar
    // being taken down, and the toolbar member takes its own window down after it.
    reflector.Destroy();
    Module::Unlock();
}

HRESULT TextaroBarBand::Create(IUnknown* outer, REFIID iid, void** object) {
    auto* band = new TextaroBarBand(outer);
    HRESULT result = band->inner.QueryInterface(iid, object);
    band->inner.Release();
    return result;
}

HRESULT TextaroBarBand::InnerUnknown::QueryInterface(REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (IsEqualIID(iid, __uuidof(IUnknown))) {
        // An aggregating object must get the inner unknown; a plain object answers with
        // its first interface, as it does for every other IUnknown query.
        *object =
            band.aggregated ? static_cast<IUnknown*>(this) : static_cast<IObjectWithSite*>(&band);
    } else if (IsEqualIID(iid, __uuidof(IObjectWithSite))) {
        *object = static_cast<IObjectWithSite*>(&band);
    } else if (IsEqualIID(iid, __uuidof(IInputObject))) {
        *object = static_cast<IInputObject*>(&band);
    } else if (IsEqualIID(iid, __uuidof(IDeskBand)) || IsEqualIID(iid, __uuidof(IOleWindow)) ||
               IsEqualIID(iid, __uuidof(IDockingWindow))) {
        *object = static_cast<IDeskBand*>(&band);
    } else {
        return E_NOINTERFACE;
    }
    static_cast<IUnknown*>(*object)->AddRef();
    return S_OK;
}

ULONG TextaroBarBand::InnerUnknown::AddRef() {
    return ++band.references;
}

ULONG TextaroBarBand::InnerUnknown::Release() {
    ULONG count = --band.references;
    if (count == 0) {
        delete &band;
    }
    return count;
}

HRESULT TextaroBarBand::QueryInterface(REFIID iid, void** object) {
    return controlling->QueryInterface(iid, object);
}
ULONG TextaroBarBand::AddRef() {
    return controlling->AddRef();
}
ULONG TextaroBarBand::Release() {
    return controlling->Release();
}

HRESULT TextaroBarBand::SetSite(IUnknown* site) {
    inputObjectSite.Reset();
    if (site) {
        site->QueryInterface(__uuidof(IInputObjectSite), inputObjectSite.PutVoid());
    }
    if (!inputObjectSite) {
        return S_OK;
    }

    siteWindow = nullptr;
    if (ComPtr<IOleWindow> oleWindow = Query<IOleWindow>(site, __uuidof(IOleWindow))) {
        oleWindow->GetWindow(&siteWindow);
    }
    if (!siteWindow) {
        inputObjectSite.Reset(); // a site the band cannot live in is not kept
        return E_FAIL;
    }

    browser.Reset();
    if (auto provider = Query<IServiceProvider>(site, __uuidof(IServiceProvider))) {
        // The browser offers itself as the service named by IWebBrowserApp's identifier.
        provider->QueryService(__uuidof(IWebBrowserApp), __uuidof(IWebBrowser2), browser.PutVoid());
    }

    // A band sited again keeps the windows it already made.
    if (reflector.Exists() || CreateWindows()) {
        return S_OK;
    }
    inputObjectSite.Reset();
    browser.Reset();
    return E_FAIL;
}

bool TextaroBarBand::CreateWindows() {
    RECT rect{};
    GetClientRect(siteWindow, &rect);
    if (!reflector.Create(siteWindow, rect)) {
        return false;
    }
    if (!toolbar.CreateToolbar(rect.left, rect.top, rect.right, rect.bottom, reflector.Handle(),
                               this)) {
        reflector.Destroy();
        return false;
    }
    reflector.SetToolbar(&toolbar);
    return true;
}

HRESULT TextaroBarBand::GetSite(REFIID iid, void** site) {
    if (!site) {
        return E_POINTER;
    }
    *site = nullptr;
    if (!inputObjectSite) {
        return E_FAIL;
    }
    return inputObjectSite->QueryInterface(iid, site);
}

HRESULT TextaroBarBand::UIActivateIO(BOOL activate, MSG*) {
    if (activate) {
        toolbar.FocusMessageBox();
    }
    return S_OK;
}

HRESULT TextaroBarBand::HasFocusIO() {
    return toolbar.HasFocus() ? S_OK : S_FALSE;
}

HRESULT TextaroBarBand::TranslateAcceleratorIO(MSG* message) {
    return toolbar.TranslateKey(message);
}

HRESULT TextaroBarBand::GetWindow(HWND* window) {
    if (!window) {
        return E_POINTER;
    }
    *window = toolbar.Handle();
    return S_OK;
}

HRESULT TextaroBarBand::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}

HRESULT TextaroBarBand::ShowDW(BOOL show) {
    if (toolbar.Exists()) {
        ShowWindow(toolbar.Handle(), show ? SW_SHOW : SW_HIDE);
    }
    return S_OK;
}

HRESULT TextaroBarBand::CloseDW(DWORD) {
    // Hidden, not destroyed: the browser may show the band again.
    static_cast<IDeskBand*>(this)->ShowDW(FALSE);
    return S_OK;
}

HRESULT TextaroBarBand::ResizeBorderDW(LPCRECT, IUnknown*, BOOL) {
    return E_NOTIMPL;
}

HRESULT TextaroBarBand::GetBandInfo(DWORD, DWORD, DESKBANDINFO* info) {
    if (!info) {
        return E_INVALIDARG;
    }
    // The browser gives a band real pixels of its display: the sizes are stated for 96 dpi.
    const int dpi = WindowDpi(siteWindow);
    const LONG height = Scaled(BandHeight, dpi);
    if (info->dwMask & DBIM_MINSIZE) {
        info->ptMinSize = {Scaled(BandMinWidth, dpi), height};
    }
    if (info->dwMask & DBIM_MAXSIZE) {
        info->ptMaxSize = {-1, height};
    }
    if (info->dwMask & DBIM_INTEGRAL) {
        info->ptIntegral = {1, 1};
    }
    if (info->dwMask & DBIM_ACTUAL) {
        info->ptActual = {Scaled(BandIdealWidth, dpi), height};
    }
    if (info->dwMask & DBIM_MODEFLAGS) {
        info->dwModeFlags = DBIMF_VARIABLEHEIGHT | DBIMF_BREAK;
    }
    info->dwMask &= ~static_cast<DWORD>(DBIM_BKCOLOR);
    return S_OK;
}

void TextaroBarBand::FocusChange(bool hasFocus) {
    if (!inputObjectSite) {
        return;
    }
    ComPtr<IUnknown> self;
    QueryInterface(__uuidof(IUnknown), self.PutVoid());
    inputObjectSite->OnFocusChangeIS(self.Get(), hasFocus);
}

void TextaroBarBand::NavigateTo(const std::string& link) {
    if (!browser) {
        return;
    }
    VARIANT url;
    VariantInit(&url);
    V_VT(&url) = VT_BSTR;
    V_BSTR(&url) = SysAllocString(Widen(link).c_str());
    VARIANT empty;
    VariantInit(&empty);
    browser->Navigate2(&url, &empty, &empty, &empty, &empty);
    VariantClear(&url);
}
