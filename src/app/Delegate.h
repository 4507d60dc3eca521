#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>

#include <functional>
#include <memory>

#include "FileChoosers.h"

class QAction;
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
class GestureController;
class GestureRow;
class GlassPanel;
class HudController;
class HudPlacement;
class HudRequests;
class IdleDimmer;
class MenuPopup;
class PointerSink;
class Popups;
class QtScheduler;
class UnixSignals;
class WindowCommands;
class WindowSystem;
struct CameraAlert;
struct MenuEntry;
using Menu = std::vector<MenuEntry>;

/// The application's root, where the libraries are wired together: owns the model, the
/// dispatcher and its rows, the engine link, the HUD panel, the cards, the window commands,
/// the tray menu and the signal handlers; stops the engine before quitting.
class Delegate final : public QObject
{
    Q_OBJECT
public:
    Delegate();
    ~Delegate() override;

    /// Builds the HUD and the tray menu and starts the engine. False when the HUD cannot be
    /// created.
    bool launch();

    /// Shows or hides the HUD panel.
    void toggleHUD();
    /// Opens the memory card, or puts it away when it is on screen.
    void toggleMemory();
    /// Stops the engine when it runs, starts it otherwise.
    void togglePower();
    /// Asks the engine to toggle the microphone.
    void mute();
    /// Hides the storage card ("My Files") when it is on screen, else opens it.
    void toggleStorage();
    /// Switches hand gestures, tells the engine and checks for a camera.
    void toggleGestures();
    /// Takes every window away at once, stops the engine and quits once it has exited (or
    /// been killed after its grace time), never blocking.
    void quit();
    /// Turns starting with the desktop session on or off.
    void toggleAutostart();

private:
    void wireEngine();
    void wireWindowCommands();
    bool buildPanels();
    void wireHud();
    void buildMenuBar();
    void setupIdleDimming();
    void setGesturesActive(bool on);
    /// The gesture controller, made on first use.
    GestureController &gestures();
    void showCameraAlert(const CameraAlert &camera);
    /// Hides every window and the tray icon, and drops what could show new ones.
    void takeDownViews();
    void minimize();
    void activateInput();
    void pickFiles();
    /// Asks for a file chooser (files only, several at once) for `asker`, which gets what the
    /// user chose there; shown now, or once the chooser open for another asker closes.
    void pickFilesFor(const QString &asker, const QString &title, FileChooserQueue::Chosen chosen);
    void showFileChooser();
    void wireCardFilePickers();
    void showMenu(const Menu &menu, QPointF globalPos);
    Menu trayOnlyEntries() const;

    std::unique_ptr<QtScheduler> m_scheduler;
    std::unique_ptr<AppModel> m_model;
    std::unique_ptr<EventDispatcher> m_dispatcher;
    std::unique_ptr<Engine> m_engine;
    std::unique_ptr<HudRequests> m_requests;
    std::unique_ptr<WindowCommands> m_windows;
    std::unique_ptr<QQmlEngine> m_qml;
    std::unique_ptr<HudController> m_hud;
    std::unique_ptr<GlassPanel> m_hudPanel;
    std::unique_ptr<HudPlacement> m_placement;
    std::unique_ptr<Cards> m_cards;
    std::unique_ptr<IdleDimmer> m_dimmer;
    std::unique_ptr<Popups> m_popups;
    std::unique_ptr<QMenu> m_trayMenu;
    std::unique_ptr<QSystemTrayIcon> m_tray;
    QPointer<QAction> m_gesturesItem;
    std::unique_ptr<Autostart> m_autostart;
    std::unique_ptr<MenuPopup> m_popupMenu;
    std::unique_ptr<UnixSignals> m_signals;
    std::unique_ptr<PointerSink> m_pointer;
    std::unique_ptr<WindowSystem> m_gestureWindows;
    std::unique_ptr<GestureController> m_gestures;
    std::unique_ptr<GestureRow> m_gestureRow;
    FileChooserQueue m_fileChoosers;
    QPointer<QFileDialog> m_filePicker;
    QPointer<QMessageBox> m_cameraAlert;
    bool m_gesturesOn = false;
    bool m_quitting = false;
};

} // namespace halvic
