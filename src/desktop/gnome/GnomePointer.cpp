#include "GnomePointer.h"

#include <algorithm>
#include <cmath>

#include "Logging.h"

namespace halvic {

namespace {

/// Events kept while the extension has not answered yet.
constexpr std::size_t pendingLimit = 256;

/// Clutter's button numbers.
constexpr uint leftButton = 1;
constexpr uint rightButton = 3;

} // namespace

GnomePointer::GnomePointer(std::shared_ptr<gnome::Extension> extension, double pixelsPerPoint, QRect desktop,
    std::unique_ptr<PointerSink> fallback, std::function<void()> missing)
    : m_extension(std::move(extension))
    , m_pixelsPerPoint(pixelsPerPoint > 0 ? pixelsPerPoint : 1.0)
    , m_desktop(desktop)
    , m_fallback(fallback ? std::move(fallback) : std::make_unique<NullPointerSink>())
    , m_missing(std::move(missing))
{
    m_extension->ask(QStringLiteral("Version"), m_context.get(), [this](bool ready) { answered(ready); });
}

GnomePointer::~GnomePointer() = default;

void GnomePointer::answered(bool ready)
{
    m_state = ready ? State::Ready : State::Unavailable;
    if (ready) {
        qCInfo(lcWindows) << "virtual pointer: the GNOME Shell extension's";
    } else {
        qCWarning(lcWindows) << "virtual pointer: the GNOME Shell extension does not answer; gestures reach X11 "
                                "applications only";
        if (m_missing)
            m_missing();
    }
    for (const PointerEvent &event : std::exchange(m_pending, {}))
        post(event);
}

void GnomePointer::post(const PointerEvent &event)
{
    switch (m_state) {
    case State::Asking:
        if (event.type == PointerEvent::Type::Move && !m_pending.empty() && m_pending.back().type == event.type)
            m_pending.back() = event;
        else if (m_pending.size() < pendingLimit)
            m_pending.push_back(event);
        break;
    case State::Ready:
        send(event);
        break;
    case State::Unavailable:
        m_fallback->post(event);
        break;
    }
}

void GnomePointer::send(const PointerEvent &event)
{
    // The extension takes only points on the screen.
    const auto along = [this](int point, int first, int last) {
        return int(std::lround(std::clamp(point, first, last) * m_pixelsPerPoint));
    };
    const QRect area = m_desktop.isValid() ? m_desktop : QRect(event.position, QSize(1, 1));
    m_extension->send(QStringLiteral("PointerMotion"),
        {along(event.position.x(), area.left(), area.right()), along(event.position.y(), area.top(), area.bottom())});
    using Type = PointerEvent::Type;
    const auto button = [&](uint number, bool pressed) {
        m_extension->send(QStringLiteral("PointerButton"), {number, pressed});
    };
    switch (event.type) {
    case Type::LeftDown:
        return button(leftButton, true);
    case Type::LeftUp:
        return button(leftButton, false);
    case Type::RightDown:
        return button(rightButton, true);
    case Type::RightUp:
        return button(rightButton, false);
    case Type::Move:
    case Type::LeftDrag:
        break;
    }
}

} // namespace halvic
