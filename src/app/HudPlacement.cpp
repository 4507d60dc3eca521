#include "HudPlacement.h"

#include <QGuiApplication>
#include <QScreen>

#include "AppModel.h"
#include "GlassPanel.h"
#include "HudLogic.h"

namespace halvic {

namespace placement {

QPointF cornerOrigin(const QRectF &visible, QSizeF size, HUDCorner corner)
{
    const bool left = corner == HUDCorner::topLeft || corner == HUDCorner::bottomLeft;
    const bool bottom = corner == HUDCorner::bottomLeft || corner == HUDCorner::bottomRight;
    const double x = left ? visible.left() + cornerInset : visible.right() - size.width() - cornerInset;
    const double y = bottom ? visible.bottom() - size.height() - cornerInset : visible.top() + cornerInset;
    return {x, y};
}

QRectF dockedFrame(const QRectF &visible, const QRectF &full, double dockWidth, const QString &side)
{
    const double width = hud::clampDockWidth(dockWidth);
    const double x = side == QLatin1StringView("right") ? visible.right() - width : visible.left();
    return {x, visible.top(), width, full.bottom() - visible.top()};
}

} // namespace placement

HudPlacement::HudPlacement(GlassPanel &panel, AppModel &model, Scheduler &scheduler, QObject *parent)
    : QObject(parent)
    , m_panel(panel)
    , m_model(model)
    , m_scheduler(scheduler)
{
    connect(&model, &AppModel::changed, this, &HudPlacement::scheduleReanchor);
    // A content size change is placed at once, so the panel never shows half-grown.
    connect(&panel, &GlassPanel::fittingSizeChanged, this, &HudPlacement::reanchor);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, &HudPlacement::reanchor);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &HudPlacement::reanchor);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &HudPlacement::reanchor);
}

void HudPlacement::scheduleReanchor()
{
    if (m_pending)
        return;
    m_pending = m_scheduler.callAfter(throttle, this, [this] {
        m_pending.reset();
        reanchor();
    });
}

QScreen *HudPlacement::currentScreen() const
{
    const QPoint centre = m_panel.geometry().center();
    const auto screens = QGuiApplication::screens();
    for (QScreen *screen : screens) {
        if (screen->geometry().contains(centre))
            return screen;
    }
    return QGuiApplication::primaryScreen();
}

void HudPlacement::reanchor()
{
    const QScreen *screen = currentScreen();
    if (!screen)
        return;
    const QRectF visible = screen->availableGeometry();
    if (m_model.docked() && !m_model.collapsed()) {
        m_panel.setFollowsContent(false);
        m_panel.setGeometry(placement::dockedFrame(visible, screen->geometry(), m_model.dockWidth(), m_model.dockSide())
                                .toRect());
        return;
    }
    m_panel.setFollowsContent(true);
    const QPointF origin = placement::cornerOrigin(visible, m_panel.size(), m_corner);
    m_panel.setPosition(origin.toPoint());
}

} // namespace halvic
