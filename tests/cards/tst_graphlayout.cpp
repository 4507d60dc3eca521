#include <QTest>

#include <cmath>
#include <random>

#include "GraphLayout.h"
#include "ThinLines.h"

using namespace halvic;
using namespace halvic::graphlayout;

Q_DECLARE_METATYPE(std::optional<halvic::graphlayout::View>)

namespace {

std::vector<GraphNode> nodes(const QStringList &ids)
{
    std::vector<GraphNode> out;
    for (const QString &id : ids)
        out.push_back({id, id, {}});
    return out;
}

std::vector<Vec2> randomPoints(std::size_t n, unsigned seed, double spread)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coordinate(-spread, spread);
    std::vector<Vec2> points(n);
    for (Vec2 &p : points)
        p = {coordinate(random), coordinate(random)};
    return points;
}

bool near(Vec2 a, Vec2 b, double tolerance = 1e-9)
{
    return std::abs(a.x - b.x) <= tolerance && std::abs(a.y - b.y) <= tolerance;
}

} // namespace

/// The layout of the memory graph, pinned on small graphs where the answer is known.
class GraphLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void oneNodeSitsAtTheSpiralStart()
    {
        const auto result = layout(nodes({"a"}), {{"a", "ghost", "related"}}, {});
        QVERIFY(result);
        QCOMPARE(result->positions.size(), 1);
        QVERIFY(near(result->positions.value("a"), {8, 0}));
        QCOMPARE(result->degrees.value("a"), 1);
        QCOMPARE(result->degrees.value("ghost"), 1);
    }

    void startPoints()
    {
        QVERIFY(near(startPoint(0, false), {8, 0}));
        QVERIFY(near(startPoint(3, false), {16 * std::cos(3 * goldenAngle), 16 * std::sin(3 * goldenAngle)}));
        // Near an existing map: rings of 40, 54, … 110, then 40 again.
        QVERIFY(near(startPoint(0, true), {40, 0}));
        QVERIFY(near(startPoint(5, true), {110 * std::cos(5 * goldenAngle), 110 * std::sin(5 * goldenAngle)}));
        QVERIFY(near(startPoint(6, true), {40 * std::cos(6 * goldenAngle), 40 * std::sin(6 * goldenAngle)}));
    }

    // Both points of a coincident pair are pushed along ((0 + 1) × 0.1, (1 + 1) × 0.1) in
    // the first round, by the capped step of 30, then pulled in by 0.995.
    void coincidentPointsSeparateDeterministically()
    {
        std::vector<Vec2> points{{5, 5}, {5, 5}};
        std::vector<Vec2> force;
        exactRound(points, {}, force);
        const double unit = std::sqrt(0.05);
        const Vec2 along{0.1 / unit * 30, 0.2 / unit * 30};
        QVERIFY(near(points[0], {(5 + along.x) * 0.995, (5 + along.y) * 0.995}));
        QVERIFY(near(points[1], {(5 - along.x) * 0.995, (5 - along.y) * 0.995}));
        // The approximation treats a coincident pair the same way.
        std::vector<Vec2> approximated{{5, 5}, {5, 5}};
        approximateRound(approximated, {}, force);
        QVERIFY(near(approximated[0], points[0]));
        QVERIFY(near(approximated[1], points[1]));
    }

    // A lone spring shorter than its rest length pushes its ends apart; no cap below 30.
    void oneRoundOfAnEdge()
    {
        std::vector<Vec2> points{{-10, 0}, {10, 0}};
        std::vector<Vec2> force;
        exactRound(points, {{0, 1}}, force);
        const double push = 9000.0 / 400 - (20 - 90) * 0.05; // repulsion 22.5, spring 3.5 outward
        const double step = std::min(push * 0.85, 30.0);
        QVERIFY(near(points[0], {(-10 - step) * 0.995, 0}));
        QVERIFY(near(points[1], {(10 + step) * 0.995, 0}));
    }

    void edgesToUnknownIdsPullNothing()
    {
        const auto plain = layout(nodes({"a", "b", "c"}), {{"a", "b", "related"}}, {});
        const auto more = layout(
            nodes({"a", "b", "c"}), {{"a", "b", "related"}, {"c", "nowhere", "related"}, {"gone", "a", "x"}}, {});
        QVERIFY(plain && more);
        QCOMPARE(more->positions, plain->positions);
        QCOMPARE(more->degrees.value("c"), 1);
        QCOMPARE(more->degrees.value("a"), 2);
        QCOMPARE(plain->degrees.value("c"), 0);
    }

    // Positions of nodes that stay are where the new layout starts from; new nodes start in
    // rings near the middle, gone nodes are dropped.
    void keptPositionsSeedTheNextLayout()
    {
        Positions kept{{"a", {300, 0}}, {"b", {-300, 0}}, {"gone", {1, 1}}};
        std::vector<Vec2> expected{{300, 0}, {-300, 0}, startPoint(0, true)};
        std::vector<Vec2> force;
        for (int round = 0; round < rounds; ++round)
            exactRound(expected, {}, force);
        const auto result = layout(nodes({"a", "b", "n"}), {}, kept);
        QVERIFY(result);
        QCOMPARE(result->positions.size(), 3);
        QVERIFY(!result->positions.contains("gone"));
        QVERIFY(near(result->positions.value("a"), expected[0]));
        QVERIFY(near(result->positions.value("n"), expected[2]));
    }

    void duplicateIdsAreOneNode()
    {
        const auto once = layout(nodes({"a", "b"}), {{"a", "b", "related"}}, {});
        const auto twice = layout(nodes({"a", "b", "a"}), {{"a", "b", "related"}}, {});
        QVERIFY(once && twice);
        QCOMPARE(twice->positions, once->positions);
    }

    // What the view draws from: per node in graph order, edges by the last node with each id.
    void drawingArrays()
    {
        const std::vector<GraphNode> graph{{"a", "A", ""}, {"b", "B", ""}, {"a", "A again", ""}};
        const std::vector<GraphEdge> edges{{"a", "b", ""}, {"b", "ghost", ""}};
        const Positions positions{{"a", {1, 2}}, {"b", {3, 4}}};
        const DrawingArrays arrays = graphlayout::drawingArrays(graph, edges, positions, degrees(edges));
        QCOMPARE(arrays.points, (std::vector<Vec2>{{1, 2}, {3, 4}, {1, 2}}));
        QCOMPARE(arrays.placed, (std::vector<char>{1, 1, 1}));
        QCOMPARE(arrays.degrees, (std::vector<int>{1, 2, 1}));
        QCOMPARE(arrays.edges, (std::vector<std::pair<int, int>>{{2, 1}, {1, -1}}));
        const DrawingArrays unplaced = graphlayout::drawingArrays(graph, {}, {{"b", {0, 0}}}, {});
        QCOMPARE(unplaced.placed, (std::vector<char>{0, 1, 0}));
    }

    void cancelledLayoutGivesNothing()
    {
        std::atomic<bool> cancelled = true;
        QVERIFY(!layout(nodes({"a", "b"}), {}, {}, &cancelled));
        QVERIFY(!simulate({{{0, 0}, {1, 1}}, {}}, &cancelled));
    }

    void fit_data()
    {
        QTest::addColumn<Positions>("positions");
        QTest::addColumn<QSizeF>("size");
        QTest::addColumn<std::optional<View>>("expected");
        QTest::addRow("a horizontal line fits by its width")
            << Positions{{"a", {-50, 0}}, {"b", {50, 0}}} << QSizeF(400, 300) << std::optional(View{3.1, 0, 0});
        QTest::addRow("a line with a height range of 1 never divides by zero")
            << Positions{{"a", {0, 10}}, {"b", {1000, 10}}} << QSizeF(1090, 300) << std::optional(View{1, -500, -10});
        QTest::addRow("one point zooms in as far as allowed")
            << Positions{{"a", {10, 20}}} << QSizeF(400, 300) << std::optional(View{4, -40, -80});
        QTest::addRow("a wide map in a small view zooms out no further than 0.2")
            << Positions{{"a", {-5000, 0}}, {"b", {5000, 0}}} << QSizeF(200, 200) << std::optional(View{0.2, 0, 0});
        QTest::addRow("off-centre box is centred") << Positions{{"a", {100, 100}}, {"b", {300, 200}}}
                                                   << QSizeF(290, 290) << std::optional(View{1, -200, -150});
        QTest::addRow("no positions") << Positions{} << QSizeF(400, 300) << std::optional<View>();
        QTest::addRow("no width") << Positions{{"a", {0, 0}}} << QSizeF(1, 300) << std::optional<View>();
    }
    void fit()
    {
        QFETCH(Positions, positions);
        QFETCH(QSizeF, size);
        QFETCH(std::optional<View>, expected);
        const auto view = graphlayout::fit(positions, size);
        QCOMPARE(view.has_value(), expected.has_value());
        if (view) {
            QVERIFY2(std::abs(view->scale - expected->scale) < 1e-9, qPrintable(QString::number(view->scale)));
            QCOMPARE(view->offsetX, expected->offsetX);
            QCOMPARE(view->offsetY, expected->offsetY);
        }
    }

    // The approximate repulsion is close to the exact one and the same on every run.
    void approximationIsCloseAndDeterministic()
    {
        const std::vector<Vec2> start = randomPoints(3000, 7, 1500);
        std::vector<Vec2> exact = start, approx = start, again = start;
        std::vector<Vec2> force;
        exactRound(exact, {}, force);
        approximateRound(approx, {}, force);
        approximateRound(again, {}, force);
        QCOMPARE(approx, again);
        double worst = 0, typical = 0;
        for (std::size_t i = 0; i < start.size(); ++i) {
            const double moved = std::hypot(exact[i].x - start[i].x * 0.995, exact[i].y - start[i].y * 0.995);
            const double error = std::hypot(approx[i].x - exact[i].x, approx[i].y - exact[i].y);
            worst = std::max(worst, error);
            typical += moved / double(start.size());
        }
        // Off by a small part of an average step.
        QVERIFY2(worst < 0.25 * typical, qPrintable(QStringLiteral("%1 vs %2").arg(worst).arg(typical)));
    }

    // The many-edge drawing path: exactly the pixels of the line, blended over what is there,
    // clipped to the image; lines that are not numbers are skipped.
    void thinLines()
    {
        QImage image(20, 10, QImage::Format_ARGB32_Premultiplied);
        image.fill(qRgba(0, 0, 0, 255));
        drawThinLines(image,
            {QLineF(-5, 2, 30, 2), QLineF(4, -10, 4, 40), QLineF(qQNaN(), 0, 1, 1), QLineF(50, 50, 60, 60)},
            qRgba(255, 255, 255, 128));
        int lit = 0;
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 20; ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (y == 2 && x == 4) {
                    QVERIFY(qRed(pixel) > 180); // both lines over it
                } else if (y == 2 || x == 4) {
                    QVERIFY2(std::abs(qRed(pixel) - 128) <= 1, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                    ++lit;
                } else {
                    QCOMPARE(pixel, qRgba(0, 0, 0, 255));
                }
            }
        }
        QCOMPARE(lit, 19 + 9);
    }
};

QTEST_GUILESS_MAIN(GraphLayoutTest)
#include "tst_graphlayout.moc"
