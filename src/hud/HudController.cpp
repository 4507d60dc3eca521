#include "HudController.h"

#include "AppModel.h"
#include "ControlChannel.h"
#include "DockStrip.h"
#include "HudLogic.h"
#include "Line.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr QLatin1StringView actionKey{"action"};
constexpr QLatin1StringView idKey{"id"};
constexpr QLatin1StringView killAction{"kill"};
} // namespace

HudController::HudController(AppModel &model, Scheduler &scheduler, HudActions actions, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_actions(std::move(actions))
    , m_clock(scheduler, *model.agents())
    , m_canSend(canSend())
{
    const auto update = [this] {
        const bool now = canSend();
        if (now == m_canSend)
            return;
        m_canSend = now;
        emit canSendChanged();
    };
    connect(&model, &AppModel::draftChanged, this, update);
    connect(&model, &AppModel::attachmentsChanged, this, update);
    connect(&model, &AppModel::dockWidthChanged, this, &HudController::dockStripWidthChanged);
}

bool HudController::canSend() const
{
    return hud::canSend(m_model.draft(), m_model.attachments());
}

void HudController::run(const std::function<void()> &action)
{
    if (action)
        action();
}

Menu HudController::contextMenu() const
{
    return {
        {m_model.running() ? u"Stop Halvic"_s : u"Start Halvic"_s, m_actions.onPower},
        {m_model.muted() ? u"Unmute Mic"_s : u"Mute Mic"_s, m_actions.onMute},
        {m_model.collapsed() ? u"Expand"_s : u"Minimize"_s, m_actions.onMinimize},
        MenuEntry::divider(),
        {u"Quit Halvic"_s, m_actions.onQuit},
    };
}

Menu HudController::moreMenu() const
{
    AppModel &model = m_model;
    Menu menu{
        {model.running() ? u"Stop listening"_s : u"Start listening"_s, m_actions.onPower},
        {model.docked() ? u"Undock (float free)"_s : u"Dock to left edge"_s,
         [&model] {
             // The item promises the left edge, whatever side the engine last asked for.
             if (!model.docked())
                 model.setDockSide(u"left"_s);
             model.setDocked(!model.docked());
         }},
        {u"Minimize to a bubble"_s, [&model] { model.setCollapsed(true); }},
    };
    if (m_actions.extraMenuEntries) {
        menu.push_back(MenuEntry::divider());
        for (MenuEntry &entry : m_actions.extraMenuEntries())
            menu.push_back(std::move(entry));
    }
    menu.push_back(MenuEntry::divider());
    menu.push_back({u"Quit Halvic"_s, m_actions.onQuit});
    return menu;
}

void HudController::mute() { run(m_actions.onMute); }
void HudController::power() { run(m_actions.onPower); }
void HudController::quit() { run(m_actions.onQuit); }
void HudController::memory() { run(m_actions.onMemory); }
void HudController::attach() { run(m_actions.onAttach); }
void HudController::activateInput() { run(m_actions.onActivateInput); }

void HudController::toggleWakeWord()
{
    const bool on = !m_model.wakeWord();
    m_model.setWakeWord(on);
    if (m_actions.onToggleWakeWord)
        m_actions.onToggleWakeWord(on);
}

void HudController::submit()
{
    const QString draft = m_model.draft();
    const QList<QUrl> attachments = m_model.attachments();
    if (!hud::canSend(draft, attachments))
        return;
    if (m_actions.onSend)
        m_actions.onSend(draft, attachments);
    m_model.push(speaker::you, hud::echoText(draft, attachments));
    m_model.setDraft({});
    m_model.setAttachments({});
}

void HudController::removeAttachment(int index)
{
    QList<QUrl> attachments = m_model.attachments();
    if (index < 0 || index >= attachments.size())
        return;
    attachments.removeAt(index);
    m_model.setAttachments(attachments);
}

void HudController::toggleTextVoice()
{
    m_model.setTextVoice(!m_model.textVoice());
}

void HudController::expand()
{
    m_model.setCollapsed(false);
}

void HudController::killAgent(const QString &taskId)
{
    if (m_actions.writeControl)
        m_actions.writeControl(controlfile::agentAction, {{actionKey, killAction}, {idKey, taskId}});
}

double HudController::dockStripWidth() const
{
    return dock::stripWidth(m_model.dockWidth());
}

void HudController::dragDockWidth(double startWidth, double translation)
{
    m_model.setDockWidth(hud::draggedDockWidth(startWidth, translation, m_model.dockSide()));
}

void HudController::showContextMenu(QPointF globalPos)
{
    if (m_actions.showMenu)
        m_actions.showMenu(contextMenu(), globalPos);
}

void HudController::showMoreMenu(QPointF globalPos)
{
    if (m_actions.showMenu)
        m_actions.showMenu(moreMenu(), globalPos);
}

QColor HudController::orbColor(const QString &state, bool muted, bool recording) const
{
    return hud::toColor(hud::orbColor(state, muted, recording));
}

bool HudController::orbPulses(const QString &state, bool muted, bool recording) const
{
    return hud::orbPulses(state, muted, recording);
}

int HudController::pulsePeriod(bool recording) const
{
    return int(hud::pulsePeriod(recording).count());
}

QString HudController::speakerSymbol(const QString &who) const
{
    return hud::speakerSymbol(who);
}

QString HudController::agentEmoji(const QString &agent, const QString &desc, bool stalled, bool done) const
{
    return hud::agentEmoji(agent, desc, stalled, done);
}

QString HudController::shortLabel(const QString &desc) const
{
    return hud::shortLabel(desc);
}

QString HudController::elapsed(qint64 startedAt, qint64 now) const
{
    return hud::elapsedText(std::chrono::milliseconds(now - startedAt));
}

} // namespace halvic
