#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QString>

#include <chrono>
#include <optional>

namespace halvic::sway {

/// The message types of sway's IPC (the i3-compatible protocol) the HUD uses.
enum class Message : quint32 {
    RunCommand = 0,
    GetWorkspaces = 1,
    GetOutputs = 3,
    GetTree = 4,
};

/// One request to sway's IPC socket and its reply. Each call opens its own connection, so
/// calls from several threads at once need no lock; every read and write is bounded by
/// `timeout`, so a compositor that stops answering cannot hold a caller for long. Never call
/// it on the main thread.
class Ipc
{
public:
    explicit Ipc(QString socketPath, std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

    /// The reply's JSON; none when the socket is gone, the reply is cut short, too large,
    /// of another type or not JSON.
    std::optional<QJsonDocument> request(Message type, const QByteArray &payload = {}) const;

    /// Runs sway commands ("[con_id=12] floating enable, move position 10 20"); true when
    /// sway reports every one of them done.
    bool command(const QString &commands) const;

    const QString &socketPath() const { return m_socketPath; }

    /// The framing of one message: magic, payload length and type in native byte order, then
    /// the payload.
    static QByteArray frame(Message type, const QByteArray &payload);

private:
    QString m_socketPath;
    std::chrono::milliseconds m_timeout;
};

} // namespace halvic::sway
