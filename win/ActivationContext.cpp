#include "win/ActivationContext.h"

#include "win/Module.h"

#include <mutex>

namespace {

// Made on first use and released when the module unloads, with its other statics.
struct ModuleContext {
    ModuleContext() = default;
    ModuleContext(const ModuleContext&) = delete;
    ModuleContext& operator=(const ModuleContext&) = delete;
    ~ModuleContext() {
        if (handle != INVALID_HANDLE_VALUE) {
            ReleaseActCtx(handle);
        }
    }

    HANDLE handle = INVALID_HANDLE_VALUE;
    bool missing = false;
};

bool IsMissingResource(DWORD error) {
    return error == ERROR_RESOURCE_DATA_NOT_FOUND || error == ERROR_RESOURCE_TYPE_NOT_FOUND ||
           error == ERROR_RESOURCE_NAME_NOT_FOUND || error == ERROR_RESOURCE_LANG_NOT_FOUND;
}

const ModuleContext& TheModuleContext() {
    static ModuleContext context;
    static std::once_flag made;
    std::call_once(made, [] {
        ACTCTXA request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.hModule = Module::Instance();
        request.lpResourceName = MAKEINTRESOURCEA(3);
        context.handle = CreateActCtxA(&request);
        if (context.handle == INVALID_HANDLE_VALUE) {
            context.missing = IsMissingResource(GetLastError());
        }
    });
    return context;
}

} // namespace

ActivationScope::ActivationScope() {
    const ModuleContext& context = TheModuleContext();
    if (context.handle == INVALID_HANDLE_VALUE) {
        failed = !context.missing;
        return;
    }
    active = ActivateActCtx(context.handle, &cookie) != FALSE;
    failed = !active;
}

ActivationScope::~ActivationScope() {
    if (active) {
        DeactivateActCtx(0, cookie);
    }
}
