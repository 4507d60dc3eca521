#pragma once

#include <QJsonObject>
#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

#include "ScheduledCall.h"

class QProcess;

namespace halvic {

class CardLink;

/// A card that runs in a process of its own (this program, started in a card mode), so that
/// what it loads (a web engine, say) goes when the card does. The process starts with the first
/// event sent to it, gets the card's events over a private channel and hands back the card's
/// control requests; it ends a little while after the card was put away, when it stops
/// answering, and with the HUD (the kernel ends it when the HUD dies, however it dies).
class CardProcess final : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        /// Program and arguments; the channel's descriptor number is appended.
        QStringList command;
        /// The card's name in log lines.
        QString name;
        /// How long a put-away card's process stays, so the next event soon after finds it.
        Duration linger = std::chrono::seconds(4);
        Duration pingEvery = std::chrono::seconds(2);
        /// A process that answers no ping for this long is taken for hung and killed.
        Duration answerWithin = std::chrono::seconds(10);
        /// How long an ending process has to exit by itself before it is killed.
        Duration exitWithin = std::chrono::seconds(3);
    };

    CardProcess(Scheduler &scheduler, Options options, QObject *parent = nullptr);
    ~CardProcess() override;

    /// Sends one event, starting the process first when none runs.
    void send(const QJsonObject &event);
    /// An event went to the card since it last reported being put away.
    bool cardOpen() const;

signals:
    /// The card asks the HUD to write `request` into the control file `name`.
    void controlRequest(const QString &name, const QJsonObject &request);
    /// The process could not be started.
    void startFailed();
    /// The running process ended without being asked to (crashed, killed, hung) after it had
    /// shown what it was sent; its card is gone with it. A process lost before it showed the
    /// last events is replaced at once by one they are sent to again (once).
    void lost();

private:
    struct Running;

    bool start();
    void onMessage(Running &running, const QJsonObject &message);
    void onFinished(Running *running);
    void heartbeat();
    /// Closes the channel and lets the process go; killed should it not exit in time.
    void end();
    void dropCurrent(const char *why);
    void showAgainOrGiveUp(Running &gone);
    void reap(Running *running);

    Scheduler &m_scheduler;
    const Options m_options;
    std::vector<std::unique_ptr<Running>> m_processes;
    Running *m_current = nullptr;
    ScheduledCall m_linger;
    ScheduledCall m_heartbeat;
};

} // namespace halvic
