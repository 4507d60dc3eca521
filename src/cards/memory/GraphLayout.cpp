#include "GraphLayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <thread>

namespace halvic::graphlayout {

namespace {

constexpr double coincident2 = 0.01 * 0.01;

bool isCancelled(const std::atomic<bool> *cancelled)
{
    return cancelled && cancelled->load(std::memory_order_relaxed);
}

// The repulsion on point i from point j (i ≠ j) as the exact round has it: coincident points
// are pushed apart along ((a + 1) × 0.1, (b + 1) × 0.1) for the pair a < b, so that the result
// depends only on the indices.
inline void pairRepulsion(int i, int j, double dx, double dy, double &fx, double &fy)
{
    double d2 = dx * dx + dy * dy;
    if (d2 < coincident2) {
        const int a = std::min(i, j);
        const int b = std::max(i, j);
        const double sign = i < j ? 1.0 : -1.0;
        dx = sign * (a + 1) * 0.1;
        dy = sign * (b + 1) * 0.1;
        d2 = dx * dx + dy * dy;
    }
    const double dist = std::sqrt(d2);
    const double k = repulsion / (d2 * dist);
    fx += dx * k;
    fy += dy * k;
}

// Runs body(begin, end) over [0, n) in a few contiguous blocks on as many threads as there
// are cores (each index computed wholly by one thread, so the result does not depend on it).
template <class Body>
void parallelFor(std::size_t n, const Body &body, std::size_t serialBelow = 256)
{
    const std::size_t threads = std::min(n, std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8));
    if (threads <= 1 || n < serialBelow) {
        body(std::size_t(0), n);
        return;
    }
    std::vector<std::thread> helpers;
    helpers.reserve(threads - 1);
    const std::size_t block = (n + threads - 1) / threads;
    for (std::size_t t = 1; t < threads; ++t) {
        const std::size_t begin = std::min(n, t * block), end = std::min(n, begin + block);
        if (begin < end)
            helpers.emplace_back([&body, begin, end] { body(begin, end); });
    }
    body(std::size_t(0), std::min(n, block));
    for (std::thread &helper : helpers)
        helper.join();
}

void springsAndMove(std::vector<Vec2> &points, const std::vector<std::pair<int, int>> &edges, std::vector<Vec2> &force)
{
    for (const auto &[a, b] : edges) {
        const double dx = points[std::size_t(a)].x - points[std::size_t(b)].x;
        const double dy = points[std::size_t(a)].y - points[std::size_t(b)].y;
        const double dist = std::max(std::sqrt(dx * dx + dy * dy), 0.01);
        const double k = (dist - restLength) * stiffness / dist;
        force[std::size_t(a)].x -= dx * k;
        force[std::size_t(a)].y -= dy * k;
        force[std::size_t(b)].x += dx * k;
        force[std::size_t(b)].y += dy * k;
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        double sx = force[i].x * stepFactor;
        double sy = force[i].y * stepFactor;
        const double length = std::sqrt(sx * sx + sy * sy);
        if (length > maxStep) {
            sx *= maxStep / length;
            sy *= maxStep / length;
        }
        points[i].x = (points[i].x + sx) * pullToOrigin;
        points[i].y = (points[i].y + sy) * pullToOrigin;
    }
}

// A quadtree over the points of one round, in flat arrays: each cell knows its square, its
// points' total mass (one per point) and centre of mass, and either four children or, as a
// leaf, a run of point indices.
class QuadTree
{
public:
    static constexpr int leafSize = 8;
    static constexpr int maxDepth = 48;

    struct Cell
    {
        double size = 0;
        double comX = 0;
        double comY = 0;
        double mass = 0;
        int firstChild = -1; // four consecutive cells, or -1 for a leaf
        int begin = 0;       // leaf: its points in `order`
        int end = 0;
    };

    explicit QuadTree(const std::vector<Vec2> &points)
        : m_points(points)
        , m_order(points.size())
    {
        std::iota(m_order.begin(), m_order.end(), 0);
        double minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
        for (const Vec2 &p : points) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
        const double size = std::max({maxX - minX, maxY - minY, 1e-9}) * (1 + 1e-9);
        m_cells.reserve(points.size() / 2 + 16);
        m_cells.push_back({});
        build(0, minX, minY, size, 0, int(points.size()), 0);
    }

    // The approximate repulsion on point i.
    void repulsionOn(int i, double &fx, double &fy) const
    {
        const double px = m_points[std::size_t(i)].x;
        const double py = m_points[std::size_t(i)].y;
        std::array<int, 4 * maxDepth + 8> stack;
        int top = 0;
        stack[std::size_t(top++)] = 0;
        while (top > 0) {
            const Cell &cell = m_cells[std::size_t(stack[std::size_t(--top)])];
            if (cell.firstChild < 0) {
                for (int k = cell.begin; k < cell.end; ++k) {
                    const int j = m_order[std::size_t(k)];
                    if (j != i)
                        pairRepulsion(i, j, px - m_points[std::size_t(j)].x, py - m_points[std::size_t(j)].y, fx, fy);
                }
                continue;
            }
            const double dx = px - cell.comX;
            const double dy = py - cell.comY;
            const double d2 = dx * dx + dy * dy;
            if (cell.size * cell.size < openingAngle * openingAngle * d2) {
                const double dist = std::sqrt(d2);
                const double k = cell.mass * repulsion / (d2 * dist);
                fx += dx * k;
                fy += dy * k;
                continue;
            }
            for (int c = 3; c >= 0; --c) {
                if (m_cells[std::size_t(cell.firstChild + c)].mass > 0)
                    stack[std::size_t(top++)] = cell.firstChild + c;
            }
        }
    }

private:
    void build(int index, double x0, double y0, double size, int begin, int end, int depth)
    {
        double sx = 0, sy = 0;
        for (int k = begin; k < end; ++k) {
            sx += m_points[std::size_t(m_order[std::size_t(k)])].x;
            sy += m_points[std::size_t(m_order[std::size_t(k)])].y;
        }
        const int count = end - begin;
        {
            Cell &cell = m_cells[std::size_t(index)];
            cell.size = size;
            cell.mass = count;
            cell.comX = count ? sx / count : x0 + size / 2;
            cell.comY = count ? sy / count : y0 + size / 2;
            cell.begin = begin;
            cell.end = end;
        }
        if (count <= leafSize || depth >= maxDepth)
            return;
        const double half = size / 2;
        const double midX = x0 + half;
        const double midY = y0 + half;
        const auto first = m_order.begin();
        const auto xOf = [&](int j) { return m_points[std::size_t(j)].x; };
        const auto yOf = [&](int j) { return m_points[std::size_t(j)].y; };
        // Quadrants: top (y < mid) left, top right, bottom left, bottom right.
        const auto top = std::stable_partition(first + begin, first + end, [&](int j) { return yOf(j) < midY; });
        const auto topLeft = std::stable_partition(first + begin, top, [&](int j) { return xOf(j) < midX; });
        const auto bottomLeft = std::stable_partition(top, first + end, [&](int j) { return xOf(j) < midX; });
        const std::array<int, 5> bounds{begin, int(topLeft - first), int(top - first), int(bottomLeft - first), end};
        const int firstChild = int(m_cells.size());
        m_cells[std::size_t(index)].firstChild = firstChild;
        m_cells.resize(m_cells.size() + 4);
        for (int c = 0; c < 4; ++c) {
            const double cx = x0 + ((c & 1) ? half : 0);
            const double cy = y0 + ((c & 2) ? half : 0);
            build(firstChild + c, cx, cy, half, bounds[std::size_t(c)], bounds[std::size_t(c) + 1], depth + 1);
        }
    }

    const std::vector<Vec2> &m_points;
    std::vector<int> m_order;
    std::vector<Cell> m_cells;
};

} // namespace

Vec2 startPoint(int k, bool mapExists)
{
    const double angle = k * goldenAngle;
    const double radius = mapExists ? 40.0 + 14.0 * (k % 6) : 8.0 * std::sqrt(k + 1.0);
    return {radius * std::cos(angle), radius * std::sin(angle)};
}

Degrees degrees(const std::vector<GraphEdge> &edges)
{
    Degrees out;
    for (const GraphEdge &edge : edges) {
        ++out[edge.from];
        ++out[edge.to];
    }
    return out;
}

void exactRound(std::vector<Vec2> &points, const std::vector<std::pair<int, int>> &edges, std::vector<Vec2> &force)
{
    const std::size_t n = points.size();
    force.assign(n, {});
    std::vector<double> xs(n), ys(n);
    for (std::size_t i = 0; i < n; ++i) {
        xs[i] = points[i].x;
        ys[i] = points[i].y;
    }
    const double *const px = xs.data();
    const double *const py = ys.data();
    // Every pair once (i < j). The rows are dealt to a fixed number of partitions, each
    // with its own force sums, added up in partition order at the end: the result is the
    // same however many cores share the partitions. Coincident pairs are left out of the
    // vectorised sum and added after it (rarely).
    constexpr std::size_t partitions = 8;
    std::vector<std::vector<double>> sums(partitions);
    parallelFor(
        partitions,
        [&](std::size_t first, std::size_t last) {
            for (std::size_t p = first; p < last; ++p) {
                std::vector<double> &sum = sums[p];
                sum.assign(2 * n, 0.0);
                double *const sx = sum.data();
                double *const sy = sum.data() + n;
                for (std::size_t i = p; i < n; i += partitions) {
                    const double xi = px[i], yi = py[i];
                    double fx = 0, fy = 0, close = 0;
#pragma omp simd reduction(+ : fx, fy, close)
                    for (std::size_t j = i + 1; j < n; ++j) {
                        const double dx = xi - px[j];
                        const double dy = yi - py[j];
                        const double d2 = dx * dx + dy * dy;
                        const bool near = d2 < coincident2;
                        const double safe = near ? 1.0 : d2;
                        const double k = near ? 0.0 : repulsion / (safe * std::sqrt(safe));
                        fx += dx * k;
                        fy += dy * k;
                        sx[j] -= dx * k;
                        sy[j] -= dy * k;
                        close += near ? 1.0 : 0.0;
                    }
                    if (close > 0.5) {
                        for (std::size_t j = i + 1; j < n; ++j) {
                            const double dx = xi - px[j], dy = yi - py[j];
                            if (dx * dx + dy * dy >= coincident2)
                                continue;
                            double cx = 0, cy = 0;
                            pairRepulsion(int(i), int(j), dx, dy, cx, cy);
                            fx += cx;
                            fy += cy;
                            sx[j] -= cx;
                            sy[j] -= cy;
                        }
                    }
                    sx[i] += fx;
                    sy[i] += fy;
                }
            }
        },
        n >= 1000 ? 1 : partitions + 1); // small graphs: starting threads costs more than it saves
    for (const std::vector<double> &sum : sums) {
        for (std::size_t i = 0; i < n; ++i) {
            force[i].x += sum[i];
            force[i].y += sum[n + i];
        }
    }
    springsAndMove(points, edges, force);
}

void approximateRound(
    std::vector<Vec2> &points, const std::vector<std::pair<int, int>> &edges, std::vector<Vec2> &force)
{
    force.assign(points.size(), {});
    if (!points.empty()) {
        const QuadTree tree(points);
        parallelFor(points.size(), [&](std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i)
                tree.repulsionOn(int(i), force[i].x, force[i].y);
        });
    }
    springsAndMove(points, edges, force);
}

std::optional<std::vector<Vec2>> simulate(
    Problem problem, const std::atomic<bool> *cancelled, std::optional<bool> exact)
{
    const bool allPairs = exact.value_or(problem.points.size() <= exactLimit);
    std::vector<Vec2> force;
    for (int round = 0; round < rounds; ++round) {
        if (isCancelled(cancelled))
            return std::nullopt;
        if (allPairs)
            exactRound(problem.points, problem.edges, force);
        else
            approximateRound(problem.points, problem.edges, force);
    }
    return std::move(problem.points);
}

std::optional<Result> layout(const std::vector<GraphNode> &nodes, const std::vector<GraphEdge> &edges, Positions kept,
    const std::atomic<bool> *cancelled)
{
    // Each id once, in node order: a repeated id is one node drawn twice at one place.
    QHash<QString, int> index;
    index.reserve(qsizetype(nodes.size()));
    std::vector<QString> ids;
    ids.reserve(nodes.size());
    for (const GraphNode &node : nodes) {
        if (!index.contains(node.id)) {
            index.insert(node.id, int(ids.size()));
            ids.push_back(node.id);
        }
    }
    if (isCancelled(cancelled))
        return std::nullopt;

    Result result;
    result.positions.reserve(qsizetype(ids.size()));
    for (const QString &id : ids) {
        const auto it = kept.constFind(id);
        if (it != kept.constEnd())
            result.positions.insert(id, *it);
    }
    kept = {};
    const bool mapExists = !result.positions.isEmpty();
    int k = 0;
    for (const QString &id : ids) {
        if (!result.positions.contains(id))
            result.positions.insert(id, startPoint(k++, mapExists));
    }
    result.degrees = degrees(edges);
    if (ids.size() < 2)
        return result;

    Problem problem;
    problem.points.reserve(ids.size());
    for (const QString &id : ids)
        problem.points.push_back(result.positions.value(id));
    for (const GraphEdge &edge : edges) {
        const auto a = index.constFind(edge.from);
        const auto b = index.constFind(edge.to);
        if (a != index.constEnd() && b != index.constEnd())
            problem.edges.emplace_back(*a, *b);
    }
    auto points = simulate(std::move(problem), cancelled);
    if (!points)
        return std::nullopt;
    for (std::size_t i = 0; i < ids.size(); ++i)
        result.positions.insert(ids[i], (*points)[i]);
    return result;
}

DrawingArrays drawingArrays(const std::vector<GraphNode> &nodes, const std::vector<GraphEdge> &edges,
    const Positions &positions, const Degrees &degrees)
{
    DrawingArrays out;
    out.points.assign(nodes.size(), {});
    out.placed.assign(nodes.size(), 0);
    out.degrees.assign(nodes.size(), 0);
    QHash<QString, int> last;
    last.reserve(qsizetype(nodes.size()));
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        last.insert(nodes[i].id, int(i));
        const auto it = positions.constFind(nodes[i].id);
        if (it != positions.constEnd()) {
            out.points[i] = *it;
            out.placed[i] = 1;
        }
        out.degrees[i] = degrees.value(nodes[i].id);
    }
    out.edges.reserve(edges.size());
    for (const GraphEdge &edge : edges)
        out.edges.emplace_back(last.value(edge.from, -1), last.value(edge.to, -1));
    return out;
}

std::optional<View> fit(const Positions &positions, QSizeF size)
{
    if (!(size.width() > 1) || positions.isEmpty())
        return std::nullopt;
    double minX = positions.cbegin()->x, maxX = minX, minY = positions.cbegin()->y, maxY = minY;
    for (const Vec2 &p : positions) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    const double sx = (size.width() - 90) / std::max(maxX - minX, 1.0);
    const double sy = (size.height() - 90) / std::max(maxY - minY, 1.0);
    const double scale = std::clamp(std::min(sx, sy), minScale, maxScale);
    return View{scale, -(minX + maxX) / 2 * scale, -(minY + maxY) / 2 * scale};
}

} // namespace halvic::graphlayout
