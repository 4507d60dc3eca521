#include "CardWindow.h"

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QScreen>

#include "GlassPanel.h"
#include "Logging.h"
#include "Scheduler.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

namespace cardplacement {

CardPlacement topRight(int margin)
{
    return [margin](const QRect &available, QSize size) {
        return QRect(QPoint(available.x() + available.width() - margin - size.width(), available.y() + margin), size);
    };
}

CardPlacement centredRaised(int raise)
{
    return [raise](const QRect &available, QSize size) {
        const QPoint centre = available.center();
        return QRect(QPoint(centre.x() - size.width() / 2, centre.y() - size.height() / 2 - raise), size);
    };
}

} // namespace cardplacement

CardWindow::CardWindow(Scheduler &scheduler, QQmlEngine &qml, QObject &controller, Options options)
    : m_scheduler(scheduler)
    , m_qml(qml)
    , m_controller(controller)
    , m_options(std::move(options))
    , m_bubbleCtl(scheduler)
{
    connect(&m_bubbleCtl, &BubbleController::toggled, this, [this](bool minimized) {
        if (!m_panel)
            return;
        if (m_options.onBubbleToggled)
            m_options.onBubbleToggled(minimized);
        else
            refitKeepingCenter(*m_panel);
    });
}

CardWindow::~CardWindow() = default;

bool CardWindow::isShown() const
{
    return m_panel && m_panel->isVisible();
}

void CardWindow::minimize()
{
    if (!m_bubbleCtl.state().minimized() && !m_bubbleCtl.canMinimize())
        return;
    m_bubbleCtl.toggle();
}

void CardWindow::hide()
{
    const bool wasBubble = m_bubbleCtl.state().minimized();
    m_bubbleCtl.reset();
    emit hidden();
    if (!m_panel)
        return;
    // A card put away as a bubble comes back as the card, so its panel takes the card's size
    // again now rather than showing the card squeezed into the bubble's frame.
    if (wasBubble)
        refitKeepingCenter(*m_panel);
    m_panel->hide();
}

void CardWindow::orderOut()
{
    if (m_panel)
        m_panel->hide();
}

void CardWindow::present()
{
    const bool firstShow = !m_panel;
    if (firstShow) {
        m_panel = buildPanel();
        if (!m_panel)
            return;
    }
    if (m_panel->isVisible()) {
        m_panel->raise();
    } else {
        m_panel->show();
        // Placed once mapped: a position set before mapping is not what X11 window managers
        // report back, and the bubble refit works from the position Qt believes.
        if (firstShow && m_options.placement) {
            if (const QScreen *screen = QGuiApplication::primaryScreen())
                m_panel->setGeometry(m_options.placement(screen->availableGeometry(), m_options.size));
        }
    }
    if (m_options.takesFocus)
        m_panel->requestActivate();
    if (firstShow)
        emit panelCreated();
}

std::unique_ptr<GlassPanel> CardWindow::buildPanel()
{
    QQmlComponent component(&m_qml, m_options.view);
    // Creating from a component in error crashed here with Qt 6.4 (no upstream report found); check it first.
    if (!component.isReady()) {
        qCWarning(lcCards).noquote() << component.errorString();
        return nullptr;
    }
    std::unique_ptr<QObject> view(
        component.createWithInitialProperties({{u"controller"_s, QVariant::fromValue(&m_controller)}}));
    auto *item = qobject_cast<QQuickItem *>(view.get());
    if (!item) {
        qCWarning(lcCards).noquote() << component.errorString();
        return nullptr;
    }
    view.release();

    auto panel = std::make_unique<GlassPanel>(m_scheduler, m_options.size);
    panel->setTitle(m_options.title);
    panel->setShowsWithoutActivating(!m_options.takesFocus);
    // The card keeps the size it was given; only a bubble toggle refits it to its content.
    panel->setFollowsContent(false);
    panel->setContent(item);
    m_bubbleCtl.attach(*panel);
    return panel;
}

} // namespace halvic
