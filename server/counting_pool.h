#pragma once

#include <httplib.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace server {

// The HTTP server's worker pool. The server hands it one task per accepted TCP connection,
// which makes it the place to count connections: a toolbar that reuses its keep-alive
// connection shows up as one.
class CountingPool : public httplib::TaskQueue {
public:
    CountingPool(std::size_t threads, std::atomic<std::uint64_t>& accepted);

    void enqueue(std::function<void()> fn) override;
    void shutdown() override;

private:
    httplib::ThreadPool pool_;
    std::atomic<std::uint64_t>& accepted_;
};

} // namespace server
