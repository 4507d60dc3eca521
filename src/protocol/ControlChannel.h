#pragma once

#include <QJsonObject>
#include <QString>

#include <functional>

#include "Protocol.h"

namespace halvic {

/// The one writer of control files: each request replaces its file whole, atomically (a
/// temporary file renamed over the old one), so the engine never reads half a request.
/// Every failure is silent and leaves the earlier file as it was. A card running in a process
/// of its own has a relayed channel instead: its requests go to the HUD, which writes them.
class ControlChannel
{
public:
    /// Hands one request (file name and object) on; false when it could not be.
    using Relay = std::function<bool(QLatin1StringView name, const QJsonObject &object)>;

    explicit ControlChannel(QString folder);
    /// A channel that writes nothing itself and passes every JSON request to `relay`.
    static ControlChannel relayedTo(Relay relay);

    const QString &folder() const { return m_folder; }
    QString filePath(QLatin1StringView name) const;

    /// Serialises `object` compactly into `name`. Returns whether the file was replaced.
    bool writeJSON(QLatin1StringView name, const QJsonObject &object) const;
    /// Replaces `name` with an empty file.
    bool touch(QLatin1StringView name) const;
    /// Creates the folder with its parents; false when it cannot.
    bool ensureFolder() const;

private:
    bool writeAtomically(QLatin1StringView name, const QByteArray &bytes) const;

    QString m_folder;
    Relay m_relay;
};

} // namespace halvic
