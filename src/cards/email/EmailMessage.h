#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>
#include <vector>

namespace halvic {

/// A file attached to a message; `path` is set once the file is on disk.
struct EmailAttachment
{
    QString attId;
    QString filename = QStringLiteral("attachment");
    QString mime;
    qint64 size = 0;
    QString path;

    /// Needs a string "att_id"; the other members fall back to their defaults.
    static std::optional<EmailAttachment> from(const QJsonObject &object);

    friend bool operator==(const EmailAttachment &, const EmailAttachment &) = default;
};

/// One message of a thread, as the engine fetched it.
struct EmailMessage
{
    QString msgId;
    QString fromName;
    QString fromAddr;
    QString to;
    QString cc;
    /// Already formatted for display by the engine.
    QString dateHuman;
    /// Sent by the user.
    bool outgoing = false;
    QString bodyHtml;
    QString bodyText;
    /// Remote images the engine held back.
    qint64 imagesBlocked = 0;
    std::vector<EmailAttachment> attachments;

    /// Needs a string "msg_id"; attachments without an "att_id" are dropped.
    static std::optional<EmailMessage> from(const QJsonObject &object);

    /// Who the header names: "You" for the user's own messages, else the name or the address.
    QString sender() const;
    /// The text body on one line, for a collapsed message.
    QString preview() const;

    friend bool operator==(const EmailMessage &, const EmailMessage &) = default;
};

/// Whether any of `messages` has a body to be drawn as a web page.
bool anyHtmlBody(const std::vector<EmailMessage> &messages);

} // namespace halvic
