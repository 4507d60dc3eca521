#include "GestureController.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>

#include "GestureListener.h"
#include "GestureProtocol.h"
#include "Logging.h"
#include "Protocol.h"

namespace halvic {

namespace g = protocol::gesture;
using Type = PointerEvent::Type;

namespace {

const QString centreHand = QStringLiteral("C");
const QString rightHand = QStringLiteral("R");
const QString leftHand = QStringLiteral("L");

QString partnerOf(const QString &hand)
{
    return hand == rightHand ? leftHand : rightHand;
}

double clampUnit(double value)
{
    return std::clamp(value, 0.0, 1.0);
}

} // namespace

GestureController::GestureController(
    Scheduler &scheduler, PointerSink &pointer, WindowSystem &windows, GestureDesktop desktop, QObject *parent)
    : QObject(parent)
    , m_scheduler(scheduler)
    , m_pointer(pointer)
    , m_windows(windows)
    , m_desktop(std::move(desktop))
{
}

GestureController::~GestureController()
{
    // No button stays down after the HUD has gone.
    releaseLeftIfNeeded();
    m_listener.reset();
    m_reticles.clear();
    // The fist's work still queued or running uses this object: let it finish first.
    m_desktop.runWindowWork = nullptr;
}

void GestureController::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (on) {
        if (m_desktop.listenPort && !m_listener)
            m_listener = GestureListener::bind(
                *m_desktop.listenPort, [this](const gestures::Message &message) { handle(message); });
        // A fresh start: a stream that never comes counts as silent from now.
        m_lastSeen = m_scheduler.now();
        if (!m_watchdogCall)
            m_watchdogCall = m_scheduler.callAfter(watchdogInterval, this, [this] { watchdog(); });
        centerPulse();
    } else {
        m_listener.reset();
        if (m_watchdogCall)
            m_scheduler.cancel(*std::exchange(m_watchdogCall, std::nullopt));
        releaseLeftIfNeeded();
        m_armed = false;
        m_activeHand.reset();
        hideAllReticles();
    }
    emit enabledChanged(on);
}

std::optional<quint16> GestureController::listeningPort() const
{
    return m_listener ? std::optional(m_listener->port()) : std::nullopt;
}

QStringList GestureController::senders() const
{
    return m_listener ? m_listener->senders() : QStringList();
}

const HandReticle *GestureController::reticle(const QString &hand) const
{
    const auto it = m_reticles.find(hand);
    return it == m_reticles.end() ? nullptr : it->second.get();
}

std::optional<QRect> GestureController::savedFrame(std::uint32_t displayID) const
{
    const auto it = m_savedFrames.find(displayID);
    return it == m_savedFrames.end() ? std::nullopt : std::optional(it->second);
}

QPointF GestureController::toDesktop(QPointF normalised) const
{
    const QList<ScreenInfo> screens = m_desktop.screens ? m_desktop.screens() : QList<ScreenInfo>();
    if (screens.isEmpty())
        return {};
    // Datagrams may say anything: keep the point on the display, and finite.
    const QRectF frame = screens.first().frame;
    const double x = std::isfinite(normalised.x()) ? clampUnit(normalised.x()) : 0.0;
    const double y = std::isfinite(normalised.y()) ? clampUnit(normalised.y()) : 0.0;
    return {frame.left() + x * frame.width(), frame.top() + y * frame.height()};
}

void GestureController::handle(const gestures::Message &message)
{
    if (!m_enabled)
        return;
    if (const auto *frame = std::get_if<gestures::HandsFrame>(&message))
        handsStream(*frame);
    else
        trackerEvent(std::get<gestures::TrackerEvent>(message));
}

void GestureController::handsStream(const gestures::HandsFrame &frame)
{
    m_lastSeen = m_scheduler.now();
    if (frame.armed && *frame.armed != m_armed)
        setArmed(*frame.armed);

    std::map<QString, const gestures::Hand *> hands;
    for (const gestures::Hand &hand : frame.hands)
        hands[hand.name] = &hand;

    if (!m_enabled || !m_armed) {
        hideAllReticles();
        return;
    }
    if (onActivity)
        onActivity();
    if (!hands.empty()) {
        if (const auto it = m_reticles.find(centreHand); it != m_reticles.end() && it->second->isVisible())
            it->second->hide();
    }

    const auto present = [&](const QString &hand) { return hands.count(hand) > 0; };
    std::optional<QString> primary;
    if (m_activeHand) {
        if (present(*m_activeHand))
            primary = m_activeHand;
        else if (present(partnerOf(*m_activeHand)))
            primary = partnerOf(*m_activeHand);
    } else if (present(rightHand)) {
        primary = rightHand;
    } else if (present(leftHand)) {
        primary = leftHand;
    }

    for (const QString &name : {rightHand, leftHand}) {
        const auto it = hands.find(name);
        if (it == hands.end()) {
            if (const auto reticle = m_reticles.find(name); reticle != m_reticles.end())
                reticle->second->hide();
            continue;
        }
        HandReticle &reticle = reticleFor(name);
        reticle.model().setPose(it->second->pose);
        reticle.model().setPrimary(primary == name);
        reticle.place(toDesktop(it->second->position));
    }

    if (primary && !m_owner) {
        const QPointF at = toDesktop(hands.at(*primary)->position);
        m_cursor = at;
        post(Type::Move, at);
    }
}

void GestureController::trackerEvent(const gestures::TrackerEvent &event)
{
    if (event.name == g::arm) {
        if (!m_armed)
            setArmed(true);
    } else if (event.name == g::disarm) {
        if (m_armed)
            setArmed(false);
    } else if (event.name == g::ready) {
        centerPulse();
    } else if (event.name == g::pinchStart) {
        pinchStart(event.hand, event.position);
    } else if (event.name == g::pinchMove) {
        pinchMove(event.hand, event.position);
    } else if (event.name == g::pinchEnd) {
        pinchEnd(event.hand, event.position);
    } else if (event.name == g::rclick) {
        rclick(event.hand, event.position);
    } else if (event.name == g::fistHold) {
        fistHold(event.position);
    }
}

void GestureController::setArmed(bool armed)
{
    m_armed = armed;
    if (armed) {
        centerPulse();
    } else {
        releaseLeftIfNeeded();
        hideAllReticles();
    }
}

void GestureController::pinchStart(const QString &hand, QPointF at)
{
    if (!m_armed || m_owner)
        return;
    const QPointF q = toDesktop(at);
    m_cursor = m_downLoc = q;
    m_dragStarted = false;
    m_owner = hand;
    m_activeHand = hand;
    post(Type::Move, q);
    post(Type::LeftDown, q);
}

void GestureController::pinchMove(const QString &hand, QPointF at)
{
    if (m_owner != hand)
        return;
    const QPointF q = toDesktop(at);
    if (!m_dragStarted) {
        const QPointF d = q - m_downLoc;
        if (QPointF::dotProduct(d, d) <= dragThreshold * dragThreshold)
            return;
        m_dragStarted = true;
    }
    m_cursor = q;
    post(Type::LeftDrag, q);
}

void GestureController::pinchEnd(const QString &hand, QPointF at)
{
    if (m_owner != hand)
        return;
    // A pinch that did not travel clicks exactly where it started, however the hand trembled.
    const QPointF q = m_dragStarted ? toDesktop(at) : m_downLoc;
    m_cursor = q;
    m_owner.reset();
    m_dragStarted = false;
    post(Type::LeftUp, q);
}

void GestureController::releaseLeftIfNeeded()
{
    if (!m_owner)
        return;
    m_owner.reset();
    m_dragStarted = false;
    post(Type::LeftUp, m_cursor);
}

void GestureController::rclick(const QString &hand, QPointF at)
{
    if (!m_armed || m_owner)
        return;
    const QPointF q = toDesktop(at);
    m_cursor = q;
    m_activeHand = hand;
    post(Type::Move, q);
    post(Type::RightDown, q);
    post(Type::RightUp, q);

    HandReticle &reticle = reticleFor(hand);
    reticle.model().setRightFlash(true);
    if (const auto it = m_flashCalls.find(hand); it != m_flashCalls.end())
        m_scheduler.cancel(it->second);
    m_flashCalls[hand] = m_scheduler.callAfter(rightFlashFor, this, [this, hand] {
        m_flashCalls.erase(hand);
        reticleFor(hand).model().setRightFlash(false);
    });
}

void GestureController::fistHold(QPointF at)
{
    const QPointF q = toDesktop(at);
    // A fist over the HUD never maximises the window behind it.
    if (m_desktop.overHud && m_desktop.overHud(q))
        return;
    const QList<ScreenInfo> screens = m_desktop.screens ? m_desktop.screens() : QList<ScreenInfo>();
    const auto display = std::find_if(
        screens.begin(), screens.end(), [&](const ScreenInfo &screen) { return screen.frame.contains(q); });
    if (display == screens.end())
        return;
    const double scale = display->devicePixelRatio > 0 ? display->devicePixelRatio : 1.0;
    const QPoint pixel = (q * scale).toPoint();
    const QRectF v = display->visibleFrame;
    const QRect target = QRectF(v.topLeft() * scale, v.size() * scale).toAlignedRect();
    const auto work = [this, pixel, target, slack = maximisedSlack * scale, id = display->displayID] {
        maximiseOrRestore(pixel, target, slack, id);
    };
    if (m_desktop.runWindowWork)
        m_desktop.runWindowWork(work);
    else
        work();
}

void GestureController::maximiseOrRestore(QPoint pixel, QRect target, double slack, std::uint32_t display)
{
    const std::optional<WindowId> window = m_windows.frontmostWindowAt(pixel, m_desktop.ownPid);
    if (!window)
        return;
    const std::optional<QRect> frame = m_windows.frame(*window);
    if (!frame)
        return;
    const bool maximised = std::abs(frame->left() - target.left()) <= slack
        && std::abs(frame->top() - target.top()) <= slack && std::abs(frame->right() - target.right()) <= slack
        && std::abs(frame->bottom() - target.bottom()) <= slack;
    // The window manager ignores moves of a window it keeps maximised itself.
    if (m_windows.isMaximized(*window))
        m_windows.leaveMaximized(*window);
    const auto saved = m_savedFrames.find(display);
    if (maximised && saved != m_savedFrames.end()) {
        const QRect restore = saved->second;
        m_savedFrames.erase(saved);
        m_windows.setFrame(*window, restore);
        return;
    }
    m_savedFrames[display] = *frame;
    m_windows.setFrame(*window, target);
}

void GestureController::centerPulse()
{
    const QList<ScreenInfo> screens = m_desktop.screens ? m_desktop.screens() : QList<ScreenInfo>();
    HandReticle &centre = reticleFor(centreHand);
    centre.model().setPrimary(true);
    centre.model().setRightFlash(false);
    centre.model().setPose(QStringLiteral("point"));
    centre.place(screens.isEmpty() ? QPointF() : screens.first().frame.center());
    centre.model().setPulse(true);
    const std::uint64_t generation = ++m_centerPulseGen;
    if (m_pulseOffCall)
        m_scheduler.cancel(*m_pulseOffCall);
    m_pulseOffCall = m_scheduler.callAfter(pulseFor, this, [this] {
        m_pulseOffCall.reset();
        reticleFor(centreHand).model().setPulse(false);
    });
    m_scheduler.callAfter(centreShownFor, this, [this, generation] {
        // A newer pulse keeps the centre reticle on screen.
        if (m_centerPulseGen == generation)
            reticleFor(centreHand).hide();
    });
}

void GestureController::watchdog()
{
    m_watchdogCall = m_scheduler.callAfter(watchdogInterval, this, [this] { watchdog(); });
    if (m_scheduler.now() - m_lastSeen > staleAfter) {
        // The centre reticle keeps its own time: a "ready" pulse stays up its full 1.2 s even
        // when no hands stream has come yet.
        for (auto &[name, reticle] : m_reticles)
            if (name != centreHand)
                reticle->hide();
        releaseLeftIfNeeded();
    }
}

void GestureController::hideAllReticles()
{
    for (auto &[name, reticle] : m_reticles)
        reticle->hide();
}

HandReticle &GestureController::reticleFor(const QString &hand)
{
    std::unique_ptr<HandReticle> &reticle = m_reticles[hand];
    if (!reticle)
        reticle = std::make_unique<HandReticle>(reticleSize, m_desktop.makeReticle);
    return *reticle;
}

void GestureController::post(PointerEvent::Type type, QPointF at)
{
    m_pointer.post({type, at.toPoint()});
}

} // namespace halvic
