#include "Delegate.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QWindow>

#include <csignal>

#include "AppModel.h"
#include "Autostart.h"
#include "Cards.h"
#include "ComposePanel.h"
#include "DockStrip.h"
#include "Engine.h"
#include "EngineWiring.h"
#include "EventDispatcher.h"
#include "GestureController.h"
#include "GestureRow.h"
#include "GlassPanel.h"
#include "HudController.h"
#include "HudPlacement.h"
#include "HudRequests.h"
#include "IdleDimmer.h"
#include "Line.h"
#include "MemoryPanel.h"
#include "MenuPopup.h"
#include "Paths.h"
#include "Platform.h"
#include "PointerSink.h"
#include "Popups.h"
#include "QtGestureDesktop.h"
#include "Scheduler.h"
#include "StoragePanel.h"
#include "Symbols.h"
#include "UnixSignals.h"
#include "WindowCommands.h"
#include "WindowManager.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QSize hudInitialSize{392, 120};

QIcon symbolIcon(const QString &symbol)
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QFont font(Symbols::fontFamily());
    font.setPixelSize(56);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, Symbols::glyph(symbol));
    return QIcon(pixmap);
}

} // namespace

Delegate::Delegate()
    : m_scheduler(std::make_unique<QtScheduler>())
    , m_model(std::make_unique<AppModel>(*m_scheduler))
    , m_dispatcher(std::make_unique<EventDispatcher>())
{
    m_model->registerRows(*m_dispatcher);
    // Started at login as it was started now, with the engine folder it was given, if any.
    QStringList command{QCoreApplication::applicationFilePath()};
    if (Paths::rootOption())
        command << u"--engine"_s << Paths::root();
    m_autostart = std::make_unique<Autostart>(
        Autostart::entryPathFor([](const char *name) { return qEnvironmentVariable(name); }, QDir::homePath()),
        command);
}

Delegate::~Delegate()
{
    // Views go before the controller and model they show.
    m_gestures.reset();
    m_popupMenu.reset();
    m_cards.reset();
    m_popups.reset();
    m_dimmer.reset();
    m_placement.reset();
    m_hudPanel.reset();
    m_hud.reset();
    m_qml.reset();
}

bool Delegate::launch()
{
    m_engine = std::make_unique<Engine>(*m_dispatcher, *m_scheduler);
    m_requests = std::make_unique<HudRequests>(m_engine->control());
    wireEngine();
    wireWindowCommands();
    if (!buildPanels())
        return false;
    m_cards = std::make_unique<Cards>(CardContext{*m_scheduler, *m_qml, m_engine->control()});
    m_cards->registerRows(*m_dispatcher);
    wireCardFilePickers();
    connect(m_hud.get(), &HudController::memoryRequested, &m_cards->memory(), &MemoryPanel::open);
    m_hud->setMemoryAvailable(true);
    buildMenuBar();
    // Text fields in Qt Quick carry the standard editing shortcuts (cut, copy, paste,
    // select all) themselves; no menu is needed for them.
    m_engine->start();
    m_placement->reanchor();
    m_hudPanel->show();
    setupIdleDimming();

    m_signals = std::make_unique<UnixSignals>(std::initializer_list<int>{SIGTERM, SIGINT, SIGHUP});
    connect(m_signals.get(), &UnixSignals::received, this, &Delegate::quit);
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { m_engine->stop(); });
    return true;
}

void Delegate::wireEngine()
{
    showEngineInModel(*m_engine, *m_model);
    // Gestures end with the engine that drove them.
    connect(m_engine.get(), &Engine::exited, this, [this] { setGesturesActive(false); });
    m_gestureRow = std::make_unique<GestureRow>();
    m_gestureRow->registerRows(*m_dispatcher);
    connect(m_gestureRow.get(), &GestureRow::switched, this, &Delegate::setGesturesActive);
}

void Delegate::wireWindowCommands()
{
    m_windows = std::make_unique<WindowCommands>(WindowManager::defaultSystem());
    m_windows->registerRows(*m_dispatcher);
    connect(m_windows.get(), &WindowCommands::unavailable, m_model.get(),
        [model = m_model.get()](const QString &message) { model->push(speaker::tarvel, message); });
    // Arranged windows keep the docked HUD's strip free.
    const auto updateStrip = [this] {
        m_windows->setDockedStrip({m_model->docked(), dock::stripWidth(m_model->dockWidth()), m_model->dockSide()});
    };
    connect(m_model.get(), &AppModel::dockedChanged, m_windows.get(), updateStrip);
    connect(m_model.get(), &AppModel::dockWidthChanged, m_windows.get(), updateStrip);
    connect(m_model.get(), &AppModel::dockSideChanged, m_windows.get(), updateStrip);
    updateStrip();
}

bool Delegate::buildPanels()
{
    const QPointer<Delegate> self(this);
    m_hud = std::make_unique<HudController>(*m_model, *m_scheduler, *m_requests);
    wireHud();

    m_qml = std::make_unique<QQmlEngine>();
    // The modules are compiled in under qrc:/<URI path>.
    m_qml->addImportPath(u"qrc:/"_s);
    // Plugins loaded on demand (the email card's web bodies): installed beside the
    // application's libraries, or in the build tree; an installed HUD never uses the latter.
    const QString installedQml = QCoreApplication::applicationDirPath() + u"/../lib/halvic/qml"_s;
    m_qml->addImportPath(QFileInfo(installedQml).isDir() ? installedQml : QStringLiteral(HALVIC_BUILD_QML_DIR));
    QQmlComponent component(m_qml.get(), QUrl(u"qrc:/Halvic/Hud/HUDView.qml"_s));
    // Creating from a component in error crashed here with Qt 6.4 (no upstream report found); report its errors instead.
    if (!component.isReady()) {
        qWarning().noquote() << component.errorString();
        return false;
    }
    std::unique_ptr<QObject> view(component.createWithInitialProperties(
        {{u"app"_s, QVariant::fromValue(m_model.get())}, {u"hud"_s, QVariant::fromValue(m_hud.get())}}));
    auto *item = qobject_cast<QQuickItem *>(view.get());
    if (!item) {
        qWarning().noquote() << component.errorString();
        return false;
    }
    view.release();
    m_hudPanel = std::make_unique<GlassPanel>(*m_scheduler, hudInitialSize);
    m_hudPanel->setContent(item);
    // A new window starts at the desktop's origin, which on X11 may lie on another display
    // than the primary one: start on the primary display, so the first placement takes the
    // corner remembered for it.
    if (QScreen *primary = QGuiApplication::primaryScreen()) {
        m_hudPanel->setScreen(primary);
        m_hudPanel->setPosition(primary->availableGeometry().topLeft());
    }
    m_hudPanel->setLongPressHooks({
        .canLongPress = [self] { return self && (self->m_model->collapsed() || !self->m_model->docked()); },
        .onLongPressBegin =
            [self] {
                if (!self)
                    return;
                self->m_model->setLongPressCue(true);
                self->m_scheduler->callAfter(Duration(160), self, [self] { self->m_model->setLongPressCue(false); });
            },
        .onLongPress =
            [self] {
                if (!self)
                    return;
                self->m_model->setCollapsed(!self->m_model->collapsed());
                if (self->m_dimmer)
                    self->m_dimmer->activity();
            },
    });
    m_placement = std::make_unique<HudPlacement>(
        *m_hudPanel, *m_model, *m_scheduler, std::make_unique<QSettings>(), &leftButtonHeld);
    m_popups = std::make_unique<Popups>(*m_qml, *m_scheduler, [](const QUrl &url) { QDesktopServices::openUrl(url); });
    m_popups->registerRows(*m_dispatcher);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        connect(screen, &QScreen::availableGeometryChanged, m_placement.get(), &HudPlacement::reanchor);
    });
    const auto screens = QGuiApplication::screens();
    for (QScreen *screen : screens)
        connect(screen, &QScreen::availableGeometryChanged, m_placement.get(), &HudPlacement::reanchor);
    return true;
}

void Delegate::wireHud()
{
    HudController *hud = m_hud.get();
    connect(hud, &HudController::powerRequested, this, &Delegate::togglePower);
    connect(hud, &HudController::minimizeRequested, this, &Delegate::minimize);
    connect(hud, &HudController::quitRequested, this, &Delegate::quit);
    connect(hud, &HudController::attachRequested, this, &Delegate::pickFiles);
    connect(hud, &HudController::activateInputRequested, this, &Delegate::activateInput);
    connect(hud, &HudController::menuRequested, this, &Delegate::showMenu);
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        // Without a tray, the HUD's own menu carries what the tray menu would.
        hud->setExtraMenuEntries([self = QPointer(this)] { return self ? self->trayOnlyEntries() : Menu(); });
    }
}

Menu Delegate::trayOnlyEntries() const
{
    const QPointer<const Delegate> self(this);
    return {
        {tr("What Halvic Remembers"),
            [self] {
                if (self && self->m_cards)
                    self->m_cards->memory().toggle();
            },
            true},
        {tr("My Files"),
            [self] {
                if (self)
                    const_cast<Delegate *>(self.data())->toggleStorage();
            },
            true},
        {tr("Hand Gestures"),
            [self] {
                if (self)
                    const_cast<Delegate *>(self.data())->toggleGestures();
            },
            true, true, m_gesturesOn},
        {tr("Start at Login"),
            [self] {
                if (self)
                    const_cast<Delegate *>(self.data())->toggleAutostart();
            },
            true, true, m_autostart->isEnabled()},
    };
}

void Delegate::buildMenuBar()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_trayMenu = std::make_unique<QMenu>();
    using Action = void (Delegate::*)();
    const auto add = [this](const QString &title, Qt::Key key, Action method) {
        QAction *action = m_trayMenu->addAction(title);
        action->setShortcut(QKeySequence(Qt::CTRL | key));
        if (method)
            connect(action, &QAction::triggered, this, method);
        else
            action->setEnabled(false); // its card is not built yet
        return action;
    };
    add(tr("Show / Hide HUD"), Qt::Key_H, &Delegate::toggleHUD);
    add(tr("Start / Stop Assistant"), Qt::Key_S, &Delegate::togglePower);
    add(tr("Mute / Unmute Mic"), Qt::Key_M, &Delegate::mute);
    add(tr("What Halvic Remembers"), Qt::Key_R, &Delegate::toggleMemory);
    add(tr("My Files"), Qt::Key_F, &Delegate::toggleStorage);
    m_gesturesItem = add(tr("Hand Gestures"), Qt::Key_G, &Delegate::toggleGestures);
    m_gesturesItem->setCheckable(true);
    QAction *autostartItem = m_trayMenu->addAction(tr("Start at Login"));
    autostartItem->setCheckable(true);
    connect(autostartItem, &QAction::triggered, this, &Delegate::toggleAutostart);
    // Read from the entry each time, so a change made elsewhere shows.
    connect(m_trayMenu.get(), &QMenu::aboutToShow, autostartItem,
        [this, autostartItem] { autostartItem->setChecked(m_autostart->isEnabled()); });
    m_trayMenu->addSeparator();
    add(tr("Quit"), Qt::Key_Q, &Delegate::quit);

    m_tray = std::make_unique<QSystemTrayIcon>(symbolIcon(u"waveform.circle.fill"_s));
    m_tray->setToolTip(tr("Tarvel"));
    m_tray->setContextMenu(m_trayMenu.get());
    m_tray->show();
}

void Delegate::setupIdleDimming()
{
    m_dimmer = std::make_unique<IdleDimmer>(*m_hudPanel, *m_model, *m_scheduler, m_engine->locations().control);
    connect(m_placement.get(), &HudPlacement::userDragged, m_dimmer.get(), &IdleDimmer::activity);
    connect(m_placement.get(), &HudPlacement::placedDocked, m_dimmer.get(), &IdleDimmer::showUndimmed);
    // Hand use counts as activity.
    gestures().onActivity = [dimmer = QPointer<IdleDimmer>(m_dimmer.get())] {
        if (dimmer)
            dimmer->activity();
    };
    m_dimmer->start();
}

void Delegate::toggleHUD()
{
    if (m_hudPanel->isVisible()) {
        m_hudPanel->hide();
        return;
    }
    m_hudPanel->show();
    m_placement->reanchor();
    if (m_dimmer)
        m_dimmer->activity();
}

void Delegate::toggleMemory()
{
    if (m_cards)
        m_cards->memory().toggle();
}

void Delegate::togglePower()
{
    if (m_engine->isRunning())
        m_engine->stop();
    else
        m_engine->start();
}

void Delegate::mute()
{
    m_requests->toggleMute();
}

GestureController &Delegate::gestures()
{
    if (!m_gestures) {
        m_pointer = defaultPointerSink();
        m_gestureWindows = WindowManager::defaultSystem();
        m_gestures = std::make_unique<GestureController>(
            *m_scheduler, *m_pointer, *m_gestureWindows, qtGestureDesktop(*m_qml));
    }
    return *m_gestures;
}

void Delegate::toggleGestures()
{
    const bool on = !gestures().isEnabled();
    m_requests->setGestures(on);
    setGesturesActive(on);
}

void Delegate::toggleAutostart()
{
    // A failed write leaves the item as the file says, which the next look at the menu shows.
    m_autostart->setEnabled(!m_autostart->isEnabled());
}

void Delegate::setGesturesActive(bool on)
{
    if (m_quitting)
        return;
    if (on) {
        const auto camera
            = cameraAlert(videoNodes(), qEnvironmentVariable("XDG_CURRENT_DESKTOP"), [](const QString &entry) {
                  return !QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry).isEmpty();
              });
        if (camera)
            showCameraAlert(*camera);
    }
    // The gesture controller is switched regardless: the alert explains what is missing.
    // Off needs no controller: none is made for it (the engine may report its exit while the
    // delegate is being taken down).
    if (on || m_gestures)
        gestures().setEnabled(on);
    m_gesturesOn = on;
    if (m_gesturesItem)
        m_gesturesItem->setChecked(on);
}

void Delegate::showCameraAlert(const CameraAlert &camera)
{
    if (m_cameraAlert) {
        m_cameraAlert->raise();
        return;
    }
    auto *alert = new QMessageBox(QMessageBox::Warning, tr("Halvic"), camera.title);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowFlag(Qt::WindowStaysOnTopHint);
    alert->setInformativeText(camera.text);
    // A settings button only where the desktop has a camera page to open.
    if (!camera.settings.isEmpty()) {
        QPushButton *open = alert->addButton(tr("Open Camera Settings"), QMessageBox::AcceptRole);
        connect(open, &QPushButton::clicked, this,
            [settings = camera.settings] { QProcess::startDetached(settings.front(), settings.mid(1)); });
    }
    alert->addButton(QMessageBox::Close);
    m_cameraAlert = alert;
    alert->open();
}

void Delegate::minimize()
{
    // With a tray the HUD hides and the tray brings it back; without one nothing could, so
    // the HUD folds into its pill instead.
    if (m_tray)
        m_hudPanel->hide();
    else
        m_model->setCollapsed(!m_model->collapsed());
}

void Delegate::activateInput()
{
    m_hudPanel->raise();
    m_hudPanel->requestActivate();
}

void Delegate::pickFiles()
{
    pickFilesFor(u"chat"_s, tr("Attach files"),
        [this](const QList<QUrl> &urls) { m_model->setAttachments(m_model->attachments() + urls); });
}

void Delegate::pickFilesFor(const QString &asker, const QString &title, FileChooserQueue::Chosen chosen)
{
    if (m_fileChoosers.ask({asker, title, std::move(chosen)}))
        showFileChooser();
    else if (m_filePicker)
        // One chooser at a time: the open one comes forward, to be dealt with first.
        m_filePicker->raise();
}

void Delegate::showFileChooser()
{
    const FileChooserQueue::Request *request = m_fileChoosers.open();
    if (!request)
        return;
    auto *picker = new QFileDialog(nullptr, request->title);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    picker->setFileMode(QFileDialog::ExistingFiles);
    picker->setWindowFlag(Qt::WindowStaysOnTopHint);
    connect(picker, &QFileDialog::urlsSelected, this, [this](const QList<QUrl> &urls) { m_fileChoosers.choose(urls); });
    connect(picker, &QDialog::finished, this, [this] {
        if (m_fileChoosers.close())
            showFileChooser();
    });
    m_filePicker = picker;
    picker->open();
}

void Delegate::wireCardFilePickers()
{
    ComposePanel *compose = &m_cards->compose();
    connect(compose, &ComposePanel::attachmentsPickRequested, this, [this, compose] {
        pickFilesFor(u"compose"_s, tr("Attach files"), [compose = QPointer(compose)](const QList<QUrl> &urls) {
            if (compose)
                compose->addAttachments(urls);
        });
    });
    StoragePanel *storage = &m_cards->storage();
    connect(storage, &StoragePanel::uploadPickRequested, this, [this, storage] {
        pickFilesFor(u"storage"_s, tr("Upload files"), [storage = QPointer(storage)](const QList<QUrl> &urls) {
            if (storage)
                storage->uploadURLs(urls);
        });
    });
}

void Delegate::toggleStorage()
{
    if (m_cards)
        m_cards->storage().toggle();
}

void Delegate::showMenu(const Menu &menu, QPointF globalPos)
{
    if (!m_popupMenu)
        m_popupMenu = std::make_unique<MenuPopup>(*m_qml, *m_scheduler);
    m_popupMenu->popup(menu, globalPos);
}

void Delegate::quit()
{
    if (m_quitting)
        return;
    m_quitting = true;
    takeDownViews();
    if (!m_engine) {
        QCoreApplication::quit();
        return;
    }
    m_engine->stop();
    if (!m_engine->hasLiveProcesses()) {
        QCoreApplication::quit();
        return;
    }
    // Out of sight now, the HUD waits for the engine's orderly stop (or the kill after its
    // grace time); should even a killed engine linger, it leaves anyway and its destructor
    // reaps what is left.
    connect(m_engine.get(), &Engine::allProcessesExited, qApp, &QCoreApplication::quit);
    m_scheduler->callAfter(Engine::killAfter + Engine::reapAfterKill, this, [] { QCoreApplication::quit(); });
}

void Delegate::takeDownViews()
{
    if (m_tray)
        m_tray->hide();
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets)
        widget->hide();
    const auto windows = QGuiApplication::topLevelWindows();
    for (QWindow *window : windows)
        window->hide();
    // What the engine or the hands could still show goes too (a large event parsed before
    // the stop may yet arrive); the HUD panel stays, hidden, as the menus' owner.
    m_gestures.reset();
    m_cards.reset();
    m_popups.reset();
}

} // namespace halvic
