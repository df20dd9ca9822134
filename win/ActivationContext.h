#pragma once

#include <windows.h>

// Runs a scope inside the activation context of this module's manifest resource 3, so that
// image lists and dialogs made there use version 6 of the common controls whatever the
// host process uses. Without that resource the scope runs in the process's own context;
// any other failure to make or activate the context is reported by Failed().
class ActivationScope {
public:
    ActivationScope();
    ~ActivationScope();
    ActivationScope(const ActivationScope&) = delete;
    ActivationScope& operator=(const ActivationScope&) = delete;

    bool Failed() const { return failed; }

private:
    ULONG_PTR cookie = 0;
    bool active = false;
    bool failed = false;
};
