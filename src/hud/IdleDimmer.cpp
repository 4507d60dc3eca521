#include "IdleDimmer.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QPropertyAnimation>
#include <QWindow>

#include <cmath>

#include "AppModel.h"
#include "HudConfig.h"
#include "Logging.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

bool mayDim(const DimConditions &c)
{
    return c.visible && !c.docked && !c.recording && !c.enrolling && !engine::isBusy(c.state);
}

IdleDimmer::IdleDimmer(QWindow &panel, AppModel &model, Scheduler &scheduler, QString controlFolder, QObject *parent)
    : QObject(parent)
    , m_panel(panel)
    , m_model(model)
    , m_controlFolder(std::move(controlFolder))
    , m_animation(std::make_unique<QPropertyAnimation>(&panel, "opacity"))
    , m_idleTimer(scheduler, idleAfter, [this] { dimStep(); })
    , m_modelThrottle(scheduler, modelThrottle, [this] { activity(); })
    , m_idleOpacity(hudconfig::defaultIdleOpacity)
{
}

IdleDimmer::~IdleDimmer()
{
    m_panel.removeEventFilter(this);
}

void IdleDimmer::start()
{
    m_idleOpacity = hudconfig::readIdleOpacity(m_controlFolder).value_or(hudconfig::defaultIdleOpacity);
    QDir().mkpath(m_controlFolder);
    m_watcher = std::make_unique<QFileSystemWatcher>();
    // The folder shows a file replaced by rename (an atomic rewrite); the file itself shows
    // a rewrite in place. A rename ends the file's watch, so every reload watches it again.
    if (m_watcher->addPath(m_controlFolder))
        connect(m_watcher.get(), &QFileSystemWatcher::directoryChanged, this, &IdleDimmer::reloadConfig);
    else
        qCDebug(lcApp) << "cannot watch the control folder for hud_config.json:" << m_controlFolder;
    connect(m_watcher.get(), &QFileSystemWatcher::fileChanged, this, &IdleDimmer::reloadConfig);
    watchConfigFile();
    m_panel.installEventFilter(this);
    connect(&m_model, &AppModel::changed, this, &IdleDimmer::scheduleModelActivity);
    scheduleIdleTimer();
}

void IdleDimmer::activity()
{
    restoreFullOpacity();
    scheduleIdleTimer();
}

void IdleDimmer::scheduleIdleTimer()
{
    m_idleTimer.restart();
}

void IdleDimmer::dimStep()
{
    const DimConditions conditions{
        .visible = m_panel.isVisible(),
        .docked = m_model.docked(),
        .recording = m_model.recording(),
        .enrolling = m_model.isEnrolling(),
        .state = m_model.state(),
    };
    if (!mayDim(conditions)) {
        scheduleIdleTimer();
        return;
    }
    m_dimmed = true;
    animateTo(hudconfig::clampOpacity(m_idleOpacity), dimMs);
}

void IdleDimmer::restoreFullOpacity()
{
    if (!m_dimmed && targetOpacity() >= 0.999)
        return;
    m_dimmed = false;
    animateTo(1.0, brightenMs);
}

void IdleDimmer::showUndimmed()
{
    m_animation->stop();
    m_dimmed = false;
    m_panel.setOpacity(1.0);
}

void IdleDimmer::watchConfigFile()
{
    const QString path = QDir(m_controlFolder).filePath(hudconfig::fileName);
    if (m_watcher && !m_watcher->files().contains(path) && QFileInfo(path).isFile())
        m_watcher->addPath(path);
}

void IdleDimmer::reloadConfig()
{
    watchConfigFile();
    const std::optional<double> value = hudconfig::readIdleOpacity(m_controlFolder);
    if (!value || std::abs(*value - m_idleOpacity) <= 0.001)
        return;
    m_idleOpacity = *value;
    if (m_dimmed && !m_model.docked())
        animateTo(hudconfig::clampOpacity(m_idleOpacity), dimMs);
}

double IdleDimmer::targetOpacity() const
{
    if (m_animation->state() == QAbstractAnimation::Running)
        return m_animation->endValue().toDouble();
    return m_panel.opacity();
}

void IdleDimmer::animateTo(double opacity, int durationMs)
{
    m_animation->stop();
    m_animation->setDuration(durationMs);
    m_animation->setStartValue(m_panel.opacity());
    m_animation->setEndValue(opacity);
    m_animation->start();
}

void IdleDimmer::scheduleModelActivity()
{
    m_modelThrottle.startIfIdle();
}

bool IdleDimmer::eventFilter(QObject *watched, QEvent *event)
{
    // The pointer moving, pressing or scrolling over the HUD counts; elsewhere it does not.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::Enter:
        activity();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace halvic
