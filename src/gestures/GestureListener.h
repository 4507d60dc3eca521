#pragma once

#include <QHostAddress>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

#include "GestureMessage.h"

class QUdpSocket;

namespace halvic {

/// The hand tracker's UDP datagrams on the loopback interface only. Datagrams are read on
/// the main thread in bounded batches, so a flood never starves the event loop; within a
/// batch a run of hands frames collapses into its latest (each would only move the pointer
/// again), while every tracker event is delivered in order.
class GestureListener final : public QObject
{
    Q_OBJECT
public:
    using Deliver = std::function<void(const gestures::Message &message)>;

    /// Datagrams read before the event loop gets its turn again.
    static constexpr int batchLimit = 256;
    static constexpr int maxSenders = 8;

    /// Binds 127.0.0.1:`port` (0 picks a free port). None when the port cannot be bound.
    static std::unique_ptr<GestureListener> bind(quint16 port, Deliver deliver);
    ~GestureListener() override;

    quint16 port() const;
    QHostAddress address() const;
    /// Senders heard from, oldest first ("address:port"), at most maxSenders.
    QStringList senders() const { return m_senders; }

private:
    GestureListener(std::unique_ptr<QUdpSocket> socket, Deliver deliver);
    void drain();
    void remember(const QHostAddress &address, quint16 port);

    std::unique_ptr<QUdpSocket> m_socket;
    Deliver m_deliver;
    QStringList m_senders;
};

} // namespace halvic
