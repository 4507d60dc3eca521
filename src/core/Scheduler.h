#pragma once

#include <QObject>
#include <QPointer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace halvic {

using Duration = std::chrono::milliseconds;
using TimePoint = std::chrono::steady_clock::time_point;

/// The one seam for time: every timed behaviour asks a Scheduler for "now" and for
/// "run this later on the main thread", so tests can drive time by hand.
class Scheduler
{
public:
    using CallId = std::uint64_t;

    virtual ~Scheduler() = default;

    /// Monotonic time (the same clock as std::chrono::steady_clock in the Qt implementation).
    virtual TimePoint now() const = 0;

    /// Runs `call` on the main thread after `delay`, unless cancelled first or `context` is
    /// destroyed first (the call holds its owner weakly). Returns an id for cancel().
    virtual CallId callAfter(Duration delay, const QObject *context, std::function<void()> call) = 0;

    /// Cancels a pending call; unknown or finished ids are ignored.
    virtual void cancel(CallId id) = 0;
};

/// The real scheduler: QTimer on the thread it lives on (the main thread).
class QtScheduler final : public QObject, public Scheduler
{
    Q_OBJECT
public:
    explicit QtScheduler(QObject *parent = nullptr);
    ~QtScheduler() override;

    TimePoint now() const override;
    CallId callAfter(Duration delay, const QObject *context, std::function<void()> call) override;
    void cancel(CallId id) override;

private:
    std::map<CallId, std::unique_ptr<QObject>> m_timers;
    CallId m_nextId = 1;
};

/// A scheduler whose time moves only when a test calls advance().
class ManualScheduler final : public Scheduler
{
public:
    TimePoint now() const override { return m_now; }
    CallId callAfter(Duration delay, const QObject *context, std::function<void()> call) override;
    void cancel(CallId id) override;

    /// Moves time forward, running every due call in time order (calls scheduled while
    /// advancing run too when they fall inside the interval).
    void advance(Duration by);
    /// Number of calls waiting (cancelled ones excluded).
    std::size_t pendingCount() const { return m_pending.size(); }

private:
    struct Pending
    {
        TimePoint due;
        QPointer<const QObject> context;
        bool hadContext = false;
        std::function<void()> call;
    };
    TimePoint m_now{};
    CallId m_nextId = 1;
    std::map<CallId, Pending> m_pending;
};

} // namespace halvic
