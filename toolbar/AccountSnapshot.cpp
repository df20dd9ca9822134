#include "toolbar/AccountSnapshot.h"

void AccountSnapshot::Publish(SendAccount current) {
    std::lock_guard guard(lock);
    account = std::move(current);
}

SendAccount AccountSnapshot::Read() const {
    std::lock_guard guard(lock);
    return account;
}
