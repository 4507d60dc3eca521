// The email card as the HUD holds it: which threads it hands to the card process and which it
// shows itself, what it forwards, and the requests it lets the card process make. The card
// process here is a stand-in that logs what it receives and answers as the real one does.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QQmlEngineExtensionPlugin>
#include <QTest>

#include <unistd.h>

#include "CardUnderTest.h"
#include "EmailCard.h"
#include "EventDispatcher.h"
#include "JsonFile.h"

Q_IMPORT_QML_PLUGIN(Halvic_PanelsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_CardsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_Cards_EmailPlugin)

using namespace halvic;

namespace {

// Logs "type thread" per event; after a thread asks the HUD for two writes, one the email card
// makes and one it never does; reports itself open until a card_close.
constexpr char standIn[] = R"(#!/usr/bin/python3
import json, os, socket, sys
channel = socket.socket(fileno=int(sys.argv[2]))
log = open(os.environ["CARD_LOG"], "a")
seen = 0
def send(message):
    channel.sendall((json.dumps(message) + "\n").encode())
for line in channel.makefile("rb"):
    message = json.loads(line)
    if "ping" in message:
        send({"pong": message["ping"]})
        continue
    seen += 1
    log.write(message["type"] + " " + message.get("thread_id", message.get("draft_id", "")) + "\n")
    log.flush()
    if message["type"] == "email_thread":
        send({"control": "email_action.json", "request": {"action": "seen"}})
        send({"control": "gestures.json", "request": {"on": True}})
    send({"open": message["type"] != "card_close", "seen": seen})
)";

QJsonObject threadEvent(const char *id, bool html)
{
    QJsonObject message{{"msg_id", "m1"}, {"body_text", "Lunch?"}};
    if (html)
        message.insert("body_html", "<p>Lunch?</p>");
    return {{"type", "email_thread"}, {"thread_id", id}, {"messages", QJsonArray{message}}};
}

QJsonObject about(const char *type, const char *id)
{
    return {{"type", type}, {"thread_id", id}, {"draft_id", id}, {"ok", true}};
}

} // namespace

class EmailCardTest : public QObject, testing::CardUnderTest<EmailCard>
{
    Q_OBJECT

    QString log;

private slots:
    void init()
    {
        setUp();
        const QString program = testing::writeFile(QDir(dir->path()), "card", standIn, true);
        log = dir->filePath("card.log");
        qputenv("CARD_LOG", log.toLocal8Bit());
        panel = std::make_unique<EmailCard>(CardContext{scheduler, *qml, ControlChannel(controlFolder()), program});
    }
    void cleanup() { tearDown(); }

    void threadsGoWhereTheyAreDrawn_data()
    {
        QTest::addColumn<QList<QJsonObject>>("events");
        QTest::addColumn<QStringList>("inProcess");
        QTest::addColumn<bool>("shownHere");
        QTest::newRow("plain text: here") << QList{threadEvent("a", false)} << QStringList() << true;
        QTest::newRow("HTML: the card process")
            << QList{threadEvent("a", true)} << QStringList{"email_thread a"} << false;
        QTest::newRow("HTML after plain text: the card here goes")
            << QList{threadEvent("a", false), threadEvent("b", true)} << QStringList{"email_thread b"} << false;
        QTest::newRow("plain text after HTML: the process's card goes")
            << QList{threadEvent("a", true), threadEvent("b", false)} << QStringList{"email_thread a", "card_close a"}
            << true;
        QTest::newRow("a thread shown here stays here")
            << QList{threadEvent("a", false), threadEvent("a", true)} << QStringList() << true;
        QTest::newRow("results and closes follow their thread")
            << QList{threadEvent("a", true), about("email_reply_sent", "a"), about("email_attachment", "b"),
                   about("card_close", "a")}
            << QStringList{"email_thread a", "email_reply_sent a", "card_close a"} << false;
    }
    void threadsGoWhereTheyAreDrawn()
    {
        QFETCH(QList<QJsonObject>, events);
        QFETCH(QStringList, inProcess);
        QFETCH(bool, shownHere);
        EventDispatcher rows;
        panel->registerRows(rows);
        rows.on(QLatin1StringView("card_close"), panel.get(),
            [this](const QJsonObject &event) { panel->close(event.value("draft_id").toString()); });
        for (const QJsonObject &event : events)
            rows.dispatch(event);
        const auto received = [&] {
            QFile file(log);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)
                                                  : QStringList();
        };
        QTRY_COMPARE_WITH_TIMEOUT(received(), inProcess, 10000);
        QCOMPARE(panel->window()->isShown(), shownHere);
        if (inProcess.isEmpty())
            return;
        // The card's own request is written; the one it may not make, sent after it, is dropped.
        QTRY_COMPARE(testing::readJson(controlFile("email_action.json")).value("action"), QJsonValue("seen"));
    }
};

QTEST_MAIN(EmailCardTest)
#include "tst_email_card.moc"
