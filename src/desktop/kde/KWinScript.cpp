#include "KWinScript.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>

#include "KWinWindows.h"
#include "Logging.h"

namespace halvic::kwin {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

const QString kwinService = QStringLiteral("org.kde.KWin");
const QString objectPath = QStringLiteral("/org/halvic/KWin");
/// KWin gives up on a call after 25 s: a script waiting that long is told to ask again.
constexpr auto idleAfter = 10s;
/// A script that has not asked for work this long has gone (KWin restarted, say): load it anew.
constexpr auto goneAfter = 30s;
/// Loading calls KWin; a KWin that hangs must not keep the HUD from quitting.
constexpr int loadTimeoutMs = 3000;
/// Commands kept while no script asks for them (KWin busy, or the script loading again).
constexpr qsizetype queueLimit = 256;

enum class State { Loading, Running, Failed };

/// Each channel has a bus connection and a script of its own, named apart.
std::atomic<int> instances = 0;

} // namespace

/// Lives on its own thread: the bus connection, the loading, and KWin's calls.
class Script::Channel : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.halvic.KWinScript")

public:
    explicit Channel(QString busAddress)
        : m_address(std::move(busAddress))
        , m_plugin(QStringLiteral("halvic-hud-%1-%2").arg(QCoreApplication::applicationPid()).arg(++instances))
    {
        moveToThread(&m_thread);
        m_thread.setObjectName(QStringLiteral("kwin script"));
        m_thread.start();
        QMetaObject::invokeMethod(this, &Channel::start);
    }

    ~Channel() override
    {
        QMetaObject::invokeMethod(this, &Channel::finish, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }

    std::optional<QJsonValue> request(QJsonObject command, std::chrono::milliseconds timeout)
    {
        if (m_state == State::Failed)
            return std::nullopt;
        std::unique_lock lock(m_mutex);
        const qint64 seq = ++m_serial;
        command[u"seq"] = seq;
        m_waiting.insert(seq);
        enqueue(command);
        m_answered.wait_until(lock, Clock::now() + timeout, [&] { return m_answers.contains(seq) || m_finished; });
        m_waiting.erase(seq);
        const auto answer = m_answers.find(seq);
        if (answer == m_answers.end()) {
            // Too late now: a frame set long after it was asked for would surprise the user.
            forget(seq);
            return std::nullopt;
        }
        std::optional<QJsonValue> result = std::move(answer->second);
        m_answers.erase(answer);
        return result;
    }

    void post(const QJsonObject &command)
    {
        if (m_state == State::Failed)
            return;
        std::scoped_lock lock(m_mutex);
        enqueue(command);
    }

    bool isAvailable() const { return m_state != State::Failed; }

public slots:
    /// KWin's script asks for work: the reply waits until there is some.
    QString Next()
    {
        if (!fromKWin())
            return {};
        setDelayedReply(true);
        m_lastPoll = Clock::now();
        m_state = State::Running;
        std::scoped_lock lock(m_mutex);
        m_parked = message();
        m_parkedSince = Clock::now();
        dispatch();
        return {};
    }

    /// KWin's script answers the commands that asked for one.
    void Done(const QString &answers)
    {
        if (!fromKWin())
            return;
        const QJsonArray list = QJsonDocument::fromJson(answers.toUtf8()).array();
        std::scoped_lock lock(m_mutex);
        for (const QJsonValue &entry : list) {
            const QJsonObject answer = entry.toObject();
            const qint64 seq = answer[u"seq"].toInteger();
            if (!m_waiting.contains(seq))
                continue;
            if (answer.contains(u"error")) {
                qCDebug(lcWindows).noquote() << "kwin script:" << answer[u"error"].toString();
                m_answers[seq] = std::nullopt;
            } else {
                m_answers[seq] = answer[u"result"];
            }
        }
        m_answered.notify_all();
    }

private:
    void start()
    {
        m_bus = m_address.isEmpty() ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_plugin)
                                    : QDBusConnection::connectToBus(m_address, m_plugin);
        if (!m_bus.isConnected() || !m_bus.registerObject(objectPath, this, QDBusConnection::ExportAllSlots)) {
            fail(QStringLiteral("no session bus"));
            return;
        }
        m_check.callOnTimeout(this, &Channel::check);
        m_check.start(5s);
        load();
    }

    void load()
    {
        m_state = State::Loading;
        m_lastLoad = Clock::now();
        m_kwin = m_bus.interface()->serviceOwner(kwinService).value();
        if (m_kwin.isEmpty())
            return fail(QStringLiteral("KWin is not on the session bus"));
        QFile source(QStringLiteral(":/halvic/kwin/halvic-windows.js"));
        QFile file(m_folder.filePath(QStringLiteral("halvic-windows.js")));
        const QByteArray text = source.open(QIODevice::ReadOnly) ? source.readAll() : QByteArray();
        const QByteArray name = QJsonDocument(QJsonArray{m_bus.baseService()}).toJson(QJsonDocument::Compact);
        const QByteArray script = QByteArray(text).replace("@SERVICE@", name.mid(1, name.size() - 2));
        if (text.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(script) != script.size())
            return fail(QStringLiteral("cannot write the script"));
        file.close();
        callKWin(QStringLiteral("/Scripting"), QStringLiteral("org.kde.kwin.Scripting"), QStringLiteral("unloadScript"),
            {m_plugin});
        const QDBusMessage loaded = callKWin(QStringLiteral("/Scripting"), QStringLiteral("org.kde.kwin.Scripting"),
            QStringLiteral("loadScript"), {file.fileName(), m_plugin});
        const QVariant id = loaded.arguments().value(0);
        if (loaded.type() != QDBusMessage::ReplyMessage || id.toInt() < 0)
            return fail(QStringLiteral("KWin did not load the script: ") + loaded.errorMessage());
        const QDBusMessage introspection = callKWin(QStringLiteral("/Scripting"),
            QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"), {});
        const QString path = scriptObjectPath(introspection.arguments().value(0).toString(), id.toInt());
        const QDBusMessage ran = callKWin(path, QStringLiteral("org.kde.kwin.Script"), QStringLiteral("run"), {});
        if (ran.type() != QDBusMessage::ReplyMessage)
            return fail(QStringLiteral("KWin did not run the script: ") + ran.errorMessage());
        // KWin 5.27 numbers a script by the count of scripts loaded, so after another was
        // unloaded ours may share its number, and its object path, with an older one. Starting
        // the scripts runs every one loaded and not running yet, ours among them.
        callKWin(QStringLiteral("/Scripting"), QStringLiteral("org.kde.kwin.Scripting"), QStringLiteral("start"), {});
        qCInfo(lcWindows).noquote() << "kwin script: loaded at" << path;
    }

    QDBusMessage callKWin(
        const QString &path, const QString &interface, const QString &method, const QVariantList &args)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(kwinService, path, interface, method);
        call.setArguments(args);
        return m_bus.call(call, QDBus::Block, loadTimeoutMs);
    }

    void fail(const QString &why)
    {
        m_state = State::Failed;
        qCWarning(lcWindows).noquote() << "kwin script:" << why;
    }

    void check()
    {
        const auto now = Clock::now();
        {
            std::scoped_lock lock(m_mutex);
            if (m_parked && now - m_parkedSince > idleAfter) {
                m_queue.append(QJsonObject{{QStringLiteral("op"), QStringLiteral("idle")}});
                dispatch();
            }
        }
        const bool silent = m_state == State::Running && now - m_lastPoll.load() > goneAfter;
        const bool retry = m_state != State::Running && now - m_lastLoad > goneAfter;
        if (silent || retry)
            load();
    }

    void finish()
    {
        m_check.stop();
        {
            std::scoped_lock lock(m_mutex);
            m_finished = true;
            m_answered.notify_all();
        }
        if (!m_bus.isConnected())
            return;
        // Not waited for: the HUD is quitting.
        QDBusMessage unload = QDBusMessage::createMethodCall(kwinService, QStringLiteral("/Scripting"),
            QStringLiteral("org.kde.kwin.Scripting"), QStringLiteral("unloadScript"));
        unload.setArguments({m_plugin});
        m_bus.send(unload);
        m_bus.unregisterObject(objectPath);
        QDBusConnection::disconnectFromBus(m_plugin);
    }

    bool fromKWin() const
    {
        if (message().service() == m_kwin && !m_kwin.isEmpty())
            return true;
        sendErrorReply(QDBusError::AccessDenied, QStringLiteral("only KWin may call"));
        return false;
    }

    /// With the mutex held.
    void enqueue(const QJsonObject &command)
    {
        if (m_queue.size() >= queueLimit)
            m_queue.removeFirst();
        m_queue.append(command);
        dispatch();
    }

    /// With the mutex held: a command not sent yet is not sent any more.
    void forget(qint64 seq)
    {
        for (qsizetype i = 0; i < m_queue.size(); ++i) {
            if (m_queue.at(i)[u"seq"].toInteger() == seq) {
                m_queue.removeAt(i);
                return;
            }
        }
    }

    /// With the mutex held: what is queued goes with the reply KWin waits for, if it waits.
    void dispatch()
    {
        if (!m_parked || m_queue.isEmpty())
            return;
        // QDBusConnection may send from any thread.
        m_bus.send(m_parked->createReply(QString::fromUtf8(QJsonDocument(m_queue).toJson(QJsonDocument::Compact))));
        m_parked.reset();
        m_queue = {};
    }

    const QString m_address;
    const QString m_plugin;
    QThread m_thread;
    QTemporaryDir m_folder;
    QTimer m_check{this}; // a child: it moves to the thread with us
    QDBusConnection m_bus{QString()};
    QString m_kwin; // KWin's unique name, the one caller let in
    std::atomic<State> m_state = State::Loading;
    std::atomic<Clock::time_point> m_lastPoll{};
    Clock::time_point m_lastLoad;

    std::mutex m_mutex;
    std::condition_variable m_answered;
    QJsonArray m_queue;
    std::optional<QDBusMessage> m_parked;
    Clock::time_point m_parkedSince;
    qint64 m_serial = 0;
    std::set<qint64> m_waiting;
    std::map<qint64, std::optional<QJsonValue>> m_answers;
    bool m_finished = false;
};

Script::Script(QString busAddress)
    : m_channel(std::make_unique<Channel>(std::move(busAddress)))
{
}

Script::~Script() = default;

std::optional<QJsonValue> Script::request(QJsonObject command, std::chrono::milliseconds timeout)
{
    return m_channel->request(std::move(command), timeout);
}

void Script::post(QJsonObject command)
{
    m_channel->post(command);
}

bool Script::isAvailable() const
{
    return m_channel->isAvailable();
}

} // namespace halvic::kwin

#include "KWinScript.moc"
