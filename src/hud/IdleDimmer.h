#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <optional>

#include "EngineState.h"
#include "ScheduledCall.h"

class QFileSystemWatcher;
class QPropertyAnimation;
class QWindow;

namespace halvic {

class AppModel;

/// What decides whether the idle HUD may fade.
struct DimConditions
{
    bool visible = false;
    bool docked = false;
    bool recording = false;
    bool enrolling = false;
    EngineState state = EngineState::Off;
};

/// True when nothing is going on that the user should keep an eye on.
bool mayDim(const DimConditions &conditions);

/// Fades the HUD after a while without activity and brings it back on the next one. The
/// dimmed level comes from hud_config.json in the control folder and follows its rewrites.
class IdleDimmer : public QObject
{
    Q_OBJECT
public:
    static constexpr Duration idleAfter{10000};
    static constexpr Duration modelThrottle{200};
    static constexpr int dimMs = 250;
    static constexpr int brightenMs = 180;

    IdleDimmer(QWindow &panel, AppModel &model, Scheduler &scheduler, QString controlFolder, QObject *parent = nullptr);
    ~IdleDimmer() override;

    /// Reads the config, starts watching the control folder and arms the idle timer.
    void start();

    /// Counts as user activity: full opacity now, dimming again only after a quiet spell.
    void activity();
    void scheduleIdleTimer();
    void restoreFullOpacity();
    /// The docked strip is never dim: full opacity at once, without animation.
    void showUndimmed();
    /// Re-reads hud_config.json; a changed level applies at once to a dimmed HUD.
    void reloadConfig();

    bool isDimmed() const { return m_dimmed; }
    double idleOpacity() const { return m_idleOpacity; }
    /// Where the panel's opacity is heading (its current value when nothing animates).
    double targetOpacity() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watchConfigFile();
    void dimStep();
    void scheduleModelActivity();
    void animateTo(double opacity, int durationMs);

    QWindow &m_panel;
    AppModel &m_model;
    const QString m_controlFolder;
    std::unique_ptr<QPropertyAnimation> m_animation;
    std::unique_ptr<QFileSystemWatcher> m_watcher;
    ScheduledCall m_idleTimer;
    ScheduledCall m_modelThrottle;
    double m_idleOpacity;
    bool m_dimmed = false;
};

} // namespace halvic
