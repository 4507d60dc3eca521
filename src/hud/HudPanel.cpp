#include "HudPanel.h"

#include <QGuiApplication>
#include <QPointer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QScreen>
#include <QSettings>

#include "AppModel.h"
#include "GlassPanel.h"
#include "HudController.h"
#include "HudPlacement.h"
#include "IdleDimmer.h"
#include "OwnWindows.h"
#include "Scheduler.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QSize initialSize{392, 120};
/// How long the panel shows that a long press was taken.
constexpr Duration longPressCueFor{160};

} // namespace

std::unique_ptr<HudPanel> HudPanel::create(
    QQmlEngine &qml, AppModel &model, HudController &hud, Scheduler &scheduler, QObject *parent)
{
    QQmlComponent component(&qml, QUrl(u"qrc:/Halvic/Hud/HUDView.qml"_s));
    // Creating from a component in error crashed here with Qt 6.4 (no upstream report found); report its errors instead.
    if (!component.isReady()) {
        qWarning().noquote() << component.errorString();
        return nullptr;
    }
    std::unique_ptr<QObject> view(component.createWithInitialProperties(
        {{u"app"_s, QVariant::fromValue(&model)}, {u"hud"_s, QVariant::fromValue(&hud)}}));
    auto *item = qobject_cast<QQuickItem *>(view.get());
    if (!item) {
        qWarning().noquote() << component.errorString();
        return nullptr;
    }
    view.release();
    std::unique_ptr<HudPanel> hudPanel(new HudPanel(model, hud, scheduler, parent));
    hudPanel->m_panel->setContent(item);
    return hudPanel;
}

HudPanel::HudPanel(AppModel &model, HudController &hud, Scheduler &scheduler, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_hud(hud)
    , m_scheduler(scheduler)
    , m_panel(std::make_unique<GlassPanel>(scheduler, initialSize))
{
    // A new window starts at the desktop's origin, which on X11 may lie on another display
    // than the primary one: start on the primary display, so the first placement takes the
    // corner remembered for it.
    if (QScreen *primary = QGuiApplication::primaryScreen()) {
        m_panel->setScreen(primary);
        m_panel->setPosition(primary->availableGeometry().topLeft());
    }
    watchLongPress();
    m_placement = std::make_unique<HudPlacement>(*m_panel, m_model, m_scheduler, std::make_unique<QSettings>(),
        [] { return OwnWindows::current().leftButtonHeld(); });
    connect(&m_hud, &HudController::minimizeRequested, this, &HudPanel::minimize);
    connect(&m_hud, &HudController::activateInputRequested, this, &HudPanel::activateInput);
}

HudPanel::~HudPanel() = default;

void HudPanel::watchLongPress()
{
    const QPointer<HudPanel> self(this);
    m_panel->setLongPressHooks({
        .canLongPress = [self] { return self && (self->m_model.collapsed() || !self->m_model.docked()); },
        .onLongPressBegin =
            [self] {
                if (!self)
                    return;
                self->m_model.setLongPressCue(true);
                self->m_scheduler.callAfter(longPressCueFor, self, [self] { self->m_model.setLongPressCue(false); });
            },
        .onLongPress =
            [self] {
                if (!self)
                    return;
                self->m_model.setCollapsed(!self->m_model.collapsed());
                self->activity();
            },
    });
}

void HudPanel::showFirst(const QString &controlFolder)
{
    m_placement->reanchor();
    m_panel->show();
    m_dimmer = std::make_unique<IdleDimmer>(*m_panel, m_model, m_scheduler, controlFolder);
    connect(m_placement.get(), &HudPlacement::userDragged, m_dimmer.get(), &IdleDimmer::activity);
    connect(m_placement.get(), &HudPlacement::placedDocked, m_dimmer.get(), &IdleDimmer::showUndimmed);
    m_dimmer->start();
}

void HudPanel::toggle()
{
    if (m_panel->isVisible()) {
        m_panel->hide();
        return;
    }
    m_panel->show();
    m_placement->reanchor();
    activity();
}

void HudPanel::minimize()
{
    if (m_hidesToTray)
        m_panel->hide();
    else
        m_model.setCollapsed(!m_model.collapsed());
}

void HudPanel::activateInput()
{
    m_panel->raise();
    m_panel->requestActivate();
}

void HudPanel::activity()
{
    if (m_dimmer)
        m_dimmer->activity();
}

Menu HudPanel::menuEntries()
{
    const QPointer<HudPanel> self(this);
    const auto ifAlive = [self](void (HudPanel::*act)()) {
        return [self, act] {
            if (self)
                (self.data()->*act)();
        };
    };
    const QPointer<HudController> hud(&m_hud);
    return {
        {.title = tr("Show / Hide HUD"), .action = ifAlive(&HudPanel::toggle), .shortcut = u"Ctrl+H"_s},
        {.title = tr("Start / Stop Assistant"),
            .action =
                [hud] {
                    if (hud)
                        hud->power();
                },
            .shortcut = u"Ctrl+S"_s},
        {.title = tr("Mute / Unmute Mic"),
            .action =
                [hud] {
                    if (hud)
                        hud->mute();
                },
            .shortcut = u"Ctrl+M"_s},
    };
}

} // namespace halvic
