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

// The exact repulsion of rows first, first + stride, … against every later point, added to
// (sx, sy). Built for several instruction sets and chosen on the running processor: the
// inner loop is where the exact layout spends its time, and wider vectors serve it directly.
__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default"))) void repulsionRows(
    std::size_t first, std::size_t stride, std::size_t n, const double *px, const double *py, double *sx, double *sy)
{
    for (std::size_t i = first; i < n; i += stride) {
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

// What the points of one leaf feel in a round of the approximation: far cells as point
// masses at their centres of mass, and the points near enough to be summed one by one (the
// leaf's own among them). Kept as columns so that the sums vectorise.
struct Interactions
{
    std::vector<double> farX, farY, farMass;
    std::vector<double> nearX, nearY;
    std::vector<int> nearIndex;

    void clear()
    {
        farX.clear();
        farY.clear();
        farMass.clear();
        nearX.clear();
        nearY.clear();
        nearIndex.clear();
    }
};

// The repulsion on point i at (px, py) from everything in `in`, added to (fx, fy). Point i
// itself is among the near points and is skipped; coincident pairs take the exact round's
// rule, so the approximation separates them the same way.
__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default"))) void sumInteractions(
    int i, double px, double py, const Interactions &in, double &fx, double &fy)
{
    double sumX = 0, sumY = 0, close = 0;
    const double *const farX = in.farX.data();
    const double *const farY = in.farY.data();
    const double *const farMass = in.farMass.data();
    const std::size_t farCount = in.farX.size();
#pragma omp simd reduction(+ : sumX, sumY)
    for (std::size_t k = 0; k < farCount; ++k) {
        const double dx = px - farX[k];
        const double dy = py - farY[k];
        const double d2 = dx * dx + dy * dy;
        const double f = farMass[k] * repulsion / (d2 * std::sqrt(d2));
        sumX += dx * f;
        sumY += dy * f;
    }
    const double *const nearX = in.nearX.data();
    const double *const nearY = in.nearY.data();
    const std::size_t nearCount = in.nearX.size();
#pragma omp simd reduction(+ : sumX, sumY, close)
    for (std::size_t k = 0; k < nearCount; ++k) {
        const double dx = px - nearX[k];
        const double dy = py - nearY[k];
        const double d2 = dx * dx + dy * dy;
        const bool skip = d2 < coincident2; // the point itself, or one on top of it
        const double safe = skip ? 1.0 : d2;
        const double f = skip ? 0.0 : repulsion / (safe * std::sqrt(safe));
        sumX += dx * f;
        sumY += dy * f;
        close += skip ? 1.0 : 0.0;
    }
    if (close > 1.5) {
        for (std::size_t k = 0; k < nearCount; ++k) {
            const double dx = px - nearX[k], dy = py - nearY[k];
            if (in.nearIndex[k] != i && dx * dx + dy * dy < coincident2)
                pairRepulsion(i, in.nearIndex[k], dx, dy, sumX, sumY);
        }
    }
    fx += sumX;
    fy += sumY;
}

// A quadtree over the points of one round, in flat arrays: each cell knows its square, its
// points' total mass (one per point) and centre of mass, and either four children or, as a
// leaf, a run of point indices and the box around them. The points of a leaf share one walk
// of the tree: a cell is far enough to count as one mass when it is seen from every point of
// the leaf under less than the opening angle.
class QuadTree
{
public:
    static constexpr int leafSize = 16;
    static constexpr int maxDepth = 48;

    struct Cell
    {
        double size = 0;
        double comX = 0;
        double comY = 0;
        double mass = 0;
        double minX = 0, minY = 0, maxX = 0, maxY = 0; // around a leaf's points
        int firstChild = -1;                           // four consecutive cells, or -1 for a leaf
        int begin = 0;                                 // leaf: its points in `order`
        int end = 0;
    };

    explicit QuadTree(const std::vector<Vec2> &points)
        : m_points(points)
        , m_order(points.size())
        , m_scratch(points.size())
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

    const std::vector<int> &leaves() const { return m_leaves; }

    // The approximate repulsion on the points of one leaf, added to `force`.
    void repulsionOnLeaf(int leaf, Interactions &scratch, std::vector<Vec2> &force) const
    {
        gather(leaf, scratch);
        const Cell &cell = m_cells[std::size_t(leaf)];
        for (int k = cell.begin; k < cell.end; ++k) {
            const int i = m_order[std::size_t(k)];
            const Vec2 &p = m_points[std::size_t(i)];
            sumInteractions(i, p.x, p.y, scratch, force[std::size_t(i)].x, force[std::size_t(i)].y);
        }
    }

private:
    void gather(int leaf, Interactions &out) const
    {
        out.clear();
        const Cell &group = m_cells[std::size_t(leaf)];
        std::array<int, 4 * maxDepth + 8> stack;
        int top = 0;
        stack[std::size_t(top++)] = 0;
        while (top > 0) {
            const int index = stack[std::size_t(--top)];
            const Cell &cell = m_cells[std::size_t(index)];
            // From the nearest point of the leaf's box to the cell's centre of mass.
            const double dx = std::max({group.minX - cell.comX, 0.0, cell.comX - group.maxX});
            const double dy = std::max({group.minY - cell.comY, 0.0, cell.comY - group.maxY});
            const double d2 = dx * dx + dy * dy;
            if (index != leaf && cell.size * cell.size < openingAngle * openingAngle * d2) {
                out.farX.push_back(cell.comX);
                out.farY.push_back(cell.comY);
                out.farMass.push_back(cell.mass);
                continue;
            }
            if (cell.firstChild < 0) {
                for (int k = cell.begin; k < cell.end; ++k) {
                    const int j = m_order[std::size_t(k)];
                    out.nearX.push_back(m_points[std::size_t(j)].x);
                    out.nearY.push_back(m_points[std::size_t(j)].y);
                    out.nearIndex.push_back(j);
                }
                continue;
            }
            for (int c = 3; c >= 0; --c) {
                if (m_cells[std::size_t(cell.firstChild + c)].mass > 0)
                    stack[std::size_t(top++)] = cell.firstChild + c;
            }
        }
    }

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
        if (count <= leafSize || depth >= maxDepth) {
            if (count > 0)
                makeLeaf(index);
            return;
        }
        const double half = size / 2;
        const double midX = x0 + half;
        const double midY = y0 + half;
        // Quadrants: top (y < mid) left, top right, bottom left, bottom right; each keeps
        // its points in their order, so the tree is the same on every run.
        std::array<int, 5> bounds{};
        for (int k = begin; k < end; ++k)
            ++bounds[std::size_t(quadrant(m_order[std::size_t(k)], midX, midY)) + 1];
        bounds[0] = begin;
        for (std::size_t c = 1; c < bounds.size(); ++c)
            bounds[c] += bounds[c - 1];
        std::array<int, 4> next{bounds[0], bounds[1], bounds[2], bounds[3]};
        for (int k = begin; k < end; ++k) {
            const int j = m_order[std::size_t(k)];
            m_scratch[std::size_t(next[std::size_t(quadrant(j, midX, midY))]++)] = j;
        }
        std::copy(m_scratch.begin() + begin, m_scratch.begin() + end, m_order.begin() + begin);
        const int firstChild = int(m_cells.size());
        m_cells[std::size_t(index)].firstChild = firstChild;
        m_cells.resize(m_cells.size() + 4);
        for (int c = 0; c < 4; ++c) {
            const double cx = x0 + ((c & 1) ? half : 0);
            const double cy = y0 + ((c & 2) ? half : 0);
            build(firstChild + c, cx, cy, half, bounds[std::size_t(c)], bounds[std::size_t(c) + 1], depth + 1);
        }
    }

    int quadrant(int j, double midX, double midY) const
    {
        const Vec2 &p = m_points[std::size_t(j)];
        return (p.x < midX ? 0 : 1) + (p.y < midY ? 0 : 2);
    }

    void makeLeaf(int index)
    {
        Cell &cell = m_cells[std::size_t(index)];
        const Vec2 &first = m_points[std::size_t(m_order[std::size_t(cell.begin)])];
        cell.minX = cell.maxX = first.x;
        cell.minY = cell.maxY = first.y;
        for (int k = cell.begin; k < cell.end; ++k) {
            const Vec2 &p = m_points[std::size_t(m_order[std::size_t(k)])];
            cell.minX = std::min(cell.minX, p.x);
            cell.maxX = std::max(cell.maxX, p.x);
            cell.minY = std::min(cell.minY, p.y);
            cell.maxY = std::max(cell.maxY, p.y);
        }
        m_leaves.push_back(index);
    }

    const std::vector<Vec2> &m_points;
    std::vector<int> m_order;
    std::vector<int> m_scratch;
    std::vector<Cell> m_cells;
    std::vector<int> m_leaves;
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
                repulsionRows(p, partitions, n, px, py, sum.data(), sum.data() + n);
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
        const std::vector<int> &leaves = tree.leaves();
        // Each leaf's points are summed wholly by one thread, so the result does not depend
        // on how many there are.
        parallelFor(
            leaves.size(),
            [&](std::size_t begin, std::size_t end) {
                Interactions scratch;
                for (std::size_t l = begin; l < end; ++l)
                    tree.repulsionOnLeaf(leaves[l], scratch, force);
            },
            16);
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
