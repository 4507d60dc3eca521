#include "WindowLayout.h"

#include <QJsonArray>

#include <algorithm>
#include <cmath>

#include "JsonRead.h"

namespace halvic::layout {

namespace {

QString lowerTrimmed(const QJsonValue &value)
{
    return value.toString().trimmed().toLower();
}

bool aimsAtMainScreen(const QJsonObject &command)
{
    const QJsonValue screen = command.value(key::screen);
    return screen.isUndefined()
        || (screen.isString() && screen.toString().compare(QLatin1StringView("main"), Qt::CaseInsensitive) == 0);
}

QJsonObject withInset(QJsonObject command, QLatin1StringView insetKey, double width)
{
    if (aimsAtMainScreen(command) && !command.contains(insetKey))
        command.insert(insetKey, width);
    return command;
}

} // namespace

Action actionOf(const QJsonObject &command)
{
    const QString action = json::string(command, key::action).toLower();
    if (action == QLatin1StringView("launch"))
        return Action::Launch;
    if (action == QLatin1StringView("close"))
        return Action::Close;
    if (action == QLatin1StringView("fill"))
        return Action::Fill;
    if (action == QLatin1StringView("move"))
        return Action::Move;
    if (action == QLatin1StringView("tile"))
        return Action::Tile;
    if (action == QLatin1StringView("arrange"))
        return Action::Arrange;
    return Action::None;
}

Mode modeOf(const QJsonObject &item)
{
    const QString mode = json::string(item, key::mode).toLower();
    if (mode == QLatin1StringView("fill"))
        return Mode::Fill;
    if (mode == QLatin1StringView("move"))
        return Mode::Move;
    return Mode::Tile;
}

QStringList appList(const QJsonObject &command)
{
    const QStringList apps = json::stringList(command, key::apps);
    if (!apps.isEmpty())
        return apps;
    const QString app = json::string(command, key::app);
    return app.isEmpty() ? QStringList() : QStringList{app};
}

double num(const QJsonObject &command, QLatin1StringView key)
{
    const QJsonValue value = command.value(key);
    if (value.isDouble())
        return std::isfinite(value.toDouble()) ? value.toDouble() : 0;
    if (value.isString()) {
        bool ok = false;
        const double parsed = value.toString().trimmed().toDouble(&ok);
        return ok && std::isfinite(parsed) ? parsed : 0;
    }
    return 0;
}

QRectF insetArea(const QRectF &rect, const QJsonObject &command)
{
    const double left = num(command, key::leftInset);
    const double right = num(command, key::rightInset);
    const double top = num(command, key::topInset);
    const double bottom = num(command, key::bottomInset);
    return {rect.x() + left, rect.y() + top, std::max(rect.width() - left - right, 0.0),
        std::max(rect.height() - top - bottom, 0.0)};
}

QRectF regionRect(const QJsonValue &region, const QRectF &area)
{
    const QString word = region.isString() ? lowerTrimmed(region) : QStringLiteral("full");
    const double halfWidth = area.width() / 2;
    const double halfHeight = area.height() / 2;
    if (word == QLatin1StringView("left") || word == QLatin1StringView("left-half"))
        return {area.x(), area.y(), halfWidth, area.height()};
    if (word == QLatin1StringView("right") || word == QLatin1StringView("right-half"))
        return {area.x() + halfWidth, area.y(), halfWidth, area.height()};
    if (word == QLatin1StringView("top") || word == QLatin1StringView("top-half"))
        return {area.x(), area.y(), area.width(), halfHeight};
    if (word == QLatin1StringView("bottom") || word == QLatin1StringView("bottom-half"))
        return {area.x(), area.y() + halfHeight, area.width(), halfHeight};
    return area;
}

QList<QRectF> tileColumns(qsizetype count, const QRectF &area)
{
    // An area of endless size (insets adding up past the largest double) has no columns.
    if (count <= 0 || !(area.width() >= 1) || !(area.height() >= 1) || !std::isfinite(area.width())
        || !std::isfinite(area.height()))
        return {};
    const double width = area.width() / double(count);
    QList<QRectF> columns;
    columns.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        columns.append(QRectF(area.x() + double(i) * width, area.y(), width, area.height()));
    return columns;
}

QRectF clamp(const QRectF &rect, const QRectF &bounds)
{
    if (!(bounds.width() > 0 && bounds.height() > 0))
        return rect;
    const double width = std::min(rect.width(), bounds.width());
    const double height = std::min(rect.height(), bounds.height());
    double x = std::max(rect.x(), bounds.x());
    if (x + width > bounds.right())
        x = bounds.right() - width;
    double y = std::max(rect.y(), bounds.y());
    if (y + height > bounds.bottom())
        y = bounds.bottom() - height;
    return {x, y, width, height};
}

QRect toNative(const QRectF &rect, const ScreenInfo &screen)
{
    const double ratio = screen.devicePixelRatio > 0 ? screen.devicePixelRatio : 1.0;
    const QPointF origin = screen.frame.topLeft();
    const double left = origin.x() + (rect.left() - origin.x()) * ratio;
    const double top = origin.y() + (rect.top() - origin.y()) * ratio;
    const double right = origin.x() + (rect.right() - origin.x()) * ratio;
    const double bottom = origin.y() + (rect.bottom() - origin.y()) * ratio;
    // Round the edges, not the size, so adjacent columns share their border exactly.
    const int x = int(std::lround(left));
    const int y = int(std::lround(top));
    return {x, y, int(std::lround(right)) - x, int(std::lround(bottom)) - y};
}

QJsonObject withDockedInset(QJsonObject command, bool docked, double stripWidth, const QString &dockSide)
{
    if (!docked)
        return command;
    // The strip docked on the right needs the space on that side, not on the left.
    const QLatin1StringView insetKey = dockSide == QLatin1StringView("right") ? key::rightInset : key::leftInset;
    command = withInset(std::move(command), insetKey, stripWidth);
    const QJsonValue layout = command.value(key::layout);
    if (!layout.isArray())
        return command;
    const QJsonArray items = layout.toArray();
    const bool allObjects = std::all_of(items.begin(), items.end(), [](const QJsonValue &v) { return v.isObject(); });
    if (!allObjects)
        return command;
    QJsonArray amended;
    for (const QJsonValue &item : items)
        amended.append(withInset(item.toObject(), insetKey, stripWidth));
    command.insert(key::layout, amended);
    return command;
}

} // namespace halvic::layout
