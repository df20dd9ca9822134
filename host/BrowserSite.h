#pragma once

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>
#include <servprov.h>
#include <shobjidl.h>

// What the browser gives a band as its site: the window the band lives in, focus reports,
// and the browser's automation object through the service provider.
class BrowserSite final : public IInputObjectSite, public IOleWindow, public IServiceProvider {
public:
    // A null window gives a site that cannot tell its window; a null browser a site that
    // offers no automation object.
    BrowserSite(HWND window, IWebBrowser2* browser);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE OnFocusChangeIS(IUnknown* band, BOOL hasFocus) override;

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** object) override;

    int FocusReports() const { return focusReports; }
    bool LastFocus() const { return lastFocus; }

private:
    ~BrowserSite();

    HWND window;
    IWebBrowser2* browser;
    ULONG references = 1;
    int focusReports = 0;
    bool lastFocus = false;
};
