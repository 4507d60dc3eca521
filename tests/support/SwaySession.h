#pragma once

#include <QJsonArray>

#include <pwd.h>

#include "SwayIpc.h"
#include "SwayTree.h"
#include "WaylandSession.h"

namespace halvic::testing {

/// A private headless sway (one 1920×1080 output, XWayland started at once) for one test
/// program. sway refuses to run as root, so it and its bus run as an unprivileged user; the
/// test itself (root) and the clients it starts talk to sway as root may.
class SwaySession final : public WaylandSession
{
public:
    static constexpr const char *userName = "halvictest";

    /// Why sway cannot run here at all (a test skips then); empty when it can.
    static QString unavailable()
    {
        if (::geteuid() != 0)
            return QStringLiteral("sway tests switch to the user %1 and need root").arg(QLatin1StringView(userName));
        return missing({"sway", "Xwayland", "xhost", "dbus-daemon", "useradd"});
    }

    /// Starts the bus and sway; check ok() and error() afterwards.
    SwaySession()
    {
        if (const QString why = unavailable(); !why.isEmpty())
            fail(why);
        else if (findUser() && prepareFolders() && writeConfig() && startBus(true))
            startSway();
        ownProcessesStarted();
    }

    QString socketPath() const { return m_socket; }
    sway::Ipc ipc() const { return sway::Ipc(m_socket); }

    QList<sway::Window> windows() const
    {
        const auto tree = ipc().request(sway::Message::GetTree);
        return tree ? sway::windowsOf(tree->object()) : QList<sway::Window>();
    }

private:
    bool findUser()
    {
        // Another test may create it at the same moment: only the user's existence counts.
        if (!::getpwnam(userName))
            QProcess::execute("useradd", {"--system", "--create-home", "--shell", "/usr/sbin/nologin", userName});
        const passwd *user = ::getpwnam(userName);
        if (!user)
            return fail(QStringLiteral("cannot create the user %1").arg(QLatin1StringView(userName)));
        m_uid = user->pw_uid;
        m_gid = user->pw_gid;
        return true;
    }

    bool writeConfig()
    {
        const QByteArray size = QByteArray::number(outputSize.width()) + 'x' + QByteArray::number(outputSize.height());
        return writeFile(folder("sway.cfg"), "output HEADLESS-1 resolution " + size + "\nxwayland force\n");
    }

    bool startSway()
    {
        QProcessEnvironment env;
        env.insert("WLR_BACKENDS", "headless");
        env.insert("WLR_RENDERER", "pixman");
        env.insert("WLR_LIBINPUT_NO_DEVICES", "1");
        const qint64 pid = start("sway", {"-c", folder("sway.cfg")}, env, true).processId();
        m_socket
            = QStringLiteral("%1/sway-ipc.%2.%3.sock").arg(runtimeDir()).arg(::getpwnam(userName)->pw_uid).arg(pid);
        const bool ready = waitFor([this] {
            const auto outputs = ipc().request(sway::Message::GetOutputs);
            return outputs && outputs->array().at(0)[u"rect"][u"width"].toInt() == outputSize.width();
        });
        const QStringList sockets = QDir(runtimeDir()).entryList({"wayland-?"}, QDir::System);
        if (!ready || sockets.isEmpty())
            return fail("sway did not start (its log is above)");
        addEnvironment("WAYLAND_DISPLAY", sockets.first());
        // sway itself would take an empty SWAYSOCK for its socket's path: set once known.
        addEnvironment("SWAYSOCK", m_socket);
        // XWayland's display is in sway's environment alone; it lets only its own user in, and
        // the test (root) reads screens from it too.
        QFile display(runtimeDir() + "/display");
        ipc().command(
            QStringLiteral("exec xhost +si:localuser:root >/dev/null && printenv DISPLAY > %1.part && mv %1.part %1")
                .arg(display.fileName()));
        if (waitFor([&] { return display.exists(); }, 5000) && display.open(QIODevice::ReadOnly))
            addEnvironment("DISPLAY", QString::fromLatin1(display.readAll().trimmed()));
        return !x11Display().isEmpty() || fail("sway started no XWayland");
    }

    QString m_socket;
};

} // namespace halvic::testing
