#include "host/BrowserSite.h"

#include <exdisp.h>
#include <shlguid.h>

BrowserSite::BrowserSite(HWND window, IWebBrowser2* browser) : window(window), browser(browser) {
    if (browser) {
        browser->AddRef();
    }
}

BrowserSite::~BrowserSite() {
    if (browser) {
        browser->Release();
    }
}

HRESULT BrowserSite::QueryInterface(REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IInputObjectSite)) {
        *object = static_cast<IInputObjectSite*>(this);
    } else if (IsEqualIID(iid, IID_IOleWindow)) {
        *object = static_cast<IOleWindow*>(this);
    } else if (IsEqualIID(iid, IID_IServiceProvider)) {
        *object = static_cast<IServiceProvider*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG BrowserSite::Release() {
    ULONG count = --references;
    if (count == 0) {
        delete this;
    }
    return count;
}

HRESULT BrowserSite::OnFocusChangeIS(IUnknown*, BOOL hasFocus) {
    ++focusReports;
    lastFocus = hasFocus != FALSE;
    return S_OK;
}

HRESULT BrowserSite::GetWindow(HWND* result) {
    if (!result) {
        return E_POINTER;
    }
    *result = window;
    return window ? S_OK : E_FAIL;
}

HRESULT BrowserSite::QueryService(REFGUID service, REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!browser || !IsEqualGUID(service, SID_SWebBrowserApp)) {
        return E_NOINTERFACE;
    }
    return browser->QueryInterface(iid, object);
}
