#pragma once

#include <QJsonObject>
#include <QLatin1StringView>
#include <QLocalSocket>
#include <QObject>

#include "LineFramer.h"

namespace halvic {

/// The names on the channel between the HUD and a card in a process of its own. The HUD sends
/// the card's engine events as the engine wrote them, and pings; the card answers pings, reports
/// after each event whether it is still open, and hands back its control requests.
namespace cardlink {
/// HUD to card: {"ping": n}; card to HUD: {"pong": n}.
inline constexpr QLatin1StringView ping{"ping"};
inline constexpr QLatin1StringView pong{"pong"};
/// Card to HUD: {"open": bool, "seen": events received so far}.
inline constexpr QLatin1StringView open{"open"};
inline constexpr QLatin1StringView seen{"seen"};
/// Card to HUD: {"control": file name, "request": the object the HUD is to write there}.
inline constexpr QLatin1StringView control{"control"};
inline constexpr QLatin1StringView request{"request"};
} // namespace cardlink

/// One end of that channel: a connected local stream socket (one end of a socket pair, which
/// has no name anyone else could connect to) carrying one compact JSON object per line, both
/// ways.
class CardLink final : public QObject
{
    Q_OBJECT
public:
    /// A whole thread with its HTML bodies fits; the engine's own lines are capped lower.
    static constexpr qsizetype maxMessage = 32 * 1024 * 1024;

    /// Takes over `fd`, a connected stream socket; closed() follows soon when it is none.
    explicit CardLink(int fd, QObject *parent = nullptr);
    ~CardLink() override;

    bool isOpen() const;
    /// Queues one message; false once the channel is closed.
    bool send(const QJsonObject &message);
    /// Closes the channel: the other end reads its end.
    void close();

signals:
    void received(const QJsonObject &message);
    /// The other end closed the channel, or it failed; sent once.
    void closed();

private:
    void readAvailable();
    void onDisconnected();

    QLocalSocket m_socket;
    LineFramer m_framer{maxMessage};
    bool m_closed = false;
};

} // namespace halvic
