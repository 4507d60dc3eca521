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

} // namespace halvic
