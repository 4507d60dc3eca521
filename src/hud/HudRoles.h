#pragma once

#include <QIdentityProxyModel>
#include <QtQmlIntegration>

namespace halvic {

class AgentClock;
class AgentListModel;
class TranscriptModel;

/// The transcript as the HUD shows it: the model's lines plus the symbol beside each.
class TranscriptRows : public QIdentityProxyModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the HUD controller")
public:
    enum Role { SymbolRole = Qt::UserRole + 100 };

    explicit TranscriptRows(TranscriptModel &lines, QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;
};

/// The agent chips as the HUD shows them: the model's chips plus their emoji, short label
/// and elapsed time, which follows the agents' clock.
class AgentChipRows : public QIdentityProxyModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the HUD controller")
public:
    enum Role { EmojiRole = Qt::UserRole + 100, ShortLabelRole, ElapsedRole };

    AgentChipRows(AgentListModel &chips, const AgentClock &clock, QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    void sourceChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles);
    void clockTicked();

    const AgentClock &m_clock;
};

} // namespace halvic
