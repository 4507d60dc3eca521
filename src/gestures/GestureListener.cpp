#include "GestureListener.h"

#include <QNetworkDatagram>
#include <QPointer>
#include <QUdpSocket>

#include <vector>

#include "Logging.h"

namespace halvic {

namespace {

bool sameArmed(const gestures::HandsFrame &a, const gestures::HandsFrame &b)
{
    return a.armed == b.armed;
}

} // namespace

std::unique_ptr<GestureListener> GestureListener::bind(quint16 port, Deliver deliver)
{
    auto socket = std::make_unique<QUdpSocket>();
    // Loopback only: no other host can reach the pointer.
    if (!socket->bind(QHostAddress(QHostAddress::LocalHost), port,
            QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
        qCDebug(lcGestures) << "cannot listen on port" << port << socket->errorString();
        return nullptr;
    }
    return std::unique_ptr<GestureListener>(new GestureListener(std::move(socket), std::move(deliver)));
}

GestureListener::GestureListener(std::unique_ptr<QUdpSocket> socket, Deliver deliver)
    : m_socket(std::move(socket))
    , m_deliver(std::move(deliver))
{
    connect(m_socket.get(), &QUdpSocket::readyRead, this, &GestureListener::drain);
}

GestureListener::~GestureListener() = default;

quint16 GestureListener::port() const
{
    return m_socket->localPort();
}

QHostAddress GestureListener::address() const
{
    return m_socket->localAddress();
}

void GestureListener::drain()
{
    std::vector<gestures::Message> batch;
    int read = 0;
    while (read < batchLimit && m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram();
        ++read;
        if (!datagram.isValid())
            continue;
        remember(datagram.senderAddress(), quint16(datagram.senderPort()));
        if (std::optional<gestures::Message> message = gestures::decode(datagram.data()))
            batch.push_back(*std::move(message));
    }
    const QPointer<GestureListener> alive(this);
    for (std::size_t i = 0; i < batch.size(); ++i) {
        const auto *frame = std::get_if<gestures::HandsFrame>(&batch[i]);
        const auto *next = i + 1 < batch.size() ? std::get_if<gestures::HandsFrame>(&batch[i + 1]) : nullptr;
        if (frame && next && sameArmed(*frame, *next))
            continue;
        m_deliver(batch[i]);
        if (!alive)
            return;
    }
    // Datagrams left waiting keep the socket readable: its notifier calls again once the
    // event loop has had its turn. (A drain queued by hand here raced that notification and
    // could leave a readyRead with nothing to read, after which Qt 6.4 stopped notifying.)
}

void GestureListener::remember(const QHostAddress &address, quint16 port)
{
    const QString sender = address.toString() + u':' + QString::number(port);
    if (m_senders.contains(sender))
        return;
    m_senders.append(sender);
    while (m_senders.size() > maxSenders)
        m_senders.removeFirst();
}

} // namespace halvic
