#pragma once

#include <QList>
#include <QRect>

#include <map>
#include <vector>

#include "HandReticle.h"
#include "PointerSink.h"
#include "WindowSystem.h"

namespace halvic::testing {

/// Every pointer event the controller posts, in order.
class RecordingPointer final : public PointerSink
{
public:
    void post(const PointerEvent &event) override { events.push_back(event); }
    std::vector<PointerEvent> events;
};

/// Windows as plain frames, front to back, for the fist's maximise and restore.
class FakeWindows final : public WindowSystem
{
public:
    struct Window
    {
        WindowId id;
        QRect frame;
        qint64 pid = 100;
    };
    std::vector<Window> frontToBack;

    Window *find(WindowId id)
    {
        for (Window &window : frontToBack)
            if (window.id == id)
                return &window;
        return nullptr;
    }

    bool isAvailable() override { return true; }
    QList<apps::RunningApp> runningApplications() override { return {}; }
    std::optional<WindowId> primaryWindow(const apps::RunningApp &) override { return std::nullopt; }
    std::optional<WindowId> frontmostWindowAt(QPoint point, qint64 exceptPid) override
    {
        for (const Window &window : frontToBack)
            if (window.pid != exceptPid && window.frame.contains(point))
                return window.id;
        return std::nullopt;
    }
    std::optional<QRect> frame(WindowId id) override
    {
        const Window *window = find(id);
        return window ? std::optional(window->frame) : std::nullopt;
    }
    void setPosition(WindowId id, QPoint topLeft) override
    {
        if (Window *window = find(id))
            window->frame.moveTopLeft(topLeft);
    }
    void setSize(WindowId id, QSize size) override
    {
        if (Window *window = find(id))
            window->frame.setSize(size);
    }
    bool isFullscreen(WindowId) override { return false; }
    void exitFullscreen(WindowId) override { }
    bool isMaximized(WindowId) override { return false; }
    void leaveMaximized(WindowId) override { }
    void close(WindowId) override { }
    std::optional<qint64> launch(const QString &, const QStringList &, const QString &) override
    {
        return std::nullopt;
    }
};

/// A reticle window that only counts what is asked of it.
struct SurfaceLog
{
    int orderedFront = 0;
    int orderedOut = 0;
    QPoint topLeft;
};

class LoggingSurface final : public ReticleSurface
{
public:
    explicit LoggingSurface(SurfaceLog &log)
        : m_log(log)
    {
    }
    void moveTo(QPoint topLeft) override { m_log.topLeft = topLeft; }
    void orderFront() override { ++m_log.orderedFront; }
    void orderOut() override { ++m_log.orderedOut; }

private:
    SurfaceLog &m_log;
};

} // namespace halvic::testing
