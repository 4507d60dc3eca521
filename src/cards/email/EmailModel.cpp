#include "EmailModel.h"

#include <QFileInfo>

#include "CardFormats.h"
#include "EmailFrame.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

int EmailModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QHash<int, QByteArray> EmailModel::roleNames() const
{
    return {
        {MsgId, "msgId"},
        {Sender, "sender"},
        {Outgoing, "outgoing"},
        {Preview, "preview"},
        {DateHuman, "dateHuman"},
        {To, "to"},
        {Cc, "cc"},
        {BodyHtml, "bodyHtml"},
        {BodyPage, "bodyPage"},
        {BodyText, "bodyText"},
        {ImagesBlocked, "imagesBlocked"},
        {Attachments, "attachments"},
        {AttachmentCount, "attachmentCount"},
        {Expanded, "expanded"},
        {ImagesPending, "imagesPending"},
    };
}

QVariant EmailModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || index.row() < 0 || index.row() >= count())
        return {};
    const EmailMessage &message = m_messages[std::size_t(index.row())];
    switch (role) {
    case MsgId:
        return message.msgId;
    case Sender:
        return message.sender();
    case Outgoing:
        return message.outgoing;
    case Preview:
        return message.preview();
    case DateHuman:
        return message.dateHuman;
    case To:
        return message.to;
    case Cc:
        return message.cc;
    case BodyHtml:
        return message.bodyHtml;
    case BodyPage:
        return message.bodyHtml.isEmpty() ? QString() : emailframe::page(message.bodyHtml);
    case BodyText:
        return message.bodyText;
    case ImagesBlocked:
        return message.imagesBlocked;
    case Attachments:
        return attachmentRows(message);
    case AttachmentCount:
        return int(message.attachments.size());
    case Expanded:
        return m_expanded.contains(message.msgId);
    case ImagesPending:
        return m_imagesRequested.contains(message.msgId);
    default:
        return {};
    }
}

QVariantList EmailModel::attachmentRows(const EmailMessage &message) const
{
    QVariantList rows;
    for (const EmailAttachment &attachment : message.attachments) {
        const bool onDisk = !attachment.path.isEmpty();
        rows.append(QVariantMap{
            {u"attId"_s, attachment.attId},
            {u"filename"_s, attachment.filename},
            {u"icon"_s, storageIcon(QFileInfo(attachment.filename).suffix())},
            {u"sizeText"_s, storageSize(attachment.size)},
            {u"onDisk"_s, onDisk},
            {u"downloading"_s, m_downloading.contains(attachment.attId)},
            {u"help"_s, (onDisk ? u"Open "_s : u"Download "_s) + attachment.filename},
        });
    }
    return rows;
}

QString EmailModel::title() const
{
    return m_subject.isEmpty() ? u"(no subject)"_s : m_subject;
}

QString EmailModel::countLine() const
{
    QString line = QString::number(count()) + (count() == 1 ? u" message"_s : u" messages"_s);
    if (!m_account.isEmpty())
        line += u"  ·  "_s + m_account;
    return line;
}

const EmailMessage *EmailModel::message(const QString &msgId) const
{
    for (const EmailMessage &message : m_messages) {
        if (message.msgId == msgId)
            return &message;
    }
    return nullptr;
}

const EmailAttachment *EmailModel::attachment(const QString &attId) const
{
    for (const EmailMessage &message : m_messages) {
        for (const EmailAttachment &attachment : message.attachments) {
            if (attachment.attId == attId)
                return &attachment;
        }
    }
    return nullptr;
}

void EmailModel::setThread(QString threadId, QString account, QString subject, std::vector<EmailMessage> messages)
{
    beginResetModel();
    m_threadId = std::move(threadId);
    m_account = std::move(account);
    m_subject = std::move(subject);
    m_messages = std::move(messages);
    endResetModel();
    emit threadChanged();
}

void EmailModel::setAttachmentPath(const QString &attId, const QString &path)
{
    for (EmailMessage &message : m_messages) {
        for (EmailAttachment &attachment : message.attachments) {
            if (attachment.attId == attId)
                attachment.path = path;
        }
    }
    rowsChanged({Attachments});
}

void EmailModel::setExpanded(QSet<QString> ids)
{
    if (ids == m_expanded)
        return;
    m_expanded = std::move(ids);
    rowsChanged({Expanded});
}

void EmailModel::setDownloading(QSet<QString> ids)
{
    if (ids == m_downloading)
        return;
    m_downloading = std::move(ids);
    rowsChanged({Attachments});
}

void EmailModel::setImagesRequested(QSet<QString> ids)
{
    if (ids == m_imagesRequested)
        return;
    m_imagesRequested = std::move(ids);
    rowsChanged({ImagesPending});
}

void EmailModel::setReplyText(const QString &text)
{
    if (text == m_replyText)
        return;
    m_replyText = text;
    emit replyChanged();
}

void EmailModel::setReplyState(bool sending, bool sentFlash, const QString &errorText)
{
    if (sending == m_sending && sentFlash == m_sentFlash && errorText == m_errorText)
        return;
    m_sending = sending;
    m_sentFlash = sentFlash;
    m_errorText = errorText;
    emit replyChanged();
}

void EmailModel::rowsChanged(const QList<int> &roles)
{
    // A thread is a handful of messages: tell the view every row may have changed.
    if (count() > 0)
        emit dataChanged(index(0), index(count() - 1), roles);
}

} // namespace halvic
