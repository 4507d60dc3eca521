#include "Delegate.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QQmlEngine>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QWindow>

#include <csignal>

#include "AppMenus.h"
#include "AppModel.h"
#include "Autostart.h"
#include "Cards.h"
#include "Desktop.h"
#include "DockStrip.h"
#include "Engine.h"
#include "EngineWiring.h"
#include "EventDispatcher.h"
#include "HandGestures.h"
#include "HudController.h"
#include "HudPanel.h"
#include "HudRequests.h"
#include "Line.h"
#include "MenuPopup.h"
#include "Paths.h"
#include "Platform.h"
#include "Popups.h"
#include "Scheduler.h"
#include "Symbols.h"
#include "UnixSignals.h"
#include "WindowCommands.h"
#include "WindowManager.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

namespace {

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

std::optional<CameraAlert> missingCamera()
{
    return cameraAlert(videoNodes(), qEnvironmentVariable("XDG_CURRENT_DESKTOP"), [](const QString &entry) {
        return !QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry).isEmpty();
    });
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

// Members go in reverse order: views before the controller, model and engine they show.
Delegate::~Delegate() = default;

bool Delegate::launch()
{
    // Before the first window: the backend places our own windows from then on.
    m_desktop = openSessionDesktop();
    m_engine = std::make_unique<Engine>(*m_dispatcher, *m_scheduler);
    m_requests = std::make_unique<HudRequests>(m_engine->control());
    wireEngine();
    wireWindowCommands();
    if (!buildHud())
        return false;
    m_cards = std::make_unique<Cards>(
        CardContext{*m_scheduler, *m_qml, m_engine->control(), QCoreApplication::applicationFilePath()});
    m_cards->registerRows(*m_dispatcher);
    m_cards->useFilePicker([this](FileChooserQueue::Request request) { pickFiles(std::move(request)); });
    connect(m_hud.get(), &HudController::memoryRequested, m_cards.get(), &Cards::openMemory);
    m_hud->setMemoryAvailable(true);
    m_gestures = std::make_unique<HandGestures>(*m_scheduler, *m_qml, *m_requests, *m_desktop);
    m_gestures->registerRows(*m_dispatcher);
    // Gestures end with the engine that drove them; hand use counts as activity.
    connect(m_engine.get(), &Engine::exited, m_gestures.get(),
        [gestures = m_gestures.get()] { gestures->setActive(false); });
    connect(m_gestures.get(), &HandGestures::activity, m_hudPanel.get(), &HudPanel::activity);
    connect(m_gestures.get(), &HandGestures::switchedOn, this, [this] {
        if (const auto camera = missingCamera())
            showCameraAlert(*camera);
    });
    buildTray();
    // Text fields in Qt Quick carry the standard editing shortcuts (cut, copy, paste,
    // select all) themselves; no menu is needed for them.
    m_engine->start();
    m_hudPanel->showFirst(m_engine->locations().control);

    m_signals = std::make_unique<UnixSignals>(std::initializer_list<int>{SIGTERM, SIGINT, SIGHUP});
    connect(m_signals.get(), &UnixSignals::received, this, &Delegate::quit);
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { m_engine->stop(); });
    return true;
}

void Delegate::wireEngine()
{
    showEngineInModel(*m_engine, *m_model);
}

void Delegate::wireWindowCommands()
{
    m_windows = std::make_unique<WindowCommands>(m_desktop->windowSystem(), m_desktop->limitation());
    // The desktop tells from its own threads: the line is shown on ours.
    m_desktop->onTell([model = QPointer<AppModel>(m_model.get())](const QString &message) {
        QMetaObject::invokeMethod(
            qApp,
            [model, message] {
                if (model)
                    model->push(speaker::tarvel, message);
            },
            Qt::QueuedConnection);
    });
    m_windows->registerRows(*m_dispatcher);
    connect(m_windows.get(), &WindowCommands::told, m_model.get(),
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

bool Delegate::buildHud()
{
    m_hud = std::make_unique<HudController>(*m_model, *m_scheduler, *m_requests);
    m_qml = std::make_unique<QQmlEngine>();
    addImportPaths(*m_qml);
    m_hudPanel = HudPanel::create(*m_qml, *m_model, *m_hud, *m_scheduler);
    if (!m_hudPanel)
        return false;
    wireHud();
    m_popups = std::make_unique<Popups>(*m_qml, *m_scheduler, [](const QUrl &url) { QDesktopServices::openUrl(url); });
    m_popups->registerRows(*m_dispatcher);
    return true;
}

void Delegate::wireHud()
{
    HudController *hud = m_hud.get();
    connect(hud, &HudController::powerRequested, this, &Delegate::togglePower);
    connect(hud, &HudController::quitRequested, this, &Delegate::quit);
    connect(hud, &HudController::attachRequested, this, [this] {
        pickFiles({u"chat"_s, tr("Attach files"),
            [this](const QList<QUrl> &urls) { m_model->setAttachments(m_model->attachments() + urls); }});
    });
    connect(hud, &HudController::menuRequested, this, &Delegate::showMenu);
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        // Without a tray, the HUD's own menu carries what the tray menu would.
        hud->setExtraMenuEntries([self = QPointer(this)] { return self ? self->menus().moreExtras() : Menu(); });
    }
}

AppMenus Delegate::menus()
{
    const QPointer<Delegate> self(this);
    return {
        .hud = [self] { return self && self->m_hudPanel ? self->m_hudPanel->menuEntries() : Menu(); },
        .features =
            [self] {
                Menu menu;
                if (!self)
                    return menu;
                const auto add = [&menu](Menu entries) {
                    for (MenuEntry &entry : entries)
                        menu.push_back(std::move(entry));
                };
                // A feature that a menu opens or switches adds its line here.
                if (self->m_cards)
                    add(self->m_cards->menuEntries());
                if (self->m_gestures)
                    add(self->m_gestures->menuEntries());
                add(self->m_autostart->menuEntries());
                return menu;
            },
        .quit =
            [self] {
                if (self)
                    self->quit();
            },
    };
}

void Delegate::buildTray()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_hudPanel->setHidesToTray(true);
    m_trayMenu = widgetMenu([menus = menus()] { return menus.tray(); });
    m_tray = std::make_unique<QSystemTrayIcon>(symbolIcon(u"waveform.circle.fill"_s));
    m_tray->setToolTip(tr("Tarvel"));
    m_tray->setContextMenu(m_trayMenu.get());
    m_tray->show();
}

void Delegate::togglePower()
{
    if (m_engine->isRunning())
        m_engine->stop();
    else
        m_engine->start();
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

void Delegate::pickFiles(FileChooserQueue::Request request)
{
    if (m_fileChoosers.ask(std::move(request)))
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
