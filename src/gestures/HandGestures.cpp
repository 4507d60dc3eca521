#include "HandGestures.h"

#include <QPointer>

#include "Desktop.h"
#include "GestureController.h"
#include "HudRequests.h"
#include "QtGestureDesktop.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

HandGestures::HandGestures(
    Scheduler &scheduler, QQmlEngine &qml, const HudRequests &requests, Desktop &desktop, QObject *parent)
    : QObject(parent)
    , m_scheduler(scheduler)
    , m_qml(qml)
    , m_requests(requests)
    , m_desktop(desktop)
{
    connect(&m_row, &GestureRow::switched, this, &HandGestures::setActive);
}

HandGestures::~HandGestures() = default;

bool HandGestures::isOn() const
{
    return m_controller && m_controller->isEnabled();
}

void HandGestures::toggle()
{
    const bool on = !isOn();
    m_requests.setGestures(on);
    setActive(on);
}

void HandGestures::setActive(bool on)
{
    // The controller is switched on regardless of the camera check: what it finds missing is
    // explained to the user, not enforced.
    if (on)
        emit switchedOn();
    if (on || m_controller)
        controller().setEnabled(on);
}

void HandGestures::registerRows(EventDispatcher &dispatcher)
{
    m_row.registerRows(dispatcher);
}

Menu HandGestures::menuEntries()
{
    return {{.title = tr("Hand Gestures"),
        .action =
            [self = QPointer(this)] {
                if (self)
                    self->toggle();
            },
        .checkable = true,
        .checked = isOn(),
        .shortcut = u"Ctrl+G"_s}};
}

GestureController &HandGestures::controller()
{
    if (!m_controller) {
        m_pointer = m_desktop.pointerSink();
        m_windows = m_desktop.windowSystem();
        m_controller
            = std::make_unique<GestureController>(m_scheduler, *m_pointer, *m_windows, qtGestureDesktop(m_qml));
        m_controller->onActivity = [this] { emit activity(); };
    }
    return *m_controller;
}

} // namespace halvic
