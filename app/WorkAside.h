#pragma once

#include <QCoreApplication>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

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

namespace AsideThreads {

struct Running {
    std::shared_ptr<std::atomic<bool>> stop;
    std::shared_ptr<std::atomic<bool>> done;
    std::thread thread;
};

inline std::mutex& Guard()
{
    static std::mutex guard;
    return guard;
}

inline std::vector<Running>& All()
{
    static std::vector<Running> all;
    return all;
}

// When qavex ends: every thread still at work is told to stop and waited for, none cut off in the
// middle of a library's work.
inline void StopAndWait()
{
    std::vector<Running> all;
    {
        const std::lock_guard lock(Guard());
        all.swap(All());
    }
    for (Running& running : all) {
        *running.stop = true;
        running.thread.join();
    }
}

inline void Add(Running running)
{
    const std::lock_guard lock(Guard());
    if (All().empty() && QCoreApplication::instance())
        qAddPostRoutine(StopAndWait);
    std::erase_if(All(), [](Running& ended) {
        if (!*ended.done)
            return false;
        ended.thread.join();
        return true;
    });
    All().push_back(std::move(running));
}

} // namespace AsideThreads

// The same for work that can stop when told (a look at a server that may never answer): given up,
// it is told to stop; when qavex ends, it is stopped and waited for.
template <typename Result>
std::optional<Result> RunAsideStoppable(std::function<Result(const std::atomic<bool>& stop)> work,
                                        const Waiter& wait)
{
    struct Shared {
        std::mutex mutex;
        std::optional<Result> result;
    };
    auto shared = std::make_shared<Shared>();
    auto stop = std::make_shared<std::atomic<bool>>(false);
    auto done = std::make_shared<std::atomic<bool>>(false);
    AsideThreads::Add({stop, done, std::thread([shared, stop, done, work = std::move(work)] {
                           Result result = work(*stop);
                           {
                               const std::lock_guard lock(shared->mutex);
                               shared->result = std::move(result);
                           }
                           *done = true;
                       })});
    if (!wait([done] { return done->load(); })) {
        *stop = true;
        return std::nullopt;
    }
    const std::lock_guard lock(shared->mutex);
    return std::move(shared->result);
}

// Large results (a million parsed lines) are freed on a thread of their own: freeing them takes the
// window's thread tens of milliseconds.
template <typename... Held> void ReleaseAside(Held&&... held)
{
    std::thread([... held = std::move(held)] {}).detach();
}
