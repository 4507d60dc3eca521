#pragma once

#include <QObject>
#include <QUrl>
#include <QtQmlIntegration>

#include <optional>

#include "EngineState.h"
#include "Line.h"
#include "ListModels.h"
#include "Scheduler.h"

namespace halvic {

class EventDispatcher;

/// Cuts `text` to `limit` user-perceived characters (grapheme clusters) plus "…" when it is
/// longer than that; shorter or equal texts come back unchanged.
QString limitGraphemes(const QString &text, qsizetype limit);

/// The observable state behind the HUD: engine activity, transcript, background tasks, the
/// chat draft and the HUD's layout flags. Main thread only.
///
/// Each property signals only on a real change (views rebind cheaply); `changed()` fires on
/// every assignment and list change, equal values included, for observers that react to any
/// activity (re-anchoring and idle dimming).
class AppModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")

    Q_PROPERTY(halvic::engine::State state READ state WRITE setState NOTIFY stateChanged)
    Q_PROPERTY(bool running READ running WRITE setRunning NOTIFY runningChanged)
    Q_PROPERTY(bool muted READ muted WRITE setMuted NOTIFY mutedChanged)
    Q_PROPERTY(bool wakeWord READ wakeWord WRITE setWakeWord NOTIFY wakeWordChanged)
    Q_PROPERTY(bool enrolling READ isEnrolling NOTIFY enrollingChanged)
    Q_PROPERTY(int enrollStep READ enrollStep NOTIFY enrollingChanged)
    Q_PROPERTY(int enrollTotal READ enrollTotal NOTIFY enrollingChanged)
    Q_PROPERTY(halvic::TranscriptModel *transcript READ transcript CONSTANT)
    Q_PROPERTY(halvic::AgentListModel *agents READ agents CONSTANT)
    Q_PROPERTY(QString draft READ draft WRITE setDraft NOTIFY draftChanged)
    Q_PROPERTY(QList<QUrl> attachments READ attachments WRITE setAttachments NOTIFY attachmentsChanged)
    Q_PROPERTY(bool textVoice READ textVoice WRITE setTextVoice NOTIFY textVoiceChanged)
    Q_PROPERTY(bool recording READ recording WRITE setRecording NOTIFY recordingChanged)
    Q_PROPERTY(QString bootStage READ bootStage WRITE setBootStage NOTIFY bootStageChanged)
    Q_PROPERTY(bool collapsed READ collapsed WRITE setCollapsed NOTIFY collapsedChanged)
    Q_PROPERTY(bool docked READ docked WRITE setDocked NOTIFY dockedChanged)
    Q_PROPERTY(QString dockSide READ dockSide WRITE setDockSide NOTIFY dockSideChanged)
    Q_PROPERTY(double dockWidth READ dockWidth WRITE setDockWidth NOTIFY dockWidthChanged)
    Q_PROPERTY(bool longPressCue READ longPressCue WRITE setLongPressCue NOTIFY longPressCueChanged)
    /// The HUD's one-line state text, derived from state, bootStage, running, muted,
    /// recording and enrolling.
    Q_PROPERTY(QString stateLabel READ stateLabel NOTIFY stateLabelChanged)
    /// Why the engine last stopped by itself (its exit status and last error lines); empty
    /// while it runs or after a stop the user asked for.
    Q_PROPERTY(QString stopReason READ stopReason WRITE setStopReason NOTIFY stopReasonChanged)

public:
    static constexpr qsizetype maxLineLength = 4000;
    static constexpr std::size_t maxTranscriptLines = 12;
    static constexpr Duration doneChipLinger{1500};

    explicit AppModel(Scheduler &scheduler, QObject *parent = nullptr);

    EngineState state() const { return m_state; }
    bool running() const { return m_running; }
    bool muted() const { return m_muted; }
    bool wakeWord() const { return m_wakeWord; }
    std::optional<Enrollment> enrolling() const { return m_enrolling; }
    bool isEnrolling() const { return m_enrolling.has_value(); }
    int enrollStep() const { return m_enrolling ? m_enrolling->n : 0; }
    int enrollTotal() const { return m_enrolling ? m_enrolling->total : 0; }
    TranscriptModel *transcript() { return &m_transcript; }
    const TranscriptModel *transcript() const { return &m_transcript; }
    AgentListModel *agents() { return &m_agents; }
    const AgentListModel *agents() const { return &m_agents; }
    QString draft() const { return m_draft; }
    QList<QUrl> attachments() const { return m_attachments; }
    bool textVoice() const { return m_textVoice; }
    bool recording() const { return m_recording; }
    QString bootStage() const { return m_bootStage; }
    bool collapsed() const { return m_collapsed; }
    bool docked() const { return m_docked; }
    QString dockSide() const { return m_dockSide; }
    double dockWidth() const { return m_dockWidth; }
    bool longPressCue() const { return m_longPressCue; }
    QString stateLabel() const { return m_stateLabel; }
    QString stopReason() const { return m_stopReason; }

    void setState(EngineState value);
    void setRunning(bool value);
    void setMuted(bool value);
    void setWakeWord(bool value);
    void setEnrolling(std::optional<Enrollment> value);
    void setDraft(const QString &value);
    void setAttachments(const QList<QUrl> &value);
    void setTextVoice(bool value);
    void setRecording(bool value);
    void setBootStage(const QString &value);
    void setCollapsed(bool value);
    void setDocked(bool value);
    void setDockSide(const QString &value);
    void setDockWidth(double value);
    void setLongPressCue(bool value);
    void setStopReason(const QString &value);

    /// Registers the engine-state, transcript, background-task and layout rows that act on
    /// this model (they end with it).
    void registerRows(EventDispatcher &dispatcher);

    /// Appends a transcript line (text cut to 4000 characters + "…"), keeping the newest 12.
    Q_INVOKABLE void push(const QString &who, const QString &text);
    /// Adds a chip unless a chip with the same non-empty task id exists already.
    void addAgent(const QString &agent, const QString &desc, const QString &taskId);
    /// Records progress on the first chip of `taskId` and clears its stalled mark.
    void agentProgress(const QString &taskId, const QString &note);
    /// Marks the first chip of `taskId` stalled.
    void agentStalled(const QString &taskId);
    /// Marks a chip done (the oldest unfinished one when `taskId` is empty) and removes it
    /// 1.5 s later.
    void finishAgent(const QString &taskId);
    /// Empties the chip list (the engine process ended).
    void clearAgents();

signals:
    void changed();
    void stateChanged();
    void runningChanged();
    void mutedChanged();
    void wakeWordChanged();
    void enrollingChanged();
    void draftChanged();
    void attachmentsChanged();
    void textVoiceChanged();
    void recordingChanged();
    void bootStageChanged();
    void collapsedChanged();
    void dockedChanged();
    void dockSideChanged();
    void dockWidthChanged();
    void longPressCueChanged();
    void stateLabelChanged();
    void stopReasonChanged();

private:
    template <typename T>
    void assign(T &field, const T &value, void (AppModel::*notify)());
    void updateStateLabel();
    std::optional<std::size_t> firstChip(const std::function<bool(const AgentChip &)> &matches) const;

    Scheduler &m_scheduler;
    EngineState m_state = EngineState::Off;
    bool m_running = false;
    bool m_muted = false;
    bool m_wakeWord = false;
    std::optional<Enrollment> m_enrolling;
    TranscriptModel m_transcript;
    AgentListModel m_agents;
    QString m_draft;
    QList<QUrl> m_attachments;
    bool m_textVoice = false;
    bool m_recording = false;
    QString m_bootStage;
    bool m_collapsed = false;
    bool m_docked = false;
    QString m_dockSide = QStringLiteral("left");
    double m_dockWidth = 340;
    bool m_longPressCue = false;
    QString m_stateLabel;
    QString m_stopReason;
};

} // namespace halvic
