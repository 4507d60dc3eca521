#include "AppModel.h"

#include <QTextBoundaryFinder>

#include "StateLabel.h"

namespace halvic {

QString limitGraphemes(const QString &text, qsizetype limit)
{
    // A cluster is at least one UTF-16 unit, so a short text cannot exceed the limit.
    if (text.size() <= limit)
        return text;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype clusters = 0;
    qsizetype cut = -1;
    while (finder.toNextBoundary() != -1) {
        ++clusters;
        if (clusters == limit)
            cut = finder.position();
        if (clusters > limit)
            return text.left(cut) + QChar(0x2026);
    }
    return text;
}

AppModel::AppModel(Scheduler &scheduler, QObject *parent)
    : QObject(parent)
    , m_scheduler(scheduler)
{
    for (QAbstractItemModel *list :
        {static_cast<QAbstractItemModel *>(&m_transcript), static_cast<QAbstractItemModel *>(&m_agents)}) {
        connect(list, &QAbstractItemModel::rowsInserted, this, &AppModel::changed);
        connect(list, &QAbstractItemModel::rowsRemoved, this, &AppModel::changed);
        connect(list, &QAbstractItemModel::dataChanged, this, &AppModel::changed);
        connect(list, &QAbstractItemModel::modelReset, this, &AppModel::changed);
    }
    for (auto input : {&AppModel::stateChanged, &AppModel::bootStageChanged, &AppModel::runningChanged,
             &AppModel::mutedChanged, &AppModel::recordingChanged, &AppModel::enrollingChanged})
        connect(this, input, this, &AppModel::updateStateLabel);
    updateStateLabel();
}

void AppModel::updateStateLabel()
{
    const QString label = halvic::stateLabel(m_state, m_bootStage, m_running, m_muted, m_recording, m_enrolling);
    if (label == m_stateLabel)
        return;
    m_stateLabel = label;
    emit stateLabelChanged();
}

template <typename T>
void AppModel::assign(T &field, const T &value, void (AppModel::*notify)())
{
    emit changed();
    if (field == value)
        return;
    field = value;
    emit(this->*notify)();
}

void AppModel::setState(EngineState value)
{
    assign(m_state, value, &AppModel::stateChanged);
}
void AppModel::setRunning(bool value)
{
    assign(m_running, value, &AppModel::runningChanged);
}
void AppModel::setMuted(bool value)
{
    assign(m_muted, value, &AppModel::mutedChanged);
}
void AppModel::setWakeWord(bool value)
{
    assign(m_wakeWord, value, &AppModel::wakeWordChanged);
}
void AppModel::setEnrolling(std::optional<Enrollment> value)
{
    assign(m_enrolling, value, &AppModel::enrollingChanged);
}
void AppModel::setDraft(const QString &value)
{
    assign(m_draft, value, &AppModel::draftChanged);
}
void AppModel::setAttachments(const QList<QUrl> &value)
{
    assign(m_attachments, value, &AppModel::attachmentsChanged);
}
void AppModel::setTextVoice(bool value)
{
    assign(m_textVoice, value, &AppModel::textVoiceChanged);
}
void AppModel::setRecording(bool value)
{
    assign(m_recording, value, &AppModel::recordingChanged);
}
void AppModel::setStopReason(const QString &value)
{
    assign(m_stopReason, value, &AppModel::stopReasonChanged);
}

void AppModel::setBootStage(const QString &value)
{
    assign(m_bootStage, value, &AppModel::bootStageChanged);
}
void AppModel::setCollapsed(bool value)
{
    assign(m_collapsed, value, &AppModel::collapsedChanged);
}
void AppModel::setDocked(bool value)
{
    assign(m_docked, value, &AppModel::dockedChanged);
}
void AppModel::setDockSide(const QString &value)
{
    assign(m_dockSide, value, &AppModel::dockSideChanged);
}
void AppModel::setDockWidth(double value)
{
    assign(m_dockWidth, value, &AppModel::dockWidthChanged);
}
void AppModel::setLongPressCue(bool value)
{
    assign(m_longPressCue, value, &AppModel::longPressCueChanged);
}

void AppModel::push(const QString &who, const QString &text)
{
    m_transcript.append(Line{QUuid::createUuid(), who, limitGraphemes(text, maxLineLength)});
    m_transcript.keepLast(maxTranscriptLines);
}

std::optional<std::size_t> AppModel::firstChip(const std::function<bool(const AgentChip &)> &matches) const
{
    const auto &chips = m_agents.chips();
    for (std::size_t row = 0; row < chips.size(); ++row) {
        if (matches(chips[row]))
            return row;
    }
    return std::nullopt;
}

void AppModel::addAgent(const QString &agent, const QString &desc, const QString &taskId)
{
    if (!taskId.isEmpty() && firstChip([&](const AgentChip &chip) { return chip.taskId == taskId; }))
        return;
    m_agents.append(AgentChip{QUuid::createUuid(), agent, desc, taskId, false, {}, false, m_scheduler.now()});
}

void AppModel::agentProgress(const QString &taskId, const QString &note)
{
    const auto row = firstChip([&](const AgentChip &chip) { return chip.taskId == taskId; });
    if (!row)
        return;
    m_agents.update(*row, [&](AgentChip &chip) { chip.note = note; }, {AgentListModel::NoteRole});
    m_agents.update(*row, [](AgentChip &chip) { chip.stalled = false; }, {AgentListModel::StalledRole});
}

void AppModel::agentStalled(const QString &taskId)
{
    const auto row = firstChip([&](const AgentChip &chip) { return chip.taskId == taskId; });
    if (!row)
        return;
    m_agents.update(*row, [](AgentChip &chip) { chip.stalled = true; }, {AgentListModel::StalledRole});
}

void AppModel::finishAgent(const QString &taskId)
{
    const auto row
        = firstChip([&](const AgentChip &chip) { return !chip.done && (taskId.isEmpty() || chip.taskId == taskId); });
    if (!row)
        return;
    m_agents.update(*row, [](AgentChip &chip) { chip.done = true; }, {AgentListModel::DoneRole});
    const QUuid chipId = m_agents.chips()[*row].id;
    m_scheduler.callAfter(doneChipLinger, this, [this, chipId] { m_agents.removeById(chipId); });
}

void AppModel::clearAgents()
{
    emit changed();
    m_agents.clear();
}

} // namespace halvic
