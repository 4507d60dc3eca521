#include "HudPlacement.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSettings>

#include "AppModel.h"
#include "DockStrip.h"
#include "GlassPanel.h"
#include "HudLogic.h"
#include "ScreenInfo.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

namespace placement {

namespace {
constexpr std::pair<HUDCorner, QLatin1StringView> cornerNames[] = {
    {HUDCorner::topLeft, QLatin1StringView("topLeft")},
    {HUDCorner::topRight, QLatin1StringView("topRight")},
    {HUDCorner::bottomLeft, QLatin1StringView("bottomLeft")},
    {HUDCorner::bottomRight, QLatin1StringView("bottomRight")},
};
} // namespace

QString cornerName(HUDCorner corner)
{
    for (const auto &[value, name] : cornerNames) {
        if (value == corner)
            return name;
    }
    return {};
}

std::optional<HUDCorner> cornerFromName(QStringView name)
{
    for (const auto &[value, text] : cornerNames) {
        if (name == text)
            return value;
    }
    return std::nullopt;
}

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
    const double width = dock::stripWidth(dockWidth);
    const double x = side == QLatin1StringView("right") ? visible.right() - width : visible.left();
    return {x, visible.top(), width, full.bottom() - visible.top()};
}

HUDCorner cornerForCentre(QPointF centre, const QRectF &visible)
{
    const QPointF middle = visible.center();
    const bool left = centre.x() < middle.x();
    // y grows downward: above the middle is the top half.
    const bool top = centre.y() < middle.y();
    if (left)
        return top ? HUDCorner::topLeft : HUDCorner::bottomLeft;
    return top ? HUDCorner::topRight : HUDCorner::bottomRight;
}

QString dockSideForCentre(double centreX, const QRectF &visible)
{
    return centreX < visible.center().x() ? u"left"_s : u"right"_s;
}

CornerMap cornersFromVariant(const QVariant &stored)
{
    CornerMap corners;
    const QVariantMap map = stored.toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        bool ok = false;
        const uint display = it.key().toUInt(&ok, 10);
        if (!ok || it.value().typeId() != QMetaType::QString)
            continue;
        if (const auto corner = cornerFromName(it.value().toString()))
            corners[display] = *corner;
    }
    return corners;
}

QVariantMap cornersToVariant(const CornerMap &corners)
{
    QVariantMap map;
    for (const auto &[display, corner] : corners)
        map.insert(QString::number(display), cornerName(corner));
    return map;
}

} // namespace placement

HudPlacement::HudPlacement(GlassPanel &panel, AppModel &model, Scheduler &scheduler,
    std::unique_ptr<QSettings> settings, std::function<bool()> buttonHeld, QObject *parent)
    : QObject(parent)
    , m_panel(panel)
    , m_model(model)
    , m_scheduler(scheduler)
    , m_settings(std::move(settings))
    , m_buttonHeld(std::move(buttonHeld))
    , m_corners(placement::cornersFromVariant(m_settings->value(placement::cornerSettingsKey)))
    // The re-anchor reads the model when it runs, so the latest change wins.
    , m_reanchorThrottle(scheduler, throttle, [this] { reanchor(); })
    , m_snapTimer(scheduler, snapDelay,
          [this] {
              // A pause with the button still down is not the end of the drag.
              if (m_buttonHeld())
                  m_snapTimer.restart();
              else
                  snap();
          })
    , m_snapSettle(scheduler, snapSettle, [this] { m_snapping = false; })
    , m_reshape(scheduler, Duration(0), [this] {
        if (!m_dragPending)
            place(true);
    })
{
    // The panel takes the size its content asks for from here, together with its place.
    panel.setFollowsContent(false);
    connect(&model, &AppModel::changed, this, &HudPlacement::scheduleReanchor);
    connect(&panel, &GlassPanel::glideLanded, this, &HudPlacement::reanchor);
    // A content size change is placed at once, so the panel never shows half-grown.
    connect(&panel, &GlassPanel::fittingSizeChanged, this, &HudPlacement::reanchor);
    panel.installEventFilter(this);
    connect(&panel, &GlassPanel::userMoveStarted, this, [this] { m_userMoveStarted = true; });
    connect(&panel, &QWindow::xChanged, this, &HudPlacement::windowMoved);
    connect(&panel, &QWindow::yChanged, this, &HudPlacement::windowMoved);
    // The one place that follows the displays: added, removed, a new primary, or a panel or
    // dock of the desktop taking or giving back room.
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        followAvailableGeometry(*screen);
        reanchor();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &HudPlacement::reanchor);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &HudPlacement::reanchor);
    const auto screens = QGuiApplication::screens();
    for (QScreen *screen : screens)
        followAvailableGeometry(*screen);
}

void HudPlacement::followAvailableGeometry(const QScreen &screen)
{
    connect(&screen, &QScreen::availableGeometryChanged, this, &HudPlacement::reanchor);
}

HudPlacement::~HudPlacement() = default;

void HudPlacement::scheduleReanchor()
{
    m_reanchorThrottle.startIfIdle();
}

QScreen *HudPlacement::screenUnderPanel() const
{
    const QPointF centre = QRectF(m_panel.geometry()).center();
    const auto screens = QGuiApplication::screens();
    for (QScreen *screen : screens) {
        if (QRectF(screen->geometry()).contains(centre))
            return screen;
    }
    if (QScreen *primary = QGuiApplication::primaryScreen())
        return primary;
    return screens.isEmpty() ? nullptr : screens.first();
}

QScreen *HudPlacement::currentScreen() const
{
    // The display the HUD was placed on stays its display until the user drags it to
    // another: a window manager placing or nudging the window must not take it elsewhere.
    if (m_screen && QGuiApplication::screens().contains(m_screen.data()))
        return m_screen.data();
    return screenUnderPanel();
}

HUDCorner HudPlacement::cornerOf(const QScreen &screen) const
{
    const auto it = m_corners.find(screens::displayNumber(screen));
    return it == m_corners.end() ? HUDCorner::bottomRight : it->second;
}

HudPlacement::Form HudPlacement::currentForm() const
{
    const bool strip = m_model.docked() && !m_model.collapsed();
    return {m_model.collapsed(), strip, strip ? m_model.dockSide() : QString()};
}

QRect HudPlacement::frameOn(const QScreen &screen, const Form &form)
{
    const QRectF visible = screen.availableGeometry();
    if (form.strip)
        return placement::dockedFrame(visible, screen.geometry(), m_model.dockWidth(), m_model.dockSide()).toRect();
    const QSize fitting = m_panel.settledFittingSize().toSize();
    const QSize size = fitting.width() > 1 && fitting.height() > 1 ? fitting : m_panel.restingGeometry().size();
    return {placement::cornerOrigin(visible, size, cornerOf(screen)).toPoint(), size};
}

void HudPlacement::reanchor()
{
    // Measuring the content lays it out, and its size changes call back here.
    if (m_dragPending || m_placing)
        return;
    if (m_form && *m_form != currentForm()) {
        // The content takes its new size one property after another: the glide sets off once
        // it has settled.
        m_reshape.startIfIdle();
        return;
    }
    // While the panel glides into a new form its content may ask for sizes it will not keep;
    // it is placed again when it lands.
    if (m_panel.isGliding() || m_reshape.isPending())
        return;
    place(false);
}

void HudPlacement::place(bool glide)
{
    QScreen *screen = currentScreen();
    if (!screen)
        return;
    const QScopedValueRollback placing(m_placing, true);
    m_screen = screen;
    m_form = currentForm();
    if (m_form->strip)
        emit placedDocked();
    const QRect frame = frameOn(*screen, *m_form);
    // Collapsing, expanding and docking glide; growing with the content and snapping do not.
    if (glide)
        m_panel.glideTo(frame);
    else
        m_panel.jumpTo(frame);
}

void HudPlacement::windowMoved()
{
    if (m_snapping || !userIsMoving())
        return;
    emit userDragged();
    m_dragPending = true;
    scheduleSnap();
}

void HudPlacement::scheduleSnap()
{
    m_snapTimer.restart();
}

void HudPlacement::snap()
{
    m_dragPending = false;
    m_userMoveStarted = false;
    if (m_snapping)
        return;
    m_snapping = true;
    // The user chose the display by dropping the HUD on it.
    m_screen = screenUnderPanel();
    if (const QScreen *screen = m_screen.data()) {
        const QRectF visible = screen->availableGeometry();
        const QPointF centre = QRectF(m_panel.geometry()).center();
        if (m_model.docked() && !m_model.collapsed()) {
            m_model.setDockSide(placement::dockSideForCentre(centre.x(), visible));
        } else {
            m_corners[screens::displayNumber(*screen)] = placement::cornerForCentre(centre, visible);
            m_settings->setValue(placement::cornerSettingsKey, placement::cornersToVariant(m_corners));
            m_settings->sync();
        }
        reanchor();
    }
    // Moves caused by the snap itself must not start another one.
    m_snapSettle.restart();
}

bool HudPlacement::userIsMoving() const
{
    // Only a move of the user's own drag counts: the HUD's own moves and resizes (a docked
    // strip following its resize handle, a click that grows the panel) happen with the
    // button down too. A window manager may report the drag's move only once the button is
    // up again, so a move right after the release still counts.
    if (!m_userMoveStarted)
        return false;
    return m_buttonHeld() || m_panelPressed || (m_lastRelease && m_scheduler.now() - *m_lastRelease <= releaseGrace);
}

bool HudPlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            m_panelPressed = event->type() == QEvent::MouseButtonPress;
            if (m_panelPressed)
                m_userMoveStarted = false; // a new press; a drag of it announces itself
            else
                m_lastRelease = m_scheduler.now();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace halvic
