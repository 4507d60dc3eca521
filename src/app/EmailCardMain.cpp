#include "EmailCardMain.h"

#include <QCoreApplication>
#include <QQmlEngine>

#include <fcntl.h>

#include "Card.h"
#include "CardLink.h"
#include "Desktop.h"
#include "EmailPanel.h"
#include "EventDispatcher.h"
#include "JsonRead.h"
#include "Logging.h"
#include "Platform.h"
#include "Protocol.h"
#include "Scheduler.h"

namespace halvic {

using namespace protocol;

int runEmailCard(int channelFd)
{
    // The web engine's own processes must not inherit the channel.
    if (::fcntl(channelFd, F_SETFD, FD_CLOEXEC) != 0) {
        qCWarning(lcCards) << "the email card was started without its channel";
        return 1;
    }
    QtScheduler scheduler;
    // Our windows are kept above the others here as in the HUD.
    const std::unique_ptr<Desktop> desktop = openSessionDesktop();
    QQmlEngine qml;
    addImportPaths(qml);
    CardLink link(channelFd);
    const ControlChannel relay = ControlChannel::relayedTo([&link](QLatin1StringView name, const QJsonObject &request) {
        return link.send({{cardlink::control, QString(name)}, {cardlink::request, request}});
    });
    EmailPanel card(CardContext{scheduler, qml, relay});
    EventDispatcher rows;
    card.registerRows(rows);
    rows.on(
        event::cardClose, &card, [&card](const QJsonObject &event) { card.close(json::string(event, key::draftId)); });

    int seen = 0;
    const auto report = [&](bool open) { link.send({{cardlink::open, open}, {cardlink::seen, seen}}); };
    QObject::connect(&link, &CardLink::received, &card, [&](const QJsonObject &message) {
        if (message.contains(cardlink::ping)) {
            link.send({{cardlink::pong, message.value(cardlink::ping)}});
            return;
        }
        ++seen;
        rows.dispatch(message);
        report(card.window()->isShown());
    });
    // The user's close, or one asked for by the engine: the HUD lets the process go soon.
    QObject::connect(card.window(), &CardWindow::hidden, &card, [&] { report(false); });
    QObject::connect(&link, &CardLink::closed, qApp, &QCoreApplication::quit);
    return QCoreApplication::exec();
}

} // namespace halvic
