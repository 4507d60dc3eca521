#include "GnomeExtension.h"

#include <QCoreApplication>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

#include "Logging.h"

namespace halvic::gnome {

namespace {

const QString shellService = QStringLiteral("org.gnome.Shell");
const QString objectPath = QStringLiteral(HALVIC_GNOME_PATH);
const QString interfaceName = QStringLiteral(HALVIC_GNOME_INTERFACE);

/// Each extension client has a bus connection of its own, named apart.
std::atomic<int> instances = 0;

} // namespace

bool meansMissing(const QString &errorName)
{
    // InvalidArgs and Failed are the extension's own answers: it is there.
    static const QStringList missing{QDBusError::errorString(QDBusError::ServiceUnknown),
        QDBusError::errorString(QDBusError::UnknownObject), QDBusError::errorString(QDBusError::UnknownInterface),
        QDBusError::errorString(QDBusError::UnknownMethod), QDBusError::errorString(QDBusError::AccessDenied),
        QDBusError::errorString(QDBusError::NoReply), QDBusError::errorString(QDBusError::Timeout),
        QDBusError::errorString(QDBusError::Disconnected), QStringLiteral("org.freedesktop.DBus.Error.NoServer")};
    return missing.contains(errorName);
}

Extension::Extension(const QString &busAddress)
    : m_connectionName(busAddress.isEmpty() ? QString() : QStringLiteral("halvic-gnome-%1").arg(++instances))
    // The session's own connection is the one the HUD opened at start; another bus gets one of its own.
    , m_bus(busAddress.isEmpty() ? QDBusConnection::sessionBus()
                                 : QDBusConnection::connectToBus(busAddress, m_connectionName))
{
}

Extension::~Extension()
{
    if (!m_connectionName.isEmpty())
        QDBusConnection::disconnectFromBus(m_connectionName);
}

QDBusMessage Extension::message(const QString &method, const QVariantList &arguments) const
{
    QDBusMessage call = QDBusMessage::createMethodCall(shellService, objectPath, interfaceName, method);
    call.setArguments(arguments);
    return call;
}

bool Extension::noteReply(const QDBusMessage &reply)
{
    if (reply.type() == QDBusMessage::ReplyMessage) {
        m_answers = true;
        return true;
    }
    if (meansMissing(reply.errorName())) {
        m_refused = reply.errorName() == QDBusError::errorString(QDBusError::AccessDenied);
        if (m_answers.exchange(false))
            qCWarning(lcWindows).noquote()
                << "gnome extension: not there:" << reply.errorName() << reply.errorMessage();
    } else {
        m_answers = true;
        qCDebug(lcWindows).noquote() << "gnome extension:" << reply.errorMessage();
    }
    return false;
}

std::optional<QVariantList> Extension::call(
    const QString &method, const QVariantList &arguments, std::chrono::milliseconds timeout)
{
    if (!m_bus.isConnected()) {
        m_answers = false;
        return std::nullopt;
    }
    const QDBusMessage reply = m_bus.call(message(method, arguments), QDBus::Block, int(timeout.count()));
    if (!noteReply(reply))
        return std::nullopt;
    return reply.arguments();
}

void Extension::send(const QString &method, const QVariantList &arguments)
{
    QDBusMessage call = message(method, arguments);
    call.setAutoStartService(false);
    m_bus.send(call);
}

void Extension::ask(const QString &method, QObject *context, std::function<void(bool)> done)
{
    // Goes with the context, or once answered.
    auto *watcher
        = new QDBusPendingCallWatcher(m_bus.asyncCall(message(method, {}), int(defaultTimeout.count())), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context, [this, watcher, done = std::move(done)] {
        watcher->deleteLater();
        done(noteReply(watcher->reply()));
    });
}

} // namespace halvic::gnome
