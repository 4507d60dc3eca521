#include "CardController.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QScreen>

#include "GlassPanel.h"
#include "Scheduler.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

// Silent unless enabled: a card whose view does not load says why here.
Q_LOGGING_CATEGORY(lcCards, "halvic.cards", QtCriticalMsg)

CardController::CardController(Scheduler &scheduler, QQmlEngine &qml, ControlChannel control, Look look, QObject *parent)
    : QObject(parent)
    , m_scheduler(scheduler)
    , m_qml(qml)
    , m_control(std::move(control))
    , m_look(std::move(look))
    , m_bubbleCtl(std::make_unique<BubbleController>(scheduler))
{
}

CardController::~CardController()
{
    releasePanel();
}

GlassPanel *CardController::panel() const
{
    return m_panel.get();
}

bool CardController::isShown() const
{
    return m_panel && m_panel->isVisible();
}

QPoint CardController::topRightOrigin(const QRect &available, QSize size, int margin)
{
    return {available.x() + available.width() - margin - size.width(), available.y() + margin};
}

void CardController::minimize()
{
    m_bubbleCtl->toggle();
}

void CardController::hide()
{
    stopPendingTimer();
    const bool wasBubble = m_bubbleCtl->state().minimized();
    m_bubbleCtl->reset();
    if (!m_panel)
        return;
    // A card put away as a bubble comes back as the card, so its panel takes the card's size
    // again now rather than showing the card squeezed into the bubble's frame.
    if (wasBubble)
        refitKeepingCenter(*m_panel);
    m_panel->hide();
}

void CardController::present()
{
    if (!m_panel) {
        m_panel = buildPanel();
        if (!m_panel)
            return;
        m_panel->show();
        // Placed once mapped: a position set before mapping is not what X11 window managers
        // report back, and the bubble refit works from the position Qt believes.
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            m_panel->setPosition(topRightOrigin(screen->availableGeometry(), m_look.size, m_look.margin));
        emit panelCreated();
        return;
    }
    if (m_panel->isVisible())
        m_panel->raise();
    else
        m_panel->show();
}

void CardController::releasePanel()
{
    m_panel.reset();
}

void CardController::writeAction(QLatin1StringView name, const QJsonObject &object) const
{
    m_control.writeJSON(name, object);
}

std::unique_ptr<GlassPanel> CardController::buildPanel()
{
    QQmlComponent component(&m_qml, m_look.view);
    // Creating from a component in error crashes in Qt 6.4; check it first.
    if (!component.isReady()) {
        qCWarning(lcCards).noquote() << component.errorString();
        return nullptr;
    }
    QVariantMap properties = viewProperties();
    properties.insert(u"controller"_s, QVariant::fromValue(this));
    std::unique_ptr<QObject> view(component.createWithInitialProperties(properties));
    auto *item = qobject_cast<QQuickItem *>(view.get());
    if (!item) {
        qCWarning(lcCards).noquote() << component.errorString();
        return nullptr;
    }
    view.release();

    auto panel = std::make_unique<GlassPanel>(m_scheduler, m_look.size);
    // The card keeps the size it was given; only a bubble toggle refits it to its content.
    panel->setFollowsContent(false);
    panel->setContent(item);
    m_bubbleCtl->attach(*panel);
    m_bubbleCtl->onToggled = [weakPanel = QPointer<GlassPanel>(panel.get())](bool) {
        if (weakPanel)
            refitKeepingCenter(*weakPanel);
    };
    return panel;
}

} // namespace halvic
