#include "MemoryModel.h"

namespace halvic {

namespace {

template <class T>
bool assign(T &field, T value)
{
    if (field == value)
        return false;
    field = std::move(value);
    return true;
}

} // namespace

MemoryModel::MemoryModel(QObject *parent)
    : QObject(parent)
{
    connect(&m_items, &QAbstractItemModel::modelReset, this, &MemoryModel::dropCorrectionsOfGoneMemories);
    connect(&m_items, &QAbstractItemModel::rowsRemoved, this, &MemoryModel::dropCorrectionsOfGoneMemories);
}

void MemoryModel::setQuery(const QString &query)
{
    if (assign(m_query, query))
        emit queryChanged();
}

void MemoryModel::setLoading(bool loading)
{
    if (assign(m_loading, loading))
        emit loadingChanged();
}

void MemoryModel::setMode(MemoryMode::Value mode)
{
    if (assign(m_mode, mode))
        emit modeChanged();
}

void MemoryModel::setFullscreen(bool fullscreen)
{
    if (assign(m_fullscreen, fullscreen))
        emit fullscreenChanged();
}

void MemoryModel::setGraphNodes(std::vector<GraphNode> nodes)
{
    if (assign(m_graphNodes, std::move(nodes)))
        emit graphNodesChanged();
}

void MemoryModel::setGraphEdges(std::vector<GraphEdge> edges)
{
    if (assign(m_graphEdges, std::move(edges)))
        emit graphEdgesChanged();
}

void MemoryModel::setGraphLoading(bool loading)
{
    if (assign(m_graphLoading, loading))
        emit graphLoadingChanged();
}

void MemoryModel::bumpGraphVersion()
{
    ++m_graphVersion;
    emit graphVersionChanged();
}

std::optional<QString> MemoryModel::correction(const QString &id) const
{
    const auto it = m_corrections.constFind(id);
    return it == m_corrections.cend() ? std::nullopt : std::optional(it->toString());
}

void MemoryModel::setCorrection(const QString &id, const QString &draft)
{
    if (correction(id) == draft)
        return;
    m_corrections.insert(id, draft);
    emit correctionsChanged();
}

void MemoryModel::dropCorrection(const QString &id)
{
    if (m_corrections.remove(id) > 0)
        emit correctionsChanged();
}

void MemoryModel::dropCorrectionsOfGoneMemories()
{
    const qsizetype dropped
        = m_corrections.removeIf([this](const QVariantMap::iterator &it) { return !m_items.find(it.key()); });
    if (dropped > 0)
        emit correctionsChanged();
}

} // namespace halvic
