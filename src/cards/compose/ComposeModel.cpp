#include "ComposeModel.h"

#include <QJsonArray>

#include "ComposeProtocol.h"
#include "JsonRead.h"
#include "Protocol.h"

namespace halvic {

using namespace protocol;

EmailDraft EmailDraft::from(const QJsonObject &payload)
{
    return {json::string(payload, key::draftId), json::string(payload, key::to), json::string(payload, key::cc),
        json::string(payload, key::subject), json::string(payload, key::body),
        json::stringList(payload, key::attachments)};
}

EventDraft EventDraft::from(const QJsonObject &payload)
{
    return {json::string(payload, key::draftId), json::string(payload, key::title), json::string(payload, key::start),
        json::string(payload, key::end), json::string(payload, key::attendees),
        json::boolean(payload, key::meet, false), json::stringList(payload, key::context)};
}

const RecordRoles<Attachment> &Attachment::roles()
{
    static const RecordRoles<Attachment> table{
        {"path", &Attachment::id},
        {"name", [](const Attachment &file) { return file.id.section(u'/', -1); }},
    };
    return table;
}

bool ComposeModel::isEmail() const
{
    return m_kind == value::email;
}

void ComposeModel::load(const EmailDraft &draft)
{
    assign(m_kind, QString(value::email), &ComposeModel::kindChanged);
    assign(m_draftId, draft.draftId, &ComposeModel::draftIdChanged);
    setTo(draft.to);
    setCc(draft.cc);
    setSubject(draft.subject);
    setBody(draft.body);
    std::vector<Attachment> files;
    files.reserve(std::size_t(draft.attachments.size()));
    for (const QString &path : draft.attachments)
        files.push_back({path});
    m_attachments.replaceAll(std::move(files));
}

void ComposeModel::load(const EventDraft &draft)
{
    assign(m_kind, QString(value::event), &ComposeModel::kindChanged);
    assign(m_draftId, draft.draftId, &ComposeModel::draftIdChanged);
    setTitle(draft.title);
    setStart(draft.start);
    setEnd(draft.end);
    setAttendees(draft.attendees);
    setMeet(draft.meet);
    assign(m_context, draft.context, &ComposeModel::contextChanged);
}

QJsonObject ComposeModel::fields() const
{
    if (!isEmail()) {
        return {{key::title, m_title}, {key::start, m_start}, {key::end, m_end}, {key::attendees, m_attendees},
            {key::meet, m_meet}};
    }
    QJsonArray paths;
    for (const Attachment &file : m_attachments.records())
        paths.append(file.id);
    return {
        {key::to, m_to}, {key::cc, m_cc}, {key::subject, m_subject}, {key::body, m_body}, {key::attachments, paths}};
}

} // namespace halvic
