#pragma once

#include <QProcess>
#include <QTest>
#include <QUdpSocket>

#include "WaylandSession.h"

namespace halvic::testing {

/// The hand tracker as the real binary hears it: datagrams on its fixed port. Positions are
/// fractions of the camera's view.
class Tracker
{
public:
    void send(const QString &datagram)
    {
        m_socket.writeDatagram(datagram.toUtf8(), QHostAddress::LocalHost, 47831);
        QTest::qWait(30);
    }

    void event(const char *name, QPointF at)
    {
        send(QStringLiteral(R"({"t":"event","name":"%1","hand":"R","x":%2,"y":%3})").arg(name).arg(at.x()).arg(at.y()));
    }

    /// Pinches with the right hand at `at` until `probe` reports a left press (the HUD may still
    /// be switching gestures on); everything the probe printed meanwhile.
    QByteArray pinchUntilPressed(QProcess &probe, QPointF at)
    {
        const QString hand = QStringLiteral(R"({"t":"hands","armed":true,"hands":[{"hand":"R","x":%1,"y":%2,)"
                                            R"("pose":"pinch"}]})")
                                 .arg(at.x())
                                 .arg(at.y());
        QByteArray reports;
        WaylandSession::waitFor([&] {
            send(hand);
            event("pinch_start", at);
            send(hand);
            event("pinch_end", at);
            reports += probe.readAllStandardOutput();
            return reports.contains("press 1");
        });
        return reports;
    }

private:
    QUdpSocket m_socket;
};

} // namespace halvic::testing
