#include "GnomeDesktop.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "GnomeExtension.h"
#include "GnomePointer.h"
#include "GnomeWindowSystem.h"
#include "GnomeWindows.h"
#include "Logging.h"
#include "X11Desktop.h"
#include "X11WindowSystem.h"

namespace halvic {

namespace {

/// Asked once at start: a Shell that does not answer within this is taken as not there.
constexpr int versionTimeoutMs = 1000;

/// Our windows run on XWayland, where the Shell honours most EWMH hints; the extension also
/// keeps them above, on every workspace and at the frame the program set.
class GnomeOwnWindows final : public OwnWindows
{
public:
    explicit GnomeOwnWindows(std::shared_ptr<gnome::Extension> extension)
        : m_x11(x11OwnWindows())
        , m_extension(std::move(extension))
    {
    }

    void prepare(QWindow &window) override { m_x11->prepare(window); }

    void placed(QWindow &window, const QRect &frame) override
    {
        m_x11->placed(window, frame);
        m_extension->send(QStringLiteral("PlaceOwn"),
            {uint(window.winId()), frame.x(), frame.y(), std::max(frame.width(), 1), std::max(frame.height(), 1)});
    }

    bool leftButtonHeld() override { return m_x11->leftButtonHeld(); }
    /// The Shell sends a click over an XWayland window to that window, whatever its input shape.
    bool overlaysPassInput() const override { return false; }

private:
    std::unique_ptr<OwnWindows> m_x11;
    std::shared_ptr<gnome::Extension> m_extension;
};

} // namespace

std::unique_ptr<GnomeDesktop> GnomeDesktop::open()
{
    // One question to the Shell, once at start, before any window exists.
    QDBusMessage get = QDBusMessage::createMethodCall(QStringLiteral("org.gnome.Shell"),
        QStringLiteral("/org/gnome/Shell"), QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get.setArguments({QStringLiteral("org.gnome.Shell"), QStringLiteral("ShellVersion")});
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return nullptr;
    const QDBusMessage reply = bus.call(get, QDBus::Block, versionTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return nullptr;
    const QString version = reply.arguments().value(0).value<QDBusVariant>().variant().toString();
    qCInfo(lcWindows).noquote() << "GNOME Shell" << version;
    return std::unique_ptr<GnomeDesktop>(new GnomeDesktop(version));
}

GnomeDesktop::GnomeDesktop(QString shellVersion)
    : Desktop(DesktopKind::GnomeWayland)
    , m_uuid(gnome::extensionUuid(shellVersion))
    , m_extension(std::make_shared<gnome::Extension>())
    , m_own(std::make_unique<GnomeOwnWindows>(m_extension))
{
    OwnWindows::install(*m_own);
}

GnomeDesktop::~GnomeDesktop()
{
    OwnWindows::uninstall(*m_own);
}

void GnomeDesktop::tellMissing()
{
    // Said once a session, whether window commands or gestures found it missing first.
    if (m_missingTold.exchange(true))
        return;
    if (m_extension->refused()) {
        tell(QCoreApplication::translate("GnomeDesktop",
            "The Halvic HUD extension of GNOME Shell answers only the HUD it was installed with, sir: I can only "
            "arrange applications that run on XWayland, and hand gestures reach only those."));
        return;
    }
    tell(QCoreApplication::translate("GnomeDesktop",
        "The Halvic HUD extension of GNOME Shell is not enabled, sir: I can only arrange applications that run "
        "on XWayland, and hand gestures reach only those. Turn it on with “gnome-extensions enable %1”; GNOME on "
        "Wayland loads a newly installed extension at the next login.")
             .arg(m_uuid));
}

std::unique_ptr<WindowSystem> GnomeDesktop::windowSystem()
{
    std::unique_ptr<WindowSystem> fallback;
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        fallback = X11WindowSystem::connect();
    return std::make_unique<GnomeWindowSystem>(m_extension, std::move(fallback), [this] { tellMissing(); });
}

std::unique_ptr<PointerSink> GnomeDesktop::pointerSink()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return std::make_unique<GnomePointer>(m_extension, screen ? screen->devicePixelRatio() : 1.0,
        screen ? screen->virtualGeometry() : QRect(), xtestPointerSink(), [this] { tellMissing(); });
}

OwnWindows &GnomeDesktop::ownWindows()
{
    return *m_own;
}

} // namespace halvic
