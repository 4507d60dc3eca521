#pragma once

#include <QObject>
#include <QString>

#include <memory>

#include "Menu.h"

class QQmlEngine;

namespace halvic {

class AppModel;
class GlassPanel;
class HudController;
class HudPlacement;
class IdleDimmer;
class Scheduler;

/// The HUD panel and what it does as a window: its view, where it sits, fading when idle,
/// folding into its pill on a long press (with a brief cue when the press is taken), hiding
/// and coming back, and taking the keyboard for the chat input.
class HudPanel final : public QObject
{
    Q_OBJECT
public:
    /// Loads the HUD's view into a new, still hidden panel; null (with the view's errors
    /// logged) when the view cannot be made.
    static std::unique_ptr<HudPanel> create(
        QQmlEngine &qml, AppModel &model, HudController &hud, Scheduler &scheduler, QObject *parent = nullptr);
    ~HudPanel() override;

    /// Places and shows the panel, then starts dimming it when idle (the dimming settings
    /// live in the engine's control folder).
    void showFirst(const QString &controlFolder);
    /// Shows the panel in its place, or hides it.
    void toggle();
    /// With a tray the panel hides and the tray brings it back; without one nothing could,
    /// so it folds into its pill instead.
    void setHidesToTray(bool hides) { m_hidesToTray = hides; }
    void minimize();
    /// Raises the panel and gives it the keyboard, for typing into the chat.
    void activateInput();
    /// The user did something with the HUD (or the hands): it shows undimmed.
    void activity();

    /// What the HUD offers in the tray menu: showing itself, the assistant's power, the mic.
    Menu menuEntries();

private:
    HudPanel(AppModel &model, HudController &hud, Scheduler &scheduler, QObject *parent);
    void watchLongPress();

    AppModel &m_model;
    HudController &m_hud;
    Scheduler &m_scheduler;
    std::unique_ptr<GlassPanel> m_panel;
    std::unique_ptr<HudPlacement> m_placement;
    std::unique_ptr<IdleDimmer> m_dimmer;
    bool m_hidesToTray = false;
};

} // namespace halvic
