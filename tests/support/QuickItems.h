#pragma once

#include <QList>
#include <QQuickItem>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>

/// Finding what a view shows, the way the tests of card views look at it.
namespace halvic::testing {

// Every visible item of `root` for which `pick` holds, in tree order.
inline void collect(QQuickItem *item, const std::function<bool(QQuickItem *)> &pick, QList<QQuickItem *> &out)
{
    if (!item->isVisible())
        return;
    if (pick(item))
        out << item;
    const auto children = item->childItems();
    for (QQuickItem *child : children)
        collect(child, pick, out);
}

inline QStringList visibleTexts(QQuickItem *root)
{
    QList<QQuickItem *> items;
    collect(
        root, [](QQuickItem *item) { return item->inherits("QQuickText"); }, items);
    // Top to bottom as drawn: a list view keeps its rows in the order it made them.
    std::stable_sort(items.begin(), items.end(),
        [](QQuickItem *a, QQuickItem *b) { return a->mapToScene(QPointF()).y() < b->mapToScene(QPointF()).y(); });
    QStringList texts;
    for (QQuickItem *item : items) {
        const QString text = item->property("text").toString();
        // Symbols are drawn from the icon font's private-use area.
        if (!text.isEmpty() && text.front().unicode() < 0xe000)
            texts << text;
    }
    return texts;
}

// Buttons whose help (tooltip and accessible name) is `help`, or starts with it when it
// ends in "…".
inline QList<QQuickItem *> buttonsNamed(QQuickItem *root, QString help)
{
    const bool prefix = help.endsWith(u'\u2026');
    if (prefix)
        help.chop(1);
    QList<QQuickItem *> items;
    collect(
        root,
        [&](QQuickItem *item) {
            const QString name = item->property("help").toString();
            return item->inherits("QQuickAbstractButton") && (prefix ? name.startsWith(help) : name == help);
        },
        items);
    return items;
}

} // namespace halvic::testing
