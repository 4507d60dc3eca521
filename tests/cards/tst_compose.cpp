#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickItem>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include "CardUnderTest.h"
#include "Cards.h"
#include "ComposePanel.h"
#include "Drops.h"
#include "EventDispatcher.h"
#include "GlassPanel.h"
#include "JsonFile.h"
#include "QuickItems.h"
#include "Scheduler.h"

Q_IMPORT_QML_PLUGIN(Halvic_PanelsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_CardsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_Cards_ComposePlugin)

using namespace halvic;
using namespace std::chrono_literals;
using halvic::testing::buttonsNamed;
using halvic::testing::collect;
using halvic::testing::readJson;
using halvic::testing::visibleTexts;

namespace {

EmailDraft emailDraft(const QString &id, const QStringList &attachments = {})
{
    return {id, "ann@example.com", "bo@example.com", "Lunch", "See you at one.", attachments};
}

EventDraft eventDraft(const QString &id, const QStringList &context = {})
{
    return {id, "Design review", "Tue 10:00", "Tue 11:00", "ann, bo", true, context};
}

QJsonObject emailFields(const QString &subject = "Lunch", const QJsonArray &attachments = {})
{
    return {{"to", "ann@example.com"}, {"cc", "bo@example.com"}, {"subject", subject}, {"body", "See you at one."},
        {"attachments", attachments}};
}

QJsonObject eventFields(bool meet = true)
{
    return {{"title", "Design review"}, {"start", "Tue 10:00"}, {"end", "Tue 11:00"}, {"attendees", "ann, bo"},
        {"meet", meet}};
}

QJsonObject action(const char *kind, const char *id, const char *what, const QJsonObject &fields = {})
{
    QJsonObject object{{"kind", kind}, {"draft_id", id}, {"action", what}};
    if (!fields.isEmpty())
        object.insert("fields", fields);
    return object;
}

QStringList paths(const ComposeModel &model)
{
    QStringList out;
    for (const Attachment &file : model.attachments().records())
        out << file.id;
    return out;
}

} // namespace

class ComposeTest : public QObject, testing::CardUnderTest<ComposePanel>
{
    Q_OBJECT

    QString actionFile() const { return controlFolder() + QStringLiteral("/card_action.json"); }
    QString file(const QString &name, const QByteArray &contents = "x") const
    {
        const QString path = dir->filePath(name);
        QFile out(path);
        if (out.open(QIODevice::WriteOnly))
            out.write(contents);
        return path;
    }

    // The action file's contents, taken away so the next write shows.
    QJsonObject takeAction() const
    {
        const QJsonObject written = readJson(actionFile());
        QFile::remove(actionFile());
        return written;
    }

    QQuickItem *view() const { return panel->window()->panel()->content(); }

    QQuickItem *field(const QString &name) const
    {
        QList<QQuickItem *> found;
        collect(
            view(),
            [&](QQuickItem *item) {
                return (item->inherits("QQuickTextInput") || item->inherits("QQuickTextEdit"))
                    && accessibleName(item) == name;
            },
            found);
        return found.value(0);
    }

    static QString accessibleName(QQuickItem *item)
    {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(item);
        return accessible ? accessible->text(QAccessible::Name) : QString();
    }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void decodeDrafts()
    {
        const auto parse = [](const char *json) { return QJsonDocument::fromJson(json).object(); };
        QCOMPARE(EmailDraft::from(parse(R"({"draft_id":"d1","to":"a","cc":"b","subject":"s","body":"x",
            "attachments":["/tmp/a.pdf",3,"/tmp/b.png"]})")),
            (EmailDraft{"d1", "a", "b", "s", "x", {"/tmp/a.pdf", "/tmp/b.png"}}));
        QCOMPARE(EmailDraft::from(parse(R"({"draft_id":7,"to":null,"attachments":"/tmp/a.pdf"})")), EmailDraft{});
        QCOMPARE(EventDraft::from(parse(R"({"draft_id":"e1","title":"t","start":"s","end":"e","attendees":"a",
            "meet":true,"context":["9:00 Standup",{},"12:00 Lunch"]})")),
            (EventDraft{"e1", "t", "s", "e", "a", true, {"9:00 Standup", "12:00 Lunch"}}));
        // "meet" must be a JSON Boolean; 1 or "true" count as absent.
        QCOMPARE(EventDraft::from(parse(R"({"meet":1})")).meet, false);
        QCOMPARE(EventDraft::from(parse(R"({"meet":"true"})")).meet, false);
    }

    // What each of the user's decisions leaves in card_action.json, and whether the card stays.
    void actionFilePerAction_data()
    {
        QTest::addColumn<QString>("draft");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QJsonObject>("written");
        QTest::addColumn<bool>("shown");
        QTest::addRow("send an email") << "email"
                                       << "send" << action("email", "d1", "send", emailFields()) << false;
        QTest::addRow("cancel an email") << "email"
                                         << "cancel" << action("email", "d1", "cancel") << false;
        QTest::addRow("close an email") << "email"
                                        << "close" << action("email", "d1", "close") << false;
        QTest::addRow("edit an email") << "email"
                                       << "edit" << action("email", "d1", "edit", emailFields()) << true;
        QTest::addRow("book an event") << "event"
                                       << "send" << action("event", "e1", "send", eventFields()) << false;
        QTest::addRow("cancel an event") << "event"
                                         << "cancel" << action("event", "e1", "cancel") << false;
        QTest::addRow("close an event") << "event"
                                        << "close" << action("event", "e1", "close") << false;
        QTest::addRow("edit an event") << "event"
                                       << "edit" << action("event", "e1", "edit", eventFields()) << true;
        QTest::addRow("no identifier: send writes nothing") << "email without id"
                                                            << "send" << QJsonObject() << false;
        QTest::addRow("no identifier: edit writes nothing") << "event without id"
                                                            << "edit" << QJsonObject() << true;
    }
    void actionFilePerAction()
    {
        QFETCH(QString, draft);
        QFETCH(QString, what);
        QFETCH(QJsonObject, written);
        QFETCH(bool, shown);
        const bool withId = !draft.endsWith(QStringLiteral("without id"));
        if (draft.startsWith(QStringLiteral("email")))
            panel->showEmail(emailDraft(withId ? "d1" : ""));
        else
            panel->showEvent(eventDraft(withId ? "e1" : ""));
        QVERIFY(panel->window()->isShown());
        if (what == u"send")
            panel->send();
        else if (what == u"cancel")
            panel->cancel();
        else if (what == u"close")
            panel->dismiss();
        else
            panel->noteEdited();
        scheduler.advance(2s);
        QCOMPARE(readJson(actionFile()), written);
        QCOMPARE(panel->window()->isShown(), shown);
        if (written.isEmpty())
            QVERIFY(!QDir(controlFolder()).exists());
    }

    // An email's attachments go as plain paths in the order they were added.
    void sendListsAttachmentsInOrder()
    {
        const QString b = file("b.txt");
        const QString a = file("a.txt");
        panel->showEmail(emailDraft("d1", {"/engine/first.pdf"}));
        panel->addAttachments({QUrl::fromLocalFile(b), QUrl::fromLocalFile(a)});
        panel->send();
        QCOMPARE(readJson(actionFile()),
            action("email", "d1", "send", emailFields("Lunch", QJsonArray{"/engine/first.pdf", b, a})));
    }

    // Edits at these times (ms) give "edit" files at those times, each with the text of the
    // moment it was written.
    void editDebounce_data()
    {
        QTest::addColumn<QList<int>>("edits");
        QTest::addColumn<QList<int>>("writes");
        QTest::addRow("three edits 0.5 s apart") << QList<int>{0, 500, 1000} << QList<int>{1800};
        QTest::addRow("one edit") << QList<int>{300} << QList<int>{1100};
        QTest::addRow("a pause of 0.8 s writes between bursts")
            << QList<int>{0, 100, 1000, 1700} << QList<int>{900, 2500};
        QTest::addRow("edits 0.79 s apart") << QList<int>{0, 790, 1580} << QList<int>{2380};
    }
    void editDebounce()
    {
        QFETCH(QList<int>, edits);
        QFETCH(QList<int>, writes);
        panel->showEmail(emailDraft("d1"));
        QList<int> seen;
        QStringList subjects;
        QString typed = QStringLiteral("Lunch");
        for (int now = 0; now <= 4000; now += 10) {
            if (edits.contains(now)) {
                typed += u'!';
                panel->model().setSubject(typed);
                panel->noteEdited();
            }
            if (QFile::exists(actionFile())) {
                const QJsonObject written = takeAction();
                QCOMPARE(written.value("action").toString(), QStringLiteral("edit"));
                seen << now;
                subjects << written.value("fields").toObject().value("subject").toString();
            }
            scheduler.advance(10ms);
        }
        QCOMPARE(seen, writes);
        QCOMPARE(subjects.last(), typed);
    }

    // The user's decision ends any pending edit: nothing replaces the decision afterwards.
    void noEditAfterADecision_data()
    {
        QTest::addColumn<QString>("decision");
        QTest::addColumn<QString>("left");
        QTest::addRow("send") << "send"
                              << "send";
        QTest::addRow("cancel") << "cancel"
                                << "cancel";
        QTest::addRow("close") << "close"
                               << "close";
        QTest::addRow("engine close") << "engine close"
                                      << "";
        QTest::addRow("a new draft") << "new draft"
                                     << "";
        QTest::addRow("the header's close button") << "hide"
                                                   << "";
    }
    void noEditAfterADecision()
    {
        QFETCH(QString, decision);
        QFETCH(QString, left);
        panel->showEmail(emailDraft("d1"));
        panel->model().setSubject(QStringLiteral("Lunch moved"));
        panel->noteEdited();
        scheduler.advance(500ms);
        if (decision == u"send")
            panel->send();
        else if (decision == u"cancel")
            panel->cancel();
        else if (decision == u"close")
            panel->dismiss();
        else if (decision == u"engine close")
            panel->close(QStringLiteral("d1"));
        else if (decision == u"new draft")
            panel->showEmail(emailDraft("d2"));
        else
            panel->window()->hide();
        scheduler.advance(5s);
        const QJsonObject written = readJson(actionFile());
        QCOMPARE(written.value("action").toString(), left);
        if (left == u"send")
            QCOMPARE(written.value("fields").toObject().value("subject").toString(), QStringLiteral("Lunch moved"));
        QCOMPARE(scheduler.pendingCount(), std::size_t(0));
    }

    void engineClose_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("shown");
        QTest::addRow("empty identifier") << "" << false;
        QTest::addRow("the draft shown") << "d1" << false;
        QTest::addRow("another draft") << "d2" << true;
    }
    void engineClose()
    {
        QFETCH(QString, id);
        QFETCH(bool, shown);
        panel->showEmail(emailDraft("d1"));
        panel->close(id);
        QCOMPARE(panel->window()->isShown(), shown);
        QVERIFY(!QFile::exists(actionFile()));
    }

    // Only regular files are attached, each once; an edit follows only when something was.
    void addAttachments_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("attached");
        QTest::addRow("files in order") << QStringList{"a.txt", "b.txt"} << QStringList{"a.txt", "b.txt"};
        QTest::addRow("the same file twice") << QStringList{"a.txt", "a.txt", "b.txt"} << QStringList{"a.txt", "b.txt"};
        QTest::addRow("one already attached") << QStringList{"engine.pdf", "a.txt"} << QStringList{"a.txt"};
        QTest::addRow("a web address") << QStringList{"https://example.com/a.txt"} << QStringList{};
        QTest::addRow("a folder") << QStringList{"folder"} << QStringList{};
        QTest::addRow("a pipe") << QStringList{"pipe"} << QStringList{};
        QTest::addRow("a device") << QStringList{"/dev/null"} << QStringList{};
        QTest::addRow("a missing file") << QStringList{"missing.txt"} << QStringList{};
        QTest::addRow("nothing") << QStringList{} << QStringList{};
    }
    void addAttachments()
    {
        QFETCH(QStringList, added);
        QFETCH(QStringList, attached);
        const QString engineFile = file("engine.pdf");
        file("a.txt");
        file("b.txt");
        QDir(dir->path()).mkdir(QStringLiteral("folder"));
        QCOMPARE(::mkfifo(QFile::encodeName(dir->filePath(QStringLiteral("pipe"))).constData(), 0600), 0);
        panel->showEmail(emailDraft("d1", {engineFile}));
        QList<QUrl> urls;
        for (const QString &name : added) {
            if (name.contains(u':'))
                urls << QUrl(name);
            else
                urls << QUrl::fromLocalFile(name.startsWith(u'/') ? name : dir->filePath(name));
        }
        panel->addAttachments(urls);
        QStringList expected{engineFile};
        for (const QString &name : attached)
            expected << dir->filePath(name);
        QCOMPARE(paths(panel->model()), expected);
        scheduler.advance(1s);
        QCOMPARE(QFile::exists(actionFile()), !attached.isEmpty());
    }

    void removingAnAttachmentIsAnEdit()
    {
        panel->showEmail(emailDraft("d1", {"/engine/a.pdf", "/engine/b.pdf"}));
        panel->removeAttachment(QStringLiteral("/engine/a.pdf"));
        panel->removeAttachment(QStringLiteral("/engine/unknown.pdf"));
        scheduler.advance(1s);
        QCOMPARE(
            readJson(actionFile()), action("email", "d1", "edit", emailFields("Lunch", QJsonArray{"/engine/b.pdf"})));
    }

    // A draft folded into a bubble stays one when the engine sends it again; a new draft
    // opens as the card.
    void bubbleAcrossDrafts_data()
    {
        QTest::addColumn<QString>("again");
        QTest::addColumn<bool>("bubble");
        QTest::addRow("the same draft") << "d1" << true;
        QTest::addRow("another draft") << "d2" << false;
    }
    void bubbleAcrossDrafts()
    {
        QFETCH(QString, again);
        QFETCH(bool, bubble);
        panel->showEmail(emailDraft("d1"));
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        panel->window()->minimize();
        scheduler.advance(1s);
        QCOMPARE(window->size(), QSize(58, 58));
        panel->showEmail(emailDraft(again));
        QCOMPARE(panel->window()->bubble()->minimized(), bubble);
        QCOMPARE(window->size() == QSize(58, 58), bubble);
        QVERIFY(window->isVisible());
    }

    // Sized to the draft it shows, centred 40 points above the middle of the screen, at
    // every show.
    void placedCentredAndRaised()
    {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        panel->showEmail(emailDraft("d1"));
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QSize emailSize = window->size();
        QCOMPARE(emailSize.width(), 460);
        QVERIFY2(emailSize.height() > 380, qPrintable(QString::number(emailSize.height())));
        const auto centredRaised = [&](QSize size) {
            return QPoint(available.x() + (available.width() - size.width()) / 2,
                available.y() + (available.height() - size.height()) / 2 - 40);
        };
        QCOMPARE(window->position(), centredRaised(emailSize));
        // Moved by the user, then another draft: the event (a shorter card) is placed again.
        window->setPosition(10, 10);
        panel->showEvent(eventDraft("e1"));
        QVERIFY(window->height() < emailSize.height());
        QCOMPARE(window->position(), centredRaised(window->size()));
        QCOMPARE(window->title(), QStringLiteral("Event \u2014 confirm before it books"));
        QVERIFY2(!window->property("_q_showWithoutActivating").isValid()
                || window->property("_q_showWithoutActivating").toBool(),
            "an engine's draft must not take the keyboard");
    }

    void viewTexts_data()
    {
        QTest::addColumn<bool>("isEmail");
        QTest::addColumn<QStringList>("context");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("buttons");
        QTest::addRow("email") << true << QStringList{}
                               << QStringList{"Email \u2014 review before it sends", "To", "Cc", "Subject", "Body",
                                      "Attachments", "Add files \u2014 or drop them on the card", "Cancel", "Send"}
                               << QStringList{
                                      "Close without sending", "Cancel email", "Send email", "Pick files to attach"};
        QTest::addRow("event with its day")
            << false << QStringList{"9:00 Standup", "12:00 Lunch with Ann"}
            << QStringList{"Event \u2014 confirm before it books", "Title", "Starts", "Ends", "Attendees",
                   "Attach a Google Meet link", "Also that day", "9:00 Standup", "12:00 Lunch with Ann", "Cancel",
                   "Book"}
            << QStringList{"Close without sending", "Cancel event", "Book event", "Attach a Google Meet link"};
        QTest::addRow("event alone") << false << QStringList{}
                                     << QStringList{"Event \u2014 confirm before it books", "Title", "Starts", "Ends",
                                            "Attendees", "Attach a Google Meet link", "Cancel", "Book"}
                                     << QStringList{"Cancel event", "Book event"};
    }
    void viewTexts()
    {
        QFETCH(bool, isEmail);
        QFETCH(QStringList, context);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, buttons);
        if (isEmail)
            panel->showEmail(emailDraft("d1"));
        else
            panel->showEvent(eventDraft("e1", context));
        QVERIFY(QTest::qWaitForWindowExposed(panel->window()->panel()));
        QTRY_COMPARE(visibleTexts(view()).join(u'|'), texts.join(u'|'));
        QList<QQuickItem *> controls;
        collect(
            view(), [](QQuickItem *item) { return item->inherits("QQuickAbstractButton"); }, controls);
        QStringList names;
        for (QQuickItem *control : std::as_const(controls))
            names << accessibleName(control);
        for (const QString &button : buttons)
            QVERIFY2(names.contains(button), qPrintable(names.join(u'|')));
    }

    // Each button of the real view, clicked: what it writes and whether the card stays.
    void buttonsInTheView_data()
    {
        QTest::addColumn<bool>("isEmail");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("shown");
        QTest::addRow("send") << true << "Send email"
                              << "send" << false;
        QTest::addRow("cancel an email") << true << "Cancel email"
                                         << "cancel" << false;
        QTest::addRow("book") << false << "Book event"
                              << "send" << false;
        QTest::addRow("cancel an event") << false << "Cancel event"
                                         << "cancel" << false;
        QTest::addRow("close without sending") << true << "Close without sending"
                                               << "close" << false;
        QTest::addRow("minimise") << true << "Minimize to a bubble \u2014 hold the bubble to reopen"
                                  << "" << true;
        QTest::addRow("pick files, tapping the box beside a chip") << true << "Pick files to attach"
                                                                   << "" << true;
    }
    void buttonsInTheView()
    {
        QFETCH(bool, isEmail);
        QFETCH(QString, button);
        QFETCH(QString, action);
        QFETCH(bool, shown);
        if (isEmail)
            panel->showEmail(emailDraft("d1", {file("a.txt")}));
        else
            panel->showEvent(eventDraft("e1"));
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QSignalSpy picks(panel.get(), &ComposePanel::attachmentsPickRequested);
        QList<QQuickItem *> controls;
        collect(
            view(),
            [&](QQuickItem *item) { return item->inherits("QQuickAbstractButton") && accessibleName(item) == button; },
            controls);
        QCOMPARE(controls.size(), 1);
        QQuickItem *control = controls.front();
        QTest::mouseClick(window, Qt::LeftButton, {},
            control->mapToScene(QPointF(control->width() / 2, control->height() / 2)).toPoint());
        scheduler.advance(1s);
        QCOMPARE(readJson(actionFile()).value("action").toString(), action);
        QCOMPARE(window->isVisible(), shown);
        QCOMPARE(picks.size(), button.startsWith(u"Pick") ? 1 : 0);
    }

    // Typing in each field of the real view reaches the engine once the user pauses.
    void typingInTheView_data()
    {
        QTest::addColumn<bool>("isEmail");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("result");
        QTest::addRow("to") << true << "To"
                            << "to"
                            << "ann@example.com, cy";
        QTest::addRow("cc") << true << "Cc"
                            << "cc"
                            << "bo@example.com, cy";
        QTest::addRow("subject") << true << "Subject"
                                 << "subject"
                                 << "Lunch, cy";
        QTest::addRow("body") << true << "Body"
                              << "body"
                              << "See you at one., cy";
        QTest::addRow("title") << false << "Title"
                               << "title"
                               << "Design review, cy";
        QTest::addRow("starts") << false << "Starts"
                                << "start"
                                << "Tue 10:00, cy";
        QTest::addRow("ends") << false << "Ends"
                              << "end"
                              << "Tue 11:00, cy";
        QTest::addRow("attendees") << false << "Attendees"
                                   << "attendees"
                                   << "ann, bo, cy";
    }
    void typingInTheView()
    {
        QFETCH(bool, isEmail);
        QFETCH(QString, field);
        QFETCH(QString, key);
        QFETCH(QString, result);
        if (isEmail)
            panel->showEmail(emailDraft("d1"));
        else
            panel->showEvent(eventDraft("e1"));
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QQuickItem *input = this->field(field);
        QVERIFY2(input, qPrintable(field));
        input->forceActiveFocus();
        input->setProperty("cursorPosition", input->property("length"));
        for (const char key : QByteArrayView(", cy"))
            QTest::keyClick(window, key);
        scheduler.advance(700ms);
        QVERIFY(!QFile::exists(actionFile()));
        scheduler.advance(100ms);
        const QJsonObject written = readJson(actionFile());
        QCOMPARE(written.value("action").toString(), QStringLiteral("edit"));
        QCOMPARE(written.value("fields").toObject().value(key).toString(), result);
        // A new draft's text is not an edit.
        QFile::remove(actionFile());
        if (isEmail)
            panel->showEmail(emailDraft("d2"));
        else
            panel->showEvent(eventDraft("e2"));
        QCOMPARE(input->property("text").toString(), result.chopped(4));
        scheduler.advance(2s);
        QVERIFY(!QFile::exists(actionFile()));
    }

    // The engine's paths are shown and sent back as they are, never looked up: odd ones and
    // very many of them build only the chips in view.
    void manyOddAttachmentsFromTheEngine()
    {
        QStringList many{"/srv/../etc/passwd", QStringLiteral("/tmp/a\u0007b\nc.txt"), "relative/x.pdf", "/dev/zero"};
        for (int i = 0; i < 20000; ++i)
            many << QStringLiteral("/srv/files/report %1.pdf").arg(i);
        panel->showEmail(emailDraft("d1", many));
        QVERIFY(QTest::qWaitForWindowExposed(panel->window()->panel()));
        const qsizetype chips = buttonsNamed(view(), QStringLiteral("Remove \u2026")).size();
        QVERIFY2(chips > 2 && chips < 60, qPrintable(QString::number(chips)));
        panel->send();
        const QJsonArray sent = readJson(actionFile()).value("fields").toObject().value("attachments").toArray();
        QCOMPARE(sent.size(), many.size());
        QCOMPARE(sent.at(1).toString(), many.at(1));
        QCOMPARE(sent.at(0).toString(), QStringLiteral("/srv/../etc/passwd"));
    }

    // Files dropped on the card, or on its bubble, through the window: attached to an email,
    // refused by an event.
    void dropsThroughTheView_data()
    {
        QTest::addColumn<bool>("isEmail");
        QTest::addColumn<bool>("bubble");
        QTest::addColumn<bool>("accepted");
        QTest::addRow("email") << true << false << true;
        QTest::addRow("event") << false << false << false;
        QTest::addRow("email's bubble") << true << true << true;
        QTest::addRow("event's bubble") << false << true << false;
    }
    void dropsThroughTheView()
    {
        QFETCH(bool, isEmail);
        QFETCH(bool, bubble);
        QFETCH(bool, accepted);
        const QString a = file("a.txt");
        const QString b = file("b.txt");
        if (isEmail)
            panel->showEmail(emailDraft("d1"));
        else
            panel->showEvent(eventDraft("e1"));
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        if (bubble) {
            panel->window()->minimize();
            scheduler.advance(0ms);
            QCOMPARE(window->size(), QSize(58, 58));
        }
        const QPoint middle(window->width() / 2, window->height() / 2);
        const QList<QUrl> dropped{QUrl::fromLocalFile(a), QUrl::fromLocalFile(b), QUrl::fromLocalFile(dir->path())};
        QCOMPARE(halvic::testing::dropUrls(window, middle, dropped), accepted);
        QCOMPARE(paths(panel->model()), accepted ? (QStringList{a, b}) : QStringList());
        QVERIFY(!panel->model().dropTargeted());
        if (accepted && !bubble) {
            QTRY_COMPARE(visibleTexts(view()).mid(6, 2), (QStringList{"a.txt", "b.txt"}));
            QCOMPARE(buttonsNamed(view(), QStringLiteral("Remove a.txt")).size(), 1);
        }
    }

    // The engine's events reach the card through its rows, and "card_close" through Cards.
    void engineRows()
    {
        ManualScheduler cardsScheduler;
        Cards cards(CardContext{cardsScheduler, *qml, ControlChannel(controlFolder())});
        EventDispatcher dispatcher;
        cards.registerRows(dispatcher);
        ComposePanel &compose = *cards.find<ComposePanel>();
        dispatcher.dispatch(QByteArray(R"({"type":"compose","draft_id":"d1","subject":"Hi","attachments":["/a"]})"));
        QVERIFY(compose.window()->isShown());
        QCOMPARE(compose.model().kind(), QStringLiteral("email"));
        QCOMPARE(compose.model().subject(), QStringLiteral("Hi"));
        QCOMPARE(paths(compose.model()), QStringList{"/a"});
        dispatcher.dispatch(QByteArray(R"({"type":"card_close","draft_id":"other"})"));
        QVERIFY(compose.window()->isShown());
        dispatcher.dispatch(QByteArray(R"({"type":"event_card","draft_id":"e1","meet":true,"context":["x"]})"));
        QCOMPARE(compose.model().kind(), QStringLiteral("event"));
        QCOMPARE(compose.model().context(), QStringList{"x"});
        // The email's fields stay as they were under the event.
        QCOMPARE(compose.model().subject(), QStringLiteral("Hi"));
        dispatcher.dispatch(QByteArray(R"({"type":"card_close"})"));
        QVERIFY(!compose.window()->isShown());
        QVERIFY(!QFile::exists(actionFile()));
    }
};

QTEST_MAIN(ComposeTest)
#include "tst_compose.moc"
