#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>

#include <memory>

#include "FileChoosers.h"
#include "Menu.h"

class QFileDialog;
class QMenu;
class QMessageBox;
class QQmlEngine;
class QSystemTrayIcon;

namespace halvic {

class AppModel;
class Autostart;
class Cards;
class Engine;
class EventDispatcher;
class Desktop;
class HandGestures;
class HudController;
class HudPanel;
class HudRequests;
class MenuPopup;
class Popups;
class QtScheduler;
class UnixSignals;
class WindowCommands;
struct AppMenus;
struct CameraAlert;

/// The application's root, where the libraries are made and wired together: the model, the
/// dispatcher, the engine link, the HUD, the cards, gestures, the window commands, the tray
/// and the signal handlers; stops the engine before quitting.
class Delegate final : public QObject
{
    Q_OBJECT
public:
    Delegate();
    ~Delegate() override;

    /// Builds the HUD and the tray menu and starts the engine. False when the HUD cannot be
    /// created.
    bool launch();

    /// Stops the engine when it runs, starts it otherwise.
    void togglePower();
    /// Takes every window away at once, stops the engine and quits once it has exited (or
    /// been killed after its grace time), never blocking.
    void quit();

private:
    void wireEngine();
    void wireWindowCommands();
    bool buildHud();
    void wireHud();
    AppMenus menus();
    void buildTray();
    void showCameraAlert(const CameraAlert &camera);
    /// Hides every window and the tray icon, and drops what could show new ones.
    void takeDownViews();
    /// Shows a file chooser (files only, several at once) for the request, now or once the
    /// chooser open for another asker closes.
    void pickFiles(FileChooserQueue::Request request);
    void showFileChooser();
    void showMenu(const Menu &menu, QPointF globalPos);

    std::unique_ptr<QtScheduler> m_scheduler;
    std::unique_ptr<AppModel> m_model;
    std::unique_ptr<EventDispatcher> m_dispatcher;
    std::unique_ptr<Autostart> m_autostart;
    std::unique_ptr<Desktop> m_desktop;
    std::unique_ptr<Engine> m_engine;
    std::unique_ptr<HudRequests> m_requests;
    std::unique_ptr<WindowCommands> m_windows;
    std::unique_ptr<QQmlEngine> m_qml;
    std::unique_ptr<HudController> m_hud;
    std::unique_ptr<HudPanel> m_hudPanel;
    std::unique_ptr<Cards> m_cards;
    std::unique_ptr<Popups> m_popups;
    std::unique_ptr<HandGestures> m_gestures;
    std::unique_ptr<QMenu> m_trayMenu;
    std::unique_ptr<QSystemTrayIcon> m_tray;
    std::unique_ptr<MenuPopup> m_popupMenu;
    std::unique_ptr<UnixSignals> m_signals;
    FileChooserQueue m_fileChoosers;
    QPointer<QFileDialog> m_filePicker;
    QPointer<QMessageBox> m_cameraAlert;
    bool m_quitting = false;
};

} // namespace halvic
