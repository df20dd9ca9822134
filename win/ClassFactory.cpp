#include "win/ClassFactory.h"

#include "win/Module.h"

#include <new>

ClassFactory::ClassFactory(Creator creator) : creator(creator) {
    InitializeCriticalSection(&guard);
}

ClassFactory::~ClassFactory() {
    DeleteCriticalSection(&guard);
}

HRESULT ClassFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IClassFactory))) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ClassFactory::AddRef() {
    EnterCriticalSection(&guard);
    LONG count = InterlockedIncrement(&references);
    if (count == 2) {
        Module::Lock();
    }
    LeaveCriticalSection(&guard);
    return static_cast<ULONG>(count);
}

ULONG ClassFactory::Release() {
    EnterCriticalSection(&guard);
    LONG count = InterlockedDecrement(&references);
    if (count == 1) {
        Module::Unlock();
    }
    LeaveCriticalSection(&guard);
    // The module's own reference keeps the cached factory alive until the DLL goes away.
    return static_cast<ULONG>(count);
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (outer && !IsEqualIID(iid, __uuidof(IUnknown))) {
        return CLASS_E_NOAGGREGATION;
    }
    try {
        return creator(outer, iid, object);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT ClassFactory::LockServer(BOOL lock) {
    if (lock) {
        Module::Lock();
    } else {
        Module::Unlock();
    }
    return S_OK;
}
