#pragma once

#include "WorkAside.h"

#include <QElapsedTimer>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

class QProgressDialog;
class QWidget;

// Long work on the window's thread: once it has run for half a second a progress dialog with
// "取消" appears over the window, and the windows keep painting between steps.
class WorkProgress {
public:
    WorkProgress(QWidget* owner, QString label, int showAfterMs = 500);
    ~WorkProgress();
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    // False once the user has chosen "取消". Cheap enough to call for every row.
    bool Step(qint64 done, qint64 total);
    bool Cancelled() const { return m_cancelled; }
    // As a callback for work that knows nothing of windows.
    std::function<bool(qint64, qint64)> Callback();

    // Work that cannot report its steps (a parser) runs on a thread of its own meanwhile; nullopt
    // when the user cancelled (its result is dropped when it ends). `work` must not touch widgets
    // or the database.
    template <typename Result> std::optional<Result> RunAside(std::function<Result()> work)
    {
        return ::RunAside<Result>(
            std::move(work), [this](const std::function<bool()>& finished) { return WaitFor(finished); });
    }

    template <typename Result>
    std::optional<Result> RunAsideStoppable(std::function<Result(const std::atomic<bool>& stop)> work)
    {
        return ::RunAsideStoppable<Result>(
            std::move(work), [this](const std::function<bool()>& finished) { return WaitFor(finished); });
    }

    // Waits for work elsewhere (a thread, a process) until `finished`; false when the user cancelled.
    bool WaitFor(const std::function<bool()>& finished)
    {
        while (!finished()) {
            if (!Step(0, 0))
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

private:
    QWidget* m_owner;
    QString m_label;
    int m_showAfterMs;
    QElapsedTimer m_clock;
    qint64 m_lastPumpMs = -1000;
    bool m_cancelled = false;
    std::unique_ptr<QProgressDialog> m_dialog;
};
