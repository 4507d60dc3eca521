// The email card in the real HUD on a real X server, with the real web engine, against a
// scripted engine: what a message body may load and open, and how tall it is drawn.

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <csignal>

#include "HudSession.h"
#include "JsonFile.h"

using namespace halvic::testing;

namespace {

/// A web server on 127.0.0.1 that answers every request with a 1×1 GIF and remembers the
/// paths asked for.
class RecordingServer : public QObject
{
public:
    RecordingServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray request = socket->readAll();
                    const QList<QByteArray> words = request.split(' ');
                    if (words.size() > 1)
                        m_paths << QString::fromLatin1(words[1]);
                    static const QByteArray gif
                        = QByteArray::fromBase64("R0lGODlhAQABAIAAAP///wAAACH5BAEAAAAALAAAAAABAAEAAAICRAEAOw==");
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/gif\r\nContent-Length: "
                        + QByteArray::number(gif.size()) + "\r\nConnection: close\r\n\r\n" + gif);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString url(const char *path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(QLatin1StringView(path));
    }
    const QStringList &paths() const { return m_paths; }

private:
    QTcpServer m_server;
    QStringList m_paths;
};

QJsonObject threadEvent(const QString &html, int imagesBlocked, const char *threadId = "th1")
{
    return engineEvent("email_thread",
        {{"thread_id", threadId}, {"account", "me@example.com"}, {"subject", "Lunch"},
            {"messages",
                QJsonArray{QJsonObject{{"msg_id", "m1"}, {"from_name", "Ann Lee"}, {"date_human", "Mon 9:14"},
                    {"to", "me@example.com"}, {"body_html", html}, {"body_text", "Lunch?"},
                    {"images_blocked", imagesBlocked}}}}});
}

QByteArray procFile(qint64 pid, const char *name)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1StringView(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Alive and not a zombie left for a reaper.
bool alive(qint64 pid)
{
    const QByteArray stat = procFile(pid, "stat");
    return !stat.isEmpty() && stat.mid(stat.lastIndexOf(')') + 2, 1) != "Z";
}

QList<qint64> descendantsOf(qint64 root)
{
    QHash<qint64, qint64> parents;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        const qint64 pid = entry.toLongLong();
        const QByteArray stat = procFile(pid, "stat");
        if (pid > 0 && !stat.isEmpty())
            parents.insert(pid, stat.mid(stat.lastIndexOf(')') + 2).split(' ').value(1).toLongLong());
    }
    QList<qint64> found{root};
    for (qsizetype i = 0; i < found.size(); ++i) {
        for (auto it = parents.cbegin(); it != parents.cend(); ++it) {
            if (it.value() == found[i])
                found << it.key();
        }
    }
    return found.mid(1);
}

qint64 cardProcessOf(qint64 hud)
{
    for (const qint64 pid : descendantsOf(hud)) {
        if (procFile(pid, "cmdline").contains("--email-card"))
            return pid;
    }
    return 0;
}

bool mapsWebEngine(qint64 pid)
{
    return procFile(pid, "maps").contains("libQt6WebEngineCore");
}

// Whether any socket the process holds accepts connections (a named or abstract Unix socket,
// or TCP).
bool listens(qint64 pid)
{
    QSet<QByteArray> listening;
    for (const QByteArray &line : procFile(pid, "net/unix").split('\n').mid(1)) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 6 && (fields[3].toUInt(nullptr, 16) & 0x10000))
            listening << fields[6];
    }
    for (const char *table : {"net/tcp", "net/tcp6"}) {
        for (const QByteArray &line : procFile(pid, table).split('\n').mid(1)) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() > 9 && fields[3] == "0A")
                listening << fields[9];
        }
    }
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QFileInfo &fd : fds.entryInfoList(QDir::System)) {
        const QString target = fd.symLinkTarget().section(u'/', -1);
        if (target.startsWith(u"socket:[") && listening.contains(target.mid(8).chopped(1).toLatin1()))
            return true;
    }
    return false;
}

} // namespace

class EmailEndToEndTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<HudSession> session;
    std::unique_ptr<RecordingServer> server;
    QString openedLog;

    // The body's web view, found by its name on the accessibility bus.
    std::optional<QRect> waitForBody(const std::function<bool(QRect)> &like = [](QRect) { return true; })
    {
        std::optional<QRect> body;
        HudSession::waitFor(
            [&] {
                body = session->find(QStringLiteral("Message from Ann Lee"));
                return body && like(*body);
            },
            20000);
        return body;
    }

private slots:
    void init()
    {
        session = std::make_unique<HudSession>();
        if (!session->ok())
            QFAIL(qPrintable(QStringLiteral("no X session: ") + session->error()));
        server = std::make_unique<RecordingServer>();
        // The desktop's default handler, as Qt reaches it: xdg-open, here one that records.
        const QString bin = session->root().file(QStringLiteral("bin"));
        QDir().mkpath(bin);
        openedLog = session->root().file(QStringLiteral("opened.txt"));
        QFile opener(bin + QStringLiteral("/xdg-open"));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\necho \"$@\" >> '" + openedLog.toUtf8() + "'\n");
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        session->setEnvironmentVariable(QStringLiteral("PATH"), bin + u':' + qEnvironmentVariable("PATH"));
        QVERIFY(session->startHud());
        QVERIFY(session->waitToFind(QStringLiteral("listening\u2026")));
    }
    void cleanup()
    {
        session.reset();
        server.reset();
    }

    void bodiesLoadNothingUntilImagesAreAskedFor()
    {
        // Hostile parts, each reaching for a path of its own; last, a field that scrolls to itself.
        const QString html = QStringLiteral(
            "<div style='height:60px;background:#0f0'></div><img src='%1/pixel.gif'>"
            "<script>new Image().src = '%1/script';</script><iframe src='%1/frame'></iframe>"
            "<iframe srcdoc=\"<img src='%1/srcdoc'>\"></iframe><link rel=prefetch href='%1/prefetch'>"
            "<link rel=preload as=image href='%1/preload'><object data='%1/object'></object>"
            "<video autoplay muted src='%1/media'></video><div style='height:2000px'></div><input autofocus>")
                                 .arg(server->url(""));
        session->feed({threadEvent(html, 1)});
        QVERIFY2(waitForBody(), "no body");
        // What a reader sees around it.
        const QStringList objects = session->accessibleObjects();
        for (const char *text : {"heading\tLunch", "label\t1 message  ·  me@example.com", "label\tAnn Lee",
                 "push button\tLoad images: Ann Lee", "push button\tClose"})
            QVERIFY2(objects.contains(QString::fromUtf8(text)), text);
        QTest::qWait(2500);
        QCOMPARE(server->paths(), QStringList());

        // The engine sends the message again with its images let through.
        session->feed({threadEvent(html, 0)});
        QVERIFY2(HudSession::waitFor([&] { return server->paths().contains(QStringLiteral("/pixel.gif")); }, 15000),
            qPrintable(server->paths().join(u' ')));
        // Only what the message shows, and the body opens at its top (the green band).
        QTest::qWait(2500);
        QCOMPARE(server->paths(), QStringList{QStringLiteral("/pixel.gif")});
        const QRect body = *waitForBody();
        const QString shot = session->root().file(QStringLiteral("screen.png"));
        session->run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot});
        QCOMPARE(QImage(shot).pixelColor(body.x() + 40, body.y() + 40), QColor(0, 255, 0));
        // A refresh of the same thread keeps its views: nothing loads again, nothing moves.
        QJsonObject again = threadEvent(html, 0);
        again.insert("subject", "Re: Lunch");
        session->feed({again});
        QVERIFY(session->waitToFind(QStringLiteral("Re: Lunch")));
        QTest::qWait(2000);
        QCOMPARE(server->paths().size(), 1);
        QCOMPARE(session->find(QStringLiteral("Message from Ann Lee")), body);
    }

    void onlyWebAndMailLinksReachTheDesktop()
    {
        const auto block = [](const char *href, const char *colour) {
            return QStringLiteral("<a href=\"%1\" style=\"display:block;height:60px;background:%2\">%1</a>")
                .arg(QLatin1StringView(href), QLatin1StringView(colour));
        };
        session->feed({threadEvent(block("file:///etc/passwd", "#fdd") + block("https://example.com/menu", "#dfd")
                + block("smb://server/share", "#ddf"),
            0)});
        const auto body = waitForBody([](QRect r) { return r.height() > 200; });
        QVERIFY2(body, "no body");
        // 14-point page margin, then the three 60-point links.
        for (int link = 0; link < 3; ++link)
            session->click(QRect(body->x() + 100, body->y() + 14 + 30 + 60 * link, 1, 1));
        QVERIFY(HudSession::waitFor([&] { return QFile::exists(openedLog); }, 10000));
        QTest::qWait(1000);
        QFile log(openedLog);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(), QByteArray("https://example.com/menu\n"));
        // The page itself stayed: its links are still there.
        QCOMPARE(session->find(QStringLiteral("Message from Ann Lee"))->size(), body->size());
    }

    // Over a body that fits, the wheel scrolls the thread, not the body.
    void theWheelOverAFittingBodyScrollsTheThread()
    {
        QJsonArray messages;
        for (int i = 1; i <= 12; ++i)
            messages.append(QJsonObject{{"msg_id", QStringLiteral("m%1").arg(i)},
                {"from_name", QStringLiteral("Sender %1").arg(i)}, {"body_text", "Earlier"}});
        messages.append(QJsonObject{
            {"msg_id", "last"}, {"from_name", "Ann Lee"}, {"body_html", "<div style=\"height:300px\">short</div>"}});
        session->feed(
            {engineEvent("email_thread", {{"thread_id", "th1"}, {"subject", "Long"}, {"messages", messages}})});
        const auto body = waitForBody([](QRect r) { return r.height() == 332; });
        QVERIFY2(body, "no body");
        // Opened at the newest message, so the first ones are scrolled out of view.
        const QString first = QStringLiteral("Expand this message: Sender 1");
        QVERIFY(!session->find(first));
        session->xdotool(
            {QStringLiteral("mousemove"), QString::number(body->center().x()), QString::number(body->center().y())});
        for (int notch = 0; notch < 20; ++notch)
            session->xdotool({QStringLiteral("click"), QStringLiteral("4")});
        QVERIFY2(session->waitToFind(first, QString(), 5000), "the thread did not scroll");
    }

    // HTML bodies are drawn in a process of the card's own, which holds the web engine and
    // nothing reachable from outside; it goes soon after its card, when it fails, and with the HUD.
    void theCardProcessComesAndGoes_data()
    {
        QTest::addColumn<int>("cardFault");
        QTest::addColumn<int>("hudEnd");
        QTest::newRow("crash, HUD terminated") << SIGSEGV << SIGTERM;
        QTest::newRow("hang, HUD killed") << SIGSTOP << SIGKILL;
    }
    void theCardProcessComesAndGoes()
    {
        QFETCH(int, cardFault);
        QFETCH(int, hudEnd);
        const qint64 hud = session->hud()->processId();
        const auto showThread = [&](const char *threadId) {
            session->feed({threadEvent(QStringLiteral("<p>Lunch?</p>"), 0, threadId)});
            qint64 card = 0;
            return waitForBody() && HudSession::waitFor([&] { return (card = cardProcessOf(hud)) != 0; }, 5000) ? card
                                                                                                                : 0;
        };
        const qint64 first = showThread("th1");
        QVERIFY(first);
        QVERIFY(mapsWebEngine(first));
        QVERIFY(!mapsWebEngine(hud));
        QVERIFY(!listens(first));

        // A failed card process is ended and replaced; the HUD stays.
        ::kill(pid_t(first), cardFault);
        QVERIFY(HudSession::waitFor([&] { return !alive(first); }, 20000));
        QCOMPARE(session->hud()->state(), QProcess::Running);
        const qint64 second = showThread("th2");
        QVERIFY(second && second != first);

        // Put away, it leaves nothing of itself behind.
        QList<qint64> started = descendantsOf(second) << second;
        session->feed({engineEvent("card_close", {{"draft_id", "th2"}})});
        const auto allGone
            = [&] { return std::none_of(started.begin(), started.end(), [](qint64 pid) { return alive(pid); }); };
        QVERIFY(HudSession::waitFor(allGone, 15000));

        const qint64 third = showThread("th3");
        QVERIFY(third);
        started = descendantsOf(third) << third;
        ::kill(pid_t(hud), hudEnd);
        QVERIFY(HudSession::waitFor(allGone, 10000));
    }

    void tallBodiesScrollInside()
    {
        session->feed({threadEvent(QStringLiteral("<div style=\"height:2000px\">tall</div>"), 0)});
        QVERIFY2(waitForBody([](QRect r) { return r.height() == 560; }), "not 560 points");
        session->feed({threadEvent(QStringLiteral("<div style=\"height:300px\">short</div>"), 0, "th2")});
        // The body's own height plus its two 14-point margins, plus 4.
        QVERIFY2(waitForBody([](QRect r) { return r.height() == 332; }), "not 332 points");
    }
};

QTEST_GUILESS_MAIN(EmailEndToEndTest)
#include "tst_email_e2e.moc"
