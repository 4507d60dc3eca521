#pragma once

#include <QList>
#include <QUrl>
#include <QtQmlIntegration>

#include "Card.h"
#include "ComposeModel.h"
#include "ScheduledCall.h"

namespace halvic {

/// The compose card: an email or calendar-event draft the engine prepared, reviewed and
/// edited by the user before the engine acts on it. Every decision (send or book, cancel,
/// close) and, 0.8 s after the last change, the edited fields go to the engine in
/// card_action.json. Nothing is written for a draft without an identifier.
class ComposePanel final : public Card
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(halvic::ComposeModel *model READ modelObject CONSTANT)
    /// The card's title, which also names its window.
    Q_PROPERTY(QString heading READ heading NOTIFY headingChanged)
public:
    /// The panel's size until the first show fits it to the draft.
    static constexpr QSize cardSize{460, 380};
    static constexpr Duration editDelay{800};
    /// How far above the screen's middle the card appears.
    static constexpr int raise = 40;

    explicit ComposePanel(const CardContext &context, QObject *parent = nullptr);
    ~ComposePanel() override;

    CardWindow *window() override { return &m_window; }
    void registerRows(EventDispatcher &dispatcher) override;

    ComposeModel &model() { return m_model; }
    QString heading() const;

    /// Loads an email draft and shows the card (a new draft as the full card, the same one
    /// again keeping its bubble).
    void showEmail(const EmailDraft &draft);
    /// Loads an event draft and shows the card, as showEmail.
    void showEvent(const EventDraft &draft);
    /// The engine puts the card away when `draftId` is empty or the draft shown; no action.
    void close(const QString &draftId) override;
    /// The attach button shows the chooser, titled "Attach files"; what is chosen is attached.
    void useFilePicker(const FilePicker &picker) override;

    /// Send (email) or Book (event): the fields go with it; the card hides.
    Q_INVOKABLE void send();
    /// Cancel: the card hides.
    Q_INVOKABLE void cancel();
    /// The header's close button: the card hides.
    Q_INVOKABLE void dismiss();
    /// A field changed: the fields go to the engine once the user pauses for editDelay.
    Q_INVOKABLE void noteEdited();
    /// Asks the application for the file chooser (its answer comes to addAttachments).
    Q_INVOKABLE void pickAttachments();
    /// Attaches the regular files among `urls` that are not attached yet, in order.
    Q_INVOKABLE void addAttachments(const QList<QUrl> &urls);
    /// A chip's remove button.
    Q_INVOKABLE void removeAttachment(const QString &path);
    /// Files dropped on the card: refused (false) unless the draft is an email and something
    /// was dropped; the files among them are attached.
    Q_INVOKABLE bool dropUrls(const QList<QUrl> &urls);

signals:
    /// The user wants to pick files to attach.
    void attachmentsPickRequested();
    void headingChanged();

private:
    ComposeModel *modelObject() { return &m_model; }
    void show(const QString &draftId);
    void hideCard();
    void writeAction(QLatin1StringView action, bool includeFields);

    const ControlChannel m_control;
    ComposeModel m_model;
    ScheduledCall m_editTimer;
    CardWindow m_window;
};

} // namespace halvic
