#include "HudRequests.h"

#include <QJsonArray>

namespace halvic {

using namespace protocol;

HudRequests::HudRequests(ControlChannel control)
    : m_control(std::move(control))
{
}

void HudRequests::sendText(const QString &text, const QList<QUrl> &attachments, bool wantVoice) const
{
    QJsonArray paths;
    for (const QUrl &url : attachments)
        paths.append(url.toLocalFile());
    m_control.writeJSON(
        controlfile::textInput, {{key::text, text}, {key::attachments, paths}, {key::wantVoice, wantVoice}});
}

void HudRequests::setWakeWord(bool on) const
{
    m_control.writeJSON(controlfile::config, {{key::wakeWordSetting, on}});
}

void HudRequests::setGestures(bool on) const
{
    m_control.writeJSON(controlfile::gestures, {{key::on, on}});
}

void HudRequests::toggleMute() const
{
    m_control.touch(controlfile::mute);
}

void HudRequests::killAgent(const QString &taskId) const
{
    m_control.writeJSON(controlfile::agentAction, {{key::action, value::kill}, {key::id, taskId}});
}

} // namespace halvic
