#pragma once

#include <QObject>
#include <QVariantMap>
#include <QtQmlIntegration>

#include <optional>
#include <vector>

#include "MemoryItem.h"
#include "RecordListModel.h"

namespace halvic {

/// What the memory card shows: the remembered facts as a list, or the graph of them.
class MemoryMode : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("An enumeration")
public:
    enum Value { Notes, Graph };
    Q_ENUM(Value)
};

/// The memory card's state. The list and the graph come only from the engine; the user's
/// changes are applied here at once, before the engine answers.
class MemoryModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the memory card")
    Q_PROPERTY(halvic::RecordList *items READ itemList CONSTANT)
    /// The search text as typed; sent to the engine only when submitted.
    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY queryChanged)
    /// A query is on its way and no answer has come yet.
    Q_PROPERTY(bool loading READ loading NOTIFY loadingChanged)
    Q_PROPERTY(halvic::MemoryMode::Value mode READ mode NOTIFY modeChanged)
    Q_PROPERTY(bool fullscreen READ fullscreen NOTIFY fullscreenChanged)
    Q_PROPERTY(int graphNodeCount READ graphNodeCount NOTIFY graphNodesChanged)
    Q_PROPERTY(int graphEdgeCount READ graphEdgeCount NOTIFY graphEdgesChanged)
    Q_PROPERTY(bool graphLoading READ graphLoading NOTIFY graphLoadingChanged)
    /// How many graphs have arrived; a new value means a new graph to lay out.
    Q_PROPERTY(int graphVersion READ graphVersion NOTIFY graphVersionChanged)
    /// The corrections being typed: memory id to draft, one for each row in edit mode. Here
    /// rather than in the row, which the list drops once it scrolls out of view; a draft goes
    /// only when its memory leaves the list.
    Q_PROPERTY(QVariantMap corrections READ corrections NOTIFY correctionsChanged)
public:
    explicit MemoryModel(QObject *parent = nullptr);

    RecordListModel<MemoryItem> &items() { return m_items; }
    const RecordListModel<MemoryItem> &items() const { return m_items; }
    QString query() const { return m_query; }
    bool loading() const { return m_loading; }
    MemoryMode::Value mode() const { return m_mode; }
    bool fullscreen() const { return m_fullscreen; }
    const std::vector<GraphNode> &graphNodes() const { return m_graphNodes; }
    const std::vector<GraphEdge> &graphEdges() const { return m_graphEdges; }
    int graphNodeCount() const { return int(m_graphNodes.size()); }
    int graphEdgeCount() const { return int(m_graphEdges.size()); }
    bool graphLoading() const { return m_graphLoading; }
    int graphVersion() const { return m_graphVersion; }
    QVariantMap corrections() const { return m_corrections; }
    /// The draft of memory `id`'s correction; none while its row is not in edit mode.
    std::optional<QString> correction(const QString &id) const;

    void setQuery(const QString &query);
    void setLoading(bool loading);
    void setMode(MemoryMode::Value mode);
    void setFullscreen(bool fullscreen);
    void setGraphNodes(std::vector<GraphNode> nodes);
    void setGraphEdges(std::vector<GraphEdge> edges);
    void setGraphLoading(bool loading);
    void bumpGraphVersion();
    /// Puts memory `id`'s row in edit mode with `draft`, or updates its draft.
    void setCorrection(const QString &id, const QString &draft);
    /// Leaves edit mode for memory `id`'s row.
    void dropCorrection(const QString &id);

signals:
    void queryChanged();
    void loadingChanged();
    void modeChanged();
    void fullscreenChanged();
    void graphNodesChanged();
    void graphEdgesChanged();
    void graphLoadingChanged();
    void graphVersionChanged();
    void correctionsChanged();

private:
    RecordList *itemList() { return &m_items; }
    void dropCorrectionsOfGoneMemories();

    RecordListModel<MemoryItem> m_items;
    QString m_query;
    bool m_loading = false;
    MemoryMode::Value m_mode = MemoryMode::Notes;
    bool m_fullscreen = false;
    std::vector<GraphNode> m_graphNodes;
    std::vector<GraphEdge> m_graphEdges;
    bool m_graphLoading = false;
    int m_graphVersion = 0;
    QVariantMap m_corrections;
};

} // namespace halvic
