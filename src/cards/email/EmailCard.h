#pragma once

#include <QJsonObject>
#include <QLatin1StringView>

#include <memory>

#include "Card.h"
#include "EmailPanel.h"
#include "EventDispatcher.h"

namespace halvic {

class CardProcess;

/// The email card as the HUD holds it. A thread with an HTML body is shown by the card in a
/// process of its own, so the web engine that draws it goes again once the card is put away;
/// plain-text threads, and every thread where that process cannot run, are shown here. Either
/// way one email card is on screen at a time, and every request of the user goes to the
/// engine through the HUD.
class EmailCard final : public Card
{
    Q_OBJECT
public:
    /// The option that starts this program as the email card alone; the channel's descriptor
    /// number follows it.
    static constexpr QLatin1StringView processOption{"--email-card"};

    explicit EmailCard(const CardContext &context, QObject *parent = nullptr);
    ~EmailCard() override;

    /// The card shown in this process.
    CardWindow *window() override { return m_here.window(); }
    void registerRows(EventDispatcher &dispatcher) override;
    void close(const QString &threadId) override;

private:
    void showThread(const QJsonObject &event);
    /// An attachment or reply result: to the card showing its thread.
    void passOn(const QJsonObject &event);
    bool processShows(const QString &threadId) const;
    void closeInProcess(const QString &threadId);
    void writeRequest(const QString &name, const QJsonObject &request);
    void giveUpProcess();

    const ControlChannel m_control;
    EmailPanel m_here;
    EventDispatcher m_hereRows;
    std::unique_ptr<CardProcess> m_process;
    /// The thread last sent to the card process, and that event, shown here should the
    /// process not start.
    QString m_processThread;
    QJsonObject m_processEvent;
};

} // namespace halvic
