#pragma once

#include <windows.h>

// The one cached factory of a class. The module keeps the first reference; while a client
// holds another one the module stays locked, so the DLL is not unloaded under it.
class ClassFactory final : public IClassFactory {
public:
    // Makes a new object, aggregated when outer is given, and asks it for iid.
    using Creator = HRESULT (*)(IUnknown* outer, REFIID iid, void** object);

    explicit ClassFactory(Creator creator);
    ~ClassFactory();
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    Creator creator;
    CRITICAL_SECTION guard;
    LONG references = 1;
};
