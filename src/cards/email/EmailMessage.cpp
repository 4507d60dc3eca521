#include "EmailMessage.h"

#include <QCoreApplication>
#include <QJsonArray>

#include <algorithm>

#include "EmailProtocol.h"
#include "JsonRead.h"
#include "Protocol.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;
using namespace protocol;

std::optional<EmailAttachment> EmailAttachment::from(const QJsonObject &object)
{
    const std::optional<QString> id = json::optString(object, key::attId);
    if (!id)
        return std::nullopt;
    EmailAttachment attachment;
    attachment.attId = *id;
    attachment.filename = json::string(object, key::filename, attachment.filename);
    attachment.mime = json::string(object, key::mime);
    attachment.size = json::optTruncatedInt64(object, key::size).value_or(0);
    attachment.path = json::string(object, key::path);
    return attachment;
}

std::optional<EmailMessage> EmailMessage::from(const QJsonObject &object)
{
    const std::optional<QString> id = json::optString(object, key::msgId);
    if (!id)
        return std::nullopt;
    EmailMessage message;
    message.msgId = *id;
    message.fromName = json::string(object, key::fromName);
    message.fromAddr = json::string(object, key::fromAddr);
    message.to = json::string(object, key::to);
    message.cc = json::string(object, key::cc);
    message.dateHuman = json::string(object, key::dateHuman);
    message.outgoing = json::boolean(object, key::outgoing, false);
    message.bodyHtml = json::string(object, key::bodyHtml);
    message.bodyText = json::string(object, key::bodyText);
    message.imagesBlocked = json::optTruncatedInt64(object, key::imagesBlocked).value_or(0);
    for (const QJsonObject &element : json::objectList(object, key::attachments)) {
        if (auto attachment = EmailAttachment::from(element))
            message.attachments.push_back(std::move(*attachment));
    }
    return message;
}

QString EmailMessage::sender() const
{
    if (outgoing)
        return QCoreApplication::translate("EmailMessage", "You");
    return fromName.isEmpty() ? fromAddr : fromName;
}

QString EmailMessage::preview() const
{
    QString line = bodyText;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    return line.trimmed();
}

bool anyHtmlBody(const std::vector<EmailMessage> &messages)
{
    return std::any_of(messages.begin(), messages.end(), [](const EmailMessage &m) { return !m.bodyHtml.isEmpty(); });
}

} // namespace halvic
