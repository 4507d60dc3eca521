#include "HudController.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>

#include "AppModel.h"
#include "DockStrip.h"
#include "HudLogic.h"
#include "HudRequests.h"
#include "Line.h"
#include "TranscriptCopy.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

HudController::HudController(AppModel &model, Scheduler &scheduler, const HudRequests &requests, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_requests(requests)
    , m_clock(scheduler, *model.agents())
    , m_transcriptRows(*model.transcript())
    , m_agentRows(*model.agents(), m_clock)
    , m_paste(model, QDir::tempPath())
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
    for (auto input : {&AppModel::stateChanged, &AppModel::mutedChanged, &AppModel::recordingChanged})
        connect(&model, input, this, &HudController::orbChanged);
    connect(&model, &AppModel::attachmentsChanged, this, &HudController::attachmentNamesChanged);
}

bool HudController::canSend() const
{
    return hud::canSend(m_model.draft(), m_model.attachments());
}

void HudController::setMemoryAvailable(bool available)
{
    if (available == m_memoryAvailable)
        return;
    m_memoryAvailable = available;
    emit memoryAvailableChanged();
}

Menu HudController::contextMenu() const
{
    // The menu outlives this call; its items reach the controller only while it exists.
    const QPointer<HudController> self(const_cast<HudController *>(this));
    return {
        {m_model.running() ? tr("Stop Halvic") : tr("Start Halvic"),
            [self] {
                if (self)
                    self->power();
            }},
        {m_model.muted() ? tr("Unmute Mic") : tr("Mute Mic"),
            [self] {
                if (self)
                    self->mute();
            }},
        {m_model.collapsed() ? tr("Expand") : tr("Minimize"),
            [self] {
                if (self)
                    emit self->minimizeRequested();
            }},
        MenuEntry::divider(),
        {tr("Quit Halvic"),
            [self] {
                if (self)
                    self->quit();
            }},
    };
}

Menu HudController::moreMenu() const
{
    const QPointer<HudController> self(const_cast<HudController *>(this));
    AppModel &model = m_model;
    Menu menu{
        {model.running() ? tr("Stop listening") : tr("Start listening"),
            [self] {
                if (self)
                    self->power();
            }},
        {model.docked() ? tr("Undock (float free)") : tr("Dock to left edge"),
            [&model] {
                // The item promises the left edge, whatever side the engine last asked for.
                if (!model.docked())
                    model.setDockSide(u"left"_s);
                model.setDocked(!model.docked());
            }},
        {tr("Minimize to a bubble"), [&model] { model.setCollapsed(true); }},
    };
    if (m_extraMenuEntries) {
        menu.push_back(MenuEntry::divider());
        for (MenuEntry &entry : m_extraMenuEntries())
            menu.push_back(std::move(entry));
    }
    menu.push_back(MenuEntry::divider());
    menu.push_back({tr("Quit Halvic"), [self] {
                        if (self)
                            self->quit();
                    }});
    return menu;
}

void HudController::mute()
{
    m_requests.toggleMute();
}

void HudController::power()
{
    emit powerRequested();
}

void HudController::quit()
{
    emit quitRequested();
}

void HudController::memory()
{
    if (m_memoryAvailable)
        emit memoryRequested();
}

void HudController::attach()
{
    emit attachRequested();
}

void HudController::activateInput()
{
    emit activateInputRequested();
}

void HudController::toggleWakeWord()
{
    const bool on = !m_model.wakeWord();
    m_model.setWakeWord(on);
    m_requests.setWakeWord(on);
}

void HudController::submit()
{
    const QString draft = m_model.draft();
    const QList<QUrl> attachments = m_model.attachments();
    if (!hud::canSend(draft, attachments))
        return;
    m_requests.sendText(draft, attachments, m_model.textVoice());
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
    m_requests.killAgent(taskId);
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
    emit menuRequested(contextMenu(), globalPos);
}

void HudController::showMoreMenu(QPointF globalPos)
{
    emit menuRequested(moreMenu(), globalPos);
}

void HudController::copyLine(int row) const
{
    const std::vector<Line> &lines = m_model.transcript()->lines();
    if (row < 0 || std::size_t(row) >= lines.size())
        return;
    QGuiApplication::clipboard()->setText(lines[std::size_t(row)].text);
}

void HudController::copyAll() const
{
    const std::vector<Line> &lines = m_model.transcript()->lines();
    if (!lines.empty())
        QGuiApplication::clipboard()->setText(hud::transcriptText(lines));
}

Menu HudController::transcriptMenu(int row) const
{
    const QPointer<const HudController> self(this);
    const std::vector<Line> &lines = m_model.transcript()->lines();
    const bool isLine = row >= 0 && std::size_t(row) < lines.size();
    // The line's text as the user saw it: newer lines may push it out while the menu is open.
    const QString text = isLine ? lines[std::size_t(row)].text : QString();
    Menu menu{
        {tr("Copy"), [text] { QGuiApplication::clipboard()->setText(text); }, isLine},
        {tr("Copy All"),
            [self] {
                if (self)
                    self->copyAll();
            }},
        MenuEntry::divider(),
    };
    for (MenuEntry &entry : contextMenu())
        menu.push_back(std::move(entry));
    return menu;
}

void HudController::showTranscriptMenu(int row, QPointF globalPos)
{
    emit menuRequested(transcriptMenu(row), globalPos);
}

QColor HudController::orbColor() const
{
    return hud::toColor(hud::orbColor(m_model.state(), m_model.muted(), m_model.recording()));
}

bool HudController::orbPulses() const
{
    return hud::orbPulses(m_model.state(), m_model.muted(), m_model.recording());
}

int HudController::pulsePeriod() const
{
    return int(hud::pulsePeriod(m_model.recording()).count());
}

QStringList HudController::attachmentNames() const
{
    QStringList names;
    const QList<QUrl> attachments = m_model.attachments();
    names.reserve(attachments.size());
    for (const QUrl &url : attachments)
        names << url.fileName();
    return names;
}

} // namespace halvic
