#include "EmailPanel.h"

#include <QDesktopServices>

#include <algorithm>

#include "EmailProtocol.h"
#include "EventDispatcher.h"
#include "GlassPanel.h"
#include "JsonRead.h"
#include "Protocol.h"
#include "RecordListModel.h"
#include "SafeOpen.h"
#include "WebEngineGround.h"

namespace halvic {

using namespace protocol;
using namespace Qt::Literals::StringLiterals;

EmailPanel::EmailPanel(const CardContext &context, QObject *parent)
    : Card(parent)
    , m_control(context.control)
    , m_sentFlashEnd(context.scheduler, sentFlashTime,
          [this] { m_model.setReplyState(m_model.sending(), false, m_model.errorText()); })
    , m_window(context.scheduler, context.qml, *this,
          {.view = QUrl(u"qrc:/Halvic/Cards/Email/EmailThreadView.qml"_s),
              .size = QSize(emailframe::width, 740),
              .title = tr("Email"),
              .placement = [](const QRect &available, QSize) { return emailframe::full(available, QRect(), true); },
              // The user reads and answers here: the card takes the keyboard when a thread opens.
              .takesFocus = true,
              .bubbleFrame = emailframe::forBubble})
{
}

EmailPanel::~EmailPanel() = default;

void EmailPanel::registerRows(EventDispatcher &dispatcher)
{
    dispatcher.on(event::emailThread, this, [this](const QJsonObject &payload) {
        show(json::string(payload, key::threadId), json::string(payload, key::account),
            json::string(payload, key::subject),
            records<EmailMessage>(payload, key::messages).value_or(std::vector<EmailMessage>{}));
    });
    dispatcher.on(event::emailAttachment, this, [this](const QJsonObject &payload) {
        attachmentReady(json::string(payload, key::threadId), json::string(payload, key::attId),
            json::string(payload, key::path), json::boolean(payload, key::ok, false),
            json::string(payload, key::error));
    });
    dispatcher.on(event::emailReplySent, this, [this](const QJsonObject &payload) {
        replySent(json::string(payload, key::threadId), json::boolean(payload, key::ok, false),
            json::string(payload, key::error));
    });
}

void EmailPanel::show(
    const QString &threadId, const QString &account, const QString &subject, std::vector<EmailMessage> messages)
{
    const bool sameThread = m_model.isShown(threadId);
    if (m_webAllowed && !m_webBodies && anyHtmlBody(messages) && prepareWebEngine()) {
        m_webBodies = true;
        emit webBodiesChanged();
    }
    m_model.setThread(threadId, account, subject, std::move(messages));
    if (sameThread) {
        m_model.setImagesRequested({});
        if (m_window.bubble()->minimized())
            return;
        m_window.present(false);
        return;
    }
    const EmailMessage *newest = m_model.newest();
    m_model.setExpanded(newest ? QSet<QString>{newest->msgId} : QSet<QString>{});
    m_model.setDownloading({});
    m_model.setImagesRequested({});
    m_model.setReplyText({});
    m_sentFlashEnd.cancel();
    m_model.setReplyState(false, false, {});
    m_window.bubbleCtl().reset();
    m_window.present(true);
    m_window.placeAgain();
}

void EmailPanel::replySent(const QString &threadId, bool ok, const QString &error)
{
    if (!threadId.isEmpty() && threadId != m_model.threadId())
        return;
    if (ok) {
        m_model.setReplyText({});
        m_model.setReplyState(false, true, {});
        m_sentFlashEnd.restart();
        return;
    }
    m_model.setReplyState(false, m_model.sentFlash(), error.isEmpty() ? tr("The reply didn't send.") : error);
}

void EmailPanel::attachmentReady(
    const QString &threadId, const QString &attId, const QString &path, bool ok, const QString &error)
{
    if (threadId != m_model.threadId())
        return;
    QSet<QString> downloading = m_model.downloading();
    const bool askedHere = downloading.remove(attId);
    m_model.setDownloading(std::move(downloading));
    if (ok && !path.isEmpty()) {
        m_model.setAttachmentPath(attId, path);
        // Only a download this card asked for opens by itself.
        if (askedHere)
            writeAction(value::openAttachment, {{key::path, path}});
        return;
    }
    QString text = error;
    if (text.isEmpty()) {
        const EmailAttachment *attachment = m_model.attachment(attId);
        text = attachment ? tr("Couldn't download %1.").arg(attachment->filename)
                          : tr("Couldn't download the attachment.");
    }
    m_model.setReplyState(m_model.sending(), m_model.sentFlash(), text);
}

void EmailPanel::close(const QString &threadId)
{
    if (threadId.isEmpty() || threadId == m_model.threadId())
        hideCard();
}

void EmailPanel::toggleExpand(const QString &msgId)
{
    QSet<QString> expanded = m_model.expanded();
    if (!expanded.remove(msgId))
        expanded.insert(msgId);
    m_model.setExpanded(std::move(expanded));
}

void EmailPanel::tapAttachment(const QString &msgId, const QString &attId)
{
    const EmailMessage *message = m_model.message(msgId);
    if (!message)
        return;
    const auto attachment = std::find_if(message->attachments.begin(), message->attachments.end(),
        [&](const EmailAttachment &a) { return a.attId == attId; });
    if (attachment == message->attachments.end())
        return;
    if (!attachment->path.isEmpty()) {
        writeAction(value::openAttachment, {{key::path, attachment->path}});
        return;
    }
    if (m_model.downloading().contains(attId))
        return;
    QSet<QString> downloading = m_model.downloading();
    downloading.insert(attId);
    const QJsonObject extra{{key::msgId, msgId}, {key::attId, attId}, {key::filename, attachment->filename}};
    m_model.setDownloading(std::move(downloading));
    writeAction(value::attachment, extra);
}

void EmailPanel::loadImages(const QString &msgId)
{
    if (m_model.imagesRequested().contains(msgId))
        return;
    QSet<QString> requested = m_model.imagesRequested();
    requested.insert(msgId);
    m_model.setImagesRequested(std::move(requested));
    writeAction(value::images, {{key::msgId, msgId}});
}

void EmailPanel::sendReply(bool all)
{
    const QString body = m_model.replyText().trimmed();
    if (body.isEmpty() || m_model.sending() || !m_model.newest())
        return;
    m_model.setReplyState(true, false, {});
    writeAction(all ? value::replyAll : value::reply, {{key::msgId, m_model.newest()->msgId}, {key::body, body}});
}

void EmailPanel::dismiss()
{
    writeAction(value::close);
    hideCard();
}

void EmailPanel::activateInput()
{
    if (GlassPanel *panel = m_window.panel())
        panel->requestActivate();
}

void EmailPanel::openLink(const QUrl &url)
{
    if (linkSchemeAllowed(url, linkschemes::web))
        QDesktopServices::openUrl(url);
}

int EmailPanel::bodyFrameHeight(double contentHeight)
{
    return emailframe::bodyHeight(contentHeight).value_or(0);
}

void EmailPanel::writeAction(QLatin1StringView action, const QJsonObject &extra)
{
    if (m_model.threadId().isEmpty())
        return;
    QJsonObject object = extra;
    object.insert(key::threadId, m_model.threadId());
    object.insert(key::account, m_model.account());
    object.insert(key::action, action);
    m_control.writeJSON(controlfile::emailAction, object);
}

void EmailPanel::hideCard()
{
    m_sentFlashEnd.cancel();
    if (m_model.sentFlash())
        m_model.setReplyState(m_model.sending(), false, m_model.errorText());
    m_window.hide();
}

} // namespace halvic
