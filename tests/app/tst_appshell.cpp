#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "Platform.h"

using namespace halvic;

class AppShellTest : public QObject
{
    Q_OBJECT
private slots:
    // Software scene graph only where OpenGL would be a software rasterizer; the user's
    // choice of backend always stands.
    void sceneGraph_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<bool>("renderNode");
        QTest::addColumn<bool>("onX11");
        QTest::addColumn<bool>("direct");
        QTest::addColumn<bool>("software");
        QTest::addRow("X11 with a GPU") << QStringList{} << true << true << true << false;
        QTest::addRow("Xvfb on a machine with a GPU") << QStringList{} << true << true << false << true;
        QTest::addRow("no GPU at all") << QStringList{} << false << true << false << true;
        QTest::addRow("Wayland with a GPU") << QStringList{} << true << false << false << false;
        QTest::addRow("software GL asked for")
            << QStringList{"LIBGL_ALWAYS_SOFTWARE=1"} << true << true << true << true;
        QTest::addRow("the user chose OpenGL")
            << QStringList{"QT_QUICK_BACKEND=opengl"} << false << true << false << false;
        QTest::addRow("the user chose an RHI backend")
            << QStringList{"QSG_RHI_BACKEND=vulkan"} << false << true << false << false;
    }
    void sceneGraph()
    {
        QFETCH(QStringList, environment);
        QFETCH(bool, renderNode);
        QFETCH(bool, onX11);
        QFETCH(bool, direct);
        QFETCH(bool, software);
        const auto lookup = [&](const char *name) {
            for (const QString &entry : environment) {
                if (entry.section(u'=', 0, 0) == QLatin1StringView(name))
                    return entry.section(u'=', 1).toUtf8();
            }
            return QByteArray();
        };
        QCOMPARE(useSoftwareSceneGraph(lookup, GraphicsFacts{renderNode, direct, onX11}), software);
    }

    void platform_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QByteArray>("forced");
        QTest::addRow("x11 session") << QStringList{"XDG_SESSION_TYPE=x11", "DISPLAY=:0"} << QByteArray();
        QTest::addRow("wayland with xwayland")
            << QStringList{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"} << QByteArray("xcb");
        QTest::addRow("wayland display only")
            << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:1"} << QByteArray("xcb");
        QTest::addRow("wayland without xwayland") << QStringList{"XDG_SESSION_TYPE=wayland"} << QByteArray();
        QTest::addRow("the user's choice stands")
            << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0", "QT_QPA_PLATFORM=wayland"} << QByteArray();
    }
    void platform()
    {
        QFETCH(QStringList, environment);
        QFETCH(QByteArray, forced);
        const auto lookup = [&](const char *name) {
            for (const QString &entry : environment) {
                if (entry.section(u'=', 0, 0) == QLatin1StringView(name))
                    return entry.section(u'=', 1).toUtf8();
            }
            return QByteArray();
        };
        QCOMPARE(forcedPlatform(lookup), forced);
    }

    void noCameraInAnEmptyDeviceFolder()
    {
        QTemporaryDir dir;
        QFile fake(dir.filePath(QStringLiteral("video0")));
        QVERIFY(fake.open(QIODevice::WriteOnly)); // a plain file is no capture device
        fake.close();
        QCOMPARE(videoNodes(dir.path()).value(0).access, VideoNode::Access::other);
        QVERIFY(videoNodes(dir.filePath(QStringLiteral("missing"))).isEmpty());
    }

    // Nodes are "capture", "other" or "denied:<group>"; an empty title means no alert.
    void cameraAlerts_data()
    {
        QTest::addColumn<QStringList>("nodes");
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QStringList>("settings");
        const QStringList gnome43{"gnome-camera-panel.desktop"};
        const QString none = "No camera found for hand gestures", denied = "Camera access needed for hand gestures";
        QTest::addRow("a camera") << QStringList{"other", "capture"} << "GNOME" << gnome43 << ""
                                  << "" << QStringList{};
        QTest::addRow("no device") << QStringList{} << "GNOME" << gnome43 << none << "/dev/video*" << QStringList{};
        QTest::addRow("denied on GNOME 43") << QStringList{"denied:video"} << "ubuntu:GNOME" << gnome43 << denied
                                            << "\u201cvideo\u201d" << QStringList{"gnome-control-center", "camera"};
        QTest::addRow("denied on later GNOME")
            << QStringList{"denied:video"} << "GNOME" << QStringList{"gnome-privacy-panel.desktop"} << denied
            << "adduser $USER video" << QStringList{"gnome-control-center", "privacy"};
        QTest::addRow("denied on KDE") << QStringList{"denied:plugdev"} << "KDE" << gnome43 << denied
                                       << "\u201cplugdev\u201d" << QStringList{};
        QTest::addRow("denied beside a camera") << QStringList{"denied:video", "capture"} << "GNOME" << gnome43 << ""
                                                << "" << QStringList{};
    }
    void cameraAlerts()
    {
        QFETCH(QStringList, nodes);
        QFETCH(QString, desktop);
        QFETCH(QStringList, entries);
        QFETCH(QString, title);
        QFETCH(QString, says);
        QFETCH(QStringList, settings);
        QList<VideoNode> found;
        for (const QString &node : nodes) {
            const auto access = node == u"capture" ? VideoNode::Access::capture
                : node == u"other"                 ? VideoNode::Access::other
                                                   : VideoNode::Access::denied;
            found.append({QStringLiteral("/dev/video%1").arg(found.size()), access, node.section(u':', 1)});
        }
        const auto alert = cameraAlert(found, desktop, [&](const QString &entry) { return entries.contains(entry); });
        QCOMPARE(alert ? alert->title : QString(), title);
        if (alert) {
            QVERIFY2(alert->text.contains(says), qPrintable(alert->text));
            QCOMPARE(alert->settings, settings);
        }
    }
};

QTEST_MAIN(AppShellTest)
#include "tst_appshell.moc"
