#pragma once

#include <QUrl>
#include <QtQmlIntegration>

#include <functional>
#include <optional>

#include "Card.h"
#include "EntityModel.h"
#include "EntityRecords.h"

namespace halvic {

/// The dossier card's frame on a screen's usable area: 560 wide, at most 760 high and 60
/// less than the area, centred (or from the top-left corner `from`), kept 8 points inside.
QRect entityCardFrame(const QRect &available, std::optional<QPoint> from = std::nullopt);
/// The bubble keeps the card's top-left corner; the card comes back from there.
QRect entityBubbleFrame(const QRect &frame, bool minimized, const QRect &available);

/// The link a quick fact or composed chip opens, made into a URL the desktop may open: only
/// web, mail and phone links; none for anything else (file:, smb:, custom schemes, text
/// that makes no URL).
std::optional<QUrl> entityLinkUrl(const QString &text);

/// The entity dossier card: shows the engine's profile of one entity (and the composed
/// layout when one comes), keeps what the user is typing across updates of the same entity,
/// and tells the engine through entity_action.json which entity to open, which relation is
/// wrong, and the user's notes and summaries.
class EntityPanel final : public Card
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(halvic::EntityModel *model READ modelObject CONSTANT)
    /// The card's height on its screen (the view's height).
    Q_PROPERTY(int cardHeight READ cardHeight NOTIFY cardHeightChanged)
public:
    static constexpr int panelW = 560;
    /// Hands a URL to the desktop's default handler.
    using Opener = std::function<void(const QUrl &)>;

    explicit EntityPanel(const CardContext &context, QObject *parent = nullptr);
    ~EntityPanel() override;

    CardWindow *window() override { return &m_window; }
    void registerRows(EventDispatcher &dispatcher) override;
    /// Hides the card when `key` is empty or the shown entity's.
    void close(const QString &key) override;

    EntityModel &model() { return m_model; }
    int cardHeight() const { return m_cardHeight; }
    /// Replaces the desktop opener (tests watch what would be opened).
    void setOpener(Opener opener) { m_open = std::move(opener); }

    /// A profile or dossier update from the engine. Another entity (or any entity while the
    /// card is hidden) starts afresh: typing, summary editing and the bubble reset and the
    /// card comes back to the middle. An update of the shown entity only replaces the data.
    void show(EntityProfile profile, std::optional<ComposedDossier> composed, bool composing);

    /// Asks the engine for another entity's dossier.
    Q_INVOKABLE void drillDown(const QString &name);
    /// Tells the engine the relation to `other` is wrong and takes it off the card at once.
    Q_INVOKABLE void unrelate(const QString &other);
    Q_INVOKABLE void openQuick(const QString &kind, const QString &value);
    Q_INVOKABLE void openComposedChip(const QString &kind, const QString &value);
    /// Sends the typed note (trimmed) and clears the field.
    Q_INVOKABLE void submitNote();
    Q_INVOKABLE void beginEditSummary();
    Q_INVOKABLE void cancelEditSummary();
    /// Sends the rewritten summary (trimmed, even when empty); the card shows it once the
    /// engine sends the updated profile.
    Q_INVOKABLE void saveSummary();
    /// The note or summary field was clicked: the card takes the keyboard.
    Q_INVOKABLE void activateInput();

signals:
    void cardHeightChanged();

private:
    EntityModel *modelObject() { return &m_model; }
    void writeCmd(QLatin1StringView cmd, const QJsonObject &further);
    void openURL(const QString &text);
    void updateCardHeight();
    void setCardHeight(int height);

    const ControlChannel m_control;
    EntityModel m_model;
    Opener m_open;
    int m_cardHeight = 740;
    CardWindow m_window;
};

} // namespace halvic
