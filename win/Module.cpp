#include "win/Module.h"

namespace {
HINSTANCE moduleInstance = nullptr;
volatile LONG lockCount = 0;
} // namespace

HINSTANCE Module::Instance() {
    return moduleInstance ? moduleInstance : GetModuleHandleA(nullptr);
}

void Module::SetInstance(HINSTANCE instance) {
    moduleInstance = instance;
}

std::string Module::FilePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(Instance(), path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string Module::Name() {
    const std::string path = FilePath();
    const std::string file = path.substr(path.find_last_of('\\') + 1);
    return file.substr(0, file.find_last_of('.'));
}

void Module::Lock() {
    InterlockedIncrement(&lockCount);
}
void Module::Unlock() {
    InterlockedDecrement(&lockCount);
}
long Module::LockCount() {
    return InterlockedCompareExchange(&lockCount, 0, 0);
}
