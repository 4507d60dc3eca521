#include "SwayTree.h"

#include <QJsonArray>

#include "JsonRead.h"

namespace halvic::sway {

using namespace Qt::Literals::StringLiterals;

namespace {

QRect rectOf(const QJsonObject &node, QLatin1StringView key)
{
    const QJsonObject rect = node.value(key).toObject();
    return {rect.value(QLatin1String("x")).toInt(), rect.value(QLatin1String("y")).toInt(),
        rect.value(QLatin1String("width")).toInt(), rect.value(QLatin1String("height")).toInt()};
}

struct Place
{
    QString output;
    QString workspace;
};

void collect(const QJsonObject &node, Place place, QList<Window> &out, int depth)
{
    // sway's trees are a handful of levels deep; a far deeper one is not sway's.
    if (depth > 64)
        return;
    const QString type = json::string(node, "type"_L1);
    if (type == QLatin1String("output"))
        place.output = json::string(node, "name"_L1);
    else if (type == QLatin1String("workspace")) {
        place.workspace = json::string(node, "name"_L1);
        if (place.workspace == QLatin1String("__i3_scratch"))
            return;
    }
    const qint64 pid = node.value(QLatin1String("pid")).toInteger();
    if (pid > 0) {
        const QJsonObject x11 = node.value(QLatin1String("window_properties")).toObject();
        // `rect` leaves out the title bar, whose height `deco_rect` gives.
        const QRect rect = rectOf(node, QLatin1String("rect"));
        const QRect inner = rectOf(node, QLatin1String("window_rect"));
        const QRect frame = rect.adjusted(0, -rectOf(node, QLatin1String("deco_rect")).height(), 0, 0);
        out.append({
            .id = node.value(QLatin1String("id")).toInteger(),
            .pid = pid,
            .appId = json::string(node, "app_id"_L1),
            .x11Window = quint32(node.value(QLatin1String("window")).toInteger()),
            .wmClass = json::string(x11, "class"_L1),
            .wmInstance = json::string(x11, "instance"_L1),
            .title = json::string(node, "name"_L1),
            .output = place.output,
            .workspace = place.workspace,
            .frame = frame,
            .content = inner.translated(rect.topLeft()),
            .floating = type == QLatin1String("floating_con"),
            .fullscreen = node.value(QLatin1String("fullscreen_mode")).toInt() != 0,
            .focused = node.value(QLatin1String("focused")).toBool(),
            .visible = node.value(QLatin1String("visible")).toBool(),
        });
    }
    for (const char *children : {"nodes", "floating_nodes"}) {
        const QJsonArray list = node.value(QLatin1String(children)).toArray();
        for (const QJsonValue &child : list)
            collect(child.toObject(), place, out, depth + 1);
    }
}

} // namespace

QList<Window> windowsOf(const QJsonObject &tree)
{
    QList<Window> out;
    collect(tree, {}, out, 0);
    return out;
}

} // namespace halvic::sway
