#pragma once

#include <QHash>
#include <QSizeF>
#include <QString>

#include <atomic>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "MemoryItem.h"

/// The memory graph's force-directed layout, as plain functions over plain data: where new
/// nodes start, how many edge ends each node has, the simulation that spreads the map, and
/// the zoom and pan that fit it into a view. Nothing here touches Qt's objects or threads;
/// GraphLayoutRunner runs it off the main thread.
namespace halvic::graphlayout {

struct Vec2
{
    double x = 0;
    double y = 0;
    friend bool operator==(const Vec2 &, const Vec2 &) = default;
};

using Positions = QHash<QString, Vec2>;
using Degrees = QHash<QString, int>;

inline constexpr int rounds = 320;
inline constexpr double goldenAngle = 2.399963229728653;
inline constexpr double repulsion = 9000;
inline constexpr double restLength = 90;
inline constexpr double stiffness = 0.05;
inline constexpr double stepFactor = 0.85;
inline constexpr double maxStep = 30;
inline constexpr double pullToOrigin = 0.995;
inline constexpr double minScale = 0.2;
inline constexpr double maxScale = 4.0;
/// Above this many nodes each round's repulsion is approximated (Barnes–Hut) instead of
/// summed over all pairs: the exact sum costs N² per round, about 0.4 s for 320 rounds of
/// 2,000 nodes on two cores, and grows fourfold with every doubling.
inline constexpr std::size_t exactLimit = 2000;
/// How far a cell of the approximation may be seen under before its points are visited one
/// by one (cell width / distance).
inline constexpr double openingAngle = 0.9;

/// Where the `k`-th new node starts: on a sunflower spiral for a map laid out from scratch,
/// or in small rings near the middle when nodes with positions exist already.
Vec2 startPoint(int k, bool mapExists);

/// Edge ends per node id; ends that name no node count too.
Degrees degrees(const std::vector<GraphEdge> &edges);

/// The points and the edges (as index pairs) the simulation works on.
struct Problem
{
    std::vector<Vec2> points;
    std::vector<std::pair<int, int>> edges;
};

/// One round of the exact simulation: all-pairs repulsion, springs along the edges, a
/// capped step and the pull toward the origin.
void exactRound(std::vector<Vec2> &points, const std::vector<std::pair<int, int>> &edges, std::vector<Vec2> &force);
/// The same round with the repulsion approximated by a quadtree whose leaves each walk it
/// once for all their points; deterministic, whatever the number of cores.
void approximateRound(
    std::vector<Vec2> &points, const std::vector<std::pair<int, int>> &edges, std::vector<Vec2> &force);

/// Runs all rounds (approximated above exactLimit points unless `exact`); stops early,
/// returning none, when `cancelled` becomes true.
std::optional<std::vector<Vec2>> simulate(
    Problem problem, const std::atomic<bool> *cancelled = nullptr, std::optional<bool> exact = std::nullopt);

/// What a layout works out for a graph: every node's point and every id's edge ends.
struct Result
{
    Positions positions;
    Degrees degrees;
};

/// What a view draws a graph from, by node in graph order (repeated ids included): each
/// node's point and edge ends, and each edge as the indices of the last nodes with its end
/// ids (-1 for an id that is no node). Made beside the layout, off the main thread.
struct DrawingArrays
{
    std::vector<Vec2> points;
    std::vector<char> placed;
    std::vector<int> degrees;
    std::vector<std::pair<int, int>> edges;
};
DrawingArrays drawingArrays(const std::vector<GraphNode> &nodes, const std::vector<GraphEdge> &edges,
    const Positions &positions, const Degrees &degrees);

/// The whole layout of a new graph from the positions kept from the last one: drops the
/// ids that are gone, starts the new nodes, simulates (unless there are fewer than two
/// nodes). None when cancelled.
std::optional<Result> layout(const std::vector<GraphNode> &nodes, const std::vector<GraphEdge> &edges, Positions kept,
    const std::atomic<bool> *cancelled = nullptr);

/// The zoom and pan that show every position inside `size` less a 45-point margin, centred.
struct View
{
    double scale = 1;
    double offsetX = 0;
    double offsetY = 0;
    friend bool operator==(const View &, const View &) = default;
};
std::optional<View> fit(const Positions &positions, QSizeF size);

} // namespace halvic::graphlayout
