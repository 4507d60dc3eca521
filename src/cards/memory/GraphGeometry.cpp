#include "GraphGeometry.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace halvic::graphview {

using namespace Qt::Literals::StringLiterals;

QPointF toView(Vec2 p, QSizeF size, const Nav &nav)
{
    return {size.width() / 2 + p.x * nav.scale + nav.offset.x(), size.height() / 2 + p.y * nav.scale + nav.offset.y()};
}

double nodeRadius(int degree)
{
    return std::min(6 + 1.5 * degree, 16.0);
}

double segmentDistance(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    if (length2 < 0.0001)
        return std::hypot(p.x() - a.x(), p.y() - a.y());
    const double t = std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0);
    const QPointF nearest = a + ab * t;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

std::optional<int> nodeAt(QPointF point, QSizeF size, const Nav &nav, const std::vector<QString> &ids,
    const graphlayout::Positions &positions, const graphlayout::Degrees &degrees)
{
    std::optional<int> best;
    double bestDistance = 0;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const auto it = positions.constFind(ids[i]);
        if (it == positions.constEnd())
            continue;
        const QPointF at = toView(*it, size, nav);
        const double d = std::hypot(at.x() - point.x(), at.y() - point.y());
        if (d < nodeRadius(degrees.value(ids[i])) + hitSlop && (!best || d < bestDistance)) {
            best = int(i);
            bestDistance = d;
        }
    }
    return best;
}

std::optional<int> edgeAt(QPointF point, QSizeF size, const Nav &nav, const std::vector<GraphEdge> &edges,
    const graphlayout::Positions &positions)
{
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const auto a = positions.constFind(edges[i].from);
        const auto b = positions.constFind(edges[i].to);
        if (a == positions.constEnd() || b == positions.constEnd())
            continue;
        if (segmentDistance(point, toView(*a, size, nav), toView(*b, size, nav)) < edgeHitDistance)
            return int(i);
    }
    return std::nullopt;
}

Nav zoomedAbout(const Nav &nav, double factor, QPointF point, QSizeF size)
{
    const double scale = std::clamp(nav.scale * factor, graphlayout::minScale, graphlayout::maxScale);
    if (scale == nav.scale)
        return nav;
    const double q = scale / nav.scale;
    return {scale,
        QPointF((point.x() - size.width() / 2) * (1 - q) + nav.offset.x() * q,
            (point.y() - size.height() / 2) * (1 - q) + nav.offset.y() * q)};
}

Nav zoomedBy(const Nav &nav, double change)
{
    const double scale = std::clamp(nav.scale * (1 + change), graphlayout::minScale, graphlayout::maxScale);
    if (std::abs(scale - nav.scale) <= 0.0001)
        return nav;
    return {scale, nav.offset * (scale / nav.scale)};
}

namespace {

struct Kind
{
    QLatin1StringView kind;
    QRgb colour;
    const char *name; // translated in kindName
};

// The system's named colours, as the HUD's style has them.
constexpr QRgb green = 0xff30d158, orange = 0xffff9f0a, yellow = 0xffffd60a, mint = 0xff63e6e2, teal = 0xff40c8e0,
               gray = 0xff8e8e93, cyan = 0xff64d2ff, pink = 0xffff375f, purple = 0xffbf5af2, indigo = 0xff5e5ce6,
               blue = 0xff0a84ff;

constexpr Kind kinds[] = {
    {"entity:person"_L1, green, QT_TRANSLATE_NOOP("GraphGeometry", "Person")},
    {"entity:company"_L1, orange, QT_TRANSLATE_NOOP("GraphGeometry", "Company")},
    {"entity:amount"_L1, yellow, QT_TRANSLATE_NOOP("GraphGeometry", "Amount")},
    {"entity:product"_L1, mint, QT_TRANSLATE_NOOP("GraphGeometry", "Product")},
    {"entity:place"_L1, teal, QT_TRANSLATE_NOOP("GraphGeometry", "Place")},
    {"entity:thing"_L1, gray, QT_TRANSLATE_NOOP("GraphGeometry", "Thing")},
    {"fact"_L1, cyan, QT_TRANSLATE_NOOP("GraphGeometry", "Fact")},
    {"event"_L1, pink, QT_TRANSLATE_NOOP("GraphGeometry", "Event")},
    {"preference"_L1, purple, QT_TRANSLATE_NOOP("GraphGeometry", "Preference")},
    {"pref"_L1, purple, QT_TRANSLATE_NOOP("GraphGeometry", "Preference")},
    {"task"_L1, indigo, QT_TRANSLATE_NOOP("GraphGeometry", "Task")},
    {"todo"_L1, indigo, QT_TRANSLATE_NOOP("GraphGeometry", "Task")},
    {"reminder"_L1, indigo, QT_TRANSLATE_NOOP("GraphGeometry", "Reminder")},
    {"observation"_L1, blue, QT_TRANSLATE_NOOP("GraphGeometry", "Observation")},
};

const Kind *known(const QString &lowered)
{
    for (const Kind &k : kinds) {
        if (k.kind == lowered)
            return &k;
    }
    return nullptr;
}

QString capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

} // namespace

QColor kindColour(const QString &kind)
{
    const QString lowered = kind.toLower();
    if (const Kind *k = known(lowered))
        return QColor::fromRgb(k->colour);
    return QColor::fromRgb(lowered.startsWith("entity:"_L1) ? gray : blue);
}

QString kindName(const QString &kind)
{
    const QString lowered = kind.toLower();
    if (const Kind *k = known(lowered))
        return QCoreApplication::translate("GraphGeometry", k->name);
    if (lowered.startsWith("entity:"_L1))
        return capitalised(lowered.mid(7));
    return lowered.isEmpty() ? QCoreApplication::translate("GraphGeometry", "Memory") : capitalised(lowered);
}

QString nodeLabel(const QString &text)
{
    const QString trimmed = text.trimmed();
    return trimmed.size() > 18 ? trimmed.left(18) + u'\u2026' : trimmed;
}

} // namespace halvic::graphview
