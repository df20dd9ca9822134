#pragma once

#include <unknwn.h>

#include <utility>

// Owns one reference to a COM interface; releases it when replaced or destroyed.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr& other) : ptr(other.ptr) { AddRefIfAny(); }
    ComPtr(ComPtr&& other) noexcept : ptr(std::exchange(other.ptr, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(ptr, other.ptr);
        return *this;
    }

    T* Get() const { return ptr; }
    T* operator->() const { return ptr; }
    explicit operator bool() const { return ptr != nullptr; }

    // Out-parameter for calls that hand back a new reference.
    T** Put() {
        Reset();
        return &ptr;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    void Reset() {
        if (ptr) {
            std::exchange(ptr, nullptr)->Release();
        }
    }

private:
    void AddRefIfAny() {
        if (ptr) {
            ptr->AddRef();
        }
    }

    T* ptr = nullptr;
};

// Asks any COM object for an interface; an empty pointer when it has none.
template <class U> ComPtr<U> Query(IUnknown* object, REFIID iid) {
    ComPtr<U> result;
    if (object) {
        object->QueryInterface(iid, result.PutVoid());
    }
    return result;
}
