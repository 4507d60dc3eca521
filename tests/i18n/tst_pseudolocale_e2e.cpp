#include <QJsonArray>
#include <QTest>

#include "HudSession.h"

using namespace halvic::testing;

namespace {

// The transformation translations/pseudo.py makes of every text.
QString pseudo(const QString &text)
{
    static const QString plain = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    static const QString accented = QStringLiteral("áƀçďéƒĝĥíĵķĺɱñóþʠŕšţúṽŵẋýžÁƁÇĎÉƑĜĤÍĴĶĹṀÑÓÞǪŔŠŢÚṼŴẊÝŽ");
    QString out = text;
    for (QChar &c : out) {
        if (const qsizetype i = plain.indexOf(c); i >= 0)
            c = accented[i];
    }
    return u'⟦' + out + u'⟧';
}

// Two ASCII letters in a row outside every ⟦…⟧ are a text left untranslated.
bool untranslated(QString name)
{
    static const QRegularExpression innermost(QStringLiteral("⟦[^⟦⟧]*⟧")), english(QStringLiteral("[A-Za-z]{2}"));
    while (name.contains(innermost))
        name.remove(innermost);
    return name.contains(english);
}

} // namespace

/// The HUD under the pseudo locale en_XA, the engine's own texts sent transformed too: every
/// name a screen reader reads of the HUD and of each card the engine opens is translated.
class PseudoLocaleTest : public QObject
{
    Q_OBJECT

private slots:
    void everyVisibleTextIsTranslated()
    {
        HudSession session;
        QVERIFY2(session.ok(), qPrintable(session.error()));
        session.setEnvironmentVariable(QStringLiteral("LANGUAGE"), QStringLiteral("en_XA"));
        QVERIFY(session.startHud());
        QVERIFY(session.waitToFind(pseudo(QStringLiteral("listening…"))));

        const QString text = pseudo(QStringLiteral("Call Ann"));
        const QString file = pseudo(QStringLiteral("notes"));
        const QJsonArray message{QJsonObject{
            {"msg_id", "m1"}, {"from_name", text}, {"date_human", text}, {"to", text}, {"body_text", text}}};
        // Each event fills the HUD or opens a card, until a screen reader reads the name given,
        // which is then clicked where asked.
        const QList<std::tuple<QJsonObject, QString, bool>> steps{
            {engineEvent("you", {{"text", text}}), text, false},
            {engineEvent("task_started", {{"agent", text}, {"desc", text}, {"id", "t-1"}}),
                pseudo(QStringLiteral("%1: %2")).arg(text, text), true},
            {{}, pseudo(QStringLiteral("Kill this agent")), false},
            {engineEvent("tasks", {{"tasks", QJsonArray{QJsonObject{{"id", "t1"}, {"text", text}, {"due", text}}}}}),
                pseudo(QStringLiteral("Tasks & Reminders")), false},
            {engineEvent("compose",
                 {{"draft_id", "d1"}, {"to", text}, {"subject", text}, {"body", text},
                     {"attachments", QJsonArray{file}}}),
                pseudo(QStringLiteral("Email — review before it sends")), false},
            {engineEvent(
                 "email_thread", {{"thread_id", "th1"}, {"account", text}, {"subject", text}, {"messages", message}}),
                pseudo(QStringLiteral("Email")), false},
            {engineEvent("storage", {{"files", QJsonArray{QJsonObject{{"name", file}, {"type", "txt"}, {"size", 9}}}}}),
                pseudo(QStringLiteral("My Files")), false},
            {{}, pseudo(QStringLiteral("What Halvic remembers")), true},
            {engineEvent("memories", {{"q", ""}, {"items", QJsonArray{QJsonObject{{"id", "m1"}, {"text", file}}}}}),
                pseudo(QStringLiteral("Correct this memory: %1")).arg(file), false},
            {engineEvent("entity_profile",
                 {{"composing", true},
                     {"profile",
                         QJsonObject{{"entity", QJsonObject{{"key", "p:a"}, {"name", text}, {"etype", "person"}}},
                             {"summary", text}, {"counts", QJsonObject{{"facts", 2}, {"relations", 1}}},
                             {"relations",
                                 QJsonArray{QJsonObject{{"other", file}, {"otype", "company"}, {"rtype", text},
                                     {"other_summary", text}}}}}}}),
                pseudo(QStringLiteral("Rewrite this summary")), false},
            {{}, {}, false},
        };
        QStringList found;
        for (const auto &[event, name, click] : steps) {
            if (!event.isEmpty())
                session.feed({event});
            // The last step opens the More menu.
            const auto at = name.isEmpty()
                ? session.openMenu(pseudo(QStringLiteral("More")), pseudo(QStringLiteral("Quit Halvic")))
                : session.waitToFind(name);
            QVERIFY2(at, qPrintable(name));
            if (click)
                session.click(*at);
            for (const QString &object : session.accessibleObjects()) {
                if (untranslated(object.section(u'\t', 1)) && !found.contains(object))
                    found << object;
            }
        }
        qInfo().noquote() << found.size() << "untranslated visible texts";
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(PseudoLocaleTest)
#include "tst_pseudolocale_e2e.moc"
