#pragma once

#include <QJsonObject>
#include <QUrl>
#include <QtQmlIntegration>

#include <optional>

#include "Card.h"
#include "EmailFrame.h"
#include "EmailModel.h"
#include "ScheduledCall.h"

namespace halvic {

/// The email card: one thread the engine fetched, its attachments and the reply being written.
/// Everything the user asks for goes to the engine as email_action.json.
class EmailPanel final : public Card
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(halvic::EmailModel *model READ modelObject CONSTANT)
    /// HTML bodies can be shown as web pages here; else their text stands in.
    Q_PROPERTY(bool webBodies READ webBodies NOTIFY webBodiesChanged)
public:
    static constexpr auto sentFlashTime = std::chrono::milliseconds(2500);

    explicit EmailPanel(const CardContext &context, QObject *parent = nullptr);
    ~EmailPanel() override;

    CardWindow *window() override { return &m_window; }
    void registerRows(EventDispatcher &dispatcher) override;
    /// The engine's close: hides the card when `threadId` is empty or the shown thread's.
    void close(const QString &threadId) override;

    EmailModel &model() { return m_model; }
    bool webBodies() const { return m_webBodies; }
    /// Whether HTML bodies may load the web engine into this process (else their text stands
    /// in); allowed unless the HUD keeps web pages in a process of their own.
    void setWebBodiesAllowed(bool allowed) { m_webAllowed = allowed; }

    /// A new thread opens as a full, centred card with the newest message open; the same
    /// thread again refreshes what is shown and keeps what the user did with it.
    void show(
        const QString &threadId, const QString &account, const QString &subject, std::vector<EmailMessage> messages);
    void replySent(const QString &threadId, bool ok, const QString &error);
    void attachmentReady(
        const QString &threadId, const QString &attId, const QString &path, bool ok, const QString &error);

    Q_INVOKABLE void toggleExpand(const QString &msgId);
    Q_INVOKABLE void tapAttachment(const QString &msgId, const QString &attId);
    Q_INVOKABLE void loadImages(const QString &msgId);
    Q_INVOKABLE void sendReply(bool all);
    /// The user's close: tells the engine, then hides the card.
    Q_INVOKABLE void dismiss();
    /// The reply field was clicked: the card takes the keyboard.
    Q_INVOKABLE void activateInput();
    /// A link clicked in a body: web pages and mail go to the desktop, nothing else does.
    Q_INVOKABLE void openLink(const QUrl &url);
    /// The frame height for a measured body, or 0 when the measurement is unusable.
    Q_INVOKABLE static int bodyFrameHeight(double contentHeight);

signals:
    void webBodiesChanged();

private:
    EmailModel *modelObject() { return &m_model; }
    void writeAction(QLatin1StringView action, const QJsonObject &extra = {});
    void hideCard();

    const ControlChannel m_control;
    EmailModel m_model;
    bool m_webBodies = false;
    bool m_webAllowed = true;
    ScheduledCall m_sentFlashEnd;
    CardWindow m_window;
};

} // namespace halvic
