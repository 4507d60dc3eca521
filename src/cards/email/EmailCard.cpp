#include "EmailCard.h"

#include "CardProcess.h"
#include "EmailProtocol.h"
#include "JsonRead.h"
#include "Logging.h"
#include "Protocol.h"
#include "RecordListModel.h"

namespace halvic {

using namespace protocol;

EmailCard::EmailCard(const CardContext &context, QObject *parent)
    : Card(parent)
    , m_control(context.control)
    , m_here(context)
{
    m_here.registerRows(m_hereRows);
    if (context.cardProgram.isEmpty())
        return;
    m_process = std::make_unique<CardProcess>(context.scheduler,
        CardProcess::Options{.command = {context.cardProgram, processOption}, .name = QStringLiteral("email card")});
    // Web pages are drawn only in the card process: loaded here, the web engine would stay.
    m_here.setWebBodiesAllowed(false);
    connect(m_process.get(), &CardProcess::controlRequest, this, &EmailCard::writeRequest);
    connect(m_process.get(), &CardProcess::startFailed, this, &EmailCard::giveUpProcess);
    connect(m_process.get(), &CardProcess::lost, this, [this] { m_processThread.clear(); });
}

EmailCard::~EmailCard() = default;

void EmailCard::registerRows(EventDispatcher &dispatcher)
{
    dispatcher.on(event::emailThread, this, [this](const QJsonObject &event) { showThread(event); });
    dispatcher.on(event::emailAttachment, this, [this](const QJsonObject &event) { passOn(event); });
    dispatcher.on(event::emailReplySent, this, [this](const QJsonObject &event) { passOn(event); });
}

void EmailCard::showThread(const QJsonObject &event)
{
    const QString threadId = json::string(event, key::threadId);
    const bool html = anyHtmlBody(records<EmailMessage>(event, key::messages).value_or(std::vector<EmailMessage>{}));
    // A thread keeps the card it is shown in, so what the user typed there stays.
    const bool shownHere = m_here.window()->isShown() && m_here.model().isShown(threadId);
    if (processShows(threadId) || (m_process && html && !shownHere)) {
        if (m_here.window()->isShown())
            m_here.close({});
        m_processThread = threadId;
        m_processEvent = event;
        m_process->send(event);
        return;
    }
    if (m_process && m_process->cardOpen())
        closeInProcess(m_processThread);
    m_hereRows.dispatch(event);
}

void EmailCard::passOn(const QJsonObject &event)
{
    const QString threadId = json::string(event, key::threadId);
    // Without a thread named, the result is for the card on screen.
    if (processShows(threadId) || (threadId.isEmpty() && m_process && m_process->cardOpen()))
        m_process->send(event);
    else
        m_hereRows.dispatch(event);
}

void EmailCard::close(const QString &threadId)
{
    m_here.close(threadId);
    if (m_process && m_process->cardOpen())
        closeInProcess(threadId);
}

bool EmailCard::processShows(const QString &threadId) const
{
    return m_process && m_process->cardOpen() && !threadId.isEmpty() && threadId == m_processThread;
}

void EmailCard::closeInProcess(const QString &threadId)
{
    m_process->send({{key::type, event::cardClose}, {key::draftId, threadId}});
}

void EmailCard::writeRequest(const QString &name, const QJsonObject &request)
{
    // The card process may ask for what the email card asks for, and for nothing else.
    if (name != controlfile::emailAction) {
        qCWarning(lcCards).noquote() << "the email card process asked to write" << name << "- refused";
        return;
    }
    m_control.writeJSON(controlfile::emailAction, request);
}

void EmailCard::giveUpProcess()
{
    // Shown here as before there were card processes, web engine and all; later threads too.
    m_process.release()->deleteLater();
    m_here.setWebBodiesAllowed(true);
    const QJsonObject event = std::exchange(m_processEvent, {});
    m_processThread.clear();
    if (!event.isEmpty())
        m_hereRows.dispatch(event);
}

} // namespace halvic
