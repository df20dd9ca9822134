#pragma once

#include "toolbar/SendRun.h"

#include <mutex>

// The account a send run signs its requests with, as the toolbar's own thread last published it
// from the settings: the run's thread reads it for every request without waiting on the
// toolbar's thread, and never reaches the settings themselves.
class AccountSnapshot {
public:
    void Publish(SendAccount current);
    SendAccount Read() const;

private:
    mutable std::mutex lock;
    SendAccount account;
};
