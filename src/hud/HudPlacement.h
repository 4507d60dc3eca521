#pragma once

#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "ScheduledCall.h"

class QScreen;
class QSettings;

namespace halvic {

class AppModel;
class GlassPanel;

/// The four screen corners the floating HUD can sit in.
enum class HUDCorner { topLeft, topRight, bottomLeft, bottomRight };

/// The corner chosen on each display, by display number.
using CornerMap = std::map<std::uint32_t, HUDCorner>;

namespace placement {
/// Distance of the floating HUD from the edges of the screen's usable area.
inline constexpr double cornerInset = 22;
/// Settings key of the corner chosen per display.
inline constexpr QLatin1StringView cornerSettingsKey{"halvic.hud.cornerByScreen"};

QString cornerName(HUDCorner corner);
/// The corner a name stands for; none for any other text.
std::optional<HUDCorner> cornerFromName(QStringView name);

/// Top-left of a panel of `size` in `corner` of the usable area `visible`.
QPointF cornerOrigin(const QRectF &visible, QSizeF size, HUDCorner corner);
/// The docked strip: full height from the top of the usable area to the bottom of the
/// screen, along the left or right edge, `dockWidth` wide (clamped).
QRectF dockedFrame(const QRectF &visible, const QRectF &full, double dockWidth, const QString &side);

/// The corner of the quadrant of `visible` that holds `centre`.
HUDCorner cornerForCentre(QPointF centre, const QRectF &visible);
/// "left" when `centreX` is left of the middle of `visible`, else "right".
QString dockSideForCentre(double centreX, const QRectF &visible);

/// The stored map: keys are display numbers in decimal, values corner names. Entries that
/// are not both are skipped.
CornerMap cornersFromVariant(const QVariant &stored);
QVariantMap cornersToVariant(const CornerMap &corners);
} // namespace placement

/// Keeps the HUD panel in its corner (growing away from it as its content grows) or, docked,
/// along its screen edge; collapsing, expanding and docking glide into the new frame. Model changes re-anchor at most every 80 ms. A drag of the panel by
/// the user snaps it, 0.3 s after the pointer stops, to the corner of the quadrant it is in
/// (docked: to the nearer edge); the corner is remembered per display.
class HudPlacement : public QObject
{
    Q_OBJECT
public:
    static constexpr Duration throttle{80};
    static constexpr Duration snapDelay{300};
    static constexpr Duration snapSettle{200};
    /// How long after the button comes up on the panel a move still counts as the user's.
    static constexpr Duration releaseGrace{500};

    /// `settings` keeps the corners across launches; `buttonHeld` tells whether the user is
    /// holding the left mouse button (a move without it is the program's own).
    HudPlacement(GlassPanel &panel, AppModel &model, Scheduler &scheduler, std::unique_ptr<QSettings> settings,
        std::function<bool()> buttonHeld, QObject *parent = nullptr);
    ~HudPlacement() override;

    /// Places the panel now, unless a drag is in progress.
    void reanchor();
    /// The display the HUD belongs to: where it was placed, or where the user last dropped
    /// it; the display under the panel (else the main one) when it has none or it is gone.
    QScreen *currentScreen() const;
    /// Reacts to a move of the panel: a user drag (re)starts the snap timer.
    void windowMoved();

    const CornerMap &corners() const { return m_corners; }
    bool dragPending() const { return m_dragPending; }
    bool snapping() const { return m_snapping; }

signals:
    /// The user is dragging the panel (counts as activity).
    void userDragged();
    /// The panel was placed as the docked strip.
    void placedDocked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /// What the panel is: the pill, the floating panel or the strip along one side.
    struct Form
    {
        bool collapsed = false;
        bool strip = false;
        QString side;
        friend bool operator==(const Form &, const Form &) = default;
    };
    Form currentForm() const;
    QRect frameOn(const QScreen &screen, const Form &form);
    /// Places the panel for the model's form now, gliding there or at once.
    void place(bool glide);
    bool userIsMoving() const;
    QScreen *screenUnderPanel() const;
    void followAvailableGeometry(const QScreen &screen);
    void scheduleReanchor();
    void scheduleSnap();
    void snap();
    HUDCorner cornerOf(const QScreen &screen) const;

    GlassPanel &m_panel;
    AppModel &m_model;
    Scheduler &m_scheduler;
    std::unique_ptr<QSettings> m_settings;
    std::function<bool()> m_buttonHeld;
    CornerMap m_corners;
    QPointer<QScreen> m_screen;
    /// The form last placed; none before the first placement.
    std::optional<Form> m_form;
    ScheduledCall m_reanchorThrottle;
    ScheduledCall m_snapTimer;
    ScheduledCall m_snapSettle;
    /// A change of form waiting for the content to settle before the panel glides.
    ScheduledCall m_reshape;
    bool m_dragPending = false;
    bool m_snapping = false;
    bool m_panelPressed = false;
    bool m_placing = false;
    /// The panel handed a drag of its background to the window manager.
    bool m_userMoveStarted = false;
    std::optional<TimePoint> m_lastRelease;
};

} // namespace halvic
