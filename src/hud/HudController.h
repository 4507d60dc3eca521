#pragma once

#include <QColor>
#include <QJsonObject>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QtQmlIntegration>

#include <functional>
#include <vector>

#include "AgentClock.h"
#include "EngineState.h"
#include "HudRoles.h"
#include "Menu.h"
#include "PasteAttachments.h"

namespace halvic {

class AppModel;
class HudRequests;
class Scheduler;

/// The HUD view's controller: everything the QML view calls, and the rules it shows
/// (orb, chips, chat input). Views never write files: requests to the engine go through the
/// HUD's request files, and what only the application can do leaves as a signal.
class HudController : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    /// Whether the chat input has something to send.
    Q_PROPERTY(bool canSend READ canSend NOTIFY canSendChanged)
    Q_PROPERTY(bool memoryAvailable READ memoryAvailable NOTIFY memoryAvailableChanged)
    /// The docked strip's real width (the stored width kept to 260…760).
    Q_PROPERTY(double dockStripWidth READ dockStripWidth NOTIFY dockStripWidthChanged)
    /// The orb's look, from the engine state, mute and recording.
    Q_PROPERTY(QColor orbColor READ orbColor NOTIFY orbChanged)
    Q_PROPERTY(bool orbPulses READ orbPulses NOTIFY orbChanged)
    /// One half-cycle of the orb's pulse in milliseconds.
    Q_PROPERTY(int pulsePeriod READ pulsePeriod NOTIFY orbChanged)
    /// The transcript lines with the symbol beside each ("symbol").
    Q_PROPERTY(halvic::TranscriptRows *transcript READ transcript CONSTANT)
    /// The agent chips with their "emoji", "shortLabel" and "elapsed".
    Q_PROPERTY(halvic::AgentChipRows *agents READ agents CONSTANT)
    /// The attached files' names, in the model's order.
    Q_PROPERTY(QStringList attachmentNames READ attachmentNames NOTIFY attachmentNamesChanged)

public:
    HudController(AppModel &model, Scheduler &scheduler, const HudRequests &requests, QObject *parent = nullptr);

    bool canSend() const;
    /// Ticks once a second while agent chips exist; the chips' elapsed times follow it.
    AgentClock *clock() { return &m_clock; }
    /// The memory button works once a memory card exists.
    bool memoryAvailable() const { return m_memoryAvailable; }
    void setMemoryAvailable(bool available);
    /// Items the "More" menu carries besides its own (what the tray menu offers, when there
    /// is no tray).
    void setExtraMenuEntries(std::function<Menu()> entries) { m_extraMenuEntries = std::move(entries); }
    double dockStripWidth() const;
    QColor orbColor() const;
    bool orbPulses() const;
    int pulsePeriod() const;
    TranscriptRows *transcript() { return &m_transcriptRows; }
    AgentChipRows *agents() { return &m_agentRows; }
    QStringList attachmentNames() const;

    Menu contextMenu() const;
    Menu moreMenu() const;

    Q_INVOKABLE void mute();
    Q_INVOKABLE void power();
    /// Flips the wake-word setting in the model and tells the engine.
    Q_INVOKABLE void toggleWakeWord();
    Q_INVOKABLE void quit();
    Q_INVOKABLE void memory();
    Q_INVOKABLE void attach();
    Q_INVOKABLE void activateInput();
    /// Sends the draft and attachments, echoes them into the transcript and clears the input.
    Q_INVOKABLE void submit();
    Q_INVOKABLE void removeAttachment(int index);
    /// The paste key in the chat field: attaches copied files or a copied image; false when
    /// the clipboard holds text, which the field pastes itself.
    Q_INVOKABLE bool pasteAttachments() { return m_paste.attachFromClipboard(); }
    Q_INVOKABLE void toggleTextVoice();
    Q_INVOKABLE void expand();
    /// Asks the engine to stop the agent with this task id (agent_action.json).
    Q_INVOKABLE void killAgent(const QString &taskId);
    /// Sets the dock width from a drag of the resize handle started at `startWidth`.
    Q_INVOKABLE void dragDockWidth(double startWidth, double translation);
    Q_INVOKABLE void showContextMenu(QPointF globalPos);
    Q_INVOKABLE void showMoreMenu(QPointF globalPos);

    /// Puts the text of transcript line `row` on the clipboard.
    Q_INVOKABLE void copyLine(int row) const;
    /// Puts the whole transcript on the clipboard, each line with its speaker.
    Q_INVOKABLE void copyAll() const;
    /// The menu of a transcript line: "Copy", "Copy All", then the HUD's own context menu.
    Menu transcriptMenu(int row) const;
    Q_INVOKABLE void showTranscriptMenu(int row, QPointF globalPos);

signals:
    void canSendChanged();
    void dockStripWidthChanged();
    void memoryAvailableChanged();
    void orbChanged();
    void attachmentNamesChanged();

    // What the user asked for that only the application can do.
    void powerRequested();
    void minimizeRequested();
    void quitRequested();
    void memoryRequested();
    void attachRequested();
    void activateInputRequested();
    /// Pop up `menu` at a global position.
    void menuRequested(const halvic::Menu &menu, QPointF globalPos);

private:
    AppModel &m_model;
    const HudRequests &m_requests;
    AgentClock m_clock;
    TranscriptRows m_transcriptRows;
    AgentChipRows m_agentRows;
    PasteAttachments m_paste;
    std::function<Menu()> m_extraMenuEntries;
    bool m_canSend = false;
    bool m_memoryAvailable = false;
};

} // namespace halvic
