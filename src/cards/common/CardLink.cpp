#include "CardLink.h"

#include <QJsonDocument>
#include <QTimer>

#include <unistd.h>

#include "Logging.h"

namespace halvic {

CardLink::CardLink(int fd, QObject *parent)
    : QObject(parent)
{
    connect(&m_socket, &QLocalSocket::readyRead, this, &CardLink::readAvailable);
    connect(&m_socket, &QLocalSocket::disconnected, this, &CardLink::onDisconnected);
    if (!m_socket.setSocketDescriptor(fd)) {
        if (fd >= 0)
            ::close(fd);
        // Told from the event loop, so the owner has connected by then.
        QTimer::singleShot(0, this, &CardLink::onDisconnected);
    }
}

CardLink::~CardLink()
{
    m_socket.disconnect(this);
}

bool CardLink::isOpen() const
{
    return !m_closed && m_socket.state() == QLocalSocket::ConnectedState;
}

bool CardLink::send(const QJsonObject &message)
{
    if (!isOpen())
        return false;
    m_socket.write(QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n');
    return true;
}

void CardLink::close()
{
    m_closed = true;
    m_socket.disconnect(this);
    m_socket.abort();
}

void CardLink::readAvailable()
{
    const QByteArray bytes = m_socket.readAll();
    m_framer.feed(
        bytes,
        [this](QByteArrayView line) {
            const QJsonDocument document = QJsonDocument::fromJson(line.toByteArray());
            if (document.isObject())
                emit received(document.object());
        },
        [](qsizetype length) { qCWarning(lcCards) << "dropped a card message of" << length << "bytes"; });
}

void CardLink::onDisconnected()
{
    if (std::exchange(m_closed, true))
        return;
    emit closed();
}

} // namespace halvic
