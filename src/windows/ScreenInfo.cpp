#include "ScreenInfo.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <optional>

namespace halvic::screens {

namespace {

std::uint32_t fnv1a(const QByteArray &bytes)
{
    std::uint32_t hash = 2166136261u;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 16777619u;
    }
    return hash;
}

double area(const QRectF &rect)
{
    return rect.width() * rect.height();
}

ScreenInfo defaultScreen(const QList<ScreenInfo> &list)
{
    const auto main = std::find_if(list.begin(), list.end(), [](const ScreenInfo &s) { return s.isMain; });
    return main != list.end() ? *main : list.first();
}

/// An index given as a JSON number or as a string holding a whole number.
std::optional<qint64> indexOf(const QJsonValue &spec)
{
    if (spec.isDouble()) {
        const double value = spec.toDouble();
        if (std::isfinite(value) && std::trunc(value) == value && std::abs(value) < 1e15)
            return qint64(value);
        return std::nullopt;
    }
    if (spec.isString()) {
        static const QRegularExpression whole(QStringLiteral("^[+-]?[0-9]+$"));
        const QString text = spec.toString();
        if (!whole.match(text).hasMatch())
            return std::nullopt;
        bool ok = false;
        const qint64 value = text.toLongLong(&ok);
        return ok ? std::optional(value) : std::nullopt;
    }
    return std::nullopt;
}

bool isOneOf(const QString &word, std::initializer_list<const char *> words)
{
    return std::any_of(words.begin(), words.end(), [&](const char *w) { return word == QLatin1StringView(w); });
}

} // namespace

std::uint32_t displayNumber(const QScreen &screen)
{
    const QString identity = screen.name() + QLatin1Char('\n') + screen.manufacturer() + QLatin1Char('\n')
        + screen.model() + QLatin1Char('\n') + screen.serialNumber();
    const std::uint32_t hash = fnv1a(identity.toUtf8());
    return hash == 0 ? 1 : hash;
}

bool isBuiltinOutputName(const QString &name)
{
    static const QRegularExpression panel(
        QStringLiteral("^(eDP|LVDS|DSI)([-_]?[0-9]+)*$"), QRegularExpression::CaseInsensitiveOption);
    return panel.match(name).hasMatch();
}

namespace {

QList<OutputName> &outputNames()
{
    static QList<OutputName> names;
    return names;
}

QString desktopName(const QScreen &screen)
{
    const QRect frame = screen.geometry();
    for (const OutputName &output : outputNames()) {
        if (output.frame == frame)
            return output.name;
    }
    return screen.name();
}

} // namespace

void setOutputNames(QList<OutputName> names)
{
    outputNames() = std::move(names);
}

QList<ScreenInfo> current()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return {};
    const QList<QScreen *> all = QGuiApplication::screens();
    const QScreen *primary = QGuiApplication::primaryScreen();
    QList<ScreenInfo> list;
    list.reserve(all.size());
    for (const QScreen *screen : all) {
        ScreenInfo info;
        info.index = int(list.size());
        info.name = desktopName(*screen);
        info.frame = screen->geometry();
        info.visibleFrame = screen->availableGeometry();
        info.displayID = displayNumber(*screen);
        info.isBuiltin = isBuiltinOutputName(info.name);
        info.isMain = screen == primary;
        info.label = info.isBuiltin ? builtinLabel : info.isMain ? mainLabel : externalLabel;
        info.devicePixelRatio = screen->devicePixelRatio();
        list.append(info);
    }
    return list;
}

ScreenInfo none()
{
    ScreenInfo placeholder;
    placeholder.label = QStringLiteral("none");
    placeholder.name = QStringLiteral("none");
    placeholder.isMain = true;
    return placeholder;
}

ScreenInfo forSpec(const QList<ScreenInfo> &list, const QJsonValue &spec)
{
    if (list.isEmpty())
        return none();
    const ScreenInfo fallback = defaultScreen(list);

    if (const std::optional<qint64> index = indexOf(spec))
        return *index >= 0 && *index < list.size() ? list.at(*index) : fallback;
    if (!spec.isString())
        return fallback;

    const QString word = spec.toString().trimmed().toLower();
    if (isOneOf(word, {"main", "primary", "menu", "menubar"}))
        return fallback;
    // Of two screens of equal area the first in the list wins.
    if (isOneOf(word, {"big", "large", "largest", "biggest"}))
        return *std::max_element(list.begin(), list.end(),
            [](const ScreenInfo &a, const ScreenInfo &b) { return area(a.frame) < area(b.frame); });
    if (isOneOf(word, {"small", "little", "smallest"}))
        return *std::min_element(list.begin(), list.end(),
            [](const ScreenInfo &a, const ScreenInfo &b) { return area(a.frame) < area(b.frame); });
    if (isOneOf(word, {"builtin", "internal", "laptop", "notebook"})) {
        const auto it = std::find_if(list.begin(), list.end(), [](const ScreenInfo &s) { return s.isBuiltin; });
        return it != list.end() ? *it : fallback;
    }
    if (isOneOf(word, {"external", "extern", "secondary", "second"})) {
        const auto it = std::find_if(list.begin(), list.end(), [](const ScreenInfo &s) { return !s.isBuiltin; });
        return it != list.end() ? *it : fallback;
    }
    return fallback;
}

} // namespace halvic::screens
