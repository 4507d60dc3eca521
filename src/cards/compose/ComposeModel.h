#pragma once

#include <QJsonObject>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <QtQmlIntegration>

#include <vector>

#include "RecordListModel.h"

namespace halvic {

/// An email draft as the engine sends it ("compose"); every member defaults to empty.
struct EmailDraft
{
    QString draftId;
    QString to;
    QString cc;
    QString subject;
    QString body;
    /// File-system paths, in the engine's order.
    QStringList attachments;

    static EmailDraft from(const QJsonObject &payload);
    friend bool operator==(const EmailDraft &, const EmailDraft &) = default;
};

/// An event draft as the engine sends it ("event_card"); strings default to empty, `meet`
/// to false.
struct EventDraft
{
    QString draftId;
    QString title;
    QString start;
    QString end;
    QString attendees;
    bool meet = false;
    /// Other events of that day; shown, never sent back.
    QStringList context;

    static EventDraft from(const QJsonObject &payload);
    friend bool operator==(const EventDraft &, const EventDraft &) = default;
};

/// One file attached to an email draft, told apart by its path.
struct Attachment
{
    /// The file's path.
    QString id;

    QUrl url() const { return QUrl::fromLocalFile(id); }

    /// The view's roles: path, name (the last component of the path).
    static const RecordRoles<Attachment> &roles();

    friend bool operator==(const Attachment &, const Attachment &) = default;
};

/// The draft on the compose card: an email ("email") or an event (any other kind). Fields
/// the user edits are written by the view; every field keeps its value when the card hides.
class ComposeModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the compose card")
    Q_PROPERTY(QString kind READ kind NOTIFY kindChanged)
    Q_PROPERTY(bool isEmail READ isEmail NOTIFY kindChanged)
    Q_PROPERTY(QString draftId READ draftId NOTIFY draftIdChanged)
    Q_PROPERTY(QString to MEMBER m_to NOTIFY toChanged)
    Q_PROPERTY(QString cc MEMBER m_cc NOTIFY ccChanged)
    Q_PROPERTY(QString subject MEMBER m_subject NOTIFY subjectChanged)
    Q_PROPERTY(QString body MEMBER m_body NOTIFY bodyChanged)
    Q_PROPERTY(halvic::RecordList *attachments READ attachmentList CONSTANT)
    Q_PROPERTY(bool dropTargeted MEMBER m_dropTargeted NOTIFY dropTargetedChanged)
    Q_PROPERTY(QString title MEMBER m_title NOTIFY titleChanged)
    Q_PROPERTY(QString start MEMBER m_start NOTIFY startChanged)
    Q_PROPERTY(QString end MEMBER m_end NOTIFY endChanged)
    Q_PROPERTY(QString attendees MEMBER m_attendees NOTIFY attendeesChanged)
    Q_PROPERTY(bool meet MEMBER m_meet NOTIFY meetChanged)
    Q_PROPERTY(QStringList context READ context NOTIFY contextChanged)
public:
    using QObject::QObject;

    QString kind() const { return m_kind; }
    bool isEmail() const;
    QString draftId() const { return m_draftId; }
    QString to() const { return m_to; }
    QString cc() const { return m_cc; }
    QString subject() const { return m_subject; }
    QString body() const { return m_body; }
    RecordListModel<Attachment> &attachments() { return m_attachments; }
    const RecordListModel<Attachment> &attachments() const { return m_attachments; }
    bool dropTargeted() const { return m_dropTargeted; }
    QString title() const { return m_title; }
    QString start() const { return m_start; }
    QString end() const { return m_end; }
    QString attendees() const { return m_attendees; }
    bool meet() const { return m_meet; }
    QStringList context() const { return m_context; }

    /// Loads an email draft; the event fields keep what they held.
    void load(const EmailDraft &draft);
    /// Loads an event draft; the email fields keep what they held.
    void load(const EventDraft &draft);

    void setTo(const QString &value) { assign(m_to, value, &ComposeModel::toChanged); }
    void setCc(const QString &value) { assign(m_cc, value, &ComposeModel::ccChanged); }
    void setSubject(const QString &value) { assign(m_subject, value, &ComposeModel::subjectChanged); }
    void setBody(const QString &value) { assign(m_body, value, &ComposeModel::bodyChanged); }
    void setTitle(const QString &value) { assign(m_title, value, &ComposeModel::titleChanged); }
    void setStart(const QString &value) { assign(m_start, value, &ComposeModel::startChanged); }
    void setEnd(const QString &value) { assign(m_end, value, &ComposeModel::endChanged); }
    void setAttendees(const QString &value) { assign(m_attendees, value, &ComposeModel::attendeesChanged); }
    void setMeet(bool value) { assign(m_meet, value, &ComposeModel::meetChanged); }
    void setDropTargeted(bool value) { assign(m_dropTargeted, value, &ComposeModel::dropTargetedChanged); }

    /// The draft's fields as the engine reads them: the email's five or the event's five.
    QJsonObject fields() const;

signals:
    void kindChanged();
    void draftIdChanged();
    void toChanged();
    void ccChanged();
    void subjectChanged();
    void bodyChanged();
    void dropTargetedChanged();
    void titleChanged();
    void startChanged();
    void endChanged();
    void attendeesChanged();
    void meetChanged();
    void contextChanged();

private:
    RecordList *attachmentList() { return &m_attachments; }

    template <class T>
    void assign(T &field, const T &value, void (ComposeModel::*changed)())
    {
        if (field == value)
            return;
        field = value;
        emit(this->*changed)();
    }

    QString m_kind = QStringLiteral("email");
    QString m_draftId;
    QString m_to;
    QString m_cc;
    QString m_subject;
    QString m_body;
    RecordListModel<Attachment> m_attachments;
    bool m_dropTargeted = false;
    QString m_title;
    QString m_start;
    QString m_end;
    QString m_attendees;
    bool m_meet = false;
    QStringList m_context;
};

} // namespace halvic
