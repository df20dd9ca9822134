#pragma once

#include "band/ReflectorWindow.h"
#include "toolbar/SmsToolbar.h"
#include "toolbar/ToolbarHost.h"
#include "win/ComPtr.h"

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>
#include <shobjidl.h>

// The object the browser creates for the toolbar, one per browser window. It owns the
// toolbar and the hidden window through which the toolbar control's notifications arrive.
class TextaroBarBand final : public IObjectWithSite,
                             public IInputObject,
                             public IDeskBand,
                             public ToolbarHost {
public:
    // Creator for the class factory: a plain object without outer, an aggregated one with.
    static HRESULT Create(IUnknown* outer, REFIID iid, void** object);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE SetSite(IUnknown* site) override;
    HRESULT STDMETHODCALLTYPE GetSite(REFIID iid, void** site) override;

    HRESULT STDMETHODCALLTYPE UIActivateIO(BOOL activate, MSG* message) override;
    HRESULT STDMETHODCALLTYPE HasFocusIO() override;
    HRESULT STDMETHODCALLTYPE TranslateAcceleratorIO(MSG* message) override;

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enterMode) override;
    HRESULT STDMETHODCALLTYPE ShowDW(BOOL show) override;
    HRESULT STDMETHODCALLTYPE CloseDW(DWORD reserved) override;
    HRESULT STDMETHODCALLTYPE ResizeBorderDW(LPCRECT border, IUnknown* site,
                                             BOOL reserved) override;
    HRESULT STDMETHODCALLTYPE GetBandInfo(DWORD bandId, DWORD viewMode,
                                          DESKBANDINFO* info) override;

    // Tells the browser that the toolbar took (or lost) the keyboard focus.
    void FocusChange(bool hasFocus) override;
    // Nothing happens while the band holds no browser object.
    void NavigateTo(const std::string& link) override;

    IWebBrowser2* Browser() const { return browser.Get(); }

private:
    // The object's own IUnknown: the one an aggregating object holds and the one that
    // really counts references, while the interfaces above delegate to the controlling
    // unknown.
    class InnerUnknown final : public IUnknown {
    public:
        explicit InnerUnknown(TextaroBarBand& band) : band(band) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;

    private:
        TextaroBarBand& band;
    };

    explicit TextaroBarBand(IUnknown* outer);
    ~TextaroBarBand();
    bool CreateWindows();

    InnerUnknown inner{*this};
    IUnknown* controlling;
    bool aggregated;
    ULONG references = 1;
    ComPtr<IWebBrowser2> browser;
    ComPtr<IInputObjectSite> inputObjectSite;
    HWND siteWindow = nullptr;
    SmsToolbar toolbar;
    ReflectorWindow reflector;
};
