#pragma once

#include <QAbstractListModel>
#include <QSet>
#include <QtQmlIntegration>

#include <vector>

#include "EmailMessage.h"

namespace halvic {

/// The shown thread: its messages as rows (oldest first) with what the view shows of each,
/// and the reply being written. Main thread only.
class EmailModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the email card")
    Q_PROPERTY(QString threadId READ threadId NOTIFY threadChanged)
    Q_PROPERTY(QString account READ account NOTIFY threadChanged)
    Q_PROPERTY(QString subject READ subject NOTIFY threadChanged)
    /// The subject, or "(no subject)".
    Q_PROPERTY(QString title READ title NOTIFY threadChanged)
    /// "3 messages  ·  ann@example.com"
    Q_PROPERTY(QString countLine READ countLine NOTIFY threadChanged)
    Q_PROPERTY(int count READ count NOTIFY threadChanged)
    Q_PROPERTY(QString replyText READ replyText WRITE setReplyText NOTIFY replyChanged)
    Q_PROPERTY(bool sending READ sending NOTIFY replyChanged)
    Q_PROPERTY(bool sentFlash READ sentFlash NOTIFY replyChanged)
    Q_PROPERTY(QString errorText READ errorText NOTIFY replyChanged)
    /// Something to send and no reply on its way.
    Q_PROPERTY(bool canSend READ canSend NOTIFY replyChanged)
public:
    enum Role {
        MsgId = Qt::UserRole + 1,
        Sender,
        Outgoing,
        Preview,
        DateHuman,
        To,
        Cc,
        BodyHtml,
        /// The whole page for an HTML body; empty for a text body and for a body too large
        /// for the web view.
        BodyPage,
        /// The text shown when there is no page: the message's text, or its HTML as text.
        BodyText,
        ImagesBlocked,
        Attachments,
        AttachmentCount,
        Expanded,
        ImagesPending,
    };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    const QString &threadId() const { return m_threadId; }
    const QString &account() const { return m_account; }
    const QString &subject() const { return m_subject; }
    QString title() const;
    QString countLine() const;
    int count() const { return int(m_rows.size()); }
    const EmailMessage *newest() const { return m_rows.empty() ? nullptr : &m_rows.back().message; }
    const EmailMessage *message(const QString &msgId) const;
    /// The first attachment with this id in any message, in order.
    const EmailAttachment *attachment(const QString &attId) const;

    /// Whether `threadId` names the thread shown now (an empty one never does).
    bool isShown(const QString &threadId) const { return !threadId.isEmpty() && threadId == m_threadId; }
    /// Another thread replaces every row; the shown one again updates its rows in place (by
    /// message id), so the views of unchanged messages, and their measured bodies, stay.
    void setThread(QString threadId, QString account, QString subject, std::vector<EmailMessage> messages);
    /// Records where a downloaded attachment is, in every message that carries it.
    void setAttachmentPath(const QString &attId, const QString &path);

    const QSet<QString> &expanded() const { return m_expanded; }
    const QSet<QString> &downloading() const { return m_downloading; }
    const QSet<QString> &imagesRequested() const { return m_imagesRequested; }
    void setExpanded(QSet<QString> ids);
    void setDownloading(QSet<QString> ids);
    void setImagesRequested(QSet<QString> ids);

    const QString &replyText() const { return m_replyText; }
    void setReplyText(const QString &text);
    bool sending() const { return m_sending; }
    bool sentFlash() const { return m_sentFlash; }
    const QString &errorText() const { return m_errorText; }
    bool canSend() const { return !m_sending && !m_replyText.trimmed().isEmpty(); }
    void setReplyState(bool sending, bool sentFlash, const QString &errorText);

signals:
    void threadChanged();
    void replyChanged();

private:
    /// A message with what its body shows, worked out once.
    struct Row
    {
        explicit Row(EmailMessage m);
        EmailMessage message;
        QString page;
        QString text;
    };

    QVariantList attachmentRows(const EmailMessage &message) const;
    void rowsChanged(const QList<int> &roles);
    void refresh(std::vector<EmailMessage> messages);

    QString m_threadId;
    QString m_account;
    QString m_subject;
    std::vector<Row> m_rows;
    QSet<QString> m_expanded;
    QSet<QString> m_downloading;
    QSet<QString> m_imagesRequested;
    QString m_replyText;
    bool m_sending = false;
    bool m_sentFlash = false;
    QString m_errorText;
};

} // namespace halvic
