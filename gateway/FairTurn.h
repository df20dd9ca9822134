#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

// A lock that callers get in the order they asked for it. A plain mutex lets a thread that
// gives it up take it straight back: a send run would then go ahead of the browser's own
// request again and again, and the browser would wait behind many requests instead of one.
class FairTurn {
public:
    void lock() {
        std::unique_lock guard(mutex);
        const std::uint64_t ticket = next++;
        ready.wait(guard, [&] { return serving == ticket; });
    }

    void unlock() {
        {
            std::lock_guard guard(mutex);
            ++serving;
        }
        ready.notify_all();
    }

private:
    std::mutex mutex;
    std::condition_variable ready;
    std::uint64_t next = 0;
    std::uint64_t serving = 0;
};
