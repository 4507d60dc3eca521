#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include "ControlChannel.h"

namespace halvic {

/// The HUD's own requests to the engine, each one control file written through the one
/// writer: typed text, the wake-word setting, gestures on or off, the mute marker and the
/// agent strip's kill request.
class HudRequests
{
public:
    explicit HudRequests(ControlChannel control);

    const ControlChannel &control() const { return m_control; }

    /// text_input.json: the text, the attachments' local paths and whether to answer aloud.
    void sendText(const QString &text, const QList<QUrl> &attachments, bool wantVoice) const;
    /// config.json.
    void setWakeWord(bool on) const;
    /// gestures.json.
    void setGestures(bool on) const;
    /// The "mute" marker; the engine toggles the microphone and answers with a "muted" event.
    void toggleMute() const;
    /// agent_action.json: stop the background agent with this task id.
    void killAgent(const QString &taskId) const;

private:
    ControlChannel m_control;
};

} // namespace halvic
