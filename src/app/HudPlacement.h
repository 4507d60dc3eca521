#pragma once

#include <QObject>
#include <QRectF>
#include <QString>

#include <optional>

#include "Scheduler.h"

class QScreen;

namespace halvic {

class AppModel;
class GlassPanel;

/// The four screen corners the floating HUD can sit in.
enum class HUDCorner { topLeft, topRight, bottomLeft, bottomRight };

namespace placement {
/// Distance of the floating HUD from the edges of the screen's usable area.
inline constexpr double cornerInset = 22;
/// Top-left of a panel of `size` in `corner` of the usable area `visible`.
QPointF cornerOrigin(const QRectF &visible, QSizeF size, HUDCorner corner);
/// The docked strip: full height from the top of the usable area to the bottom of the
/// screen, along the left or right edge, `dockWidth` wide (clamped).
QRectF dockedFrame(const QRectF &visible, const QRectF &full, double dockWidth, const QString &side);
} // namespace placement

/// Keeps the HUD panel in its corner (growing away from it as its content grows) or, docked,
/// along its screen edge. Model changes re-anchor at most every 80 ms.
class HudPlacement : public QObject
{
    Q_OBJECT
public:
    static constexpr Duration throttle{80};

    HudPlacement(GlassPanel &panel, AppModel &model, Scheduler &scheduler, QObject *parent = nullptr);

    /// Places the panel now.
    void reanchor();
    /// The screen holding the panel's centre, else the primary screen.
    QScreen *currentScreen() const;

private:
    void scheduleReanchor();

    GlassPanel &m_panel;
    AppModel &m_model;
    Scheduler &m_scheduler;
    std::optional<Scheduler::CallId> m_pending;
    HUDCorner m_corner = HUDCorner::bottomRight;
};

} // namespace halvic
