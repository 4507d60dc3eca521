#include <QJsonArray>
#include <QTest>

#include <algorithm>

#include "HudSession.h"
#include "JsonFile.h"

using namespace halvic::testing;

/// The dossier card in the real HUD on a real X server and window manager, driven with the
/// real pointer and keyboard at the controls the accessibility bus names, against a scripted
/// engine.
class EntityEndToEndTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<HudSession> session;

    static QJsonObject annProfile()
    {
        return QJsonObject{{"entity", QJsonObject{{"key", "p:ann"}, {"name", "Ann Lee"}, {"etype", "person"}}},
            {"summary", "Designer in Oslo."},
            {"relations",
                QJsonArray{QJsonObject{
                    {"other", "Acme Corp"}, {"otype", "company"}, {"rtype", "works at"}, {"other_summary", "A firm"}}}},
            {"counts", QJsonObject{{"facts", 2}, {"relations", 1}}}};
    }

    QString actionFile() const { return session->root().controlFile(QStringLiteral("entity_action.json")); }

    QJsonObject nextAction()
    {
        QJsonObject written;
        HudSession::waitFor(
            [&] {
                written = readJson(actionFile());
                return !written.isEmpty();
            },
            10000);
        QFile::remove(actionFile());
        return written;
    }

private slots:
    void init()
    {
        session = std::make_unique<HudSession>();
        if (!session->ok())
            QFAIL(qPrintable(QStringLiteral("no X session: ") + session->error()));
    }
    void cleanup() { session.reset(); }

    void aDossierIsReadOpenedAndAnnotated()
    {
        QVERIFY(session->startHudListening());
        session->feed({engineEvent("entity_profile", {{"profile", annProfile()}, {"composing", true}})});
        // What a screen reader reads: the card's window, the entity, its counts and relation.
        QVERIFY(session->waitToRead({"frame\tDossier", "heading\tAnn Lee", "label\t2 facts  \u00b7  1 relation",
            "label\torganizing\u2026", "label\tDesigner in Oslo.", "push button\tRewrite this summary",
            "label\tAcme Corp", "push button\tSave this note"}));

        // Centred on the 1440 x 900 screen, 560 wide and 760 high.
        const auto card = session->find(QStringLiteral("Dossier"), QStringLiteral("frame"));
        QVERIFY(card);
        QCOMPARE(*card, QRect(440, 70, 560, 760));

        // A note typed as a person would: clicked into, typed with spaces around, sent.
        const auto field = session->waitToFind(QStringLiteral("Add a note about Ann Lee"));
        QVERIFY(field);
        session->click(*field);
        session->xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"),
            QStringLiteral("  Prefers mornings  ")});
        const auto send = session->waitToFind(QStringLiteral("Save this note"));
        QVERIFY(send);
        session->click(*send);
        QCOMPARE(nextAction(), (QJsonObject{{"cmd", "entity_note"}, {"key", "p:ann"}, {"text", "Prefers mornings"}}));

        // Clicking the relation asks the engine for that entity.
        const auto relation = session->waitToFind(QStringLiteral("Open Acme Corp's dossier"));
        QVERIFY(relation);
        session->click(*relation);
        QCOMPARE(nextAction(), (QJsonObject{{"cmd", "show_entity"}, {"name", "Acme Corp"}}));

        // The engine closes the card for its entity; closing writes nothing.
        session->feed({engineEvent("card_close", {{"draft_id", "p:ann"}})});
        QVERIFY(HudSession::waitFor(
            [&] { return !session->find(QStringLiteral("Dossier"), QStringLiteral("frame")).has_value(); }, 10000));
        QVERIFY(!QFile::exists(actionFile()));
    }

    // The demo engine's dossiers: the profile first, the composed layout a moment later, and
    // a related entity opened from it.
    void theDemoEngineServesDossiers()
    {
        const QString demo = qEnvironmentVariable("HALVIC_SOURCE_DIR") + QStringLiteral("/demo-engine/");
        const QStringList sources = QDir(demo).entryList({QStringLiteral("*.py")});
        for (const QString &name : sources) {
            QFile::remove(session->root().file(name));
            QVERIFY(QFile::copy(demo + name, session->root().file(name)));
        }
        QVERIFY(session->startHud());
        const auto field = session->waitToFind(QStringLiteral("Message Halvic\u2026"));
        QVERIFY(field);
        session->click(*field);
        session->xdotool(
            {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), QStringLiteral("who is maya")});
        session->xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        QVERIFY(session->waitToFind(QStringLiteral("Maya Okafor"), QStringLiteral("heading"), 15000));
        QVERIFY(session->waitToFind(QStringLiteral("In short"), QStringLiteral("heading")));
        const auto open = session->waitToFind(QStringLiteral("Open Northwind Studio's dossier"));
        QVERIFY(open);
        session->click(*open);
        QVERIFY(session->waitToFind(QStringLiteral("Northwind Studio"), QStringLiteral("heading")));
        QVERIFY(session->waitToFind(QStringLiteral("Company"), QStringLiteral("label")));
    }
};

QTEST_GUILESS_MAIN(EntityEndToEndTest)
#include "tst_entity_e2e.moc"
