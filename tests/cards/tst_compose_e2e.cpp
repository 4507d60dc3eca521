#include <QDir>
#include <QJsonArray>
#include <QTest>

#include <algorithm>

#include "FileDrag.h"
#include "HudSession.h"
#include "JsonFile.h"

using namespace halvic::testing;

/// The compose card in the real HUD on a real X server and window manager, typed into and
/// sent with the real pointer and keyboard, against a scripted engine.
class ComposeEndToEndTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<HudSession> session;

    QString actionFile() const { return session->root().controlFile(QStringLiteral("card_action.json")); }

private slots:
    void init()
    {
        session = std::make_unique<HudSession>();
        if (!session->ok())
            QFAIL(qPrintable(QStringLiteral("no X session: ") + session->error()));
        // The demo engine's test puts its own engine in the root first.
        if (QTest::currentTestFunction() == QByteArrayView("theDemoEngineDraftsAndShowsFiles"))
            return;
        QVERIFY(session->startHudListening());
    }
    void cleanup() { session.reset(); }

    void typedEditsGoWithSend()
    {
        session->feed({engineEvent("compose",
            {{"draft_id", "d1"}, {"to", "ann@example.com"}, {"subject", "Lunch"}, {"body", "See you at one."},
                {"attachments", QJsonArray{"/srv/menu.pdf"}}})});
        // What a screen reader reads: the card's window and heading, every label, each field
        // by its name, the attachment and the buttons.
        QVERIFY(session->waitToRead({"frame\tEmail \u2014 review before it sends",
            "heading\tEmail \u2014 review before it sends", "label\tTo", "text\tTo", "label\tSubject", "text\tSubject",
            "text\tBody", "label\tAttachments", "label\tmenu.pdf", "push button\tRemove menu.pdf",
            "push button\tCancel email", "push button\tSend email", "push button\tClose without sending"}));

        // Click into Subject, go to its end and type as a person would.
        const auto subject = session->waitToFind(QStringLiteral("Subject"), QStringLiteral("text"));
        QVERIFY(subject);
        session->click(*subject);
        QTest::qWait(300);
        session->xdotool({QStringLiteral("key"), QStringLiteral("End")});
        session->xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("60"),
            QStringLiteral(" moved to Friday")});
        // The engine hears of the edit once the typing pauses.
        QVERIFY(HudSession::waitFor(
            [&] { return readJson(actionFile()).value("action") == QStringLiteral("edit"); }, 5000));
        QCOMPARE(readJson(actionFile()).value("fields").toObject().value("subject").toString(),
            QStringLiteral("Lunch moved to Friday"));

        const auto send = session->waitToFind(QStringLiteral("Send email"), QStringLiteral("push button"));
        QVERIFY(send);
        session->click(*send);
        QVERIFY(HudSession::waitFor(
            [&] { return readJson(actionFile()).value("action") == QStringLiteral("send"); }, 5000));
        const QJsonObject expectedAction{{"kind", "email"}, {"draft_id", "d1"}, {"action", "send"},
            {"fields",
                QJsonObject{{"to", "ann@example.com"}, {"cc", ""}, {"subject", "Lunch moved to Friday"},
                    {"body", "See you at one."}, {"attachments", QJsonArray{"/srv/menu.pdf"}}}}};
        QCOMPARE(readJson(actionFile()), expectedAction);
        // The card is put away, and no late edit follows the send.
        QVERIFY(session->waitToRead({QStringLiteral("push button\tSend email")}, false, 5000));
        QTest::qWait(1200);
        QCOMPARE(readJson(actionFile()), expectedAction);
    }

    // Files dragged from another X client onto an email draft become its attachments; an
    // event draft refuses them.
    void filesDroppedOnDrafts()
    {
        const QStringList paths = sampleFiles(*session, {"agenda.pdf", "map.png"});
        session->feed({engineEvent("event_card", {{"draft_id", "e1"}, {"title", "Design review"}})});
        const auto title = session->waitToFind(QStringLiteral("Title"), QStringLiteral("text"));
        QVERIFY(title);
        QProcess *refused = dragFiles(*session, paths, title->center());
        QVERIFY(refused);
        QCOMPARE(dropOutcome(*refused), QByteArray("ignored"));

        session->feed({engineEvent("compose", {{"draft_id", "d2"}, {"subject", "Trip"}})});
        const auto subject = session->waitToFind(QStringLiteral("Subject"), QStringLiteral("text"));
        QVERIFY(subject);
        QProcess *taken = dragFiles(*session, paths, subject->center());
        QVERIFY(taken);
        QCOMPARE(dropOutcome(*taken), QByteArray("copied"));
        QVERIFY(session->waitToFind(QStringLiteral("Remove map.png"), QStringLiteral("push button")));
        // The edit that follows carries both files, in the order they were dropped.
        QVERIFY(HudSession::waitFor(
            [&] { return readJson(actionFile()).value("action") == QStringLiteral("edit"); }, 5000));
        QCOMPARE(readJson(actionFile()).value("fields").toObject().value("attachments").toArray(),
            QJsonArray::fromStringList(paths));
        QVERIFY(!QFile::exists(session->root().controlFile(QStringLiteral("storage_action.json"))));
    }

    // Copied files pasted into a card's field are that field's own paste; only the HUD's chat
    // field attaches them.
    void pastedFilesGoWhereTheyArePasted()
    {
        const QStringList paths = sampleFiles(*session, {"agenda.pdf"});
        QVERIFY(copyFiles(*session, paths));
        session->feed({engineEvent("compose", {{"draft_id", "d3"}, {"subject", "Trip"}})});
        const auto body = session->waitToFind(QStringLiteral("Body"), QStringLiteral("text"));
        QVERIFY(body);
        session->click(*body);
        QTest::qWait(300);
        session->xdotool({QStringLiteral("key"), QStringLiteral("ctrl+v")});
        QVERIFY(HudSession::waitFor(
            [&] {
                return readJson(actionFile()).value("fields").toObject().value("body").toString().contains(paths[0]);
            },
            5000));
        QVERIFY(!session->waitToFind(QStringLiteral("Remove agenda.pdf"), QStringLiteral("push button"), 1000));

        const auto chat = session->waitToFind(QStringLiteral("Message Halvic\u2026"));
        QVERIFY(chat);
        session->click(*chat);
        QTest::qWait(300);
        session->xdotool({QStringLiteral("key"), QStringLiteral("ctrl+v")});
        QVERIFY(session->waitToFind(QStringLiteral("Remove agenda.pdf"), QStringLiteral("push button")));
    }

    // The demo engine against the real HUD: a drafted email sent as it is, then the files.
    void theDemoEngineDraftsAndShowsFiles()
    {
        const QString demo = qEnvironmentVariable("HALVIC_SOURCE_DIR") + QStringLiteral("/demo-engine/");
        const QStringList sources = QDir(demo).entryList({QStringLiteral("*.py")});
        for (const QString &name : sources) {
            QFile::remove(session->root().file(name));
            QVERIFY(QFile::copy(demo + name, session->root().file(name)));
        }
        QVERIFY(session->startHud());
        const auto ask = [&](const QString &text) {
            const auto field = session->waitToFind(QStringLiteral("Message Halvic\u2026"));
            QVERIFY(field);
            session->click(*field);
            session->xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
            session->xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        };
        ask(QStringLiteral("draft an email"));
        QVERIFY(session->waitToFind(
            QStringLiteral("Email \u2014 review before it sends"), QStringLiteral("heading"), 15000));
        const auto send = session->waitToFind(QStringLiteral("Send email"), QStringLiteral("push button"));
        QVERIFY(send);
        session->click(*send);
        const auto said = [&](const QString &part) {
            return HudSession::waitFor(
                [&] {
                    const QStringList objects = session->accessibleObjects();
                    return std::any_of(
                        objects.begin(), objects.end(), [&](const QString &o) { return o.contains(part); });
                },
                10000);
        };
        QVERIFY(said(QStringLiteral("Sent \u201cLunch on Friday?\u201d to maya@example.com")));

        ask(QStringLiteral("show my files"));
        QVERIFY(session->waitToFind(QStringLiteral("My Files"), QStringLiteral("heading"), 10000));
        QVERIFY(session->waitToFind(QStringLiteral("5 items"), QStringLiteral("label")));
        QVERIFY(session->waitToFind(QStringLiteral("Quarterly report.pdf"), QStringLiteral("label")));
    }
};

QTEST_GUILESS_MAIN(ComposeEndToEndTest)
#include "tst_compose_e2e.moc"
