#include "host/WebBrowser.h"

#include <cstdio>

HRESULT WebBrowser::QueryInterface(REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, IID_IWebBrowser) || IsEqualIID(iid, IID_IWebBrowserApp) ||
        IsEqualIID(iid, IID_IWebBrowser2)) {
        *object = static_cast<IWebBrowser2*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG WebBrowser::Release() {
    ULONG count = --references;
    if (count == 0) {
        delete this;
    }
    return count;
}

HRESULT WebBrowser::Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
    if (!url || V_VT(url) != VT_BSTR) {
        return E_INVALIDARG;
    }
    int length = WideCharToMultiByte(CP_UTF8, 0, V_BSTR(url), -1, nullptr, 0, nullptr, nullptr);
    std::string address(length > 0 ? length - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, V_BSTR(url), -1, address.data(), length, nullptr, nullptr);
    navigations.push_back(address);
    std::printf("navigate: %s\n", address.c_str());
    std::fflush(stdout);
    SetWindowTextW(frame, V_BSTR(url));
    return S_OK;
}
