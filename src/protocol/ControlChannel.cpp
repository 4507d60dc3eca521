#include "ControlChannel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>

#include "Logging.h"

namespace halvic {

namespace {

// Only plain names inside the folder: a name can never reach outside it.
bool isPlainFileName(QLatin1StringView name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QLatin1StringView(".")
        && name != QLatin1StringView("..");
}

} // namespace

ControlChannel::ControlChannel(QString folder)
    : m_folder(std::move(folder))
{
}

ControlChannel ControlChannel::relayedTo(Relay relay)
{
    ControlChannel channel{QString()};
    channel.m_relay = std::move(relay);
    return channel;
}

QString ControlChannel::filePath(QLatin1StringView name) const
{
    return QDir(m_folder).filePath(name);
}

bool ControlChannel::ensureFolder() const
{
    return QDir().mkpath(m_folder);
}

bool ControlChannel::writeJSON(QLatin1StringView name, const QJsonObject &object) const
{
    if (m_relay)
        return m_relay(name, object);
    return writeAtomically(name, QJsonDocument(object).toJson(QJsonDocument::Compact));
}

bool ControlChannel::touch(QLatin1StringView name) const
{
    return writeAtomically(name, {});
}

bool ControlChannel::writeAtomically(QLatin1StringView name, const QByteArray &bytes) const
{
    if (m_relay || !isPlainFileName(name) || !ensureFolder()) {
        qCDebug(lcProtocol) << "control file not written (bad name or no folder):" << name;
        return false;
    }
    const QString path = filePath(name);
    // QSaveFile writes through a symbolic link to its target; the request belongs in the
    // control folder, so a link under its name is replaced instead.
    if (QFileInfo(path).isSymLink() && !QFile::remove(path))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qCDebug(lcProtocol) << "control file not written:" << path << file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace halvic
