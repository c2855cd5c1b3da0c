#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

// Waits for `finished` while the windows stay live (progress, 取消); false when the user gave up.
using Waiter = std::function<bool(const std::function<bool()>& finished)>;

// Runs `work` on a thread of its own while `wait` keeps the windows turning; nullopt when the user
// gave up (the work's result is dropped when it ends). `work` must not touch widgets or the
// window's database connection.
template <typename Result> std::optional<Result> RunAside(std::function<Result()> work, const Waiter& wait)
{
    struct Shared {
        std::mutex mutex;
        bool done = false;
        std::optional<Result> result;
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, work = std::move(work)] {
        Result result = work();
        const std::lock_guard lock(shared->mutex);
        shared->result = std::move(result);
        shared->done = true;
    }).detach();
    const bool finished = wait([shared] {
        const std::lock_guard lock(shared->mutex);
        return shared->done;
    });
    if (!finished)
        return std::nullopt;
    const std::lock_guard lock(shared->mutex);
    return std::move(shared->result);
}

// Large results (a million parsed lines) are freed on a thread of their own: freeing them takes the
// window's thread tens of milliseconds.
template <typename... Held> void ReleaseAside(Held&&... held)
{
    std::thread([... held = std::move(held)] {}).detach();
}
