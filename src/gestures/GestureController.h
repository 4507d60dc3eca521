#pragma once

#include <QList>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "GestureMessage.h"
#include "HandReticle.h"
#include "PointerSink.h"
#include "Scheduler.h"
#include "ScreenInfo.h"
#include "WindowSystem.h"

namespace halvic {

class GestureListener;

/// What the gesture controller needs to know about the desktop beyond the window system.
struct GestureDesktop
{
    /// The displays, first the one the tracker's coordinates span (read fresh each time).
    std::function<QList<ScreenInfo>()> screens;
    /// Whether a visible panel of the HUD covers the point (desktop points).
    std::function<bool(QPointF)> overHud;
    /// Makes the overlay window of a new reticle; none in tests without windows.
    ReticleSurfaceFactory makeReticle;
    /// The UDP port to listen on (loopback only); none: no listener (datagrams come through
    /// handle()). 0 picks a free port.
    std::optional<quint16> listenPort;
    /// This process, whose own windows a fist never maximises.
    qint64 ownPid = 0;
    /// Runs the fist's work on the window system, in order: on a thread of its own in the
    /// application, so that a window manager slow to answer never holds the main thread;
    /// at once when unset.
    std::function<void(std::function<void()>)> runWindowWork;
};

/// Turns the hand tracker's datagrams into pointer movement, left clicks and drags, right
/// clicks and a fist that maximises or restores the window under the hand, with a reticle
/// under each hand. Everything runs on the main thread; the left button is never left down:
/// disarming, switching off and a silent tracker all release it.
class GestureController final : public QObject
{
    Q_OBJECT
public:
    static constexpr int reticleSize = 36;
    /// A pinch is a drag once it has moved this far from where it went down (points).
    static constexpr double dragThreshold = 12.0;
    static constexpr Duration watchdogInterval{200};
    static constexpr Duration staleAfter{500};
    static constexpr Duration rightFlashFor{180};
    static constexpr Duration pulseFor{400};
    static constexpr Duration centreShownFor{1200};
    /// A frame within this distance of the usable area on every edge counts as maximised.
    static constexpr double maximisedSlack = 20.0;

    GestureController(Scheduler &scheduler, PointerSink &pointer, WindowSystem &windows, GestureDesktop desktop,
        QObject *parent = nullptr);
    ~GestureController() override;

    /// Starts or stops listening. Off releases the button, disarms and hides every reticle.
    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }
    bool isArmed() const { return m_armed; }

    /// Called on every hands datagram while enabled and armed (hand use counts as activity).
    std::function<void()> onActivity;

    /// Acts on one decoded datagram (ignored while disabled).
    void handle(const gestures::Message &message);

    /// The port the listener is bound to; none while nothing listens.
    std::optional<quint16> listeningPort() const;
    /// Senders the listener remembers, oldest first ("address:port").
    QStringList senders() const;

    /// Where the pointer was last posted (desktop points).
    QPointF cursor() const { return m_cursor; }
    /// The hand that holds the left button down.
    std::optional<QString> owner() const { return m_owner; }
    std::optional<QString> activeHand() const { return m_activeHand; }
    /// The reticle of a hand name, once created.
    const HandReticle *reticle(const QString &hand) const;
    /// The frame saved before a fist maximised a window on a display.
    std::optional<QRect> savedFrame(std::uint32_t displayID) const;

    /// The desktop point of a normalised position on the first display. Positions outside
    /// the display are pulled onto its edge.
    QPointF toDesktop(QPointF normalised) const;

signals:
    void enabledChanged(bool enabled);

private:
    void handsStream(const gestures::HandsFrame &frame);
    void trackerEvent(const gestures::TrackerEvent &event);
    void setArmed(bool armed);
    void pinchStart(const QString &hand, QPointF at);
    void pinchMove(const QString &hand, QPointF at);
    void pinchEnd(const QString &hand, QPointF at);
    void releaseLeftIfNeeded();
    void rclick(const QString &hand, QPointF at);
    void fistHold(QPointF at);
    /// Maximises the window at `pixel` to `target` on display `display`, or restores it when
    /// it is maximised already. Window-system work: runs where runWindowWork puts it.
    void maximiseOrRestore(QPoint pixel, QRect target, double slack, std::uint32_t display);
    void centerPulse();
    void watchdog();
    void hideAllReticles();
    HandReticle &reticleFor(const QString &hand);
    void post(PointerEvent::Type type, QPointF at);

    Scheduler &m_scheduler;
    PointerSink &m_pointer;
    WindowSystem &m_windows;
    GestureDesktop m_desktop;

    bool m_enabled = false;
    bool m_armed = false;
    TimePoint m_lastSeen{};
    QPointF m_cursor;
    std::optional<QString> m_owner;
    QPointF m_downLoc;
    bool m_dragStarted = false;
    std::optional<QString> m_activeHand;
    std::map<QString, std::unique_ptr<HandReticle>> m_reticles;
    std::uint64_t m_centerPulseGen = 0;
    /// Per display, the frame a fist maximised a window from; used by the window work alone.
    std::map<std::uint32_t, QRect> m_savedFrames;
    std::unique_ptr<GestureListener> m_listener;
    std::optional<Scheduler::CallId> m_watchdogCall;
    std::map<QString, Scheduler::CallId> m_flashCalls;
    std::optional<Scheduler::CallId> m_pulseOffCall;
};

} // namespace halvic
