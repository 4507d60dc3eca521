#include "CardProcess.h"

#include <QPointer>
#include <QProcess>

#include <csignal>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "CardLink.h"
#include "JsonRead.h"
#include "Logging.h"

namespace halvic {

struct CardProcess::Running
{
    std::unique_ptr<QProcess> process;
    std::unique_ptr<CardLink> link;
    /// Events sent, and whether the card said it is open after the last of them.
    int sent = 0;
    bool open = false;
    int unansweredPings = 0;
    int pingCount = 0;
    /// Events sent that the card has not reported on yet, oldest first.
    std::deque<QJsonObject> unshown;
    /// Started to show again what a lost process had not shown.
    bool retry = false;
};

CardProcess::CardProcess(Scheduler &scheduler, Options options, QObject *parent)
    : QObject(parent)
    , m_scheduler(scheduler)
    , m_options(std::move(options))
    , m_linger(scheduler, m_options.linger, [this] { end(); })
    , m_heartbeat(scheduler, m_options.pingEvery, [this] { heartbeat(); })
{
}

CardProcess::~CardProcess()
{
    // Only at the HUD's end: the kill is immediate, the wait only reaps.
    for (const auto &running : m_processes) {
        running->process->disconnect(this);
        if (running->link)
            running->link->close();
        if (running->process->state() != QProcess::NotRunning) {
            running->process->kill();
            running->process->waitForFinished(1000);
        }
    }
}

bool CardProcess::cardOpen() const
{
    return m_current && m_current->open;
}

void CardProcess::send(const QJsonObject &event)
{
    if (!m_current && !start()) {
        emit startFailed();
        return;
    }
    m_linger.cancel();
    ++m_current->sent;
    m_current->open = true;
    m_current->unshown.push_back(event);
    m_current->link->send(event);
}

bool CardProcess::start()
{
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        qCCritical(lcCards).noquote() << "no channel for the" << m_options.name << "process:" << strerror(errno);
        return false;
    }
    const int ours = pair[0];
    const int theirs = pair[1];
    auto running = std::make_unique<Running>();
    running->process = std::make_unique<QProcess>();
    QProcess &process = *running->process;
    process.setProgram(m_options.command.value(0));
    process.setArguments(m_options.command.mid(1) << QString::number(theirs));
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    // Between fork and exec, async-signal-safe calls only: the child keeps its end of the
    // channel across exec, and the kernel kills it when the HUD dies, even by SIGKILL.
    const pid_t hud = ::getpid();
    process.setChildProcessModifier([hud, theirs] {
        ::fcntl(theirs, F_SETFD, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != hud)
            ::_exit(1);
    });
    Running *raw = running.get();
    connect(&process, &QProcess::finished, this, [this, raw] { onFinished(raw); });
    connect(&process, &QProcess::errorOccurred, this, [this, raw](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        qCCritical(lcCards).noquote() << "the" << m_options.name
                                      << "process did not start:" << raw->process->errorString();
        if (raw == m_current) {
            m_current = nullptr;
            m_heartbeat.cancel();
            m_linger.cancel();
            emit startFailed();
        }
        reap(raw);
    });
    process.start();
    ::close(theirs);
    running->link = std::make_unique<CardLink>(ours);
    connect(running->link.get(), &CardLink::received, this,
        [this, raw](const QJsonObject &message) { onMessage(*raw, message); });
    connect(running->link.get(), &CardLink::closed, this, [this, raw] {
        // A program that could not be run closes the channel too: its start error follows.
        if (raw == m_current && raw->process->state() == QProcess::Running)
            dropCurrent("closed its channel");
    });
    if (process.state() == QProcess::NotRunning) {
        running->link->close();
        return false;
    }
    m_processes.push_back(std::move(running));
    m_current = raw;
    m_heartbeat.restart();
    return true;
}

void CardProcess::onMessage(Running &running, const QJsonObject &message)
{
    if (&running != m_current)
        return;
    if (message.contains(cardlink::pong)) {
        running.unansweredPings = 0;
        return;
    }
    if (message.contains(cardlink::open)) {
        const qint64 seen = json::integer(message, cardlink::seen, -1);
        while (!running.unshown.empty() && running.sent - qint64(running.unshown.size()) < seen)
            running.unshown.pop_front();
        if (running.unshown.empty())
            running.retry = false;
        // A report about an earlier event says nothing about the one sent since.
        if (seen != running.sent)
            return;
        running.open = json::boolean(message, cardlink::open, true);
        if (!running.open)
            m_linger.restart();
        return;
    }
    const QString name = json::string(message, cardlink::control);
    const QJsonValue request = message.value(cardlink::request);
    if (!name.isEmpty() && request.isObject())
        emit controlRequest(name, request.toObject());
}

void CardProcess::heartbeat()
{
    if (!m_current)
        return;
    if (m_current->unansweredPings * m_options.pingEvery >= m_options.answerWithin) {
        dropCurrent("stopped answering");
        return;
    }
    ++m_current->unansweredPings;
    m_current->link->send({{cardlink::ping, ++m_current->pingCount}});
    m_heartbeat.restart();
}

void CardProcess::end()
{
    if (!m_current)
        return;
    Running *leaving = std::exchange(m_current, nullptr);
    m_heartbeat.cancel();
    // The card process quits when its channel closes.
    leaving->link->close();
    QPointer<QProcess> process = leaving->process.get();
    m_scheduler.callAfter(m_options.exitWithin, this, [process] {
        if (process && process->state() != QProcess::NotRunning)
            process->kill();
    });
}

void CardProcess::dropCurrent(const char *why)
{
    Running *dropped = std::exchange(m_current, nullptr);
    m_heartbeat.cancel();
    m_linger.cancel();
    qCCritical(lcCards).noquote() << "the" << m_options.name << "process" << why << "and was ended";
    dropped->link->close();
    if (dropped->process->state() != QProcess::NotRunning)
        dropped->process->kill();
    showAgainOrGiveUp(*dropped);
}

void CardProcess::showAgainOrGiveUp(Running &gone)
{
    // What reached a process as it died was never shown: a fresh process shows it, once, so
    // that a thread that brings its process down does not do so for ever.
    std::deque<QJsonObject> unshown = std::exchange(gone.unshown, {});
    if (unshown.empty() || gone.retry || !start()) {
        emit lost();
        return;
    }
    m_current->retry = true;
    for (const QJsonObject &event : unshown)
        send(event);
}

void CardProcess::onFinished(Running *running)
{
    if (running == m_current) {
        m_current = nullptr;
        m_heartbeat.cancel();
        m_linger.cancel();
        const QProcess &process = *running->process;
        if (process.exitStatus() == QProcess::CrashExit)
            qCCritical(lcCards).noquote() << "the" << m_options.name << "process crashed";
        else
            qCCritical(lcCards).noquote()
                << "the" << m_options.name << "process exited by itself with code" << process.exitCode();
        showAgainOrGiveUp(*running);
    }
    reap(running);
}

void CardProcess::reap(Running *running)
{
    const auto it = std::find_if(
        m_processes.begin(), m_processes.end(), [running](const auto &owned) { return owned.get() == running; });
    if (it == m_processes.end())
        return;
    // Called from the process's and the channel's own signals: both go once those return.
    std::unique_ptr<Running> owned = std::move(*it);
    m_processes.erase(it);
    owned->process->disconnect(this);
    if (owned->link) {
        owned->link->disconnect(this);
        owned->link->close();
        owned->link.release()->deleteLater();
    }
    owned->process.release()->deleteLater();
}

} // namespace halvic
