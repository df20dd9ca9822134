#include "counting_pool.h"

#include <utility>

namespace server {

CountingPool::CountingPool(std::size_t threads, std::atomic<std::uint64_t>& accepted)
    : pool_(threads), accepted_(accepted) {}

void CountingPool::enqueue(std::function<void()> fn) {
    ++accepted_;
    pool_.enqueue(std::move(fn));
}

void CountingPool::shutdown() {
    pool_.shutdown();
}

} // namespace server
