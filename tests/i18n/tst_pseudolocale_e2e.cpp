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

// What stays of a name outside the ⟦…⟧ of translated texts (the engine's texts are sent
// transformed too): any two ASCII letters in a row there are an untranslated text.
bool untranslated(const QString &name)
{
    QString outside;
    int depth = 0;
    for (const QChar c : name) {
        depth += c == u'⟦' ? 1 : (c == u'⟧' ? -1 : 0);
        if (depth == 0 && c != u'⟧')
            outside += c;
    }
    static const QRegularExpression english(QStringLiteral("[A-Za-z]{2}"));
    return outside.contains(english);
}

QJsonObject event(const char *type, const QJsonObject &payload) { return engineEvent(type, payload); }

} // namespace

/// The HUD under the pseudo locale en_XA, with the engine's texts transformed as well: every
/// name a screen reader reads of the HUD and of each card the engine opens is translated.
class PseudoLocaleTest : public QObject
{
    Q_OBJECT

private slots:
    void everyVisibleTextIsTranslated()
    {
        HudSession session;
        if (!session.ok())
            QFAIL(qPrintable(QStringLiteral("no X session: ") + session.error()));
        session.setEnvironmentVariable(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        session.setEnvironmentVariable(QStringLiteral("LANGUAGE"), QStringLiteral("en_XA"));
        QVERIFY(session.startHud());
        QVERIFY(session.waitToFind(pseudo(QStringLiteral("listening…"))));

        const QString text = pseudo(QStringLiteral("Call Ann"));
        const QString file = pseudo(QStringLiteral("notes"));
        // Each step fills the HUD or opens a card, then waits for a screen reader to read it.
        // The More menu and the HUD's and the transcript's context menus join here once they
        // are on the accessibility bus.
        const QList<std::pair<QJsonObject, QString>> steps{
            {event("you", {{"text", text}}), text},
            {event("task_started", {{"agent", text}, {"desc", text}, {"id", "t-1"}}),
                pseudo(QStringLiteral("Kill this agent"))},
            {event("tasks", {{"tasks", QJsonArray{QJsonObject{{"id", "t1"}, {"text", text}, {"due", text}}}}}),
                pseudo(QStringLiteral("Tasks & Reminders"))},
            {event("compose", {{"draft_id", "d1"}, {"to", text}, {"subject", text}, {"body", text},
                                  {"attachments", QJsonArray{file}}}),
                pseudo(QStringLiteral("Email — review before it sends"))},
            {event("email_thread",
                 {{"thread_id", "th1"}, {"account", text}, {"subject", text},
                     {"messages", QJsonArray{QJsonObject{{"msg_id", "m1"}, {"from_name", text},
                                      {"date_human", text}, {"to", text}, {"body_text", text}}}}}),
                pseudo(QStringLiteral("Email"))},
            {event("storage", {{"files", QJsonArray{QJsonObject{{"name", file}, {"type", "txt"}, {"size", 1200}}}}}),
                pseudo(QStringLiteral("My Files"))},
        };
        QStringList found;
        const auto read = [&] {
            for (const QString &object : session.accessibleObjects()) {
                if (untranslated(object.section(u'\t', 1)) && !found.contains(object))
                    found << object;
            }
        };
        for (const auto &[payload, name] : steps) {
            session.feed({payload});
            QVERIFY2(session.waitToFind(name), qPrintable(name));
            read();
        }
        // The memory card opens from the HUD's own button.
        const auto memory = session.waitToFind(pseudo(QStringLiteral("What Halvic remembers")));
        QVERIFY(memory);
        session.click(*memory);
        QVERIFY(session.waitToFind(pseudo(QStringLiteral("Nothing remembered yet."))));
        session.feed({event("memories", {{"q", ""}, {"items", QJsonArray{QJsonObject{{"id", "m1"}, {"text", text}}}}})});
        QVERIFY(session.waitToFind(text, QStringLiteral("label")));
        read();
        qInfo().noquote() << found.size() << "untranslated visible texts" << found;
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(PseudoLocaleTest)
#include "tst_pseudolocale_e2e.moc"
