#include "KWinWindows.h"

#include <QJsonObject>
#include <QXmlStreamReader>

namespace halvic::kwin {

namespace {

QRect rectOf(const QJsonValue &value)
{
    const QJsonObject r = value.toObject();
    return {r[u"x"].toInt(), r[u"y"].toInt(), r[u"width"].toInt(), r[u"height"].toInt()};
}

} // namespace

QList<Window> windowsOf(const QJsonArray &answer)
{
    QList<Window> windows;
    for (const QJsonValue &entry : answer) {
        const QJsonObject w = entry.toObject();
        const qint64 id = w[u"id"].toInteger();
        if (id <= 0)
            continue;
        const QJsonValue output = w[u"output"];
        windows.append({.id = id,
            .pid = w[u"pid"].toInteger(),
            .x11Id = quint32(w[u"windowId"].toInteger()),
            .resourceClass = w[u"resourceClass"].toString(),
            .resourceName = w[u"resourceName"].toString(),
            .desktopFileName = w[u"desktopFileName"].toString(),
            .caption = w[u"caption"].toString(),
            .output = output.isString() ? output.toString() : QString::number(w[u"screen"].toInt()),
            .frame = rectOf(w[u"frame"]),
            .stacking = w[u"stacking"].toInt(),
            .normal = w[u"normal"].toBool(),
            .minimized = w[u"minimized"].toBool(),
            .fullScreen = w[u"fullScreen"].toBool(),
            .maximized = w[u"maximized"].toBool()});
    }
    return windows;
}

QString scriptObjectPath(const QString &scriptingIntrospection, int id)
{
    const QString child = QStringLiteral("Script%1").arg(id);
    QXmlStreamReader xml(scriptingIntrospection);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"node"
            && xml.attributes().value(QStringLiteral("name")) == child)
            return QStringLiteral("/Scripting/") + child;
    }
    return QStringLiteral("/%1").arg(id);
}

} // namespace halvic::kwin
