#include "CardWindow.h"

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
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
        // QRect::center() rounds down half a pixel: take the middle from the edges instead.
        return QRect(QPoint(available.x() + (available.width() - size.width()) / 2,
                         available.y() + (available.height() - size.height()) / 2 - raise),
            size);
    };
}

} // namespace cardplacement

CardWindow::CardWindow(Scheduler &scheduler, QQmlEngine &qml, QObject &controller, Options options)
    : m_scheduler(scheduler)
    , m_qml(qml)
    , m_controller(controller)
    , m_options(std::move(options))
    , m_title(m_options.title)
    , m_bubbleCtl(scheduler)
{
    connect(&m_bubbleCtl, &BubbleController::toggled, this, &CardWindow::fitBubbleState);
}

CardWindow::~CardWindow() = default;

void CardWindow::setTitle(const QString &title)
{
    m_title = title;
    if (m_panel)
        m_panel->setTitle(title);
}

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
    // A card put away as a bubble comes back as the card, so its panel takes the card's size
    // again now rather than showing the card squeezed into the bubble's frame.
    expand();
    emit hidden();
    if (m_panel)
        m_panel->hide();
}

void CardWindow::expand()
{
    const bool wasBubble = m_bubbleCtl.state().minimized();
    m_bubbleCtl.reset();
    if (wasBubble)
        fitBubbleState(false);
}

void CardWindow::fitBubbleState(bool minimized)
{
    if (!m_panel)
        return;
    const std::optional<QRect> available = availableArea();
    if (!m_options.bubbleFrame || !available) {
        refitKeepingCenter(*m_panel);
        return;
    }
    m_panel->jumpTo(m_options.bubbleFrame(m_panel->restingGeometry(), minimized, *available));
}

void CardWindow::orderOut()
{
    if (m_panel)
        m_panel->hide();
}

std::optional<QRect> CardWindow::availableArea() const
{
    const QScreen *screen = m_panel ? m_panel->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    return screen->availableGeometry();
}

void CardWindow::placeAgain()
{
    if (!m_panel || !m_options.placement)
        return;
    if (const std::optional<QRect> available = availableArea())
        m_panel->jumpTo(m_options.placement(*available, m_options.size));
}

void CardWindow::present(bool takeFocus)
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
        if (firstShow && m_options.placement && !m_options.refitsOnShow) {
            if (const QScreen *screen = QGuiApplication::primaryScreen())
                m_panel->jumpTo(m_options.placement(screen->availableGeometry(), m_options.size));
        }
    }
    if (m_options.refitsOnShow)
        refitAndPlace();
    if (takeFocus)
        m_panel->requestActivate();
    if (firstShow)
        emit panelCreated();
}

void CardWindow::refitAndPlace()
{
    if (m_bubbleCtl.state().minimized()) {
        fitBubbleState(true);
        return;
    }
    // What the card holds now (an email or an event, a longer list) decides its size.
    m_panel->layOutNow();
    const QSize fitting = m_panel->fittingSize().toSize();
    const QSize size = fitting.width() > 1 && fitting.height() > 1 ? fitting : m_panel->size();
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen && m_options.placement)
        m_panel->jumpTo(m_options.placement(screen->availableGeometry(), size));
    else
        m_panel->jumpTo(QRect(m_panel->restingGeometry().topLeft(), size));
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
    panel->setTitle(m_title);
    panel->setShowsWithoutActivating(!m_options.takesFocus);
    // The card keeps the size it was given; only a bubble toggle refits it to its content.
    panel->setFollowsContent(false);
    panel->setContent(item);
    m_bubbleCtl.attach(*panel);
    return panel;
}

} // namespace halvic
