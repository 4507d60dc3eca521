// The email card: decoding threads, the controller's rules and the actions it writes, the
// card's frame and the body page. Bodies here are text: the web engine is the end-to-end
// test's business.

#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickItem>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "BodyRequests.h"
#include "CardUnderTest.h"
#include "EmailFrame.h"
#include "EmailPanel.h"
#include "EventDispatcher.h"
#include "GlassPanel.h"
#include "JsonFile.h"
#include "QuickItems.h"
#include "Scheduler.h"

Q_IMPORT_QML_PLUGIN(Halvic_PanelsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_CardsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_Cards_EmailPlugin)

using namespace halvic;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(std::optional<halvic::EmailMessage>)

namespace {

QJsonObject object(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

EmailMessage message(const QString &id, std::vector<EmailAttachment> attachments = {})
{
    EmailMessage m;
    m.msgId = id;
    m.fromName = u"Ann"_qs;
    m.bodyText = u"Text of "_qs + id;
    m.attachments = std::move(attachments);
    return m;
}

EmailAttachment attachment(const QString &id, const QString &name, const QString &path = {})
{
    EmailAttachment a;
    a.attId = id;
    a.filename = name;
    a.path = path;
    return a;
}

/// m1, m2 and m3; m2 carries a1 (not on disk) and a2 (on disk).
std::vector<EmailMessage> threeMessages()
{
    return {message(u"m1"_qs),
        message(u"m2"_qs,
            {attachment(u"a1"_qs, u"report.pdf"_qs), attachment(u"a2"_qs, u"photo.jpg"_qs, u"/tmp/p.jpg"_qs)}),
        message(u"m3"_qs)};
}

QSet<QString> ids(std::initializer_list<const char *> list)
{
    QSet<QString> set;
    for (const char *id : list)
        set.insert(QString::fromLatin1(id));
    return set;
}

} // namespace

class EmailTest : public QObject, testing::CardUnderTest<EmailPanel>
{
    Q_OBJECT

    QString actionFile() const { return controlFile(QStringLiteral("email_action.json")); }

    /// The last action written, removed so the next write can be told apart; empty if none.
    QJsonObject takeAction() const
    {
        const QJsonObject action = testing::readJson(actionFile());
        QFile::remove(actionFile());
        return action;
    }

    QJsonObject expected(const char *action, QJsonObject extra = {}) const
    {
        extra.insert("thread_id", "th1");
        extra.insert("account", "me@example.com");
        extra.insert("action", action);
        return extra;
    }

    void showThread(std::vector<EmailMessage> messages = threeMessages(), const QString &id = u"th1"_qs)
    {
        panel->show(id, u"me@example.com"_qs, u"Report"_qs, std::move(messages));
    }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<std::optional<EmailMessage>>("expected");
        EmailMessage full = message(u"m1"_qs);
        full.fromAddr = u"ann@example.com"_qs;
        full.to = u"me@example.com"_qs;
        full.cc = u"bob@example.com"_qs;
        full.dateHuman = u"Mon 9:14"_qs;
        full.outgoing = true;
        full.bodyHtml = u"<p>Hi</p>"_qs;
        full.imagesBlocked = 2;
        EmailAttachment sized = attachment(u"a1"_qs, u"r.pdf"_qs, u"/tmp/r.pdf"_qs);
        sized.mime = u"application/pdf"_qs;
        sized.size = 1234;
        full.attachments = {sized};
        QTest::addRow("every field") << QByteArray(
            R"({"msg_id":"m1","from_name":"Ann","from_addr":"ann@example.com","to":"me@example.com",
                "cc":"bob@example.com","date_human":"Mon 9:14","outgoing":true,"body_html":"<p>Hi</p>",
                "body_text":"Text of m1","images_blocked":2.7,"attachments":[{"att_id":"a1","filename":"r.pdf",
                "mime":"application/pdf","size":1234.9,"path":"/tmp/r.pdf"}]})")
                                     << std::optional(full);
        EmailMessage bare;
        bare.msgId = u"m2"_qs;
        QTest::addRow("only an id") << QByteArray(R"({"msg_id":"m2"})") << std::optional(bare);
        QTest::addRow("wrong types fall back")
            << QByteArray(R"({"msg_id":"m2","from_name":7,"outgoing":"yes","images_blocked":"3","attachments":{}})")
            << std::optional(bare);
        EmailMessage withAttachment = bare;
        withAttachment.attachments = {attachment(u"a2"_qs, u"attachment"_qs)};
        QTest::addRow("attachments without an id or not objects are dropped") << QByteArray(
            R"({"msg_id":"m2","attachments":[{"filename":"x"},{"att_id":"a2","size":"9"},4,{"att_id":5}]})")
                                                                              << std::optional(withAttachment);
        QTest::addRow("no id") << QByteArray(R"({"from_name":"Ann"})") << std::optional<EmailMessage>();
        QTest::addRow("numeric id") << QByteArray(R"({"msg_id":3})") << std::optional<EmailMessage>();
    }
    void decode()
    {
        QFETCH(QByteArray, json);
        QFETCH(std::optional<EmailMessage>, expected);
        QCOMPARE(EmailMessage::from(object(json)), expected);
    }

    void threadEventsReachTheCard()
    {
        EventDispatcher dispatcher;
        panel->registerRows(dispatcher);
        dispatcher.dispatch(object(R"({"type":"email_thread","thread_id":"th1","account":"me@example.com",
            "subject":"Report","messages":[{"msg_id":"m1"},{"from_name":"no id"},{"msg_id":"m2"}]})"));
        QCOMPARE(panel->model().count(), 2);
        QCOMPARE(panel->model().countLine(), u"2 messages  ·  me@example.com"_qs);
        QCOMPARE(panel->model().expanded(), ids({"m2"}));

        dispatcher.dispatch(object(R"({"type":"email_reply_sent","thread_id":"","ok":false})"));
        QCOMPARE(panel->model().errorText(), u"The reply didn't send."_qs);
        dispatcher.dispatch(object(R"({"type":"email_attachment","thread_id":"th1","att_id":"zz","ok":true})"));
        QCOMPARE(panel->model().errorText(), u"Couldn't download the attachment."_qs);
    }

    void headerTexts()
    {
        panel->show(u"th1"_qs, QString(), QString(), {message(u"m1"_qs)});
        QCOMPARE(panel->model().title(), u"(no subject)"_qs);
        QCOMPARE(panel->model().countLine(), u"1 message"_qs);
        EmailMessage mine = message(u"m2"_qs);
        mine.outgoing = true;
        EmailMessage byAddress = message(u"m3"_qs);
        byAddress.fromName.clear();
        byAddress.fromAddr = u"bob@example.com"_qs;
        byAddress.bodyText = u"  first line\nsecond\r\nthird  "_qs;
        QCOMPARE(mine.sender(), u"You"_qs);
        QCOMPARE(byAddress.sender(), u"bob@example.com"_qs);
        QCOMPARE(byAddress.preview(), u"first line second  third"_qs);
    }

    void aNewThreadOpensTheNewestAndARefreshKeepsTheUsersChoices()
    {
        showThread();
        QCOMPARE(panel->model().expanded(), ids({"m3"}));
        panel->toggleExpand(u"m1"_qs);
        panel->toggleExpand(u"m3"_qs);
        panel->tapAttachment(u"m2"_qs, u"a1"_qs);
        panel->loadImages(u"m1"_qs);
        panel->model().setReplyText(u"Half-written"_qs);
        QVERIFY(!takeAction().isEmpty());

        // The same thread again: its rows change, move, come and go where they are (their views
        // stay); another thread replaces them all.
        const QPersistentModelIndex m2 = panel->model().index(1), m3 = panel->model().index(2);
        std::vector<EmailMessage> next{message(u"m3"_qs), message(u"m1"_qs), message(u"m4"_qs)};
        next[0].bodyText = u"Edited"_qs;
        showThread(next);
        QCOMPARE((QList<int>{m3.row(), m2.row()}), (QList<int>{0, -1}));
        QCOMPARE(m3.data(EmailModel::BodyText).toString(), u"Edited"_qs);
        QCOMPARE(panel->model().expanded(), ids({"m1"}));
        QCOMPARE(panel->model().downloading(), ids({"a1"}));
        QCOMPARE(panel->model().imagesRequested(), QSet<QString>());
        QCOMPARE(panel->model().replyText(), u"Half-written"_qs);

        showThread(threeMessages(), u"th2"_qs); // another thread starts afresh
        QVERIFY(!m3.isValid());
        QCOMPARE(panel->model().expanded(), ids({"m3"}));
        QCOMPARE(panel->model().downloading(), QSet<QString>());
        QCOMPARE(panel->model().replyText(), QString());

        showThread({}, u"th3"_qs);
        QCOMPARE(panel->model().expanded(), QSet<QString>());
    }

    // Without a real display the web engine cannot run: an HTML body shows its text instead,
    // as does one too large for a page anywhere (under 2 MB, but a space takes three bytes in
    // the page's URL): its HTML's text when it has none, with a trace in the log.
    void htmlBodiesFallBackToTheirTextWithoutADisplay()
    {
        EmailMessage html = message(u"m1"_qs);
        html.bodyHtml = u"<p>Lunch <b>at noon</b>?</p>"_qs;
        html.bodyText = u"Lunch at noon?"_qs;
        EmailMessage big = message(u"m2"_qs);
        big.bodyText.clear();
        big.bodyHtml = html.bodyHtml + u"<!--"_qs + QString(700 * 1024, u' ') + u"-->"_qs;
        QLoggingCategory::setFilterRules(u"halvic.cards.warning=true"_qs);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"message m2 is shown as text: .* 2097152$"_qs));
        showThread({html, big});
        QLoggingCategory::setFilterRules({});
        QCOMPARE(panel->model().index(1).data(EmailModel::BodyPage).toString(), QString());
        panel->toggleExpand(u"m1"_qs);
        QVERIFY(!panel->webBodies());
        QQuickItem *view = panel->window()->panel()->content();
        QList<QQuickItem *> bodies;
        testing::collect(
            view,
            [](QQuickItem *item) {
                return item->inherits("QQuickTextEdit") && item->property("text").toString() == u"Lunch at noon?"_qs;
            },
            bodies);
        QCOMPARE(bodies.size(), 2);
    }

    void newThreadsOpenCentredAndTheBubbleKeepsTheCorner()
    {
        showThread();
        QVERIFY(panel->window()->panel());
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(panel->window()->panel()->geometry(), emailframe::full(available, QRect(), true));
        QVERIFY(panel->window()->panel()->isVisible());
    }

    void attachments()
    {
        showThread();
        // On disk: opens through the engine at once.
        panel->tapAttachment(u"m2"_qs, u"a2"_qs);
        QCOMPARE(takeAction(), expected("open_attachment", {{"path", "/tmp/p.jpg"}}));
        // Not on disk: asked for once, however often it is clicked.
        panel->tapAttachment(u"m2"_qs, u"a1"_qs);
        QCOMPARE(
            takeAction(), expected("attachment", {{"msg_id", "m2"}, {"att_id", "a1"}, {"filename", "report.pdf"}}));
        panel->tapAttachment(u"m2"_qs, u"a1"_qs);
        QVERIFY(takeAction().isEmpty());
        // A report for another thread changes nothing.
        panel->attachmentReady(u"other"_qs, u"a1"_qs, u"/tmp/r.pdf"_qs, true, QString());
        QCOMPARE(panel->model().downloading(), ids({"a1"}));
        // The download this card asked for opens by itself.
        panel->attachmentReady(u"th1"_qs, u"a1"_qs, u"/tmp/r.pdf"_qs, true, QString());
        QCOMPARE(takeAction(), expected("open_attachment", {{"path", "/tmp/r.pdf"}}));
        QCOMPARE(panel->model().attachment(u"a1"_qs)->path, u"/tmp/r.pdf"_qs);
        QCOMPARE(panel->model().downloading(), QSet<QString>());
        // A download nobody here asked for is only recorded.
        showThread({message(u"m1"_qs, {attachment(u"a3"_qs, u"x.zip"_qs)})}, u"th1"_qs);
        panel->attachmentReady(u"th1"_qs, u"a3"_qs, u"/tmp/x.zip"_qs, true, QString());
        QVERIFY(takeAction().isEmpty());
        QCOMPARE(panel->model().attachment(u"a3"_qs)->path, u"/tmp/x.zip"_qs);
    }

    void failedDownloads_data()
    {
        QTest::addColumn<QString>("attId");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("shown");
        QTest::addRow("engine's words") << "a1"
                                        << "" << false << "Disk full"
                                        << "Disk full";
        QTest::addRow("no words") << "a1"
                                  << "" << false << ""
                                  << "Couldn't download report.pdf.";
        QTest::addRow("no words, unknown id") << "zz"
                                              << "" << false << ""
                                              << "Couldn't download the attachment.";
        QTest::addRow("success without a path") << "a1"
                                                << "" << true << ""
                                                << "Couldn't download report.pdf.";
    }
    void failedDownloads()
    {
        QFETCH(QString, attId);
        QFETCH(QString, path);
        QFETCH(bool, ok);
        QFETCH(QString, error);
        QFETCH(QString, shown);
        showThread();
        panel->tapAttachment(u"m2"_qs, u"a1"_qs);
        panel->attachmentReady(u"th1"_qs, attId, path, ok, error);
        QCOMPARE(panel->model().errorText(), shown);
        // Still clickable: it can be asked for again.
        takeAction();
        panel->tapAttachment(u"m2"_qs, u"a1"_qs);
        QCOMPARE(takeAction().value("action").toString(), attId == u"a1"_qs ? u"attachment"_qs : QString());
    }

    void remoteImagesAreAskedForOncePerRefresh()
    {
        showThread();
        panel->loadImages(u"m3"_qs);
        QCOMPARE(takeAction(), expected("images", {{"msg_id", "m3"}}));
        panel->loadImages(u"m3"_qs);
        QVERIFY(takeAction().isEmpty());
        showThread();
        panel->loadImages(u"m3"_qs);
        QCOMPARE(takeAction(), expected("images", {{"msg_id", "m3"}}));
    }

    void replies_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("all");
        QTest::addColumn<QJsonObject>("written");
        QTest::addRow("reply, trimmed") << "\n\n  Sounds good.\n  \n"
                                        << false << QJsonObject{{"action", "reply"}, {"body", "Sounds good."}};
        QTest::addRow("reply all") << "Thanks all" << true
                                   << QJsonObject{{"action", "reply_all"}, {"body", "Thanks all"}};
        QTest::addRow("inner lines kept")
            << " a\n\nb " << false << QJsonObject{{"action", "reply"}, {"body", "a\n\nb"}};
        QTest::addRow("only blanks") << " \n\t \n" << false << QJsonObject{};
    }
    void replies()
    {
        QFETCH(QString, typed);
        QFETCH(bool, all);
        QFETCH(QJsonObject, written);
        showThread();
        panel->model().setReplyText(typed);
        panel->sendReply(all);
        QJsonObject action = takeAction();
        if (written.isEmpty()) {
            QVERIFY(action.isEmpty());
            QVERIFY(!panel->model().sending());
            return;
        }
        written.insert("msg_id", "m3");
        QCOMPARE(action, expected(qPrintable(written.value("action").toString()), written));
        QVERIFY(panel->model().sending());
        QCOMPARE(panel->model().replyText(), typed); // until the engine confirms
    }

    void replyOutcome()
    {
        showThread();
        panel->model().setReplyText(u"First"_qs);
        panel->sendReply(false);
        takeAction();
        panel->sendReply(true); // one at a time
        QVERIFY(takeAction().isEmpty());

        // A failure keeps the text and says so.
        panel->replySent(u"th1"_qs, false, QString());
        QCOMPARE(panel->model().errorText(), u"The reply didn't send."_qs);
        QCOMPARE(panel->model().replyText(), u"First"_qs);
        QVERIFY(!panel->model().sending());

        // A success clears the field and shows "Sent" for 2.5 seconds.
        panel->sendReply(false);
        QCOMPARE(panel->model().errorText(), QString());
        panel->replySent(u"other"_qs, true, QString());
        QVERIFY(panel->model().sending());
        panel->replySent(u"th1"_qs, true, QString());
        QVERIFY(panel->model().sentFlash());
        QCOMPARE(panel->model().replyText(), QString());
        scheduler.advance(2400ms);
        QVERIFY(panel->model().sentFlash());
        scheduler.advance(100ms);
        QVERIFY(!panel->model().sentFlash());
    }

    void closing_data()
    {
        QTest::addColumn<QString>("closeId");
        QTest::addColumn<bool>("hides");
        QTest::addRow("empty id") << "" << true;
        QTest::addRow("its thread") << "th1" << true;
        QTest::addRow("another thread") << "th9" << false;
    }
    void closing()
    {
        QFETCH(QString, closeId);
        QFETCH(bool, hides);
        showThread();
        panel->close(closeId);
        QCOMPARE(!panel->window()->isShown(), hides);
        QVERIFY(takeAction().isEmpty()); // the engine's close is not echoed
        showThread();
        panel->dismiss();
        QCOMPARE(takeAction(), expected("close"));
        QVERIFY(!panel->window()->isShown());
    }

    void nothingIsWrittenWithoutAThread()
    {
        showThread(threeMessages(), QString());
        panel->loadImages(u"m3"_qs);
        panel->model().setReplyText(u"Hello"_qs);
        panel->sendReply(false);
        panel->dismiss();
        QVERIFY(!QFile::exists(actionFile()));
    }

    void fullFrame_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("current");
        QTest::addColumn<bool>("centre");
        QTest::addColumn<QRect>("frame");
        const QRect screen(0, 0, 1440, 900);
        QTest::addRow("centred") << screen << QRect() << true << QRect(410, 60, 620, 780);
        QTest::addRow("short screen") << QRect(0, 0, 1280, 600) << QRect() << true << QRect(330, 30, 620, 540);
        QTest::addRow("second screen") << QRect(1440, 24, 1920, 1056) << QRect() << true << QRect(2090, 162, 620, 780);
        QTest::addRow("keeps the corner") << screen << QRect(100, 50, 58, 58) << false << QRect(100, 50, 620, 780);
        QTest::addRow("clamped right and down")
            << screen << QRect(1400, 880, 58, 58) << false << QRect(812, 112, 620, 780);
        QTest::addRow("clamped left and up") << screen << QRect(-50, -20, 58, 58) << false << QRect(8, 8, 620, 780);
    }
    void fullFrame()
    {
        QFETCH(QRect, available);
        QFETCH(QRect, current);
        QFETCH(bool, centre);
        QFETCH(QRect, frame);
        QCOMPARE(emailframe::full(available, current, centre), frame);
    }

    void bubbleFrame()
    {
        const QRect screen(0, 0, 1440, 900);
        QCOMPARE(emailframe::forBubble(QRect(300, 60, 620, 780), true, screen), QRect(300, 60, 58, 58));
        QCOMPARE(emailframe::forBubble(QRect(300, 60, 58, 58), false, screen), QRect(300, 60, 620, 780));
    }

    void bodyHeight_data()
    {
        QTest::addColumn<double>("measured");
        QTest::addColumn<int>("frame");
        QTest::addRow("300 points") << 300.0 << 304;
        QTest::addRow("tall") << 2000.0 << 560;
        QTest::addRow("just fits") << 556.0 << 560;
        QTest::addRow("tiny") << 10.0 << 60;
        QTest::addRow("nothing") << 0.0 << 0;
        QTest::addRow("negative") << -5.0 << 0;
        QTest::addRow("not a number") << qQNaN() << 0;
    }
    void bodyHeight()
    {
        QFETCH(double, measured);
        QFETCH(int, frame);
        QCOMPARE(EmailPanel::bodyFrameHeight(measured), frame);
    }

    // Held back, a body loads only itself and what it carries; let through, also what a
    // message shows from the web; never anything else.
    void bodyRequests()
    {
        using I = QWebEngineUrlRequestInfo;
        const QUrl web(u"https://x.test/a"_qs), page(u"data:text/html,x"_qs), local(u"file:///tmp/a"_qs);
        QVERIFY(
            bodyMayLoad(page, I::ResourceTypeMainFrame, false) && !bodyMayLoad(web, I::ResourceTypeMainFrame, true));
        for (const auto type : {I::ResourceTypeImage, I::ResourceTypeStylesheet, I::ResourceTypeFontResource})
            QVERIFY(!bodyMayLoad(web, type, false) && bodyMayLoad(web, type, true) && !bodyMayLoad(local, type, true));
        for (const auto type : {I::ResourceTypePrefetch, I::ResourceTypeSubFrame, I::ResourceTypeObject,
                 I::ResourceTypeMedia, I::ResourceTypeScript, I::ResourceTypePing})
            QVERIFY(!bodyMayLoad(web, type, true) && !bodyMayLoad(page, type, true));
    }

    void bodyPage()
    {
        const QString page = emailframe::page(u"<p>Hi</p>"_qs);
        QVERIFY(page.startsWith(u"<!doctype html><html><head><meta charset=\"utf-8\">\n"
                                "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "_qs));
        QVERIFY(page.endsWith(u"</style></head><body><p>Hi</p></body></html>"_qs));
        QCOMPARE(page.toUtf8().size(), 677 + 9 + 14);
        // No base: the page cannot reach local files by relative links.
        QVERIFY(!page.contains(u"<base"_qs));
        // A body as text: no markup or hidden parts, lines where the page has them.
        QCOMPARE(emailframe::htmlText(u"<head><title>T</title></head><P>Tom &amp; Ann&#x2019;s<br>lunch</p><!-- x -->"
                                      "<table><tr><td>at</td><td>noon</td></tr></table>&bogus; <b"_qs),
            u"Tom & Ann\u2019s\nlunch\n\nat noon\n\n&bogus;"_qs);
    }
};

QTEST_MAIN(EmailTest)
#include "tst_email.moc"
