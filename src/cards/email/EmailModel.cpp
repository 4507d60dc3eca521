#include "EmailModel.h"

#include <QFileInfo>

#include "CardFormats.h"
#include "EmailFrame.h"
#include "Logging.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

EmailModel::Row::Row(EmailMessage m)
    : message(std::move(m))
{
    text = message.bodyText;
    if (message.bodyHtml.isEmpty())
        return;
    if (text.isEmpty())
        text = emailframe::htmlText(message.bodyHtml);
    QString full = emailframe::page(message.bodyHtml);
    const qsizetype urlLength = emailframe::pageUrlLength(full);
    if (urlLength <= emailframe::maxPageUrl) {
        page = std::move(full);
        return;
    }
    qCWarning(lcCards).nospace().noquote()
        << "the HTML body of email message " << message.msgId << " is shown as text: " << message.bodyHtml.size()
        << " characters make a page of " << urlLength << " bytes to load, the web view takes at most "
        << emailframe::maxPageUrl;
}

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
    const Row &row = m_rows[std::size_t(index.row())];
    const EmailMessage &message = row.message;
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
        return row.page;
    case BodyText:
        return row.text;
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
            {u"help"_s, (onDisk ? tr("Open %1") : tr("Download %1")).arg(attachment.filename)},
        });
    }
    return rows;
}

QString EmailModel::title() const
{
    return m_subject.isEmpty() ? tr("(no subject)") : m_subject;
}

QString EmailModel::countLine() const
{
    const QString messages = count() == 1 ? tr("%1 message").arg(count()) : tr("%1 messages").arg(count());
    if (m_account.isEmpty())
        return messages;
    return tr("%1  ·  %2").arg(messages, m_account);
}

const EmailMessage *EmailModel::message(const QString &msgId) const
{
    for (const Row &row : m_rows) {
        if (row.message.msgId == msgId)
            return &row.message;
    }
    return nullptr;
}

const EmailAttachment *EmailModel::attachment(const QString &attId) const
{
    for (const Row &row : m_rows) {
        for (const EmailAttachment &attachment : row.message.attachments) {
            if (attachment.attId == attId)
                return &attachment;
        }
    }
    return nullptr;
}

void EmailModel::setThread(QString threadId, QString account, QString subject, std::vector<EmailMessage> messages)
{
    if (isShown(threadId)) {
        refresh(std::move(messages));
    } else {
        beginResetModel();
        m_threadId = std::move(threadId);
        m_rows.clear();
        for (EmailMessage &message : messages)
            m_rows.emplace_back(std::move(message));
        endResetModel();
    }
    m_account = std::move(account);
    m_subject = std::move(subject);
    emit threadChanged();
}

void EmailModel::refresh(std::vector<EmailMessage> messages)
{
    const auto incoming = [&](const QString &msgId) {
        return std::any_of(messages.begin(), messages.end(), [&](const EmailMessage &m) { return m.msgId == msgId; });
    };
    for (int row = count() - 1; row >= 0; --row) {
        if (!incoming(m_rows[std::size_t(row)].message.msgId)) {
            beginRemoveRows({}, row, row);
            m_rows.erase(m_rows.begin() + row);
            endRemoveRows();
        }
    }
    // Row by row in the new order: the same message is updated where it is (moved up first
    // when the order changed), a new one is inserted.
    for (int row = 0; row < int(messages.size()); ++row) {
        EmailMessage &message = messages[std::size_t(row)];
        const auto found = std::find_if(
            m_rows.begin() + row, m_rows.end(), [&](const Row &r) { return r.message.msgId == message.msgId; });
        if (found == m_rows.end()) {
            beginInsertRows({}, row, row);
            m_rows.emplace(m_rows.begin() + row, std::move(message));
            endInsertRows();
            continue;
        }
        const int from = int(found - m_rows.begin());
        if (from != row) {
            beginMoveRows({}, from, from, {}, row);
            std::rotate(m_rows.begin() + row, found, found + 1);
            endMoveRows();
        }
        if (m_rows[std::size_t(row)].message != message) {
            m_rows[std::size_t(row)] = Row(std::move(message));
            emit dataChanged(index(row), index(row));
        }
    }
    // What is left over repeated an id the new thread holds fewer times.
    if (count() > int(messages.size())) {
        beginRemoveRows({}, int(messages.size()), count() - 1);
        m_rows.erase(m_rows.begin() + qsizetype(messages.size()), m_rows.end());
        endRemoveRows();
    }
}

void EmailModel::setAttachmentPath(const QString &attId, const QString &path)
{
    for (Row &row : m_rows) {
        for (EmailAttachment &attachment : row.message.attachments) {
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
