#pragma once

#include <QGuiApplication>
#include <QJsonObject>
#include <QMap>
#include <QRect>
#include <QScreen>
#include <QTest>

#include "WindowLayout.h"

namespace halvic::testing {

/// Where each application's window must end up, by the name the compositor lists it under.
using Frames = QMap<QString, QRect>;

/// The frame the layout rules give `region` of the primary screen's usable area within `insets`.
inline QRect placed(const QJsonObject &insets = {}, const char *region = "full")
{
    const QRectF screen = QGuiApplication::primaryScreen()->availableGeometry();
    return layout::regionRect(region, layout::insetArea(screen, insets)).toRect();
}

/// The window commands a compositor's window test runs, as the columns "command" and "frames":
/// for two native probes ("probe-one", "probe-two") and one X11 probe, which the compositor
/// lists as `x11`.
inline void addWindowCommandRows(const QString &x11)
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<Frames>("frames");
    const QList<QRectF> columns = layout::tileColumns(3, placed({{"left_inset", 360}}));
    QTest::newRow("tile native and X11 windows in columns")
        << QByteArray(R"({"action":"tile","apps":["probe-one","wayland_probe","probe-two"],"left_inset":360})")
        << Frames{{"probe-one", columns.at(0).toRect()}, {x11, columns.at(1).toRect()},
               {"probe-two", columns.at(2).toRect()}};
    QTest::newRow("arrange runs every item")
        << QByteArray(R"({"action":"arrange","layout":[{"mode":"fill","app":"probe-two","left_inset":100,)"
                      R"("bottom_inset":580},{"mode":"move","app":"probe-one","region":"right","top_inset":500}]})")
        << Frames{{"probe-two", placed({{"left_inset", 100}, {"bottom_inset", 580}})},
               {"probe-one", placed({{"top_inset", 500}}, "right")}};
    QTest::newRow("move an X11 window by name")
        << QByteArray(R"({"action":"move","app":"Wayland_Probe","region":"bottom-half"})")
        << Frames{{x11, placed({}, "bottom-half")}};
    QTest::newRow("close") << QByteArray(R"({"action":"close","apps":["probe-two"]})")
                           << Frames{{"probe-two", QRect()}};
}

} // namespace halvic::testing
